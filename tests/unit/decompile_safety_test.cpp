// Decompiling hostile compiled files: bounded in time and disk, never over
// the user's files or the file being read, never into a system folder,
// reading exactly the file that was checked.

#include "chm/decompiler.h"
#include "crafted_directory.h"
#include "hhc_fixture.h"

#include <QFileInfo>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>

using namespace orvex;
using namespace orvex_test;

namespace {

class DecompileSafety : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Put(const QString& name, const QByteArray& bytes) {
    const QString path = dir.path() + '/' + name;
    writeBytes(path, bytes);
    return path;
  }
  // A small sound file with these pages.
  QString SmallChm(const QString& name, const QList<std::pair<QByteArray, QByteArray>>& pages) {
    return Put(name, WrittenChm(pages));
  }
  int Hh(const QStringList& args, QByteArray* output) {
    return runTool(tool("hh"), args, QProcessEnvironment::systemEnvironment(), output);
  }
  QTemporaryDir dir;
};

}  // namespace

TEST_F(DecompileSafety, EntriesAcrossOneLongResetIntervalAreDecodedOnce) {
  // 10,000 one-byte entries alternating between the first and the last of
  // 1024 frames, then the same in reverse frame order: each costs one pass.
  for (const bool reverse : {false, true}) {
    const QByteArray bytes = FrameSeesawChm(1024, 10000, reverse);
    const QString chm = Put(reverse ? "reverse.chm" : "seesaw.chm", bytes);
    DecompileOptions options;
    options.timeLimit = std::chrono::seconds(60);
    const QString out = dir.path() + (reverse ? "/reverse" : "/seesaw");
    const DecompileResult result = DecompileChm(chm, out, options);
    EXPECT_FALSE(result.stopped) << result.problems.join('\n').toStdString();
    EXPECT_EQ(result.written.size(), 10000);
    // The filler's first byte, and its last, which closes a line's "</p>".
    EXPECT_EQ(readBytes(out + "/e000000.htm"), reverse ? ">" : "<");
    EXPECT_EQ(readBytes(out + "/e000001.htm"), reverse ? "1" : ">");
  }
}

TEST_F(DecompileSafety, TimeLimitStopsDecompiling) {
  const QString chm = Put("seesaw.chm", FrameSeesawChm(64, 4000));
  DecompileOptions options;
  options.timeLimit = std::chrono::milliseconds(1);
  const DecompileResult result = DecompileChm(chm, dir.path() + "/out", options);
  EXPECT_TRUE(result.stopped);
  EXPECT_LT(result.written.size(), 4000);
  EXPECT_TRUE(result.problems.join('\n').contains("--max-time=SECONDS"))
      << result.problems.join('\n').toStdString();
  EXPECT_TRUE(result.projectFile.isEmpty());
}

TEST_F(DecompileSafety, FilesAndFoldersCountAtLeastABlockAgainstTheLimit) {
  const QByteArray bytes = FolderFloodChm(30000);
  const QString chm = Put("flood.chm", bytes);
  const QString out = dir.path() + "/out";
  QByteArray output;
  EXPECT_EQ(Hh({"-decompile", out, chm}, &output), 4) << output.toStdString();
  EXPECT_TRUE(output.contains("--max-output=SIZE")) << output.toStdString();
  EXPECT_LE(DiskUse(out), 200 * quint64(bytes.size()));
  EXPECT_GT(QDir(out).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1000);
}

TEST_F(DecompileSafety, TheFileBeingReadAndTheUsersFilesAreKept) {
  const QString chm = SmallChm("tiny.chm", {{"/tiny.chm", "entry named like the file"},
                                            {"/a.htm", "<p>from the file</p>"},
                                            {"/b.htm", "<p>new</p>"}});
  const QByteArray original = readBytes(chm);
  Put("a.htm", "<p>the user's page</p>");
  Put("tiny.hhp", "[OPTIONS]\r\nTitle=the user's project\r\n");
  QByteArray output;
  EXPECT_EQ(Hh({"-decompile", dir.path(), chm}, &output), 3);
  EXPECT_EQ(readBytes(chm), original);
  EXPECT_EQ(readBytes(dir.path() + "/a.htm"), "<p>the user's page</p>");
  EXPECT_EQ(readBytes(dir.path() + "/tiny.hhp"), "[OPTIONS]\r\nTitle=the user's project\r\n");
  EXPECT_EQ(readBytes(dir.path() + "/b.htm"), "<p>new</p>");
  for (const char* said :
       {"tiny.chm is the compiled file being read", "a.htm already exists", "tiny.hhp already exists"})
    EXPECT_TRUE(output.contains(said)) << said << '\n' << output.toStdString();

  // With consent the user's files are replaced; the file being read never is.
  EXPECT_EQ(Hh({"-decompile", dir.path(), chm, "--overwrite"}, &output), 3);
  EXPECT_EQ(readBytes(chm), original);
  EXPECT_EQ(readBytes(dir.path() + "/a.htm"), "<p>from the file</p>");
  EXPECT_TRUE(readBytes(dir.path() + "/tiny.hhp").startsWith("[OPTIONS]\r\nCompatibility="));
}

