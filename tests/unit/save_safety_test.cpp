// Saves that survive a crash, a full disk, a read-only file and links out of
// the project: every project file is the old one or the new one, never cut,
// and the message names the file.

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

#include "app/headless_build.h"
#include "settings/recent_projects.h"
#include "chm/compiler.h"
#include "generated_projects.h"
#include "model/project_reader.h"
#include "platform/profile.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "formats/project/project_file.h"
#include "model/project_saver.h"

namespace {

using Files = QMap<QString, QByteArray>;

Files ReadAll(const QStringList& paths) {
  Files files;
  for (const QString& p : paths) files.insert(p, QFileInfo::exists(p) ? BytesOf(p) : QByteArray());
  return files;
}

void WriteAll(const Files& files) {
  for (auto it = files.cbegin(); it != files.cend(); ++it) PutFile(it.key(), it.value());
}

QProcessEnvironment BuildEnvironment(const QString& configHome) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", configHome);
  return env;
}

// A large project made by Doxygen, once for all tests here.
class SaveSafety : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new QTemporaryDir;
    generated = new GeneratedProject(GenerateDoxygenProject(folder->path(), 400));
    // Saves rewrite the project file: its home page is the first Contents
    // topic in other letters, which a save spells as the Contents does.
    if (generated->projectFile.isEmpty()) return;
    const ProjectFiles read = ProjectOnDisk(generated->projectFile);
    if (read.contents.empty() || !read.contents.front().data) return;
    QByteArray text = BytesOf(generated->projectFile);
    const qsizetype at = text.indexOf("Default topic=");
    if (at < 0) return;
    qsizetype end = at;
    while (end < text.size() && text.at(end) != '\r' && text.at(end) != '\n') ++end;
    text.replace(at, end - at, "Default topic=" + read.contents.front().data->fileName.toUpper().toUtf8());
    PutFile(generated->projectFile, text);
  }
  static void TearDownTestSuite() {
    delete generated;
    delete folder;
  }
  void SetUp() override {
    if (generated->generatorMissing) GTEST_SKIP() << generated->error.toStdString();
    ASSERT_FALSE(generated->projectFile.isEmpty()) << generated->error.toStdString();
    project = generated->projectFile;
    saved = ProjectFilesSaved(project, ProjectOnDisk(project).projectLines);
  }

  static QTemporaryDir* folder;
  static GeneratedProject* generated;
  QString project;
  QStringList saved;
};

QTemporaryDir* SaveSafety::folder = nullptr;
GeneratedProject* SaveSafety::generated = nullptr;

}  // namespace

