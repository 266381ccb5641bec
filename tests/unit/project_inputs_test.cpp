// What a project names is judged before it is read or written: nothing from
// outside the project folder goes into a compiled file, nothing is created
// outside it, only regular files of a bounded size are read, and a value
// read from a file stays on its line of the compiler's output.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "chm/chm_file.h"
#include "tests/unit/hhc_fixture.h"

namespace {

using orvex_test::readBytes;
using orvex_test::tool;
using orvex_test::writeBytes;

struct ToolRun {
  int code = -1;
  QString output;
};

// Runs a tool with its settings in `config`, giving up after 60 s.
ToolRun RunTool(const QString& program, const QStringList& args, const QString& config) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_CONFIG_HOME", config);
  p.setProcessEnvironment(env);
  p.setProcessChannelMode(QProcess::MergedChannels);
  p.start(program, args);
  ToolRun run;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished(5000);
    run.output = "still running after 60 s";
    return run;
  }
  run.output = QString::fromLocal8Bit(p.readAll());
  run.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  return run;
}

class ProjectInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    sample.write(dir.filePath("project"));
    outside = dir.filePath("outside");
    QDir().mkpath(outside);
    writeBytes(outside + "/secret.txt", "secret outside the project\n");
    writeBytes(outside + "/pic.png", QByteArray("\x89PNG\r\n\x1a\nsecret", 14));
  }
  // Adds lines under [FILES].
  void AddFiles(const QByteArray& lines) {
    QByteArray hhp = readBytes(sample.projectPath());
    hhp.replace("[FILES]\r\n", "[FILES]\r\n" + lines);
    writeBytes(sample.projectPath(), hhp);
  }
  void SetOption(const QByteArray& from, const QByteArray& to) {
    QByteArray hhp = readBytes(sample.projectPath());
    hhp.replace(from, to);
    writeBytes(sample.projectPath(), hhp);
  }
  ToolRun Hhc() { return RunTool(tool("hhc"), {sample.projectPath()}, dir.filePath("config")); }
  ToolRun Build() {
    return RunTool(tool("orvex"), {"--build", sample.projectPath()}, dir.filePath("config"));
  }
  QStringList EntriesOfTheCompiledFile() {
    orvex::ChmFile chm;
    if (!chm.open(sample.chmPath())) return {"(cannot be opened)"};
    QStringList names;
    for (const orvex::ChmEntry& entry : chm.entries()) names << entry.path.toLower();
    return names;
  }

  QTemporaryDir dir;
  orvex_test::HelpProject sample;
  QString outside;
};

TEST_F(ProjectInputs, LinksAndPathsOutOfTheFolderAreLeftOutByName) {
  ASSERT_TRUE(QFile::link(outside + "/secret.txt", sample.folder + "/passwd.txt"));
  ASSERT_TRUE(QFile::link(outside, sample.folder + "/linked"));
  ASSERT_TRUE(QFile::link(outside + "/pic.png", sample.folder + "/shot.png"));
  // Inside the folder a link is the author's arrangement and is packed.
  ASSERT_TRUE(QFile::link(sample.folder + "/My_Guide03.htm", sample.folder + "/again.htm"));
  writeBytes(sample.folder + "/My_Guide03.htm",
             "<html><body><img src=\"shot.png\"><img src=\"linked/pic.png\"></body></html>\r\n");
  AddFiles("passwd.txt\r\nlinked\\secret.txt\r\n../outside/secret.txt\r\n" + QFile::encodeName(outside) +
           "/secret.txt\r\nagain.htm\r\n");
  SetOption("Contents file=My Guide.hhc", "Contents file=../created-outside.hhc");
  const ToolRun run = Hhc();
  ASSERT_EQ(run.code, 0) << run.output.toStdString();
  for (const QString& name :
       {QStringLiteral("passwd.txt"), QStringLiteral("linked/secret.txt"), QStringLiteral("shot.png"),
        QStringLiteral("linked/pic.png"), QStringLiteral("../outside/secret.txt"), outside + "/secret.txt",
        QStringLiteral("../created-outside.hhc")})
    EXPECT_TRUE(run.output.contains(name + " links outside the project: left out")) << name.toStdString();
  EXPECT_FALSE(run.output.contains("file not found: ../")) << run.output.toStdString();
  EXPECT_FALSE(run.output.contains("file not found: " + outside)) << run.output.toStdString();
  const QStringList entries = EntriesOfTheCompiledFile();
  EXPECT_TRUE(entries.contains("/again.htm")) << entries.join(' ').toStdString();
  for (const QString& entry : entries) {
    EXPECT_FALSE(entry.contains("passwd") || entry.contains("secret") || entry.contains("shot") ||
                 entry.contains("linked"))
        << entry.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("created-outside.hhc")));
}

