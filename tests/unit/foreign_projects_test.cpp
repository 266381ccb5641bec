// Projects made elsewhere (by hand on Windows, by Doxygen, by Sphinx) open
// with every item, save without a byte changed that the program did not mean
// to change, and compile; what the bare compiler compiled before a save it
// still compiles after.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "chm/chm_file.h"
#include "app/headless_build.h"
#include "chm/compiler.h"
#include "generated_projects.h"
#include "hhc_fixture.h"
#include "model/project_reader.h"
#include "platform/codepage.h"
#include "formats/project/project_file.h"
#include "model/project_saver.h"
#include "tests/unit/test_files.h"

using namespace orvex_test;

namespace {

QByteArray Cp(const char* utf8, int codePage) { return EncodeCodePage(QString::fromUtf8(utf8), codePage); }

// A project as an author keeps it on Windows: the project file in code page
// 932 (its "Language" line says so) with an upper-case extension, the
// contents and index files named by its options in another letter case,
// "\" everywhere, [ALIAS] inside the project file and [MAP] as an include of
// a header two folders up, merge items and parameters of other tools.
QString WriteWindowsProject(const QString& root) {
  const QString folder = root + "/help/ja";
  writeBytes(
      root + "/common/helpid.h",
      "// Help ids\r\n#define IDH_INTRO 1000\r\n#define IDH_SETUP 0x3E9\r\n#define IDH_SETUP_ALT 1002\r\n");
  writeBytes(
      folder + "/Manual.HHP",
      "[OPTIONS]\r\nCompatibility=1.1 or later\r\nCompiled file=Manual.chm\r\nContents file=Toc.hhc\r\n"
      "Index file=Index.hhk\r\nDefault topic=pages\\Intro.htm\r\nDisplay compile progress=No\r\n"
      "Language=0x411 " +
          Cp("日本語", 932) + "\r\nTitle=" + Cp("マニュアル", 932) +
          "\r\nError log file=Manual.log\r\n\r\n[WINDOWS]\r\nmain=\"" + Cp("マニュアル", 932) +
          "\",\"Toc.hhc\",\"Index.hhk\",\"pages\\Intro.htm\",\"pages\\Intro.htm\",,,,,0x2520,,0x3006,,,,,,,,"
          "0\r\n"
          "\r\n[FILES]\r\nPages\\intro.htm\r\npages\\Setup.htm\r\n\r\n[ALIAS]\r\nIDH_INTRO=pages\\Intro."
          "htm\r\n"
          "IDH_SETUP=Pages\\setup.htm\r\nIDH_SETUP_ALT=pages\\Setup.htm\r\n\r\n[MAP]\r\n"
          "#include ..\\..\\common\\helpid.h\r\n");
  writeBytes(folder + "/Pages/Intro.htm",
             "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
             "charset=shift_jis\"></head><body><p>" +
                 Cp("はじめに", 932) + "</p><img src=\"..\\images\\Logo.GIF\"><a href=\"setup.htm\">" +
                 Cp("設定", 932) + "</a></body></html>\r\n");
  writeBytes(folder + "/Pages/Setup.htm", "<html><body><p>Setup</p></body></html>\r\n");
  writeBytes(folder + "/Images/logo.gif", QByteArray("GIF89a\x01\x00\x01\x00", 10));
  const QByteArray item = "<LI> <OBJECT type=\"text/sitemap\">\r\n";
  writeBytes(
      folder + "/toc.HHC",
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
      "<meta name=\"GENERATOR\" content=\"Microsoft&reg; HTML Help Workshop 4.1\">\r\n"
      "<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n<OBJECT type=\"text/site properties\">\r\n"
      "\t<param name=\"ImageType\" value=\"Folder\">\r\n</OBJECT>\r\n<UL>\r\n\t" +
          item + "\t\t<param name=\"Name\" value=\"" + Cp("はじめに", 932) +
          "\">\r\n\t\t<param name=\"Local\" value=\"pages\\Intro.htm\">\r\n"
          "\t\t<param name=\"ImageNumber\" value=\"11\">\r\n\t\t</OBJECT>\r\n\t" +
          item + "\t\t<param name=\"Name\" value=\"" + Cp("設定", 932) +
          "\">\r\n\t\t</OBJECT>\r\n\t<UL>\r\n\t\t" + item +
          "\t\t\t<param name=\"Name\" value=\"Setup\">\r\n" +
          "\t\t\t<param name=\"Local\" value=\"Pages\\Setup.htm\">\r\n\t\t\t</OBJECT>\r\n\t</UL>\r\n\t" +
          item +
          "\t\t<param name=\"Merge\" value=\"other.chm::/other.hhc\">\r\n\t\t</OBJECT>\r\n</UL>\r\n"
          "</BODY></HTML>\r\n");
  writeBytes(
      folder + "/Index.hhk",
      "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n</HEAD><BODY>\r\n<UL>\r\n\t" +
          item + "\t\t<param name=\"Name\" value=\"install\">\r\n\t\t<param name=\"Name\" value=\"" +
          Cp("インストール", 932) +
          "\">\r\n\t\t<param name=\"Local\" value=\"pages\\Setup.htm\">\r\n\t\t</OBJECT>\r\n\t" + item +
          "\t\t<param name=\"Keyword\" value=\"start\">\r\n\t\t<param name=\"Name\" value=\"Intro\">\r\n"
          "\t\t<param name=\"Local\" value=\"pages\\Intro.htm\">\r\n\t\t<param name=\"Name\" "
          "value=\"Setup\">\r\n"
          "\t\t<param name=\"Local\" value=\"pages\\Setup.htm#top\">\r\n\t\t</OBJECT>\r\n</UL>\r\n"
          "</BODY></HTML>");  // no final line break
  return folder + "/Manual.HHP";
}

// Files that a save changed, added or removed, compiled output left aside.
QStringList ChangedFiles(const QMap<QString, QByteArray>& before, const QMap<QString, QByteArray>& after) {
  QStringList changed;
  for (auto it = after.cbegin(); it != after.cend(); ++it) {
    if (it.key().endsWith(".chm") || it.key().endsWith(".log")) continue;
    if (!before.contains(it.key()) || before.value(it.key()) != it.value()) changed << it.key();
  }
  for (auto it = before.cbegin(); it != before.cend(); ++it) {
    if (!after.contains(it.key())) changed << it.key() + " (removed)";
  }
  return changed;
}

int BuildHeadless(const QString& project, const QString& settings, QString* log) {
  QString outText, errText;
  QTextStream out(&outText), err(&errText);
  const int code = RunHeadlessBuild(project, settings, out, err, {});
  out.flush();
  err.flush();
  *log = outText + errText;
  return code;
}

// The bare compiler on the project as it stands; its output is removed again.
int BareCompile(const QString& project) {
  QProcess chmcmd;
  chmcmd.setWorkingDirectory(QFileInfo(project).absolutePath());
  chmcmd.setProcessChannelMode(QProcess::MergedChannels);
  chmcmd.start(QStandardPaths::findExecutable("chmcmd"), {QFileInfo(project).fileName()});
  if (!chmcmd.waitForFinished(180000)) return -1;
  return chmcmd.exitCode();
}

bool HaveChmcmd() { return !QStandardPaths::findExecutable("chmcmd").isEmpty(); }

}  // namespace

