// A compiled file made by the real hhc, read as the viewer reads it; and
// "orvex --decompile" without a window.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "viewer/chm_document.h"
#include "chm/decompile_command.h"
#include "viewer/topic_search.h"
#include "hhc_fixture.h"

using namespace orvex_test;

namespace {

class ChmDocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    project.write(dir.path());
    ASSERT_EQ(runTool(tool("hhc"), {project.projectPath()}), 0);
    ASSERT_TRUE(doc.Open(project.chmPath()));
  }
  QTemporaryDir dir;
  HelpProject project;
  ChmDocument doc;
};

TEST_F(ChmDocumentTest, OpensAtTheDefaultTopicInTheFilesCodePage) {
  EXPECT_EQ(doc.Title(), "Printer Guide");
  EXPECT_EQ(doc.CodePage(), 1252);
  EXPECT_EQ(doc.DefaultTopicUrl(), ChmEntryUrl("/My_Guide01.htm"));
}

TEST_F(ChmDocumentTest, ContextNumbersLeadToTheirTopics) {
  EXPECT_EQ(doc.ContextTopicUrl(101), ChmEntryUrl("/My_Guide01.htm"));
  EXPECT_EQ(doc.ContextTopicUrl(102), ChmEntryUrl("/My_Guide02.htm"));
  EXPECT_EQ(doc.ContextTopicUrl(0x67), ChmEntryUrl("/My_Guide03.htm"));
  EXPECT_FALSE(doc.ContextTopicUrl(999).isValid());
}

TEST_F(ChmDocumentTest, EntriesAreFoundWithoutRegardToCase) {
  EXPECT_EQ(doc.FindEntry("/my_guide01.HTM"), "/My_Guide01.htm");
  EXPECT_EQ(doc.FindEntry("My Guide.css"), "/My Guide.css");
  EXPECT_TRUE(doc.FindEntry("/nothing.htm").isEmpty());
  const auto page = doc.Read("/MY_GUIDE01.htm");
  ASSERT_TRUE(page.has_value());
  EXPECT_EQ(*page, project.page1);
  EXPECT_FALSE(doc.Read("/nothing.htm").has_value());
  EXPECT_FALSE(doc.Read("/My_Guide01.htm", 10).has_value());  // over the limit
}

TEST_F(ChmDocumentTest, StyleSheetsAndPagesGetTheirContentTypes) {
  const QByteArray css = doc.Read("/My Guide.css").value_or(QByteArray());
  EXPECT_EQ(doc.ContentTypeOf("/My Guide.css", css), "text/css; charset=windows-1252");
  EXPECT_EQ(doc.ContentTypeOf("/My_Guide01.htm", project.page1), "text/html; charset=windows-1252");
  // A page that names its charset keeps it.
  EXPECT_EQ(doc.ContentTypeOf("/x.htm", "<meta charset=\"utf-8\">"), "text/html");
  EXPECT_EQ(doc.ContentTypeOf("/pic.png", "x"), "image/png");
}

TEST_F(ChmDocumentTest, SearchTextsAreBoundedAndFindWhatTheSimpleSearchFinds) {
  const QList<TopicText> topics = doc.TopicTexts();
  const std::optional<TopicTexts> all = TopicTexts::Read(doc, 1 << 20);
  ASSERT_TRUE(all.has_value());
  EXPECT_EQ(all->LeftOut(), 0);
  for (const QString& query :
       {QStringLiteral("ONE"), QStringLiteral("only contents"), QStringLiteral("two")}) {
    QStringList expected, found;
    for (int i : SearchTopics(topics, query)) expected << topics[i].entryPath;
    for (int i : all->Search(query)) found << all->EntryPaths()[i];
    EXPECT_EQ(found, expected) << query.toStdString();
  }
  // Room for no text: every page is left out, its title still searched.
  const std::optional<TopicTexts> none = TopicTexts::Read(doc, 0);
  ASSERT_TRUE(none.has_value());
  EXPECT_EQ(none->LeftOut(), 3);
  EXPECT_TRUE(none->Search("contents").isEmpty());
  // Stopped after the first page.
  EXPECT_FALSE(TopicTexts::Read(doc, 1 << 20, [](int done, int) { return done < 1; }).has_value());
}