TEST_F(DecompileSafety, SystemFoldersAreJudgedAfterLinksAreResolved) {
  const QString chm = SmallChm("probe.chm", {{"/orvex-decompile-probe.htm", "x"}});
  ASSERT_TRUE(QFile::link("/", dir.path() + "/L"));
  ASSERT_TRUE(QFile::link("/etc", dir.path() + "/E"));
  for (const QString& target : {dir.path() + "/L", dir.path() + "/L/", dir.path() + "/E/sub"}) {
    QByteArray output;
    EXPECT_EQ(Hh({"-decompile", target, chm}, &output), 2) << target.toStdString();
    EXPECT_TRUE(output.contains("Refused destination folder")) << output.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists("/orvex-decompile-probe.htm"));
  EXPECT_FALSE(QFileInfo::exists("/etc/sub"));
  const DecompileResult direct = DecompileChm(chm, dir.path() + "/L");
  EXPECT_TRUE(direct.written.isEmpty());
  EXPECT_FALSE(QFileInfo::exists("/orvex-decompile-probe.htm"));
  QFile::remove("/orvex-decompile-probe.htm");
}

TEST_F(DecompileSafety, WhatWasCheckedIsWhatIsRead) {
  const QString chm = SmallChm("a.chm", {{"/page.htm", "<p>checked</p>"}});
  const QString other = SmallChm("b.chm", {{"/page.htm", "<p>swapped in</p>"}});
  ChmFile file;
  ASSERT_TRUE(file.open(chm));
  ASSERT_TRUE(QFile::remove(chm));
  ASSERT_TRUE(QFile::rename(other, chm));
  ASSERT_TRUE(QFile::link(dir.path(), dir.path() + "/loop.chm"));
  EXPECT_EQ(file.read("/page.htm").value_or(QByteArray()), "<p>checked</p>");
  // A folder or a FIFO in the file's place is refused, not waited on.
  ChmFile folder;
  EXPECT_FALSE(folder.open(dir.path() + "/loop.chm"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path() + "/fifo.chm").constData(), 0600), 0);
  ChmFile fifo;
  EXPECT_FALSE(fifo.open(dir.path() + "/fifo.chm"));
}

TEST_F(DecompileSafety, AFullDiskNamesTheFileAndTheReason) {
  const QString chm = SmallChm("big.chm", {{"/big.htm", QByteArray(200 * 1024, 'x')}});
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{64 * 1024, 64 * 1024};
    setrlimit(RLIMIT_FSIZE, &size);
  });
  p.start(tool("hh"), {"-decompile", dir.path() + "/out", chm});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString output = QString::fromLocal8Bit(p.readAll());
  EXPECT_EQ(p.exitCode(), 3);
  EXPECT_TRUE(output.contains("cannot write " + dir.path() + "/out/big.htm: File too large"))
      << output.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/out/big.htm"));
}

TEST_F(DecompileSafety, DuplicateNamesAreReported) {
  const QByteArray sound = WrittenChm({{"/a.htm", "first"}, {"/b.htm", "second"}});
  QList<ChmDirectoryEntry> entries = ListedEntries(sound);
  for (ChmDirectoryEntry e : ListedEntries(sound)) {
    if (e.name != "/b.htm") continue;
    e.name = "/A.htm";
    entries.append(e);
  }
  SortEntries(entries);
  const QString chm = Put("dup.chm", WithDirectory(sound, entries));
  const DecompileResult result = DecompileChm(chm, dir.path() + "/out");
  EXPECT_EQ(result.written, (QStringList{"a.htm", "b.htm"}));
  EXPECT_EQ(readBytes(dir.path() + "/out/a.htm"), "first");
  EXPECT_TRUE(result.problems.join('\n').contains(
      "Skipped /A.htm: the compiled file holds another entry of that name (/a.htm)"))
      << result.problems.join('\n').toStdString();
}

TEST_F(DecompileSafety, EntriesBeforeTheNamedFirstListingChunkAreRead) {
  // Some compilers name the last listing chunk as the first: what comes
  // before it is still part of the file.
  QList<std::pair<QByteArray, QByteArray>> pages;
  for (int i = 0; i < 400; ++i)
    pages.append({"/page" + QByteArray::number(i).rightJustified(3, '0') + ".htm",
                  "<p>" + QByteArray::number(i) + "</p>"});
  QByteArray bytes = WrittenChm(pages);
  const qsizetype dir0 = qsizetype(qFromLittleEndian<quint64>(bytes.constData() + 0x48));
  const quint32 chunkSize = qFromLittleEndian<quint32>(bytes.constData() + dir0 + 0x10);
  qint32 last = -1;
  for (qint32 c = 0; dir0 + 0x54 + qsizetype(c + 1) * chunkSize <= bytes.size(); ++c)
    if (bytes.mid(dir0 + 0x54 + c * chunkSize, 4) == "PMGL")
      last = c;
    else if (bytes.mid(dir0 + 0x54 + c * chunkSize, 4) != "PMGI")
      break;
  ASSERT_GT(last, 0);
  qToLittleEndian<qint32>(last, bytes.data() + dir0 + 0x20);
  const QString chm = Put("late.chm", bytes);
  const DecompileResult result = DecompileChm(chm, dir.path() + "/out");
  EXPECT_EQ(result.written.size(), 400) << result.problems.join('\n').toStdString();
  EXPECT_EQ(readBytes(dir.path() + "/out/page000.htm"), "<p>0</p>");
}
