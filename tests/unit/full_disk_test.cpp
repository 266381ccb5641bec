// A full disk while saving and compiling: every save keeps the old file as
// it was and says which file and why, `orvex --build` stops before it
// compiles, and `hhc` names the compiled file and the system's reason.
//
// The disk is a small tmpfs filled to the last block when the tests may
// mount one (root); elsewhere a file size limit of 0 bytes (RLIMIT_FSIZE,
// SIGXFSZ ignored) makes every write fail with EFBIG instead.

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/profile.h"
#include "platform/text_file.h"
#include "formats/context/map_alias_writer.h"
#include "formats/sitemap/sitemap_writer.h"
#include "tests/unit/hhc_fixture.h"
#include "tests/unit/test_files.h"

namespace {

using orvex_test::snapshot;

// A folder whose disk can be made full.
class FullDisk {
 public:
  FullDisk() {
    if (!dir.isValid()) return;
    folder = dir.filePath("disk");
    QDir().mkpath(folder);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                "size=1m,mode=0777") == 0) {
      mounted = true;
    } else {
      whyNoTmpfs = QString::fromLocal8Bit(strerror(errno));
    }
  }
  ~FullDisk() {
    if (mounted) ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH);
  }

  QString Folder() const { return folder; }
  // The system's reason a write gives once the disk is full.
  QString Reason() const { return QString::fromLocal8Bit(strerror(mounted ? ENOSPC : EFBIG)); }
  QString How() const {
    return mounted ? QStringLiteral("tmpfs of 1 MB filled")
                   : QStringLiteral("RLIMIT_FSIZE 0 (no tmpfs: %1)").arg(whyNoTmpfs);
  }

  // Takes every free block of the tmpfs (a file no test looks at).
  void Fill() {
    if (!mounted) return;
    const int fd = ::open(QFile::encodeName(folder + "/.filler").constData(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    const QByteArray block(4096, 'x');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    ::close(fd);
  }

  // Runs work with the disk full: under the size limit when there is no tmpfs.
  template <typename Work>
  void WhileFull(const Work& work) {
    if (mounted) {
      work();
      return;
    }
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit none = old;
    none.rlim_cur = 0;
    setrlimit(RLIMIT_FSIZE, &none);
    work();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
  }

  // A program started by p runs with the disk full.
  void Prepare(QProcess& p) const {
    if (mounted) return;
    p.setChildProcessModifier([] {
      std::signal(SIGXFSZ, SIG_IGN);
      rlimit none{};
      getrlimit(RLIMIT_FSIZE, &none);
      none.rlim_cur = 0;
      setrlimit(RLIMIT_FSIZE, &none);
    });
  }

  // The folder's files without the filler.
  QMap<QString, QByteArray> Files() const {
    QMap<QString, QByteArray> files = snapshot(folder);
    files.remove(".filler");
    return files;
  }

 private:
  QTemporaryDir dir;
  QString folder;
  bool mounted = false;
  QString whyNoTmpfs;
};

// Runs a program with the disk full; its exit code, output in *output.
int RunFull(const FullDisk& disk, const QString& program, const QStringList& args, const QString& configHome,
            QByteArray* output) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", configHome);
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  disk.Prepare(p);
  p.start(program, args);
  if (!p.waitForFinished(120000)) {
    p.kill();
    p.waitForFinished(5000);
    return -1;
  }
  *output = p.readAll();
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

TEST(FullDisk, EverySaveKeepsTheOldFileAndGivesTheFileAndTheReason) {
  FullDisk disk;
  ASSERT_FALSE(disk.Folder().isEmpty());
  RecordProperty("fault", disk.How().toStdString());
  const QString folder = disk.Folder();
  const QString project = folder + "/p.hhp", contents = folder + "/p.hhc", index = folder + "/p.hhk";
  const QString map = folder + "/p.h", alias = folder + "/p.ali", page = folder + "/p01.htm";
  const QString settings = folder + "/orvex.ini";
  PutLines(project, {"[OPTIONS]", "Title=Old"}, 1252);
  PutLines(contents, {"<HTML><BODY><UL></UL></BODY></HTML>"}, 1252);
  PutLines(index, {"<HTML><BODY><UL></UL></BODY></HTML>"}, 1252);
  PutLines(map, {"#define IDH_OLD 1"}, 1252);
  PutLines(alias, {"IDH_OLD=p01.htm"}, 1252);
  PutLines(page, {"<html><body>old</body></html>"}, 1252);
  ASSERT_TRUE(WriteProfileString(settings, "FileHistory", "File1", "/old.hhp").Ok());
  disk.Fill();
  const auto before = disk.Files();
  ASSERT_EQ(before.size(), 7);

  ContentsNode topic;
  topic.caption = "New topic";
  topic.data = std::make_unique<TopicData>(TopicData{"p02.htm"});
  std::vector<ContentsNode> tree;
  tree.push_back(std::move(topic));
  IndexNode keyword;
  keyword.caption = "new";
  std::vector<IndexNode> keywords;
  keywords.push_back(std::move(keyword));
  const std::vector<std::pair<QString, std::function<Status()>>> saves = {
      {project,
       [&] {
         return WriteLinesFile(project, {"[OPTIONS]", "Title=New, longer than before"}, 1252);
       }},
      {contents, [&] { return WriteContentsFile(contents, tree, 1252); }},
      {index, [&] { return WriteIndexFile(index, keywords, 1252); }},
      {map, [&] { return WriteMapFile(map, {"#define IDH_NEW 2"}, 1252); }},
      {alias, [&] { return WriteAliasFile(alias, {"IDH_NEW=p02.htm"}, 1252); }},
      {page, [&] { return WriteLinesFile(page, {"<html><body>new</body></html>"}, 1252); }},
      {settings, [&] { return WriteProfileString(settings, "FileHistory", "File1", "/new.hhp"); }},
  };
  for (const auto& [file, save] : saves) {
    Status saved;
    const auto& write = save;  // a lambda may not capture a structured binding here
    disk.WhileFull([&] { saved = write(); });
    EXPECT_FALSE(saved.Ok()) << file.toStdString() << " was written on a full disk";
    EXPECT_TRUE(saved.Message().contains(file)) << saved.Message().toStdString();
    EXPECT_TRUE(saved.Message().endsWith(": " + disk.Reason())) << saved.Message().toStdString();
    EXPECT_FALSE(saved.Message().contains("Unknown error"));
  }
  // Every file as it was, byte for byte, and nothing left beside them.
  EXPECT_EQ(disk.Files(), before);
}

// A project that a save changes: its first topic is not yet under [FILES].
void WriteProjectNeedingSave(const QString& folder) {
  orvex_test::HelpProject sample;
  sample.write(folder);
  QByteArray hhp = orvex_test::readBytes(sample.projectPath());
  hhp.replace("[FILES]\r\nMy_Guide01.htm\r\n", "[FILES]\r\n");
  orvex_test::writeBytes(sample.projectPath(), hhp);
}

TEST(FullDisk, BuildStopsBeforeCompilingAndLeavesTheProjectAsItWas) {
  // On a disk with room the build rewrites the project file.
  QTemporaryDir roomy;
  WriteProjectNeedingSave(roomy.filePath("p"));
  const QString roomyProject = roomy.filePath("p/My Guide.hhp");
  const QByteArray old = orvex_test::readBytes(roomyProject);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", roomy.filePath("config"));
  QByteArray output;
  ASSERT_EQ(orvex_test::runTool(orvex_test::tool("orvex"), {"--build", roomyProject}, env, &output), 0)
      << output.toStdString();
  ASSERT_NE(orvex_test::readBytes(roomyProject), old) << "the build did not need to save";

  FullDisk disk;
  RecordProperty("fault", disk.How().toStdString());
  WriteProjectNeedingSave(disk.Folder());
  const QString project = disk.Folder() + "/My Guide.hhp";
  disk.Fill();
  const auto before = disk.Files();
  const int code =
      RunFull(disk, orvex_test::tool("orvex"), {"--build", project}, roomy.filePath("config"), &output);
  const QString text = QString::fromLocal8Bit(output);
  EXPECT_EQ(code, 3) << text.toStdString();
  // The first file the save rewrites (the map file, then the alias and
  // project files) stops it.
  EXPECT_TRUE(text.contains("Unable to write to " + disk.Folder() + "/My Guide.")) << text.toStdString();
  EXPECT_TRUE(text.contains(": " + disk.Reason())) << text.toStdString();
  EXPECT_FALSE(text.contains("Unknown error"));
  EXPECT_FALSE(text.contains("Compiled file")) << "it compiled after the save failed";
  EXPECT_EQ(disk.Files(), before);
}

TEST(FullDisk, CompilerNamesTheCompiledFileAndTheReason) {
  FullDisk disk;
  RecordProperty("fault", disk.How().toStdString());
  orvex_test::HelpProject sample;
  sample.write(disk.Folder());
  QByteArray hhp = orvex_test::readBytes(sample.projectPath());
  hhp.replace("Error log file=My Guide.log\r\n", "");
  orvex_test::writeBytes(sample.projectPath(), hhp);
  disk.Fill();
  const auto before = disk.Files();
  QByteArray output;
  const int code =
      RunFull(disk, orvex_test::tool("hhc"), {sample.projectPath()}, disk.Folder() + "/config", &output);
  const QString text = QString::fromLocal8Bit(output);
  EXPECT_EQ(code, 1) << text.toStdString();
  EXPECT_TRUE(text.contains(sample.chmPath() + ": " + disk.Reason())) << text.toStdString();
  EXPECT_FALSE(text.contains("Unknown error")) << text.toStdString();
  EXPECT_EQ(disk.Files(), before);
}

}  // namespace
