#include "formats/sitemap/sitemap_reader.h"

#include "generated_projects.h"
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// Readable QString values in failure messages.
static void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

// Trees as compact text: caption[file] per node, children in braces.
QString Dump(const std::vector<ContentsNode>& nodes) {
  QStringList parts;
  for (const ContentsNode& node : nodes) {
    QString part = node.caption + u'[' + (node.data ? node.data->fileName : QStringLiteral("?")) + u']';
    if (!node.children.empty()) part += u'{' + Dump(node.children) + u'}';
    parts.append(part);
  }
  return parts.join(u',');
}

// caption[keyword|topic caption|file] per node.
QString Dump(const std::vector<IndexNode>& nodes) {
  QStringList parts;
  for (const IndexNode& node : nodes) {
    QString part = node.caption + u'[';
    if (node.data) part += node.data->keyword + u'|' + node.data->topicCaption + u'|' + node.data->fileName;
    part += u']';
    if (!node.children.empty()) part += u'{' + Dump(node.children) + u'}';
    parts.append(part);
  }
  return parts.join(u',');
}

template <typename Node>
int CountNodes(const std::vector<Node>& nodes) {
  int count = 0;
  for (const Node& node : nodes) count += 1 + CountNodes(node.children);
  return count;
}

template <typename Node>
int Depth(const std::vector<Node>& nodes) {
  int depth = 0;
  for (const Node& node : nodes) depth = std::max(depth, 1 + Depth(node.children));
  return depth;
}

const char kHeader[] =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
    "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n";

QString ContentsText(const char* body) {
  return QString::fromUtf8(kHeader) +
         QStringLiteral(
             "<OBJECT type=\"text/site properties\">\r\n"
             "<param name=\"Window Styles\" value=\"0x800025\">\r\n"
             "<param name=\"ImageType\" value=\"Folder\">\r\n</OBJECT>\r\n<UL>\r\n") +
         QString::fromUtf8(body) + QStringLiteral("</BODY></HTML>\r\n");
}

QString Entry(const char* name, const char* local = nullptr) {
  QString text = QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"") +
                 QString::fromUtf8(name) + QStringLiteral("\">\r\n");
  if (local)
    text += QStringLiteral("<param name=\"Local\" value=\"") + QString::fromUtf8(local) +
            QStringLiteral("\">\r\n");
  return text + QStringLiteral("</OBJECT>\r\n");
}

TEST(ReadContentsFile, WriterFormWithHeadingsAndNesting) {
  const QString text = ContentsText("").replace(
      QStringLiteral("</BODY>"), Entry("Intro", "a01.htm") + Entry("Part one") + QStringLiteral("<UL>\r\n") +
                                     Entry("Step 1", "a02.htm") + Entry("Step 2", "a03.htm") +
                                     QStringLiteral("</UL>\r\n") + Entry("End", "a04.htm") +
                                     QStringLiteral("</UL>\r\n</BODY>"));
  EXPECT_EQ(Dump(ReadContentsFile(text)),
            "Intro[a01.htm],Part one[]{Step 1[a02.htm],Step 2[a03.htm]},End[a04.htm]");
}

struct TextCase {
  const char* name;
  const char* text;
  const char* tree;
};

