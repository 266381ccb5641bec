// hh -decompile: sources back byte for byte, a project file for them, and
// nothing written outside the chosen folder.

#include "chm/compiler.h"
#include "chm/decompiler.h"
#include "hhc_fixture.h"

#include <QFileInfo>

using namespace orvex;
using namespace orvex_test;

namespace {

class DecompileTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    project.write(dir.path() + "/src");
    writeBytes(project.folder + "/aa/x.htm", "<html><body>in a folder</body></html>");
    writeBytes(project.folder + "/My_Guide03.htm",
               project.page3 + "<a href=\"aa/x.htm\">folder page</a>\r\n");
    const CompileResult compiled = CompileProject(project.projectPath());
    ASSERT_TRUE(compiled.success) << compiled.messages.join('\n').toStdString();
  }
  QTemporaryDir dir;
  HelpProject project;
};

QStringList textLines(const QString& path) { return QString::fromLatin1(readBytes(path)).split("\r\n"); }

}  // namespace

TEST_F(DecompileTool, GivesBackTheSourcesAndAProjectFile) {
  const QString out = dir.path() + "/out folder";
  QByteArray output;
  ASSERT_EQ(runTool(tool("hh"), {"-decompile", out + "/", project.chmPath()},
                    QProcessEnvironment::systemEnvironment(), &output),
            0)
      << output.toStdString();
  for (const char* name : {"My_Guide01.htm", "My_Guide02.htm", "My Guide.css", "pic.png", "bg.png",
                           "splash.png", "aa/x.htm", "My Guide.hhc", "My Guide.hhk"})
    EXPECT_EQ(readBytes(out + '/' + name), readBytes(project.folder + '/' + name)) << name;
  const QStringList written = QDir(out).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : written)
    EXPECT_FALSE(name.startsWith('#') || name.startsWith('$') || name.startsWith("_#")) << name.toStdString();

  const QStringList hhp = textLines(out + "/My Guide.hhp");
  ASSERT_GE(hhp.size(), 12);
  EXPECT_EQ(hhp[0], "[OPTIONS]");
  for (const char* line :
       {"Compiled file=My Guide.chm", "Contents file=My Guide.hhc", "Index file=My Guide.hhk",
        "Title=Printer Guide", "Language=0x0409 English (United States)", "Default topic=My_Guide01.htm",
        "Error log file=My Guide.log"})
    EXPECT_TRUE(hhp.contains(line)) << line;
  const qsizetype files = hhp.indexOf("[FILES]");
  ASSERT_GE(files, 0);
  EXPECT_EQ(hhp.value(files + 1), "My_Guide01.htm");
  EXPECT_TRUE(hhp.contains("aa/x.htm"));
  EXPECT_FALSE(hhp.mid(files).contains("My Guide.hhc"));
}

TEST_F(DecompileTool, EntryClimbingOutOfTheFolderIsSkippedAndReported) {
  QByteArray bytes = readBytes(project.chmPath());
  ASSERT_TRUE(bytes.contains("/aa/x.htm"));
  bytes.replace("/aa/x.htm", "/../x.htm");
  const QString hostile = dir.path() + "/hostile.chm";
  writeBytes(hostile, bytes);

  const QString parent = dir.path() + "/parent";
  const QString out = parent + "/inner";
  QDir().mkpath(out);
  QByteArray output;
  EXPECT_EQ(
      runTool(tool("hh"), {"-decompile", out, hostile}, QProcessEnvironment::systemEnvironment(), &output),
      3);
  EXPECT_TRUE(output.contains("/../x.htm")) << output.toStdString();
  EXPECT_FALSE(QFileInfo::exists(parent + "/x.htm"));
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/x.htm"));
  EXPECT_EQ(QDir(parent).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"inner"});
  // The rest of the file still comes out.
  EXPECT_EQ(readBytes(out + "/My_Guide01.htm"), project.page1);
}

