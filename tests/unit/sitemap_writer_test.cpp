#include "formats/sitemap/sitemap_writer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "formats/context/map_alias_writer.h"

namespace {

ContentsNode Topic(const QString& caption, const QString& file, std::vector<ContentsNode> children = {}) {
  ContentsNode node;
  node.caption = caption;
  node.data = std::make_unique<TopicData>(TopicData{file});
  node.children = std::move(children);
  return node;
}

IndexNode Entry(const QString& caption, const QString& topic, const QString& file,
                std::vector<IndexNode> children = {}) {
  IndexNode node;
  node.caption = caption;
  node.data = std::make_unique<IndexEntryData>(IndexEntryData{caption, file, topic});
  node.children = std::move(children);
  return node;
}

template <typename T>
std::vector<T> Forest(T a) {
  std::vector<T> v;
  v.push_back(std::move(a));
  return v;
}

template <typename T, typename... More>
std::vector<T> Forest(T a, More... more) {
  std::vector<T> v = Forest(std::move(a));
  for (auto& m : Forest(std::move(more)...)) v.push_back(std::move(m));
  return v;
}

const QString kHead = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
    "<HTML>\r\n"
    "<HEAD>\r\n"
    "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n"
    "<!-- Sitemap 1.0 -->\r\n"
    "</HEAD><BODY>\r\n");
const QString kContentsHead = kHead + QStringLiteral(
                                          "<OBJECT type=\"text/site properties\">\r\n"
                                          "<param name=\"Window Styles\" value=\"0x800025\">\r\n"
                                          "<param name=\"ImageType\" value=\"Folder\">\r\n"
                                          "</OBJECT>\r\n"
                                          "<UL>\r\n");
const QString kIndexHead = kHead + QStringLiteral("<UL>\r\n\r\n");
const QString kTail = QStringLiteral("</BODY></HTML>\r\n");

QString IndexBody(std::vector<IndexNode> forest) {
  QString text = IndexFileText(forest);
  EXPECT_TRUE(text.startsWith(kIndexHead));
  EXPECT_TRUE(text.endsWith(kTail));
  return text.mid(kIndexHead.size(), text.size() - kIndexHead.size() - kTail.size());
}

}  // namespace

TEST(SitemapWriter, EmptyTreesGiveTheFixedLines) {
  EXPECT_EQ(ContentsFileText({}), kContentsHead + "</UL>\r\n" + kTail);
  EXPECT_EQ(SplitLines(ContentsFileText({})).size(), 13);
  EXPECT_EQ(IndexFileText({}), kIndexHead + "</UL>\r\n" + kTail);
}

TEST(SitemapWriter, ContentsFileOfMyGuide) {
  const auto forest =
      Forest(Topic("Welcome", "My_Guide01.htm"),
             Topic("Printing", "", Forest(Topic("Paper", "My_Guide02.htm"), Topic("Ink", "My_Guide03.htm"))));
  EXPECT_EQ(ContentsFileText(forest), kContentsHead +
                                          QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">\r\n"
                                                         "<param name=\"Name\" value=\"Welcome\">\r\n"
                                                         "<param name=\"Local\" value=\"My_Guide01.htm\">\r\n"
                                                         "</OBJECT>\r\n"
                                                         "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                                                         "<param name=\"Name\" value=\"Printing\">\r\n"
                                                         "</OBJECT>\r\n"
                                                         "<UL>\r\n"
                                                         "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                                                         "<param name=\"Name\" value=\"Paper\">\r\n"
                                                         "<param name=\"Local\" value=\"My_Guide02.htm\">\r\n"
                                                         "</OBJECT>\r\n"
                                                         "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                                                         "<param name=\"Name\" value=\"Ink\">\r\n"
                                                         "<param name=\"Local\" value=\"My_Guide03.htm\">\r\n"
                                                         "</OBJECT>\r\n"
                                                         "</UL>\r\n"
                                                         "</UL>\r\n") +
                                          kTail);
}

TEST(SitemapWriter, MarkupCharactersAreWrittenAsEntities) {
  const auto forest = Forest(Topic("Say \"hi\" <now> & then", "a&b \"c\".htm"));
  const QStringList lines = SplitLines(ContentsFileText(forest));
  EXPECT_EQ(lines[12],
            QStringLiteral("<param name=\"Name\" value=\"Say &quot;hi&quot; &lt;now&gt; &amp; then\">"));
  EXPECT_EQ(lines[13], QStringLiteral("<param name=\"Local\" value=\"a&amp;b &quot;c&quot;.htm\">"));
  const QString index = IndexBody(Forest(Entry("A\"B", "T<1>", "x&y.htm")));
  EXPECT_TRUE(index.contains(QStringLiteral("value=\"A&quot;B\">"))) << index.toStdString();
  EXPECT_TRUE(index.contains(QStringLiteral("value=\"T&lt;1&gt;\">")));
  EXPECT_TRUE(index.contains(QStringLiteral("value=\"x&amp;y.htm\">")));
}