TEST(ReadContentsFile, ReaderCases) {
  const TextCase cases[] = {
      {"lower-case markers and local before name",
       "<ul>\n<li> <object type=\"text/sitemap\">\n<param name=\"local\" value=\"x.htm\">\n"
       "<param name=\"name\" value=\"X\">\n</object>\n</ul>\n",
       "X[x.htm]"},
      {"whole items on one line, any order, other params ignored",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"a.htm\">"
       "<param name=\"ImageNumber\" value=\"1\"><param name=\"Name\" value=\"A\"></OBJECT>\n"
       "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"><param name=\"Local\" "
       "value=\"b.htm\"></OBJECT>\n"
       "</UL>\n",
       "A[a.htm],B[b.htm]"},
      {"nested list opened and closed on item lines",
       "<UL><LI><OBJECT><param name=\"Name\" value=\"P\"><param name=\"Local\" value=\"p.htm\"></OBJECT>\n"
       "<UL><LI><OBJECT><param name=\"Name\" value=\"C\"><param name=\"Local\" "
       "value=\"c.htm\"></OBJECT></UL></UL>\n"
       "<UL><LI><OBJECT><param name=\"Name\" value=\"Late\"><param name=\"Local\" "
       "value=\"l.htm\"></OBJECT></UL>\n",
       "P[p.htm]{C[c.htm]}"},
      {"heading last in a nested list stays in its list",
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"H\"></OBJECT>\n<UL>\n"
       "<LI><OBJECT><param name=\"Name\" value=\"T\"><param name=\"Local\" value=\"t.htm\"></OBJECT>\n"
       "<LI><OBJECT><param name=\"Name\" value=\"Sub heading\"></OBJECT>\n</UL>\n"
       "<LI><OBJECT><param name=\"Name\" value=\"Last heading\"></OBJECT>\n</UL>\n",
       "H[]{T[t.htm],Sub heading[]},Last heading[]"},
      {"heading last in the file without closing list",
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"Only\"></OBJECT>\n", "Only[]"},
      {"list without an item before it nests under the enclosing item",
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"P\"><param name=\"Local\" value=\"p.htm\"></OBJECT>\n"
       "<UL>\n<UL>\n<LI><OBJECT><param name=\"Name\" value=\"Q\"><param name=\"Local\" "
       "value=\"q.htm\"></OBJECT>\n"
       "</UL>\n</UL>\n<UL>\n<LI><OBJECT><param name=\"Name\" value=\"Top\"><param name=\"Local\" "
       "value=\"t.htm\"></OBJECT>\n"
       "</UL>\n</UL>\n",
       "P[p.htm]{Q[q.htm],Top[t.htm]}"},
      {"list without an item at the top level stays at the top level",
       "<UL>\n<UL>\n<LI><OBJECT><param name=\"Name\" value=\"A\"><param name=\"Local\" "
       "value=\"a.htm\"></OBJECT>\n"
       "</UL>\n<LI><OBJECT><param name=\"Name\" value=\"B\"><param name=\"Local\" "
       "value=\"b.htm\"></OBJECT>\n</UL>\n",
       "A[a.htm],B[b.htm]"},
      {"items without a name are left out",
       "<UL>\n<LI><OBJECT><param name=\"Local\" value=\"lost.htm\"></OBJECT>\n"
       "<LI><OBJECT><param name=\"Name\" value=\"Kept\"><param name=\"Local\" "
       "value=\"k.htm\"></OBJECT>\n</UL>\n",
       "Kept[k.htm]"},
      {"entities decoded after cutting, markers inside values are text",
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"Fish &amp; Chips &lt;UL&gt; <UL> &#8364;\">"
       "<param name=\"Local\" value=\"f&amp;c.htm\"></OBJECT>\n</UL>\n",
       "Fish & Chips <UL> <UL> \u20ac[f&c.htm]"},
      {"value without closing quote on its line is empty",
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"Broken\n"
       "<param name=\"Local\" value=\"b.htm\">\"</OBJECT>\n"
       "<LI><OBJECT><param name=\"Name\" value=\"N\"><param name=\"Local\" "
       "value=\"n.htm\"></OBJECT>\n</UL>\n",
       "N[n.htm]"},
      {"blanks, single quotes, unquoted values, list attributes, XHTML params, </LI>",
       "<ul type=\"disc\">\n<LI><OBJECT><param  name = \"Name\"  value=\"Two blanks\" ><param name='Local' "
       "value='x.htm'></OBJECT></LI>\n"
       "<li class=x><object type=text/sitemap><param name=Name value=Bare><param name=Local value=b.htm />"
       "</object></li>\n</UL>\n",
       "Two blanks[x.htm],Bare[b.htm]"},
      {"unclosed objects and no final line break",
       "<UL><LI><OBJECT><param name=\"Name\" value=\"A\"><param name=\"Local\" value=\"a.htm\">\n"
       "<LI><OBJECT><param name=\"Name\" value=\"H\">\n<UL><LI><OBJECT><param name=\"Name\" value=\"C\">"
       "<param name=\"Local\" value=\"c.htm\"></UL></UL>",
       "A[a.htm],H[]{C[c.htm]}"},
      {"a merge item without a name is kept, captioned with its merge value",
       "<UL><LI><OBJECT><param name=\"Merge\" value=\"other.chm::/toc.hhc\"></OBJECT></UL>",
       "other.chm::/toc.hhc[]"},
      {"everything before the first list is skipped",
       "<LI><OBJECT><param name=\"Name\" value=\"Before\"><param name=\"Local\" value=\"b.htm\"></OBJECT>\n"
       "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"After\"><param name=\"Local\" "
       "value=\"a.htm\"></OBJECT>\n</UL>\n",
       "After[a.htm]"},
      {"no list at all", "<LI><OBJECT><param name=\"Name\" value=\"X\"></OBJECT>\n", ""},
      {"empty text", "", ""},
      {"malformed tail", "<UL>\n<LI><OBJECT><param name=\"Name\" value=\"", ""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(Dump(ReadContentsFile(QString::fromUtf8(c.text))), QString::fromUtf8(c.tree)) << c.name;
  }
}

TEST(ReadContentsFile, DeepNestingNeitherOverflowsNorLosesItems) {
  constexpr int kLevels = 20000;
  QString text = QStringLiteral("<UL>\n");
  for (int i = 0; i < kLevels; ++i)
    text += QStringLiteral(
                "<LI><OBJECT><param name=\"Name\" value=\"N%1\"><param name=\"Local\" "
                "value=\"n.htm\"></OBJECT>\n<UL>\n")
                .arg(i);
  for (int i = 0; i <= kLevels; ++i) text += QStringLiteral("</UL>\n");
  text += QStringLiteral("<UL><LI><OBJECT><param name=\"Name\" value=\"After\"></OBJECT></UL>");
  const std::vector<ContentsNode> tree = ReadContentsFile(text);
  EXPECT_EQ(CountNodes(tree), kLevels);
  EXPECT_EQ(Depth(tree), kMaxSitemapDepth);
  ASSERT_EQ(tree.size(), 1u);
  EXPECT_EQ(tree.front().caption, "N0");

  // Only opening lists, never closed, and stray "<" everywhere.
  QString junk;
  for (int i = 0; i < kLevels; ++i) junk += QStringLiteral("<UL><<</UL<LI>");
  EXPECT_TRUE(ReadContentsFile(junk).empty());
  EXPECT_TRUE(ReadIndexFile(junk).empty());
}

TEST(SitemapReaders, ShuffledMarkersNeverBreakTheReaders) {
  // Markers and fragments in a fixed pseudo-random order: every mix of
  // unbalanced lists, items without objects and parameters without items.
  const char* const pieces[] = {"<UL>",
                                "</UL>",
                                "<LI>",
                                "<OBJECT type=\"text/sitemap\">",
                                "</OBJECT>",
                                "\n",
                                "\"",
                                "<",
                                "<param name=\"Name\" value=\"N\">",
                                "<param name=\"Local\" value=\"l.htm\">",
                                "<param name=\"Keyword\" value=\"K\">",
                                "<param name=\"Name\" value=\"",
                                "&amp;",
                                "&#x"};
  constexpr int kPieces = sizeof(pieces) / sizeof(pieces[0]);
  quint32 state = 12345;
  for (int round = 0; round < 50; ++round) {
    QString text;
    int parameters = 0;
    for (int i = 0; i < 400; ++i) {
      state = state * 1664525u + 1013904223u;
      const int piece = static_cast<int>((state >> 16) % kPieces);
      if (piece >= 8 && piece <= 11) ++parameters;
      text += QString::fromUtf8(pieces[piece]);
    }
    // Each node needs a parameter of its own, except that an index item may
    // be a bare keyword node closed by "</OBJECT>".
    EXPECT_LE(CountNodes(ReadContentsFile(text)), parameters) << round;
    EXPECT_LE(CountNodes(ReadIndexFile(text)), 400) << round;
  }
}

QString IndexText(const QString& body) {
  return QString::fromUtf8(kHeader) + QStringLiteral("<UL>\r\n\r\n") + body +
         QStringLiteral("</UL>\r\n</BODY></HTML>\r\n");
}

QString IndexEntry(const QStringList& params) {
  QString text = QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">\r\n");
  for (qsizetype i = 0; i + 1 < params.size(); i += 2)
    text += QStringLiteral("<param name=\"%1\" value=\"%2\">\r\n").arg(params[i], params[i + 1]);
  return text + QStringLiteral("</OBJECT>\r\n");
}