TEST_F(ProjectInputs, BuildCreatesNoSitemapOutsideTheFolder) {
  const QString absentIndex = outside + "/absent.hhk";
  SetOption("Contents file=My Guide.hhc", "Contents file=../created-outside.hhc");
  SetOption("Index file=My Guide.hhk", "Index file=" + QFile::encodeName(absentIndex));
  const ToolRun run = Build();
  EXPECT_EQ(run.code, 0) << run.output.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("created-outside.hhc")));
  EXPECT_FALSE(QFileInfo::exists(absentIndex));
  EXPECT_EQ(QDir(outside).entryList(QDir::Files), (QStringList{"pic.png", "secret.txt"}));
}

TEST_F(ProjectInputs, HugePagesAndProjectsFifosAndDevicesAreRefusedByName) {
  // A sparse 8 GB page and an 8 GB contents file.
  for (const QString& name : {QStringLiteral("big.htm"), QStringLiteral("My Guide.hhc")}) {
    QFile big(sample.folder + "/" + name);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(8) << 30));
  }
  AddFiles("big.htm\r\n");
  for (const ToolRun& run : {Hhc(), Build()}) {
    EXPECT_NE(run.code, -1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QRegularExpression(
        "File too large \\(over \\d+ bytes\\): " + QRegularExpression::escape(sample.folder + "/big.htm"))))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("My Guide.hhc")) << run.output.toStdString();
    EXPECT_FALSE(run.output.contains("bad_alloc"));
  }

  // The project file itself: 8 GB, a FIFO, a link to /dev/zero.
  const QString project = sample.projectPath();
  QFile::remove(project);
  {
    QFile big(project);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(8) << 30));
  }
  for (const ToolRun& run : {Hhc(), Build()}) {
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.code, -1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("File too large")) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(project)) << run.output.toStdString();
  }
  QFile::remove(project);
  ASSERT_EQ(mkfifo(QFile::encodeName(project).constData(), 0600), 0);
  for (const ToolRun& run : {Hhc(), Build()}) {
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.code, -1) << run.output.toStdString();  // -1: it blocked or crashed
    EXPECT_TRUE(run.output.contains("Not a regular file: " + project)) << run.output.toStdString();
  }
  QFile::remove(project);
  ASSERT_TRUE(QFile::link("/dev/zero", project));
  for (const ToolRun& run : {Hhc(), Build()}) {
    EXPECT_NE(run.code, 0);
    EXPECT_NE(run.code, -1) << run.output.toStdString();
    EXPECT_TRUE(run.output.contains("Not a regular file: " + project)) << run.output.toStdString();
  }
}

TEST_F(ProjectInputs, LineBreaksInSitemapValuesStayOnTheirLine) {
  QByteArray hhc = readBytes(sample.folder + "/My Guide.hhc");
  hhc.replace("value=\"My_Guide03.htm\"", "value=\"gone.htm\r\nError: injected\nWarning: injected\"");
  writeBytes(sample.folder + "/My Guide.hhc", hhc);
  const ToolRun run = Hhc();
  EXPECT_EQ(run.code, 1) << run.output.toStdString();  // gone.htm is missing: an error
  EXPECT_TRUE(run.output.contains("gone.htm")) << run.output.toStdString();
  const QString log = QString::fromLatin1(readBytes(sample.logPath()));
  for (const QString& text : {run.output, log}) {
    for (const QString& line : text.split(QRegularExpression("\r\n|\r|\n"))) {
      EXPECT_FALSE(line.startsWith("Error: injected")) << text.toStdString();
      EXPECT_FALSE(line.startsWith("Warning: injected")) << text.toStdString();
    }
  }
}

}  // namespace