TEST_F(DecompileTool, SymbolicLinkInTheFolderIsNotFollowed) {
  const QString elsewhere = dir.path() + "/elsewhere";
  const QString out = dir.path() + "/out";
  QDir().mkpath(elsewhere);
  QDir().mkpath(out);
  ASSERT_TRUE(QFile::link(elsewhere, out + "/aa"));
  ASSERT_TRUE(QFile::link(elsewhere + "/planted.htm", out + "/My_Guide02.htm"));
  const DecompileResult result = DecompileChm(project.chmPath(), out);
  EXPECT_TRUE(result.opened);
  EXPECT_TRUE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
  EXPECT_TRUE(result.problems.join('\n').contains("/aa/x.htm")) << result.problems.join('\n').toStdString();
  EXPECT_TRUE(result.problems.join('\n').contains("/My_Guide02.htm"));
  EXPECT_EQ(readBytes(out + "/My_Guide01.htm"), project.page1);
}

TEST(DecompileNames, UnsafeNamesAreRefused) {
  EXPECT_EQ(SafeEntryName("/a.htm"), "a.htm");
  EXPECT_EQ(SafeEntryName("/sub/b c.htm"), "sub/b c.htm");
  EXPECT_EQ(SafeEntryName("/sub\\d.htm"), "sub/d.htm");
  for (const char* bad : {"/../x.htm", "/a/../../x.htm", "//etc/passwd", "/./x.htm", "/C:/x.htm",
                          "/sub\\..\\..\\x", "/a//b", "x.htm", "/", "/a/\x01.htm", "/dir/"})
    EXPECT_TRUE(SafeEntryName(bad).isEmpty()) << bad;
  EXPECT_TRUE(SafeEntryName("/" + QString(2000, 'a')).isEmpty());
}

TEST(DecompileNames, OnlySourcesAreExtracted) {
  auto entry = [](const char* path, bool file = true, bool normal = true) {
    ChmEntry e;
    e.path = path;
    e.isFile = file;
    e.isNormal = normal;
    return e;
  };
  EXPECT_TRUE(IsSourceEntry(entry("/a.htm")));
  EXPECT_TRUE(IsSourceEntry(entry("/img/#1.png")));
  EXPECT_FALSE(IsSourceEntry(entry("/#SYSTEM", true, false)));
  EXPECT_FALSE(IsSourceEntry(entry("/$WWKeywordLinks/BTree", true, false)));
  EXPECT_FALSE(IsSourceEntry(entry("::DataSpace/NameList", true, false)));
  EXPECT_FALSE(IsSourceEntry(entry("/sub/", false)));
  EXPECT_FALSE(IsSourceEntry(entry("/_#_README_#_")));
}

TEST(DecompileProject, ProjectLinesTakeTheirValuesFromTheCompiledFile) {
  ChmSystemInfo info;
  info.title = "Hilfe";
  info.defaultTopic = "/start.htm";
  info.contentsFile = "Hilfe.hhc";
  info.lcid = 0x407;
  const QStringList lines =
      DecompiledProjectLines({info, {}, "Hilfe.chm", {"Hilfe.hhc", "a.htm", "start.htm"}, {}, {}});
  EXPECT_EQ(lines,
            (QStringList{"[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=Hilfe.chm",
                         "Contents file=Hilfe.hhc", "Display compile progress=No", "Full-text search=Yes",
                         "Title=Hilfe", "Language=0x0407 German (Germany)", "Error log file=Hilfe.log",
                         "Default topic=/start.htm", "", "[FILES]", "start.htm", "a.htm"}));
  EXPECT_EQ(LanguageTextOf(0x409), "0x0409 English (United States)");
  EXPECT_TRUE(LanguageTextOf(0x10407).startsWith("0x10407"));
  EXPECT_TRUE(LanguageTextOf(0).isEmpty());
}

TEST(DecompileProject, UnreadableFileWritesNothing) {
  QTemporaryDir dir;
  writeBytes(dir.path() + "/bad.chm", "not a compiled file");
  const DecompileResult result = DecompileChm(dir.path() + "/bad.chm", dir.path() + "/out");
  EXPECT_FALSE(result.opened);
  EXPECT_FALSE(QFileInfo::exists(dir.path() + "/out"));
  QByteArray output;
  EXPECT_EQ(runTool(tool("hh"), {"-decompile", dir.path() + "/out", dir.path() + "/bad.chm"},
                    QProcessEnvironment::systemEnvironment(), &output),
            1);
  EXPECT_EQ(runTool(tool("hh"), {"bad.chm"}), 2);
}