TEST_F(SaveSafety, KilledAtRandomPointsOfASaveLeavesOldOrNewFilesNeverCut) {
  const Files old = ReadAll(saved);
  ASSERT_GT(old.value(ReplaceExtension(project, ".hhc")).size(), 50000) << "a large contents file";
  // The new files: one save to its end (no compile needed for that).
  ProjectFiles read = ProjectOnDisk(project);
  ProjectSnapshot snapshot{project, std::move(read.contents), std::move(read.index), read.mapLines,
                           read.aliasLines};
  ASSERT_TRUE(SaveProjectFiles(snapshot, read.projectLines).Ok());
  const Files fresh = ReadAll(saved);
  ASSERT_NE(fresh.value(ReplaceExtension(project, ".hhc")), old.value(ReplaceExtension(project, ".hhc")));
  WriteAll(old);

  // How long until the save has written the project file, its last file.
  QElapsedTimer timer;
  QProcess build;
  build.setProcessEnvironment(BuildEnvironment(folder->filePath("config")));
  timer.start();
  build.start(QString(ORVEX_BIN_DIR) + "/orvex", {"--build", project});
  qint64 saveEnd = -1;
  while (saveEnd < 0 && build.state() != QProcess::NotRunning && timer.elapsed() < 60000) {
    if (BytesOf(project) == fresh.value(project)) saveEnd = timer.elapsed();
    QThread::msleep(1);
    build.waitForFinished(0);
  }
  build.kill();
  build.waitForFinished(5000);
  ASSERT_GT(saveEnd, 0);

  QRandomGenerator random(1600);
  int cut = 0, untouched = 0, whole = 0;
  for (int attempt = 0; attempt < 30; ++attempt) {
    WriteAll(old);
    QProcess p;
    p.setProcessEnvironment(BuildEnvironment(folder->filePath("config")));
    p.start(QString(ORVEX_BIN_DIR) + "/orvex", {"--build", project});
    ASSERT_TRUE(p.waitForStarted(10000));
    QThread::usleep(random.bounded(quint32(saveEnd * 1200 + 1)));
    p.kill();
    p.waitForFinished(10000);
    const Files now = ReadAll(saved);
    for (const QString& file : saved) {
      const QByteArray& bytes = now.value(file);
      EXPECT_TRUE(bytes == old.value(file) || bytes == fresh.value(file))
          << "attempt " << attempt << ": " << file.toStdString() << " is cut (" << bytes.size() << " bytes)";
      if (bytes != old.value(file) && bytes != fresh.value(file)) ++cut;
    }
    if (now == old) ++untouched;
    if (now == fresh) ++whole;
  }
  EXPECT_EQ(cut, 0);
  // The kills fell before, inside and after the save.
  RecordProperty("untouched", untouched);
  RecordProperty("whole", whole);
  WriteAll(old);
}

TEST_F(SaveSafety, FullDiskNamesTheFileAndKeepsTheOldFiles) {
  const Files old = ReadAll(saved);
  QProcess p;
  p.setProcessEnvironment(BuildEnvironment(folder->filePath("config")));
  // A file may grow to 16 KB only: the first file Save rewrites cannot be
  // written (the unchanged sitemaps are left as they are, the project file
  // is rewritten).
  p.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit size{16 * 1024, 16 * 1024};
    setrlimit(RLIMIT_FSIZE, &size);
  });
  p.start(QString(ORVEX_BIN_DIR) + "/orvex", {"--build", project});
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString err = QString::fromLocal8Bit(p.readAllStandardError());
  EXPECT_NE(p.exitCode(), 0);
  EXPECT_TRUE(err.contains("Unable to write to " + project + ": File too large")) << err.toStdString();
  EXPECT_EQ(ReadAll(saved), old);
  // No half-written file is left beside them.
  const QStringList names = QDir(QFileInfo(project).absolutePath()).entryList(QDir::Files);
  EXPECT_TRUE(names.filter(QRegularExpression("\\.(hhc|hhk|hhp|h|ali)\\.")).isEmpty())
      << names.join(' ').toStdString();
}