TEST(ReadIndexFile, WriterFormGroupsSeeAlsoAndTwoPairs) {
  const QString body = IndexEntry({"Keyword", "Printing", "See Also", "Printing"}) +
                       QStringLiteral("<UL>\r\n") +
                       IndexEntry({"Keyword", "Setup", "Name", "Printer setup", "Local", "p1.htm", "Name",
                                   "Page setup", "Local", "p2.htm"}) +
                       IndexEntry({"Keyword", "Paper", "Local", "p3.htm"}) + QStringLiteral("</UL>\r\n") +
                       IndexEntry({"Keyword", "Alpha", "Name", "First", "Local", "a1.htm", "Name", "Second",
                                   "Local", "a2.htm"});
  EXPECT_EQ(Dump(ReadIndexFile(IndexText(body))),
            "Alpha[Alpha|First|a1.htm],Alpha[Alpha|Second|a2.htm],"
            "Printing[Printing||]{Paper[Paper||p3.htm],"
            "Setup[Setup|Printer setup|p1.htm],Setup[Setup|Page setup|p2.htm]}");
}

TEST(ReadIndexFile, ReaderCases) {
  const TextCase cases[] = {
      {"lower case, local before name",
       "<ul>\n<li> <object type=\"text/sitemap\">\n<param name=\"keyword\" value=\"K\">\n"
       "<param name=\"local\" value=\"k.htm\">\n<param name=\"name\" value=\"T\">\n</object>\n</ul>\n",
       "K[K|T|k.htm]"},
      {"no keyword: the one name is keyword and topic caption",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" value=\"c.html\">"
       "<param name=\"Name\" value=\"Circle\"></OBJECT>\n</UL>\n",
       "Circle[Circle|Circle|c.html]"},
      {"no keyword: a second name is the topic caption",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"K\"><param name=\"Name\" "
       "value=\"T\">"
       "<param name=\"Local\" value=\"t.htm\"></OBJECT>\n</UL>\n",
       "K[K|T|t.htm]"},
      {"no keyword: further pairs are further topics",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"K\"><param name=\"Name\" "
       "value=\"T1\">"
       "<param name=\"Local\" value=\"1.htm\"><param name=\"Name\" value=\"T2\">"
       "<param name=\"Local\" value=\"2.htm\"></OBJECT>\n</UL>\n",
       "K[K|T1|1.htm],K[K|T2|2.htm]"},
      {"no keyword: first name with its own local is a topic too",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"K\"><param name=\"Local\" "
       "value=\"1.htm\">"
       "<param name=\"Name\" value=\"T2\"><param name=\"Local\" value=\"2.htm\"></OBJECT>\n</UL>\n",
       "K[K|K|1.htm],K[K|T2|2.htm]"},
      {"keyword after a name: the name stays the topic caption",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"T\"><param name=\"Keyword\" "
       "value=\"K\">"
       "<param name=\"Name\" value=\"T2\"><param name=\"Local\" value=\"2.htm\"></OBJECT>\n</UL>\n",
       "K[K|T|],K[K|T2|2.htm]"},
      {"list and item on one line, two lists closed on one line, a second top-level list read on",
       "<UL>\n<LI> <OBJECT type=\"text/sitemap\">\n<param name=\"Keyword\" value=\"fruit\">\n"
       "<param name=\"See Also\" value=\"fruit\">\n</OBJECT>\n"
       "<UL> <LI> <OBJECT type=\"text/sitemap\">\n<param name=\"Keyword\" value=\"banana\">\n"
       "<param name=\"Local\" value=\"b.htm\">\n</OBJECT>\n</UL></UL>\n"
       "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"ignored\"></OBJECT></UL>\n",
       "fruit[fruit||]{banana[banana||b.htm]},ignored[ignored||]"},
      {"entities decoded",
       "<UL>\n<LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"A &amp; B\"><param "
       "name=\"Name\" "
       "value=\"operator&lt;(const Shape &amp;a)\"><param name=\"Local\" value=\"s.htm\"></OBJECT>\n</UL>\n",
       "A & B[A & B|operator<(const Shape &a)|s.htm]"},
      {"parameters outside an object are ignored",
       "<UL>\n<param name=\"Keyword\" value=\"Stray\"><param name=\"Name\" value=\"N\"></OBJECT>\n"
       "<LI><OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"Real\"></OBJECT>\n"
       "<param name=\"Local\" value=\"late.htm\">\n</UL>\n",
       "Real[Real||]"},
      {"no list at all", "<OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"K\"></OBJECT>", ""},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(Dump(ReadIndexFile(QString::fromUtf8(c.text))), QString::fromUtf8(c.tree)) << c.name;
  }
}

