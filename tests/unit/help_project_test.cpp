// The help-project model without any widget: creating, opening and saving a
// project, its context numbers, page names and pages.
#include "model/help_project.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/text_file.h"
#include "project/recorded_save.h"
#include "tests/unit/test_files.h"

namespace {

QByteArray Bytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

ContentsNode Topic(const QString& caption, const QString& fileName) {
  ContentsNode node;
  node.caption = caption;
  node.data = std::make_unique<TopicData>(TopicData{fileName});
  return node;
}

class HelpProjectTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
  HelpProject project;
};

TEST_F(HelpProjectTest, StartsWithNoProject) {
  EXPECT_FALSE(project.IsOpen());
  EXPECT_TRUE(project.Folder().isEmpty());
  EXPECT_FALSE(project.IsModified());
  EXPECT_FALSE(project.CurrentTopic().has_value());
  EXPECT_TRUE(project.CurrentContextNumber().isEmpty());
}

TEST_F(HelpProjectTest, CreateNewWritesTheThreeFilesAndHoldsTheProject) {
  const QString path = Path("My Guide.hhp");
  ASSERT_TRUE(project.CreateNew(path, NewProjectChoice{"Printer Guide", "0x0407 German (Germany)"}).Ok());
  EXPECT_TRUE(project.IsOpen());
  EXPECT_TRUE(project.IsModified());
  EXPECT_EQ(project.ProjectFile(), path);
  EXPECT_EQ(project.Folder(), dir.path() + '/');
  EXPECT_EQ(project.NamePrefix(), "My_Guide");
  EXPECT_TRUE(project.ProjectLines().contains("Title=Printer Guide"));
  EXPECT_TRUE(project.ProjectLines().contains("Default topic=My_Guide001.htm"));
  EXPECT_EQ(LinesOf(path, 1252), project.ProjectLines());
  EXPECT_TRUE(QFileInfo::exists(Path("My Guide.css")));
  EXPECT_EQ(Bytes(Path("My GuideP.js")), "popfont=\"Courier,10\"\r\n");
  EXPECT_EQ(project.FileWithExt("P.js"), Path("My GuideP.js"));
}

TEST_F(HelpProjectTest, CreateNewThatCannotWriteKeepsTheOpenProject) {
  ASSERT_TRUE(project.CreateNew(Path("First.hhp"), std::nullopt).Ok());
  project.AddContextEntries("First01.htm");
  const QString missing = Path("no such folder/Second.hhp");
  const Status created = project.CreateNew(missing, std::nullopt);
  ASSERT_FALSE(created.Ok());
  EXPECT_TRUE(created.Message().contains(missing)) << created.Message().toStdString();
  EXPECT_EQ(project.ProjectFile(), Path("First.hhp"));
  EXPECT_EQ(project.MapLines(), QStringList{"#define IDH_First01  101"});
}

TEST_F(HelpProjectTest, SaveWritesEveryFileAndClearsModified) {
  const QString path = Path("MyHelp.hhp");
  ASSERT_TRUE(project.CreateNew(path, std::nullopt).Ok());
  project.AddContextEntries("MyHelp01.htm");
  std::vector<ContentsNode> contents;
  contents.push_back(Topic("Start", "MyHelp01.htm"));
  ASSERT_TRUE(SaveAndRecordRecent(project, std::move(contents), {}, Path("orvex.ini")).Ok());
  EXPECT_FALSE(project.IsModified());
  EXPECT_TRUE(project.ProjectLines().contains("Default topic=MyHelp01.htm"));
  EXPECT_EQ(LinesOf(path, 1252), project.ProjectLines());
  EXPECT_EQ(Bytes(Path("MyHelp.h")), "#define IDH_MyHelp01  101\r\n");
  EXPECT_EQ(Bytes(Path("MyHelp.ali")), "IDH_MyHelp01=MyHelp01.htm\r\n");
  EXPECT_TRUE(Bytes(Path("MyHelp.hhc")).contains("MyHelp01.htm"));
  EXPECT_TRUE(QFileInfo::exists(Path("MyHelp.hhk")));
  EXPECT_TRUE(Bytes(Path("orvex.ini")).contains("MyHelp.hhp"));
}

TEST_F(HelpProjectTest, ASaveThatFailsNamesTheFileAndKeepsModified) {
  const QString path = Path("MyHelp.hhp");
  ASSERT_TRUE(project.CreateNew(path, std::nullopt).Ok());
  ASSERT_TRUE(QDir().mkdir(Path("MyHelp.hhc")));  // a folder where the contents file goes
  const Status saved = SaveAndRecordRecent(project, {}, {}, Path("orvex.ini"));
  ASSERT_FALSE(saved.Ok());
  EXPECT_TRUE(saved.Message().contains(Path("MyHelp.hhc"))) << saved.Message().toStdString();
  EXPECT_TRUE(project.IsModified());
  EXPECT_FALSE(QFileInfo::exists(Path("MyHelp.hhk")));
  EXPECT_FALSE(QFileInfo::exists(Path("orvex.ini")));
}

