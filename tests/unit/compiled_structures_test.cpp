// The compiled file's structures read back on their own: window types
// (#WINDOWS) and the binary index ($WWKeywordLinks/BTree with #TOPICS).

#include "chm/binary_index_reader.h"
#include "chm/chm_bytes.h"
#include "chm/keyword_links.h"
#include "chm/system_files.h"
#include "chm/windows_reader.h"
#include "formats/sitemap/sitemap_reader.h"

#include <gtest/gtest.h>

using namespace orvex;

namespace {

QByteArray Latin1(const QString& s) { return s.toLatin1(); }

}  // namespace

TEST(WindowsReader, ReadsBackEveryMemberTheWriterStores) {
  const QString full =
      "main=\"Guide\",\"a.hhc\",\"a.hhk\",\"start.htm\",\"home.htm\",\"http://x/1\",\"One\",\"http://x/"
      "2\",\"Two\","
      "0x63520,240,0x387e,[-10,20,810,620],0xb0000,0x200,3,1,2,1,77";
  const QString sparse = "pop=\"Pop-up\",,,,,,,,,,,,,,,,,,,";
  ChmStringTable strings;
  const QByteArray windows =
      BuildWindowsFile({*ParseWindowLine(full), *ParseWindowLine(sparse)}, strings, Latin1);
  const QList<ChmWindowType> read = ParseWindowsFile(windows, strings.Bytes(), 1252);
  ASSERT_EQ(read.size(), 2);
  EXPECT_EQ(WindowLine(read[0]), full);
  EXPECT_EQ(WindowLine(read[1]), sparse);
  // A count past the file's end, or entries too small, give what is there.
  QByteArray cut = windows.left(8 + 196);
  PutLe32(cut, 0, 1000);
  EXPECT_EQ(ParseWindowsFile(cut, strings.Bytes(), 1252).size(), 1);
  PutLe32(cut, 4, 16);
  EXPECT_TRUE(ParseWindowsFile(cut, strings.Bytes(), 1252).isEmpty());
}

TEST(BinaryIndexReader, KeywordsComeBackWithTheirPages) {
  ChmStringTable strings;
  const ChmTopicFiles topics = BuildTopicFiles({{"a.htm", "A", false}, {"sub/b.htm", "B", false}}, strings);
  const ChmTopicTables tables{topics.topics, topics.urlTable, topics.urlStrings};
  const ChmKeywordLinks links = BuildKeywordLinks(
      {{"alpha", 0, {0}, {}}, {"beta", 0, {0, 1, 7}, {}}, {"inner", 1, {1}, {}}, {"see", 0, {}, "alpha"}},
      0x409, 1252);
  const QList<ChmIndexKeyword> keywords = ReadBinaryIndex(links.btree, tables, 1252);
  ASSERT_EQ(keywords.size(), 4);
  EXPECT_EQ(keywords[1].pages, (QStringList{"a.htm", "sub/b.htm"}));  // topic 7 is not there
  EXPECT_EQ(keywords[2].path, "beta, inner");
  EXPECT_EQ(keywords[2].text, "inner");
  EXPECT_EQ(keywords[2].depth, 1);
  EXPECT_EQ(keywords[3].seeAlso, "alpha");

  // A block that links back to itself is read once.
  QByteArray looped = links.btree;
  PutLe32(looped, 0x4C + 4, 0);
  EXPECT_EQ(ReadBinaryIndex(looped, tables, 1252).size(), 4);
  EXPECT_TRUE(ReadBinaryIndex(links.btree.left(0x40), tables, 1252).isEmpty());
}

TEST(BinaryIndexReader, MissingKeywordsAreAddedToTheIndexText) {
  QList<ChmIndexKeyword> keywords{{"alpha", "alpha", 0, {"a.htm"}, {}},
                                  {"beta", "beta", 0, {"b.htm"}, {}},
                                  {"beta, inner", "inner", 1, {"c.htm"}, {}},
                                  {"alpha, sub", "sub", 1, {"d.htm"}, {}},
                                  {"a & b", "a & b", 0, {}, "alpha"}};
  const QString text =
      "<HTML><BODY>\r\n<UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" "
      "value=\"ALPHA\">\r\n"
      "<param name=\"Name\" value=\"A\">\r\n<param name=\"Local\" value=\"a.htm\">\r\n</OBJECT>\r\n</UL>\r\n"
      "</BODY></HTML>\r\n";
  int added = 0;
  const QString merged = WithMissingKeywords(text, keywords, &added);
  EXPECT_EQ(added, 4);
  QStringList captions;
  for (const IndexNode& node : ReadIndexFile(merged)) {
    captions.append(node.caption);
    for (const IndexNode& child : node.children) captions.append(node.caption + " > " + child.caption);
  }
  captions.removeDuplicates();
  // "alpha, sub" is under "alpha" only by its whole path: "alpha" was there already.
  EXPECT_EQ(captions, (QStringList{"a & b", "ALPHA", "alpha, sub", "beta", "beta > inner"}));
  EXPECT_TRUE(merged.startsWith(text.left(text.indexOf("</UL>"))));
  EXPECT_EQ(WithMissingKeywords(merged, keywords, &added), merged);
  EXPECT_EQ(added, 0);
  EXPECT_TRUE(WithMissingKeywords("<HTML></HTML>", keywords, &added).contains("<UL>\r\n<LI>"));
}