TEST(ReadIndexFile, SortedByCaptionIgnoringCaseStableForEqualCaptions) {
  const QString body = IndexEntry({"Keyword", "cherry", "Name", "c", "Local", "c.htm"}) +
                       IndexEntry({"Keyword", "Same", "Name", "first", "Local", "1.htm"}) +
                       IndexEntry({"Keyword", "banana", "See Also", "banana"}) + QStringLiteral("<UL>\r\n") +
                       IndexEntry({"Keyword", "zeta", "Local", "z.htm"}) +
                       IndexEntry({"Keyword", "Beta", "Local", "b.htm"}) + QStringLiteral("</UL>\r\n") +
                       IndexEntry({"Keyword", "Apple", "Name", "a", "Local", "a.htm"}) +
                       IndexEntry({"Keyword", "same", "Name", "second", "Local", "2.htm"}) +
                       IndexEntry({"Keyword", "Same", "Name", "third", "Local", "3.htm"});
  for (const QLocale& locale : {QLocale(QLocale::English), QLocale::c()}) {
    EXPECT_EQ(Dump(ReadIndexFile(IndexText(body), locale)),
              "Apple[Apple|a|a.htm],banana[banana||]{Beta[Beta||b.htm],zeta[zeta||z.htm]},"
              "cherry[cherry|c|c.htm],Same[Same|first|1.htm],same[same|second|2.htm],Same[Same|third|3.htm]")
        << locale.name().toStdString();
  }
}