TEST(SitemapWriter, IndexGroupsAndKeywords) {
  struct Case {
    const char* name;
    std::vector<IndexNode> forest;
    QString body;
  };
  std::vector<Case> cases;
  cases.push_back(
      {"top-level keyword with its topic", Forest(Entry("Paper", "Loading paper", "p01.htm")),
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Paper\">\r\n"
       "<param name=\"Name\" value=\"Loading paper\">\r\n<param name=\"Local\" value=\"p01.htm\">\r\n"
       "</OBJECT>\r\n</UL>\r\n"});
  cases.push_back({"three sub-entries of one caption: one OBJECT",
                   Forest(Entry("Ink", "", "",
                                Forest(Entry("Ink", "A", "a.htm"), Entry("Ink", "B", "b.htm"),
                                       Entry("Ink", "C", "c.htm")))),
                   "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Ink\">\r\n"
                   "<param name=\"See Also\" value=\"Ink\">\r\n</OBJECT>\r\n<UL>\r\n"
                   "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Ink\">\r\n"
                   "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" value=\"a.htm\">\r\n"
                   "<param name=\"Name\" value=\"B\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n"
                   "<param name=\"Name\" value=\"C\">\r\n<param name=\"Local\" value=\"c.htm\">\r\n"
                   "</OBJECT>\r\n</UL>\r\n</UL>\r\n"});
  cases.push_back(
      {"two captions under one keyword: two OBJECTs",
       Forest(Entry("K", "", "", Forest(Entry("x", "A", "a.htm"), Entry("y", "B", "b.htm")))),
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"See Also\" value=\"K\">\r\n</OBJECT>\r\n<UL>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"x\">\r\n"
       "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" value=\"a.htm\">\r\n</OBJECT>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"y\">\r\n"
       "<param name=\"Name\" value=\"B\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n</OBJECT>\r\n"
       "</UL>\r\n</UL>\r\n"});
  cases.push_back(
      {"sub-entry without topic caption between group members closes the group",
       Forest(Entry("K", "", "",
                    Forest(Entry("K", "A", "a.htm"), Entry("K", "", "n.htm"), Entry("K", "B", "b.htm")))),
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"See Also\" value=\"K\">\r\n</OBJECT>\r\n<UL>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" value=\"a.htm\">\r\n</OBJECT>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"Local\" value=\"n.htm\">\r\n</OBJECT>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"Name\" value=\"B\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n</OBJECT>\r\n"
       "</UL>\r\n</UL>\r\n"});
  cases.push_back(
      {"keyword with a topic of its own and sub-entries keeps its topic",
       Forest(Entry("Fonts", "About fonts", "f.htm", Forest(Entry("Fonts", "Bold", "b.htm")))),
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Fonts\">\r\n"
       "<param name=\"Name\" value=\"About fonts\">\r\n<param name=\"Local\" value=\"f.htm\">\r\n"
       "</OBJECT>\r\n<UL>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Fonts\">\r\n"
       "<param name=\"Name\" value=\"Bold\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n</OBJECT>\r\n"
       "</UL>\r\n</UL>\r\n"});
  cases.push_back(
      {"case differs: a new group",
       Forest(Entry("K", "", "", Forest(Entry("ink", "A", "a.htm"), Entry("Ink", "B", "b.htm")))),
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"K\">\r\n"
       "<param name=\"See Also\" value=\"K\">\r\n</OBJECT>\r\n<UL>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"ink\">\r\n"
       "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" value=\"a.htm\">\r\n</OBJECT>\r\n"
       "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Ink\">\r\n"
       "<param name=\"Name\" value=\"B\">\r\n<param name=\"Local\" value=\"b.htm\">\r\n</OBJECT>\r\n"
       "</UL>\r\n</UL>\r\n"});
  for (Case& c : cases) EXPECT_EQ(IndexBody(std::move(c.forest)), c.body) << c.name;
}

TEST(SitemapWriter, FilesAreWrittenInTheCodePage) {
  QTemporaryDir dir;
  const QString hhc = dir.filePath(QStringLiteral("My Guide.hhc"));
  ExpectWritten(
      WriteContentsFile(hhc, Forest(Topic(QString::fromUtf16(u"Обзор \u4E2D"), "My_Guide01.htm")), 1251));
  const QByteArray bytes = BytesOf(hhc);
  EXPECT_TRUE(bytes.contains("value=\"\xCE\xE1\xE7\xEE\xF0 &#20013;\">\r\n"));
  EXPECT_TRUE(bytes.endsWith("</BODY></HTML>\r\n"));

  const QString map = dir.filePath(QStringLiteral("My Guide.h"));
  const QString ali = dir.filePath(QStringLiteral("My Guide.ali"));
  ExpectWritten(WriteMapFile(map, {"#define IDH_My_Guide01  101"}, 1252));
  ExpectWritten(WriteAliasFile(ali, {}, 1252));
  EXPECT_EQ(BytesOf(map), QByteArray("#define IDH_My_Guide01  101\r\n"));
  EXPECT_EQ(BytesOf(ali), QByteArray());
}