TEST_F(ChmDocumentTest, ContentsIndexAndTopicTexts) {
  const auto contents = doc.Contents();
  ASSERT_EQ(contents.size(), 3u);
  EXPECT_EQ(contents[1].caption, "Two");
  ASSERT_TRUE(contents[1].data);
  EXPECT_EQ(contents[1].data->fileName, "My_Guide02.htm");
  const auto index = doc.Index();
  ASSERT_EQ(index.size(), 1u);
  EXPECT_EQ(index[0].caption, "three");
  const QList<TopicText> topics = doc.TopicTexts();
  ASSERT_EQ(topics.size(), 3);
  bool found = false;
  for (const TopicText& t : topics)
    if (t.entryPath == "/My_Guide01.htm") {
      found = true;
      EXPECT_TRUE(t.text.contains(QString::fromUtf8("One été"))) << t.text.toStdString();
    }
  EXPECT_TRUE(found);
}

TEST(ChmDocument, UnreadableFilesDoNotOpen) {
  QTemporaryDir dir;
  ChmDocument doc;
  EXPECT_FALSE(doc.Open(dir.filePath("none.chm")));
  writeBytes(dir.filePath("bad.chm"), "ITSF but not really");
  EXPECT_FALSE(doc.Open(dir.filePath("bad.chm")));
  EXPECT_FALSE(doc.IsOpen());
  EXPECT_FALSE(doc.DefaultTopicUrl().isValid());
}

TEST(DecompileCommand, RefusesTheRootAndEmptyFolders) {
  EXPECT_TRUE(IsRefusedDestination("/"));
  EXPECT_TRUE(IsRefusedDestination("//"));
  EXPECT_TRUE(IsRefusedDestination("/tmp/.."));
  EXPECT_TRUE(IsRefusedDestination(""));
  EXPECT_FALSE(IsRefusedDestination("/tmp"));
}

TEST_F(ChmDocumentTest, DecompileCommandWritesTheSources) {
  QString message;
  QTextStream err(&message);
  const QString out = dir.filePath("out folder");
  EXPECT_EQ(RunDecompileCommand({project.chmPath(), out}, err), 0) << message.toStdString();
  EXPECT_EQ(readBytes(out + "/My_Guide02.htm"), project.page2);
  EXPECT_EQ(readBytes(out + "/My Guide.css"), readBytes(project.folder + "/My Guide.css"));
}

TEST(DecompileCommand, WrongArgumentsMissingFilesAndTheRootFail) {
  QTemporaryDir dir;
  QString message;
  QTextStream err(&message);
  EXPECT_EQ(RunDecompileCommand({"only-one"}, err), 2);
  EXPECT_TRUE(message.contains("Usage"));
  EXPECT_EQ(RunDecompileCommand({dir.filePath("none.chm"), dir.path()}, err), 1);
  writeBytes(dir.filePath("bad.chm"), "not compiled help");
  EXPECT_EQ(RunDecompileCommand({dir.filePath("bad.chm"), dir.filePath("out")}, err), 1);
  EXPECT_EQ(RunDecompileCommand({dir.filePath("bad.chm"), "/"}, err), 2);
  EXPECT_TRUE(message.contains("Refused"));
}

TEST(DecompileCommand, TheProgramRunsItWithoutAWindow) {
  QTemporaryDir dir;
  QByteArray output;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");
  env.remove("QT_QPA_PLATFORM");
  EXPECT_EQ(runTool(tool("orvex"), {"--decompile", dir.filePath("none.chm"), dir.path()}, env, &output), 1);
  EXPECT_TRUE(output.contains("File not found")) << output.toStdString();
}

}  // namespace
