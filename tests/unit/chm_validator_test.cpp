// Damaged and hostile compiled files, made from a sound one by byte patches:
// each is refused before the reading library sees it, with a message that
// says what is wrong and a non-zero exit of `hh` and `orvex --decompile`,
// within seconds and bounded memory.

#include "chm/chm_file.h"
#include "chm/chm_validator.h"
#include "chm/compiler.h"
#include "chm/decompiler.h"
#include "crafted_chm.h"
#include "hhc_fixture.h"

#include <QElapsedTimer>
#include <algorithm>
#include <QStandardPaths>

#include <sys/resource.h>

using namespace orvex;
using namespace orvex_test;

namespace {

constexpr int kSeconds = 20;

struct ToolRun {
  int exitCode = -1;  // -1: killed, crashed or timed out
  QByteArray output;
  qint64 milliseconds = 0;
};

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEX_ADDRESS_SANITIZER 1
#endif
#endif

// Runs a tool with 1 GB of memory and a time limit. The address sanitizer's
// shadow needs terabytes of address space, so a tool built with it is held
// to 1 GB of resident memory by the sanitizer instead of the address space.
ToolRun RunLimited(const QString& program, const QStringList& args) {
  ToolRun run;
  QProcess p;
  p.setProcessChannelMode(QProcess::MergedChannels);
#ifdef ORVEX_ADDRESS_SANITIZER
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":hard_rss_limit_mb=1024");
  p.setProcessEnvironment(environment);
#else
  p.setChildProcessModifier([] {
    const rlimit memory{rlim_t(1) << 30, rlim_t(1) << 30};
    setrlimit(RLIMIT_AS, &memory);
  });
#endif
  QElapsedTimer timer;
  timer.start();
  p.start(program, args);
  if (!p.waitForStarted(10000) || !p.waitForFinished(kSeconds * 1000)) {
    p.kill();
    p.waitForFinished(5000);
    return run;
  }
  run.milliseconds = timer.elapsed();
  run.output = p.readAll();
  if (p.exitStatus() == QProcess::NormalExit) run.exitCode = p.exitCode();
  return run;
}

// A compiled help file made once per program run from the small project,
// optionally with more pages.
class CraftedChm : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("chmcmd").isEmpty()) GTEST_SKIP() << "chmcmd is not installed";
    ASSERT_TRUE(dir.isValid());
  }

  // extraPages: names of more pages; bigPage: a page of 1 MB of text.
  QByteArray Compile(int extraPages = 0, bool bigPage = false, const QByteArray& title = "Printer Guide") {
    project.write(dir.path() + "/src");
    QByteArray hhp = readBytes(project.projectPath());
    QByteArray more;
    for (int i = 0; i < extraPages; ++i) {
      const QByteArray name = "a_page_with_a_rather_long_name_" + QByteArray::number(i) + ".htm";
      writeBytes(project.folder + '/' + name, "<html><body>" + name + "</body></html>");
      more += name + "\r\n";
    }
    if (bigPage) {
      writeBytes(project.folder + "/big.htm",
                 QByteArray("<p>The same words again and again.</p>\r\n").repeated(25600));
      more += "big.htm\r\n";
    }
    hhp.replace("[FILES]\r\n", "[FILES]\r\n" + more);
    hhp.replace("Title=Printer Guide", "Title=" + title);
    writeBytes(project.projectPath(), hhp);
    const CompileResult compiled = CompileProject(project.projectPath());
    EXPECT_TRUE(compiled.success) << compiled.messages.join('\n').toStdString();
    const QByteArray bytes = readBytes(project.chmPath());
    EXPECT_TRUE(ValidateChmBytes(bytes, "sound.chm").Ok())
        << ValidateChmBytes(bytes, "sound.chm").Message().toStdString();
    return bytes;
  }

  QString Write(const QByteArray& bytes, const QString& name = "crafted.chm") {
    const QString path = dir.path() + '/' + name;
    writeBytes(path, bytes);
    return path;
  }

  // The crafted file is refused: by the check itself, by ChmFile, by `hh`
  // and by `orvex --decompile`, each saying `why`.
  void ExpectRefused(const QByteArray& bytes, const QString& why) {
    const Status checked = ValidateChmBytes(bytes, "crafted.chm");
    ASSERT_FALSE(checked.Ok());
    EXPECT_TRUE(checked.Message().contains(why)) << checked.Message().toStdString();
    const QString path = Write(bytes);
    ChmFile chm;
    const Status opened = chm.open(path);
    EXPECT_FALSE(opened.Ok());
    EXPECT_TRUE(opened.Message().contains(why)) << opened.Message().toStdString();
    EXPECT_FALSE(chm.isOpen());

    const QString out = dir.path() + "/out";
    for (const ToolRun& run : {RunLimited(tool("hh"), {"-decompile", out, path}),
                               RunLimited(tool("orvex"), {"--decompile", path, out})}) {
      EXPECT_EQ(run.exitCode, 1) << run.output.toStdString();
      EXPECT_TRUE(run.output.contains(why.toUtf8())) << run.output.toStdString();
      EXPECT_LT(run.milliseconds, kSeconds * 1000);
    }
    EXPECT_TRUE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
  }

  QTemporaryDir dir;
  HelpProject project;
};

}  // namespace