TEST(ForeignProjects, WindowsProjectOpensWithEveryItemAndContextNumber) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString project = WriteWindowsProject(dir.path());
  const ProjectFiles files = ProjectOnDisk(project);
  EXPECT_TRUE(files.problems.isEmpty()) << files.problems.join('\n').toStdString();
  EXPECT_EQ(files.sources.contents.path, dir.filePath("help/ja/toc.HHC"));
  EXPECT_TRUE(files.sources.contents.readOnlyReason.isEmpty());
  ASSERT_EQ(files.contents.size(), 3u);
  EXPECT_EQ(files.contents[0].caption, QString::fromUtf8("はじめに"));
  EXPECT_EQ(files.contents[1].caption, QString::fromUtf8("設定"));
  ASSERT_EQ(files.contents[1].children.size(), 1u);
  EXPECT_EQ(files.contents[1].children[0].data->fileName, "Pages\\Setup.htm");
  EXPECT_EQ(files.contents[2].caption, "other.chm::/other.hhc");
  ASSERT_EQ(files.index.size(), 3u);  // install, start x2
  EXPECT_EQ(files.index[0].caption, "install");
  EXPECT_EQ(files.index[0].data->topicCaption, QString::fromUtf8("インストール"));
  EXPECT_EQ(files.index[2].data->fileName, "pages\\Setup.htm#top");
  EXPECT_EQ(ProjectContextNumber(files.sources, "pages\\Intro.htm"), "1000");
  EXPECT_EQ(ProjectContextNumber(files.sources, "Pages\\Setup.htm"), "1001");
  EXPECT_TRUE(ProjectContextNumber(files.sources, "other.htm").isEmpty());
}

