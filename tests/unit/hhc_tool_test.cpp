// The hhc tool on a real project: what it writes, its exit codes, and what
// a full disk or a kill leaves.

#include "chm/chm_file.h"
#include "chm/compiler.h"
#include "hhc_fixture.h"

#include <QFileInfo>
#include <QRandomGenerator>

using namespace orvex;
using namespace orvex_test;

namespace {

class HhcTool : public ::testing::Test {
 protected:
  void SetUp() override {
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

TEST_F(HhcTool, CompilesWithoutChmcmdOnThePathAndWithAnyThreadCount) {
  QTemporaryDir emptyBin;
  auto env = QProcessEnvironment::systemEnvironment();
  env.insert("PATH", emptyBin.path());
  QByteArray output;
  ASSERT_EQ(runTool(tool("hhc"), {"--threads", "1", project.projectPath()}, env, &output), 0)
      << output.toStdString();
  const QByteArray single = readBytes(project.chmPath());
  ChmFile one;
  ASSERT_TRUE(one.open(project.chmPath()));
  const auto onePage = one.read("/My_Guide02.htm");
  one.close();
  ASSERT_EQ(runTool(tool("hhc"), {"--threads", "4", project.projectPath()}, env, &output), 0)
      << output.toStdString();
  ChmFile four;
  ASSERT_TRUE(four.open(project.chmPath()));
  EXPECT_EQ(four.read("/My_Guide02.htm"), onePage);
  EXPECT_EQ(runTool(tool("hhc"), {"--threads"}, env, &output), 2);
  EXPECT_EQ(runTool(tool("hhc"), {}, env, &output), 2);
}

// Writing past a file-size limit fails as a full disk does: the old
// compiled file stays, the message names the file, nothing is left behind.
TEST_F(HhcTool, AFullDiskFailsAndKeepsTheOlderCompiledFile) {
  writeBytes(project.chmPath(), "older compiled file");
  QByteArray noise(300000, Qt::Uninitialized);  // does not compress
  QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
  writeBytes(project.folder + "/noise.bin", noise);
  QByteArray text = readBytes(project.projectPath());
  text.replace("My GuideP.js\r\n", "My GuideP.js\r\nnoise.bin\r\n");
  writeBytes(project.projectPath(), text);
  QByteArray output;
  const int code =
      runTool("/bin/bash",
              {"-c", "trap '' XFSZ; ulimit -f 64; exec \"$0\" \"$1\"", tool("hhc"), project.projectPath()},
              QProcessEnvironment::systemEnvironment(), &output);
  EXPECT_EQ(code, 1) << output.toStdString();
  EXPECT_TRUE(output.contains("Error: Cannot write " + project.chmPath().toUtf8() + ": File too large"))
      << output.toStdString();
  EXPECT_TRUE(output.contains("Compiled file not written")) << output.toStdString();
  EXPECT_EQ(readBytes(project.chmPath()), QByteArray("older compiled file"));
  EXPECT_TRUE(QDir(project.folder).entryList({"*.orvex-part"}, QDir::Files | QDir::Hidden).isEmpty());

  // Killed while writing (the limit's signal), it leaves the same.
  const int killed =
      runTool("/bin/bash", {"-c", "ulimit -f 64; exec \"$0\" \"$1\"", tool("hhc"), project.projectPath()},
              QProcessEnvironment::systemEnvironment(), &output);
  EXPECT_NE(killed, 0);
  EXPECT_EQ(readBytes(project.chmPath()), QByteArray("older compiled file"));
  EXPECT_TRUE(QDir(project.folder).entryList({"*.orvex-part"}, QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(HhcTool, AnOutsideOutputIsRefusedUnlessAllowed) {
  QByteArray text = readBytes(project.projectPath());
  text.replace("Compiled file=My Guide.chm", "Compiled file=../hhc-outside-test.chm");
  writeBytes(project.projectPath(), text);
  const QString outside = QFileInfo(project.folder).absolutePath() + "/hhc-outside-test.chm";
  QByteArray output;
  EXPECT_EQ(runTool(tool("hhc"), {project.projectPath()}, QProcessEnvironment::systemEnvironment(), &output),
            1);
  EXPECT_TRUE(output.contains("outside the project folder")) << output.toStdString();
  EXPECT_FALSE(QFileInfo::exists(outside));
  EXPECT_EQ(runTool(tool("hhc"), {"--allow-outside-output", project.projectPath()},
                    QProcessEnvironment::systemEnvironment(), &output),
            0)
      << output.toStdString();
  EXPECT_TRUE(QFileInfo(outside).size() > 0);
  QFile::remove(outside);
}
