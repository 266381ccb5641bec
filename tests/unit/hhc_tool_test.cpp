// The hhc tool on a real project, with the real chmcmd.

#include "chm/chm_file.h"
#include "chm/compiler.h"
#include "hhc_fixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>

using namespace orvex;
using namespace orvex_test;

namespace {

class HhcTool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QStandardPaths::findExecutable("chmcmd").isEmpty()) GTEST_SKIP() << "chmcmd is not installed";
    ASSERT_TRUE(dir.isValid());
    project.write(dir.path());
  }
  QTemporaryDir dir;
  HelpProject project;
};

QStringList logLines(const QString& path) {
  return QString::fromLatin1(readBytes(path)).split("\r\n", Qt::SkipEmptyParts);
}

}  // namespace

TEST_F(HhcTool, CompilesEveryFileThePagesNeedAndLogs) {
  const auto before = snapshot(project.folder);
  QByteArray output;
  ASSERT_EQ(runTool(tool("hhc"), {project.projectPath()}, QProcessEnvironment::systemEnvironment(), &output),
            0)
      << output.toStdString();

  const QStringList log = logLines(project.logPath());
  ASSERT_FALSE(log.isEmpty());
  EXPECT_EQ(log.last(), "Compiled file written: " + project.chmPath());
  EXPECT_TRUE(output.contains("Compiled file written: ")) << output.toStdString();
  for (const QString& line : log)
    EXPECT_FALSE(line.contains(".hhc-")) << "temporary name leaked: " << line.toStdString();

  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  for (const char* entry : {"/My_Guide01.htm", "/My_Guide02.htm", "/My_Guide03.htm", "/pic.png", "/bg.png",
                            "/splash.png", "/My Guide.css", "/My GuideP.js"})
    EXPECT_TRUE(chm.contains(entry)) << entry;
  EXPECT_EQ(chm.read("/My_Guide01.htm").value_or(QByteArray()), project.page1);
  EXPECT_EQ(chm.read("/splash.png").value_or(QByteArray()), readBytes(project.folder + "/splash.png"));

  // Numbers from a tab-separated define and a hex define both reach their pages.
  EXPECT_EQ(chm.topicForContext(101), "/My_Guide01.htm");
  EXPECT_EQ(chm.topicForContext(102), "/My_Guide02.htm");
  EXPECT_EQ(chm.topicForContext(103), "/My_Guide03.htm");
  EXPECT_TRUE(chm.topicForContext(104).isEmpty());

  const ChmSystemInfo info = chm.systemInfo();
  EXPECT_EQ(info.title, "Printer Guide");
  EXPECT_EQ(info.defaultTopic, "My_Guide01.htm");
  EXPECT_EQ(info.lcid, 0x409u);

  // The author's files are untouched, and no temporary file is left behind.
  auto after = snapshot(project.folder);
  after.remove("My Guide.chm");
  after.remove("My Guide.log");
  EXPECT_EQ(after, before);
}

TEST_F(HhcTool, WithoutChmcmdSaysSoInOneLineAndFails) {
  QTemporaryDir emptyBin;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", emptyBin.path());
  QByteArray output;
  EXPECT_NE(runTool(tool("hhc"), {project.projectPath()}, env, &output), 0);
  const QStringList log = logLines(project.logPath());
  ASSERT_EQ(log.size(), 2) << log.join('|').toStdString();
  EXPECT_TRUE(log[0].startsWith("Error: ") && log[0].contains("chmcmd")) << log[0].toStdString();
  EXPECT_EQ(log[1], "Compiled file not written: " + project.chmPath());
  EXPECT_FALSE(QFileInfo::exists(project.chmPath()));
}

TEST(HhcCompile, AbortedCompileFailsAndKeepsTheOlderCompiledFile) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  writeBytes(project.chmPath(), "older compiled file");
  // What chmcmd prints when it gives up on a project: the generated
  // project's name must come out as the author's.
  const QString fake = dir.path() + "/fake-chmcmd";
  writeBytes(fake,
             "#!/bin/sh\necho \"This HHP CHM project seems corrupt, please check it $1 "
             "(context \\\"IDH_X\\\" not found!)\"\nexit 1\n");
  QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  CompileOptions options;
  options.chmcmdPath = fake;
  const CompileResult result = CompileProject(project.projectPath(), options);
  EXPECT_FALSE(result.success);
  EXPECT_EQ(readBytes(project.chmPath()), QByteArray("older compiled file"));
  ASSERT_GE(result.messages.size(), 2);
  EXPECT_EQ(result.messages.last(), "Compiled file not written: " + project.chmPath());
  EXPECT_TRUE(
      result.messages.contains("Error: This HHP CHM project seems corrupt, please check it My Guide.hhp "
                               "(context \"IDH_X\" not found!)"))
      << result.messages.join('\n').toStdString();
  EXPECT_EQ(QString::fromLatin1(readBytes(project.logPath())).split("\r\n", Qt::SkipEmptyParts),
            result.messages);
}

TEST(HhcCompile, MissingProjectFileIsReportedNotCompiled) {
  QTemporaryDir dir;
  const CompileResult result = CompileProject(dir.path() + "/None.hhp");
  EXPECT_FALSE(result.success);
  ASSERT_EQ(result.messages.size(), 2);
  EXPECT_TRUE(result.messages[0].contains("None.hhp"));
}

TEST(HhcCompile, InjectedMissingChmcmdFails) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  CompileOptions options;
  options.chmcmdPath = dir.path() + "/no-such-chmcmd";
  const CompileResult result = CompileProject(project.projectPath(), options);
  EXPECT_FALSE(result.success);
  ASSERT_EQ(result.messages.size(), 2);
  EXPECT_TRUE(result.messages[0].contains("chmcmd"));
}

// chmcmd exits 0 even when it printed errors and wrote nothing; the verdict
// rests on the compiled file, not on the exit code.
TEST(HhcCompile, ExitZeroWithoutCompiledFileIsFailure) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  const QString fake = dir.path() + "/fake-chmcmd";
  writeBytes(fake, "#!/bin/sh\necho 'Error: something went wrong'\nexit 0\n");
  QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  CompileOptions options;
  options.chmcmdPath = fake;
  const CompileResult result = CompileProject(project.projectPath(), options);
  EXPECT_FALSE(result.success);
  EXPECT_TRUE(result.messages.contains("Error: something went wrong"));
  EXPECT_FALSE(QFileInfo::exists(project.chmPath()));
}

TEST(HhcCompile, HangingCompilerIsStoppedAtTheDeadline) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  const QString fake = dir.path() + "/slow-chmcmd";
  writeBytes(fake, "#!/bin/sh\nexec sleep 30\n");
  QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  CompileOptions options;
  options.chmcmdPath = fake;
  options.timeoutMs = 500;
  QElapsedTimer timer;
  timer.start();
  const CompileResult result = CompileProject(project.projectPath(), options);
  EXPECT_LT(timer.elapsed(), 10000);
  EXPECT_FALSE(result.success);
  EXPECT_TRUE(result.messages.join('\n').contains("did not finish"))
      << result.messages.join('\n').toStdString();
  // The generated files do not outlive the run.
  EXPECT_TRUE(QDir(dir.path()).entryList({".hhc-*"}, QDir::AllEntries | QDir::Hidden).isEmpty());
}