TEST_F(CraftedChm, ListingChunkLeadingBackToItself) {
  QByteArray bytes = Compile();
  const ChmLayout layout = ReadLayout(bytes);
  PutLe32(bytes, layout.ChunkAt(quint64(layout.listingHead)) + 0x10, quint32(layout.listingHead));
  ExpectRefused(bytes, "lead back to chunk");
}

TEST_F(CraftedChm, ListingChainLeadingBackToAnEarlierChunkOrOutOfTheDirectory) {
  QByteArray bytes = Compile(150);
  const ChmLayout layout = ReadLayout(bytes);
  ASSERT_GE(layout.chunkCount, 3u) << "the project should need several directory chunks";
  quint64 other = 0;
  while (other == quint64(layout.listingHead) || !IsListing(bytes, layout, other)) ++other;
  // head -> other -> head
  PutLe32(bytes, layout.ChunkAt(quint64(layout.listingHead)) + 0x10, quint32(other));
  PutLe32(bytes, layout.ChunkAt(other) + 0x10, quint32(layout.listingHead));
  ExpectRefused(bytes, "lead back to chunk");

  PutLe32(bytes, layout.ChunkAt(other) + 0x10, 70000);
  ExpectRefused(bytes, "leads to chunk 70000, which is not there");
}

TEST_F(CraftedChm, IndexChunkLeadingBackToItself) {
  QByteArray bytes = Compile(150);
  const ChmLayout layout = ReadLayout(bytes);
  ASSERT_GE(layout.indexRoot, 0) << "the project should need an index chunk";
  // The last child number of the index chunk's last entry: point it home.
  const qsizetype base = layout.ChunkAt(quint64(layout.indexRoot));
  ASSERT_EQ(bytes.mid(base, 4), "PMGI");
  const qsizetype end = base + qsizetype(layout.chunkSize - GetLe32(bytes, base + 4));
  qsizetype at = base + 8;
  qsizetype lastChild = -1;
  while (at < end) {
    const quint64 n = ReadNumber(bytes, at);
    at += qsizetype(n);
    lastChild = at;
    ReadNumber(bytes, at);
  }
  ASSERT_GT(lastChild, 0);
  ASSERT_LT(static_cast<unsigned char>(bytes[lastChild]), 0x80) << "a one-byte chunk number";
  bytes[lastChild] = char(layout.indexRoot);
  ExpectRefused(bytes, "index chunks of its directory lead back to chunk");
}

TEST_F(CraftedChm, ResetTableWithABlockLengthOfZero) {
  QByteArray bytes = Compile();
  const ChmLayout layout = ReadLayout(bytes);
  PutLe64(bytes, UncompressedAt(bytes, layout, kResetTableEntry) + 32, 0);
  ExpectRefused(bytes, "its reset table claims blocks of 0 bytes");
}

TEST_F(CraftedChm, ResetTableEntriesOutOfOrderOrPastTheSection) {
  QByteArray bytes = Compile(0, true);
  const ChmLayout layout = ReadLayout(bytes);
  const qsizetype table = UncompressedAt(bytes, layout, kResetTableEntry);
  const qsizetype entries = table + qsizetype(GetLe32(bytes, table + 12));
  ASSERT_GE(GetLe32(bytes, table + 4), 3u);
  QByteArray swapped = bytes;
  PutLe64(swapped, entries + 16, GetLe64(bytes, entries + 8) - 1);  // block 2 before block 1's start
  ExpectRefused(swapped, "its reset table's block 1 has the wrong bounds");

  QByteArray beyond = bytes;
  PutLe64(beyond, table + 24, GetLe64(bytes, table + 24) + 100000);  // compressed length past the section
  ExpectRefused(beyond, "compressed bytes, more than the section's");
}