TEST_F(HelpProjectTest, OpenReadsTheLinesAndHandsOutTheTrees) {
  const QString path = Path("Proj.hhp");
  PutText(path, "[OPTIONS]\r\nTitle=Proj\r\n", 1252);
  PutText(Path("Proj.h"), "#define IDH_Intro  7 \r\n", 1252);
  PutText(Path("Proj.ali"), "IDH_Intro=intro.htm\r\n", 1252);
  PutText(Path("Proj.hhc"),
          "<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"Intro\">\r\n"
          "<param name=\"Local\" value=\"intro.htm\">\r\n</OBJECT>\r\n</UL>\r\n",
          1252);
  project.SetModified();
  project.SetCurrentTopic(TopicData{"old.htm"});
  Result<ProjectTrees> trees = project.Open(path);
  ASSERT_TRUE(trees.Ok()) << trees.Message().toStdString();
  EXPECT_FALSE(project.IsModified());
  EXPECT_FALSE(project.CurrentTopic().has_value());
  EXPECT_EQ(project.ProjectLines(), QStringList({"[OPTIONS]", "Title=Proj"}));
  ASSERT_EQ(trees->contents.size(), 1u);
  EXPECT_EQ(trees->contents[0].caption, "Intro");
  EXPECT_TRUE(trees->index.empty());
  EXPECT_TRUE(trees->problems.isEmpty());  // no index file, and none named
  EXPECT_EQ(project.ContextNumberOf("intro.htm"), "7");
  project.SetCurrentTopic(TopicData{"intro.htm"});
  EXPECT_EQ(project.CurrentContextNumber(), "7");
}

TEST_F(HelpProjectTest, AProjectThatCannotBeReadLeavesTheOpenOne) {
  ASSERT_TRUE(project.CreateNew(Path("First.hhp"), std::nullopt).Ok());
  const QString missing = Path("Missing.hhp");
  const Result<ProjectTrees> trees = project.Open(missing);
  ASSERT_FALSE(trees.Ok());
  EXPECT_TRUE(trees.Message().contains(missing));
  EXPECT_EQ(project.ProjectFile(), Path("First.hhp"));
  EXPECT_TRUE(project.IsModified());
}

TEST_F(HelpProjectTest, CreatedTopicsGetTheNextFreePageAndNumber) {
  ASSERT_TRUE(project.CreateNew(Path("MyHelp.hhp"), std::nullopt).Ok());
  PutText(Path("MyHelp01.htm"), "", 1252);
  PutText(Path("MyHelp03.htm"), "", 1252);
  const QString name = project.NewPageName();
  EXPECT_EQ(name, "MyHelp02.htm");
  project.AddContextEntries(name);
  EXPECT_EQ(project.ContextNumberOf(name), "102");
  EXPECT_EQ(project.AliasLines(), QStringList{"IDH_MyHelp02=MyHelp02.htm"});
  project.RemoveContextEntries(name);
  EXPECT_TRUE(project.MapLines().isEmpty());
  EXPECT_TRUE(project.AliasLines().isEmpty());
  EXPECT_TRUE(project.NewPageName([](const QString&) { return true; }).isEmpty());
}

TEST_F(HelpProjectTest, PageNamesAndPathsFollowTheFolderWithoutLetterCase) {
  ASSERT_TRUE(project.CreateNew(Path("MyHelp.hhp"), std::nullopt).Ok());
  PutText(Path("myhelp01.htm"), "", 1252);
  // A page of another letter case is the same page on Windows: never overwritten.
  EXPECT_EQ(project.NewPageName(), "MyHelp02.htm");
  EXPECT_EQ(project.PagePath("MYHELP01.HTM#top"), Path("myhelp01.htm"));
  // Files made and removed after the folder was first looked at.
  PutText(Path("MYHELP02.HTM"), "", 1252);
  EXPECT_EQ(project.PagePath("MyHelp02.htm"), Path("MYHELP02.HTM"));
  EXPECT_EQ(project.NewPageName(), "MyHelp03.htm");
  project.AddContextEntries("MyHelp03.htm");
  EXPECT_EQ(project.NewPageName(), "MyHelp04.htm");
  ASSERT_TRUE(QFile::rename(Path("myhelp01.htm"), Path("other.htm")));
  EXPECT_EQ(project.NewPageName(), "MyHelp01.htm");
  EXPECT_EQ(project.PagePath("MyHelp01.htm"), Path("MyHelp01.htm"));  // where it would be
  EXPECT_EQ(project.PagePath("OTHER.htm"), Path("other.htm"));
}

TEST_F(HelpProjectTest, TheLanguageLineGivesTheCodePage) {
  ASSERT_TRUE(project.CreateNew(Path("Ru.hhp"), NewProjectChoice{"Ru", "0x0419 Russian (Russia)"}).Ok());
  EXPECT_EQ(project.CodePage(), 1251);
  ASSERT_TRUE(project.CreateNew(Path("Plain.hhp"), std::nullopt).Ok());
  EXPECT_EQ(project.CodePage(), -1);  // no language line: the files' default
}

TEST_F(HelpProjectTest, ALanguageWithoutAKnownCodePageIsReportedOnOpening) {
  const struct {
    const char* line;
    const char* reason;
  } cases[] = {
      {"Language=0x0439 Hindi (India)", "0x0439"},  // Unicode-only: no ANSI code page
      {"Language=0x9999 Nowhere", "0x9999"},
      {"Language=0x419", nullptr},  // a bare number counts: Windows-1251
      {"Language=0x409", nullptr},  // not read, but its code page is the default one
      {"Language=0x0419 Russian (Russia)", nullptr},
      {"Title=no language at all", nullptr},
  };
  const QString path = Path("Lang.hhp");
  for (const auto& c : cases) {
    PutText(path, QStringLiteral("[OPTIONS]\r\n%1\r\n").arg(c.line), 1252);
    const Result<ProjectTrees> trees = project.Open(path);
    ASSERT_TRUE(trees.Ok()) << trees.Message().toStdString();
    const QStringList warnings = project.Sources().warnings.filter("Windows-1252");
    if (!c.reason) {
      EXPECT_TRUE(warnings.isEmpty()) << c.line;
      continue;
    }
    ASSERT_EQ(warnings.size(), 1) << c.line;
    EXPECT_TRUE(warnings[0].startsWith(QDir::toNativeSeparators(path) + ": ")) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(c.reason)) << warnings[0].toStdString();
  }
}

}  // namespace