TEST(ForeignProjects, WindowsProjectSavesByteForByteAndCompiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString project = WriteWindowsProject(dir.path());
  const auto before = snapshot(dir.path());
  QString log;
  EXPECT_EQ(BuildHeadless(project, dir.filePath("orvex.ini"), &log), 0) << log.toStdString();
  QMap<QString, QByteArray> after = snapshot(dir.path());
  after.remove("orvex.ini");
  EXPECT_EQ(ChangedFiles(before, after), QStringList()) << log.toStdString();
  EXPECT_GT(QFileInfo(dir.filePath("help/ja/Manual.chm")).size(), 0);
  // Both aliases of one page reach it through the compiled file's context map.
  orvex::ChmFile chm;
  ASSERT_TRUE(chm.open(dir.filePath("help/ja/Manual.chm")));
  EXPECT_EQ(chm.topicForContext(1001).toLower(), "/pages/setup.htm");
  EXPECT_EQ(chm.topicForContext(1002).toLower(), "/pages/setup.htm");
  EXPECT_FALSE(log.contains("IDH_INTRO")) << log.toStdString();
}

TEST(ForeignProjects, EditsOfACyrillicProjectKeepItsCodePageAndParameters) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString project = dir.filePath("Справка.hhp");
  writeBytes(project, "[OPTIONS]\r\nContents file=contents.hhc\r\nLanguage=0x419 " + Cp("Русский", 1251) +
                          "\r\nDefault topic=a.htm\r\n\r\n[FILES]\r\na.htm\r\n");
  writeBytes(dir.filePath("a.htm"), "<html><body>" + Cp("Страница", 1251) + "</body></html>\r\n");
  writeBytes(
      dir.filePath("contents.hhc"),
      "<HTML><BODY><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + Cp("Первая", 1251) +
          "\"><param name=\"Local\" value=\"a.htm\"><param name=\"ImageNumber\" value=\"3\"></OBJECT>"
          "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" +
          Cp("Вторая", 1251) + "\"><param name=\"Local\" value=\"a.htm#b\"></OBJECT></UL></BODY></HTML>\n");
  const QByteArray projectBytes = readBytes(project);
  ProjectFiles files = ProjectOnDisk(project);
  ASSERT_EQ(files.contents.size(), 2u);
  EXPECT_EQ(files.contents[0].caption, QString::fromUtf8("Первая"));
  files.contents[1].caption = QString::fromUtf8("Вторая глава");
  ProjectSnapshot snapshot{project, std::move(files.contents), std::move(files.index), files.mapLines,
                           files.aliasLines};
  ASSERT_TRUE(SaveProjectFiles(snapshot, files.projectLines, files.sources).Ok());
  EXPECT_EQ(readBytes(project), projectBytes);  // language name byte for byte, nothing added
  const QByteArray contents = readBytes(dir.filePath("contents.hhc"));
  EXPECT_TRUE(contents.startsWith("<HTML><BODY><UL>")) << contents.toStdString();
  EXPECT_TRUE(contents.contains("value=\"" + Cp("Вторая глава", 1251) + "\""));
  EXPECT_TRUE(contents.contains(
      "<param name=\"Local\" value=\"a.htm\">\r\n<param name=\"ImageNumber\" value=\"3\">"));
  // No map or alias file is made for a project that includes none.
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Справка.ali")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Справка.h")));
}