TEST(ReadIndexFile, SortFollowsTheLocale) {
  const QString body = IndexEntry({"Keyword", "Zucker", "Local", "z.htm"}) +
                       IndexEntry({"Keyword", "\u00c4pfel", "Local", "a.htm"}) +
                       IndexEntry({"Keyword", "Birne", "Local", "b.htm"});
  const std::vector<IndexNode> tree = ReadIndexFile(IndexText(body), QLocale(QLocale::German));
  ASSERT_EQ(tree.size(), 3u);
  EXPECT_EQ(tree[0].caption, "\u00c4pfel");
  EXPECT_EQ(tree[1].caption, "Birne");
  EXPECT_EQ(tree[2].caption, "Zucker");
}

// Generated projects: the files as the generator wrote them (8-bit text).
QString ReadGenerated(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return DecodeCodePage(file.readAll(), 1252);
}

int SitemapObjects(const QString& text) {
  return static_cast<int>(text.count(QStringLiteral("<OBJECT type=\"text/sitemap\">"), Qt::CaseInsensitive));
}

QString SiblingFile(const QString& projectFile, const char* extension) {
  const QFileInfo info(projectFile);
  return info.dir().filePath(info.completeBaseName() + QString::fromLatin1(extension));
}

template <typename Node>
bool ContainsCaption(const std::vector<Node>& nodes, const QString& caption) {
  for (const Node& node : nodes) {
    if (node.caption == caption || ContainsCaption(node.children, caption)) return true;
  }
  return false;
}

