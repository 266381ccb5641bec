// `orvex --build`: open, save and compile without a window.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

#include "app/headless_build.h"
#include "chm/compiler.h"
#include "model/context_numbers.h"
#include "platform/profile.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "formats/project/page_template.h"
#include "formats/project/project_file.h"
#include "model/project_saver.h"

namespace {

// A project as "New" leaves it, plus one topic made as "New topic" makes it.
QString MakeProjectWithOneTopic(const QTemporaryDir& dir) {
  const QString path = dir.filePath("My Guide.hhp");
  QStringList lines =
      NewProjectLines(path, NewProjectChoice{"Printer Guide", "0x0409 English (United States)"});
  PutText(dir.filePath("My Guide.css"), DefaultStyleSheet(), 1252);
  PutText(dir.filePath("My GuideP.js"), "popfont=\"Courier,10\"\r\n", 1252);
  PutText(dir.filePath("My_Guide01.htm"), BuildTopicPage("Start", path, lines), 1252);
  ProjectSnapshot project;
  project.projectFile = path;
  ContentsNode start;
  start.caption = "Start";
  start.data = std::make_unique<TopicData>(TopicData{"My_Guide01.htm"});
  project.contents.push_back(std::move(start));
  AddContextEntries("My_Guide01.htm", "My_Guide", project.mapLines, project.aliasLines);
  EXPECT_TRUE(SaveProjectFiles(project, lines).Ok());
  return path;
}

TEST(HeadlessBuild, OpensSavesAndCompilesAProject) {
  QTemporaryDir dir;
  const QString path = MakeProjectWithOneTopic(dir);
  QString outText, errText;
  QTextStream out(&outText), err(&errText);
  EXPECT_EQ(RunHeadlessBuild(path, dir.filePath("orvex.ini"), out, err, {}), 0) << errText.toStdString();
  EXPECT_TRUE(QFileInfo(dir.filePath("My Guide.chm")).size() > 0);
  EXPECT_FALSE(outText.isEmpty());  // the compiler log
  // The save rewrote the first-topic lines from the contents file.
  const QStringList lines = LinesOf(path, 1252);
  EXPECT_TRUE(lines.contains("Default topic=My_Guide01.htm"));
  EXPECT_TRUE(lines.contains("[FILES]"));
  EXPECT_EQ(lines.value(lines.indexOf("[FILES]") + 1), "My_Guide01.htm");
}

TEST(HeadlessBuild, RefusesAnOutputOutsideTheProjectFolder) {
  QTemporaryDir dir;
  const QString path = MakeProjectWithOneTopic(dir);
  QStringList lines = LinesOf(path, 1252);
  for (QString& line : lines) {
    if (line.startsWith("Compiled file=")) line = "Compiled file=../My Guide.chm";
  }
  PutLines(path, lines, 1252);
  QString outText, errText;
  QTextStream out(&outText), err(&errText);
  EXPECT_NE(RunHeadlessBuild(path, dir.filePath("orvex.ini"), out, err, {}), 0);
  EXPECT_FALSE(QFileInfo::exists(QFileInfo(dir.path()).absolutePath() + "/My Guide.chm"));
  EXPECT_TRUE(outText.contains("outside the project folder")) << outText.toStdString();
  EXPECT_TRUE(errText.contains("not written")) << errText.toStdString();
}

TEST(HeadlessBuild, AMissingProjectIsReportedNotCreated) {
  QTemporaryDir dir;
  QString outText, errText;
  QTextStream out(&outText), err(&errText);
  EXPECT_NE(RunHeadlessBuild(dir.filePath("none.hhp"), dir.filePath("orvex.ini"), out, err, {}), 0);
  EXPECT_TRUE(errText.contains("not found"));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("none.hhp")));
}

TEST(HeadlessBuild, TheProgramRunsWithoutADisplay) {
  QTemporaryDir dir;
  const QString path = MakeProjectWithOneTopic(dir);
  QProcess orvex;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  orvex.setProcessEnvironment(env);
  orvex.start(QString(ORVEX_BIN_DIR) + "/orvex", {"--build", path});
  ASSERT_TRUE(orvex.waitForFinished(120000));
  EXPECT_EQ(orvex.exitCode(), 0) << orvex.readAllStandardError().toStdString();
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("My Guide.chm")));
}

}  // namespace

TEST(HeadlessBuild, SettingsGoToTheUsersFolderAndAnOldFileBesideTheProgramMoves) {
  // The program in a folder of its own (a hard link where the disk allows),
  // with the settings an older version wrote beside it.
  QTemporaryDir dir(QString(ORVEX_BIN_DIR) + "/../settings-test-XXXXXX");
  ASSERT_TRUE(QDir(dir.path()).mkdir("bin"));
  const QString built = QString(ORVEX_BIN_DIR) + "/orvex";
  const QString program = dir.filePath("bin/orvex");
  if (::link(QFile::encodeName(built).constData(), QFile::encodeName(program).constData()) != 0)
    ASSERT_TRUE(QFile::copy(built, program));
  PutFile(dir.filePath("bin/orvex.ini"), "[FileHistory]\r\nFile1=/older/Guide.hhp\r\n");
  const QString path = MakeProjectWithOneTopic(dir);
  QProcess orvex;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
  orvex.setProcessEnvironment(env);
  orvex.start(program, {"--build", path});
  ASSERT_TRUE(orvex.waitForFinished(120000));
  EXPECT_EQ(orvex.exitCode(), 0) << orvex.readAllStandardError().toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("bin/orvex.ini")));
  const QString user = dir.filePath("config/orvex/orvex.ini");
  EXPECT_EQ(ReadProfileString(user, "FileHistory", "File1", {}), path);
  EXPECT_EQ(ReadProfileString(user, "FileHistory", "File2", {}), "/older/Guide.hhp");
}