TEST_F(CraftedChm, ControlDataWithZeroWindowsPerResetOrAWindowTheFormatLacks) {
  const QByteArray bytes = Compile();
  const ChmLayout layout = ReadLayout(bytes);
  const qsizetype control = UncompressedAt(bytes, layout, kControlDataEntry);
  QByteArray noWindows = bytes;
  PutLe32(noWindows, control + 20, 0);
  ExpectRefused(noWindows, "claims 0 windows per reset");

  QByteArray zeroWindow = bytes;
  PutLe32(zeroWindow, control + 16, 0);
  ExpectRefused(zeroWindow, "its compression window of 0 bytes");

  QByteArray oddWindow = bytes;
  PutLe32(oddWindow, control + 8, 1);  // sizes in bytes, not in 32 KB units
  PutLe32(oddWindow, control + 16, 3);
  ExpectRefused(oddWindow, "its compression window of 3 bytes");
}

TEST_F(CraftedChm, TruncatedDirectoryAndHeaderClaimingMoreThanTheFile) {
  const QByteArray bytes = Compile();
  const ChmLayout layout = ReadLayout(bytes);
  ExpectRefused(bytes.left(qsizetype(layout.dirOffset + layout.dirLength / 2)), "does not fit the file's");
  ExpectRefused(bytes.left(0x40), "too short");
  QByteArray longDirectory = bytes;
  PutLe64(longDirectory, 0x50, quint64(1) << 40);
  ExpectRefused(longDirectory, "does not fit the file's");
}

TEST_F(CraftedChm, EntriesOutsideTheirSectionOrWithBrokenNames) {
  const QByteArray bytes = Compile();
  const ChmLayout layout = ReadLayout(bytes);
  const quint64 head = quint64(layout.listingHead);
  const QList<CraftedEntry> sound = ChunkEntries(bytes, layout, head);

  auto patched = [&](const std::function<void(CraftedEntry&)>& change, const QByteArray& which) {
    QList<CraftedEntry> entries = sound;
    for (CraftedEntry& e : entries)
      if (e.name == which) change(e);
    QByteArray out = bytes;
    EXPECT_TRUE(WriteChunkEntries(out, layout, head, entries));
    return out;
  };
  ExpectRefused(patched([](CraftedEntry& e) { e.length = 1u << 30; }, "/#SYSTEM"),
                "lies past the file's end");
  ExpectRefused(patched([](CraftedEntry& e) { e.length = 1u << 30; }, "/My_Guide01.htm"),
                "lies outside the compressed section");
  ExpectRefused(patched([](CraftedEntry& e) { e.space = 7; }, "/My_Guide01.htm"), "unknown section 7");
  ExpectRefused(patched([](CraftedEntry& e) { e.name = QByteArray("/a\0b", 4); }, "/My_Guide01.htm"),
                "an entry of its directory chunk");
  // A name with control characters is shown escaped, never raw.
  const QByteArray escapes = patched(
      [](CraftedEntry& e) {
        e.name = "/\x1b]0;owned\x07.htm";
        e.length = 1u << 30;
      },
      "/My_Guide01.htm");
  ExpectRefused(escapes, "\\x1b]0;owned\\x07.htm");
  EXPECT_FALSE(ValidateChmBytes(escapes, "x").Message().contains(QChar(0x1b)));
}

TEST_F(CraftedChm, ManyEntriesOfTheSameCompressedBytesStopAtTheOutputLimit) {
  QByteArray bytes = Compile(0, true);
  const ChmLayout layout = ReadLayout(bytes);
  const quint64 head = quint64(layout.listingHead);
  const CraftedEntry big = FindCraftedEntry(bytes, layout, "/big.htm");
  ASSERT_GE(big.length, 1000u * 1000u);
  QList<CraftedEntry> entries = ChunkEntries(bytes, layout, head);
  for (int i = 0; i < 60; ++i)
    entries.append({"/copy" + QByteArray::number(i) + ".htm", 1, big.start, big.length});
  ASSERT_TRUE(WriteChunkEntries(bytes, layout, head, entries));
  ASSERT_GT(60 * big.length, 200u * quint64(bytes.size())) << "the copies should pass the limit";
  ASSERT_TRUE(ValidateChmBytes(bytes, "x").Ok()) << "each entry on its own is sound";
  const QString path = Write(bytes);

  const QString out = dir.path() + "/out";
  for (const ToolRun& run : {RunLimited(tool("hh"), {"-decompile", out, path}),
                             RunLimited(tool("orvex"), {"--decompile", path, out + "2"})}) {
    EXPECT_EQ(run.exitCode, 4) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("the limit for this file")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("--max-output=")) << run.output.toStdString();
  }
  quint64 written = 0;
  for (const QByteArray& file : snapshot(out)) written += quint64(file.size());
  EXPECT_LE(written, 200u * quint64(bytes.size()));

  // The limit can be raised.
  const ToolRun raised = RunLimited(tool("hh"), {"-decompile", out + "3", path, "--max-output=100M"});
  EXPECT_EQ(raised.exitCode, 0) << raised.output.toStdString();
  EXPECT_EQ(quint64(readBytes(out + "3/copy59.htm").size()), big.length);
  EXPECT_EQ(RunLimited(tool("hh"), {"-decompile", out + "4", path, "--max-output=lots"}).exitCode, 2);
}