TEST(ForeignProjects, UnreadableSitemapsAreNamedAndNeverRewritten) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString project = dir.filePath("p.hhp");
  writeBytes(project, "[OPTIONS]\r\nContents file=p.hhc\r\nIndex file=p.hhk\r\n\r\n[FILES]\r\na.htm\r\n");
  static const char16_t text[] = u"<UL><LI><OBJECT><param name=\"Name\" value=\"A\"></OBJECT></UL>";
  const QByteArray utf16 = QByteArray("\xFF\xFE", 2) +
                           QByteArray(reinterpret_cast<const char*>(text), sizeof(text) - sizeof(char16_t));
  writeBytes(dir.filePath("p.hhc"), utf16);
  const QByteArray index =
      "<UL><LI><OBJECT><param name=\"Keyword\" value=\"k\"><param name=\"Local\" "
      "value=\"a.htm\"></OBJECT></UL><OBJECT><param name=\"Keyword\" "
      "value=\"late\"></OBJECT>";
  writeBytes(dir.filePath("p.hhk"), index);
  ProjectFiles files = ProjectOnDisk(project);
  const QString told = files.sources.warnings.join('\n');
  EXPECT_TRUE(told.contains("p.hhc") && told.contains("UTF-16")) << told.toStdString();
  EXPECT_TRUE(told.contains("p.hhk")) << told.toStdString();
  ASSERT_EQ(files.index.size(), 1u);  // what could be read is shown
  ContentsNode added;
  added.caption = "New";
  added.data = std::make_unique<TopicData>(TopicData{"a.htm"});
  files.contents.push_back(std::move(added));
  files.index.clear();
  ProjectSnapshot snapshot{project, std::move(files.contents), std::move(files.index), {}, {}};
  ASSERT_TRUE(SaveProjectFiles(snapshot, files.projectLines, files.sources).Ok());
  EXPECT_EQ(readBytes(dir.filePath("p.hhc")), utf16);
  EXPECT_EQ(readBytes(dir.filePath("p.hhk")), index);
}

TEST(ForeignProjects, GeneratedProjectsSaveUnchangedAndStillCompile) {
  for (const ProjectGenerator generate : kProjectGenerators) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const GeneratedProject made = generate(dir.path());
    if (made.generatorMissing) {
      std::cout << "skipped: " << made.error.toStdString() << "\n";
      continue;
    }
    ASSERT_FALSE(made.projectFile.isEmpty()) << made.error.toStdString();
    const QString folder = QFileInfo(made.projectFile).absolutePath();
    const int bareBefore = HaveChmcmd() ? BareCompile(made.projectFile) : -1;
    const auto before = snapshot(folder);
    const ProjectFiles files = ProjectOnDisk(made.projectFile);
    EXPECT_TRUE(files.sources.warnings.isEmpty()) << files.sources.warnings.join('\n').toStdString();
    EXPECT_FALSE(files.contents.empty());
    EXPECT_FALSE(files.index.empty());
    if (!HaveChmcmd()) continue;
    QString log;
    // Generators link pages they do not write: errors, with the file written (exit code 1).
    EXPECT_LE(BuildHeadless(made.projectFile, dir.filePath("orvex.ini"), &log), 1) << log.toStdString();
    const auto after = snapshot(folder);
    // The project file changes at most in its "Default topic=" line: where it
    // named the first Contents topic it follows it as saves put it there, with
    // its own line breaks; a home page of its own stays.
    const QString name = QFileInfo(made.projectFile).fileName();
    QStringList changed = ChangedFiles(before, after);
    changed.removeAll(name);
    EXPECT_EQ(changed.join(", ").toStdString(), "") << made.projectFile.toStdString();
    QByteArray expected = before.value(name);
    const qsizetype line = expected.indexOf("Default topic=");
    const QString first = files.contents.front().data->fileName;
    if (line >= 0 && DefaultTopicFollowsContents(files.projectLines, first)) {
      const qsizetype end = expected.indexOf('\n', line);
      expected.replace(line, end - line,
                       "Default topic=" + first.toUtf8() + (expected.at(end - 1) == '\r' ? "\r" : ""));
    }
    EXPECT_EQ(after.value(name).toStdString(), expected.toStdString());
    if (bareBefore == 0) EXPECT_EQ(BareCompile(made.projectFile), 0) << made.projectFile.toStdString();
  }
}