TEST_F(SaveSafety, ReadOnlyFileStopsTheSaveThereAndNamesIt) {
  const Files old = ReadAll(saved);
  const QString index = ReplaceExtension(project, ".hhk");
  QFile::setPermissions(index, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
  ProjectFiles read = ProjectOnDisk(project);
  ProjectSnapshot snapshot{project, std::move(read.contents), std::move(read.index), read.mapLines,
                           read.aliasLines};
  const Status written = SaveProjectFiles(snapshot, read.projectLines);
  EXPECT_FALSE(written.Ok()) << "the save went through a read-only file";
  EXPECT_EQ(written.Message(), "Cannot create file " + index + ": the file is read-only");
  QFile::setPermissions(index, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
  // The index file and the files after it are the old ones.
  const Files now = ReadAll(saved);
  for (const QString& file : saved.mid(1)) EXPECT_EQ(now.value(file), old.value(file)) << file.toStdString();
  WriteAll(old);
}

TEST(SaveLinks, ProjectFileLinkingOutOfTheFolderIsNotWrittenThrough) {
  QTemporaryDir dir;
  QDir().mkpath(dir.filePath("project"));
  const QString outside = dir.filePath("outside.txt");
  PutFile(outside, "keep me\r\n");
  const QString project = dir.filePath("project/p.hhp");
  PutFile(project, "[OPTIONS]\r\n");
  ASSERT_TRUE(QFile::link(outside, dir.filePath("project/p.hhc")));
  ProjectSnapshot snapshot{project, {}, {}, {}, {}};
  QStringList lines{"[OPTIONS]", "Title=x"};
  const Status saved = SaveProjectFiles(snapshot, lines);
  EXPECT_FALSE(saved.Ok()) << "the save wrote through the link";
  EXPECT_TRUE(saved.Message().startsWith("Cannot create file " + dir.filePath("project/p.hhc")))
      << saved.Message().toStdString();
  EXPECT_TRUE(saved.Message().contains("outside the project folder"));
  EXPECT_EQ(BytesOf(outside), "keep me\r\n");
  EXPECT_EQ(BytesOf(project), "[OPTIONS]\r\n");
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("project/p.hhk")));

  // A link inside the folder is the user's arrangement: written through.
  QFile::remove(dir.filePath("project/p.hhc"));
  PutFile(dir.filePath("project/shared.hhc"), "");
  ASSERT_TRUE(QFile::link(dir.filePath("project/shared.hhc"), dir.filePath("project/p.hhc")));
  EXPECT_TRUE(SaveProjectFiles(snapshot, lines).Ok());
  EXPECT_TRUE(QFileInfo(dir.filePath("project/p.hhc")).isSymLink());
  EXPECT_TRUE(BytesOf(dir.filePath("project/shared.hhc")).startsWith("<!DOCTYPE"));
}

TEST(SaveSettings, LineBreaksNeverReachTheSettingsFile) {
  QTemporaryDir dir;
  const QString ini = dir.filePath("orvex.ini");
  EXPECT_TRUE(AddToHistory(ini, "/p/a.hhp").Ok());
  EXPECT_TRUE(AddToHistory(ini, "/p/evil\n[FileHistory]\nFile1=/etc/passwd\n.hhp").Ok());
  EXPECT_TRUE(AddToHistory(ini, "/p/evil\r.hhp").Ok());
  EXPECT_EQ(ReadRecentProjects(ini), QStringList{"/p/a.hhp"});
  EXPECT_FALSE(BytesOf(ini).contains("passwd"));
  const QByteArray text = SetProfileValue("[A]\r\nk=1\r\n", "A", "k", "x\r\n[B]\r\nj=2");
  EXPECT_EQ(ProfileValue(text, "B", "j", "none"), "none");
  EXPECT_EQ(text.count('\n'), 2);
}

TEST(SaveSettings, UnwritableSettingsFileWarnsAndTheBuildGoesOn) {
  if (QStandardPaths::findExecutable("chmcmd").isEmpty()) GTEST_SKIP() << "chmcmd is not installed";
  QTemporaryDir dir;
  const QString path = dir.filePath("p.hhp");
  PutFile(path,
          "[OPTIONS]\r\nCompiled file=p.chm\r\nContents file=p.hhc\r\nDefault topic=a.htm\r\n\r\n[FILES]\r\n"
          "a.htm\r\n");
  PutFile(dir.filePath("a.htm"), "<html><body>a</body></html>\r\n");
  PutFile(dir.filePath("blocker"), "a file where a folder should be");
  QString outText, errText;
  QTextStream out(&outText), err(&errText);
  EXPECT_EQ(RunHeadlessBuild(path, dir.filePath("blocker/orvex.ini"), out, err, {}), 0)
      << errText.toStdString();
  EXPECT_TRUE(errText.contains("warning")) << errText.toStdString();
  EXPECT_TRUE(errText.contains("blocker/orvex.ini")) << errText.toStdString();
  EXPECT_TRUE(QFileInfo(dir.filePath("p.chm")).size() > 0);
}