TEST_F(CraftedChm, SystemValuesCannotInjectProjectLines) {
  const QByteArray title(150, 'T');
  QByteArray bytes = Compile(0, false, title);
  const ChmLayout layout = ReadLayout(bytes);
  const CraftedEntry system = FindCraftedEntry(bytes, layout, "/#SYSTEM");
  const qsizetype from = qsizetype(layout.dataOffset + system.start);
  QByteArray record = bytes.mid(from, qsizetype(system.length));
  const QByteArray payload =
      "Evil\r\nContents file=../../../../etc/passwd\r\nError log "
      "file=/tmp/victim.txt\r\n[FILES]\r\n/etc/passwd\r\n";
  ASSERT_TRUE(record.contains(title));
  record.replace(title, payload.leftJustified(title.size(), ' '));
  ASSERT_TRUE(record.contains("My Guide.hhc"));
  record.replace("My Guide.hhc", QByteArray("../../x.hhc\0", 12));
  bytes.replace(from, record.size(), record);

  const QString out = dir.path() + "/out";
  const ToolRun run = RunLimited(tool("hh"), {"-decompile", out, Write(bytes, "My Guide.chm")});
  EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
  const QStringList lines = QString::fromLatin1(readBytes(out + "/My Guide.hhp")).split("\r\n");
  ASSERT_GT(lines.size(), 5);
  // The title keeps its text on its own line; no other line comes from it.
  for (const QString& line : lines) {
    if (line.startsWith("Title=")) continue;
    EXPECT_FALSE(line.contains("/etc/passwd")) << line.toStdString();
    // The contents file named is the one the compiled file holds, not the damaged record's.
    if (line.startsWith("Contents file=")) {
      EXPECT_EQ(line, "Contents file=My Guide.hhc");
    }
    EXPECT_FALSE(line.contains("..")) << line.toStdString();
  }
  EXPECT_TRUE(lines.contains("Error log file=My Guide.log"));
  EXPECT_EQ(
      std::count_if(lines.cbegin(), lines.cend(), [](const QString& l) { return l.startsWith("Error log"); }),
      1);
  EXPECT_EQ(lines.count("[FILES]"), 1);
  EXPECT_TRUE(lines.filter("Title=Evil").value(0).contains("Contents file=../../../../etc/passwd"));
}

TEST(ChmValidation, NamesAndValuesFromTheFileAreMadeSafe) {
  EXPECT_EQ(PrintableName("/a\x1b[2Jb\n.htm"), "/a\\x1b[2Jb\\x0a.htm");
  EXPECT_EQ(OneLineValue("Title\r\n[FILES]\x01"), "Title  [FILES] ");
  ChmSystemInfo info;
  info.title = "A\nB";
  info.contentsFile = "/abs/x.hhc";
  info.indexFile = "../x.hhk";
  info.defaultTopic = "sub/../../x.htm";
  const QStringList lines = DecompiledProjectLines({info, {}, "a\nb.chm", {"page.htm"}, {}, {}});
  EXPECT_TRUE(lines.contains("Title=A B"));
  EXPECT_TRUE(lines.contains("Compiled file=a b.chm"));
  EXPECT_TRUE(lines.contains("Contents file=abs/x.hhc"));
  EXPECT_TRUE(lines.filter("Index file=").isEmpty());
  EXPECT_TRUE(lines.filter("Default topic=").isEmpty());
  for (const QString& line : lines) EXPECT_FALSE(line.contains(u'\n')) << line.toStdString();
  EXPECT_EQ(ParseByteSize("2G"), quint64(2) << 30);
  EXPECT_EQ(ParseByteSize("512k"), 512u * 1024u);
  EXPECT_EQ(ParseByteSize("12"), 12u);
  EXPECT_FALSE(ParseByteSize("-1").has_value());
  EXPECT_FALSE(ParseByteSize("M").has_value());
  EXPECT_FALSE(ParseByteSize("99999999999999999999G").has_value());
  EXPECT_EQ(DefaultOutputLimit(1000, 1u << 30), 200000u);
  EXPECT_EQ(DefaultOutputLimit(1000, 5000), 5000u);
}

TEST(ChmValidation, RootFolderIsRefusedByHhAsByOrvex) {
  QTemporaryDir dir;
  writeBytes(dir.path() + "/a.chm", "not a compiled file");
  EXPECT_EQ(runTool(tool("hh"), {"-decompile", "/", dir.path() + "/a.chm"}), 2);
  EXPECT_EQ(runTool(tool("hh"), {"-decompile", "//", dir.path() + "/a.chm"}), 2);
}