TEST(GeneratedSitemaps, DoxygenProjectReadsCompletely) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const GeneratedProject project = GenerateDoxygenProject(folder.path());
  if (project.generatorMissing) GTEST_SKIP() << project.error.toStdString();
  ASSERT_FALSE(project.projectFile.isEmpty()) << project.error.toStdString();

  const QString contentsText = ReadGenerated(SiblingFile(project.projectFile, ".hhc"));
  const QString indexText = ReadGenerated(SiblingFile(project.projectFile, ".hhk"));
  ASSERT_GT(SitemapObjects(contentsText), 10);
  ASSERT_GT(SitemapObjects(indexText), 5);

  const std::vector<ContentsNode> contents = ReadContentsFile(contentsText);
  EXPECT_EQ(CountNodes(contents), SitemapObjects(contentsText));
  EXPECT_GT(Depth(contents), 2);
  EXPECT_TRUE(ContainsCaption(contents, "Fish & Chips"));
  EXPECT_TRUE(ContainsCaption(contents, "operator<"));

  // Doxygen's index items have no keyword: each has one name, one topic.
  const std::vector<IndexNode> index = ReadIndexFile(indexText, QLocale(QLocale::English));
  EXPECT_EQ(CountNodes(index), SitemapObjects(indexText));
  EXPECT_TRUE(ContainsCaption(index, "operator<(const Shape &a, const Shape &b)"));
  for (const IndexNode& node : index) {
    ASSERT_TRUE(node.data);
    EXPECT_FALSE(node.caption.isEmpty());
    EXPECT_EQ(node.data->keyword, node.caption);
    EXPECT_FALSE(node.data->fileName.isEmpty()) << node.caption.toStdString();
  }
  for (size_t i = 1; i < index.size(); ++i)
    EXPECT_LE(index[i - 1].caption.compare(index[i].caption, Qt::CaseInsensitive), 0);
}

TEST(GeneratedSitemaps, SphinxProjectReadsCompletely) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const GeneratedProject project = GenerateSphinxProject(folder.path());
  if (project.generatorMissing) GTEST_SKIP() << project.error.toStdString();
  ASSERT_FALSE(project.projectFile.isEmpty()) << project.error.toStdString();

  const QString contentsText = ReadGenerated(SiblingFile(project.projectFile, ".hhc"));
  const QString indexText = ReadGenerated(SiblingFile(project.projectFile, ".hhk"));
  const std::vector<ContentsNode> contents = ReadContentsFile(contentsText);
  EXPECT_EQ(CountNodes(contents), SitemapObjects(contentsText));
  EXPECT_EQ(SitemapObjects(contentsText), 4);
  EXPECT_TRUE(ContainsCaption(contents, "First <page>"));
  EXPECT_EQ(Dump(contents).count(QStringLiteral("first.html#")), 1) << Dump(contents).toStdString();

  // "cherry" names two topics in one item: two sibling nodes.
  const std::vector<IndexNode> index = ReadIndexFile(indexText, QLocale(QLocale::English));
  EXPECT_EQ(CountNodes(index), SitemapObjects(indexText) + 1);
  const QString dump = Dump(index);
  EXPECT_TRUE(dump.startsWith(QStringLiteral("Apples & Pears[Apples & Pears||index.html#")))
      << dump.toStdString();
  EXPECT_TRUE(dump.contains(QStringLiteral("cherry[cherry|[0] first.html#"))) << dump.toStdString();
  EXPECT_TRUE(dump.contains(QStringLiteral("cherry[cherry|[1] second.html#"))) << dump.toStdString();
  EXPECT_TRUE(dump.contains(QStringLiteral("fruit[fruit||]{banana[banana||first.html#")))
      << dump.toStdString();
}

}  // namespace
