// The Index's keyword links: built, then walked back the way the viewers'
// Index tab walks them, alone and in a compiled project.

#include "chm/chm_file.h"
#include "chm/chm_bytes.h"
#include "chm/compiler.h"
#include "chm/keyword_links.h"
#include "chm_readers.h"
#include "hhc_fixture.h"
#include "keyword_links_reader.h"

using namespace orvex;
using namespace orvex_test;

namespace {

Result<KeywordLinksContents> ReadBack(const ChmKeywordLinks& links) {
  return ReadKeywordLinks(links.btree, links.map, links.data, links.property);
}

// The page a topic number names, through #TOPICS, #URLTBL and #URLSTR.
QByteArray PageOfTopic(const ChmFile& chm, quint32 topic) {
  const QByteArray topics = chm.read("/#TOPICS").value_or(QByteArray());
  const QByteArray urlTable = chm.read("/#URLTBL").value_or(QByteArray());
  const QByteArray urlStrings = chm.read("/#URLSTR").value_or(QByteArray());
  if (qsizetype(topic) * 16 + 16 > topics.size()) return "(no topic " + QByteArray::number(topic) + ")";
  const quint32 urlEntry = ReadLe32(topics, topic * 16 + 8);
  if (qsizetype(urlEntry) + 12 > urlTable.size()) return "(bad #URLTBL offset)";
  const quint32 urlString = ReadLe32(urlTable, urlEntry + 8);
  if (qsizetype(urlString) + 8 >= urlStrings.size()) return "(bad #URLSTR offset)";
  return QByteArray(urlStrings.constData() + urlString + 8);
}

// The keyword-links flag of #SYSTEM's language record (code 4).
bool KeywordLinksFlag(const ChmFile& chm) {
  const QByteArray system = chm.read("/#SYSTEM").value_or(QByteArray());
  for (qsizetype at = 4; at + 4 <= system.size(); at += 4 + ReadLe16(system, at + 2)) {
    if (ReadLe16(system, at) == 4 && ReadLe16(system, at + 2) >= 16) return ReadLe32(system, at + 16) != 0;
  }
  ADD_FAILURE() << "#SYSTEM has no language record";
  return false;
}

}  // namespace

TEST(KeywordLinks, ThousandsOfKeywordsSpreadOverBlocksReadBackWhole) {
  QList<ChmKeyword> keywords;
  for (int i = 0; i < 3000; ++i) {
    ChmKeyword keyword;
    keyword.text = QStringLiteral("keyword %1 \u00e9\u4e2d").arg(i, 4, 10, QLatin1Char('0'));
    keyword.depth = i % 3 == 0 ? 0 : (i % 3 == 1 ? 1 : 2);
    if (i % 50 == 7)
      keyword.seeAlso = QStringLiteral("keyword 0000");
    else
      for (int t = 0; t <= i % 5; ++t) keyword.topics.append(quint32(i * 7 + t));
    keywords.append(keyword);
  }
  const ChmKeywordLinks links = BuildKeywordLinks(keywords, 0x804, 936);
  EXPECT_TRUE(links.warnings.isEmpty()) << links.warnings.join('\n').toStdString();
  const auto read = ReadBack(links);
  ASSERT_TRUE(read.Ok()) << read.Message().toStdString();
  EXPECT_GT(read->blockCount, 50u);
  EXPECT_EQ(read->codePage, 936u);
  EXPECT_EQ(read->lcid, 0x804u);
  ASSERT_EQ(read->entries.size(), keywords.size());
  QStringList path;
  for (qsizetype i = 0; i < keywords.size(); ++i) {
    const KeywordLinkEntry& entry = read->entries.at(i);
    const ChmKeyword& keyword = keywords.at(i);
    path.resize(keyword.depth);
    path.append(keyword.text);
    ASSERT_EQ(entry.path, path.join(", ")) << i;
    EXPECT_EQ(entry.path.mid(entry.textStart), keyword.text) << i;
    EXPECT_EQ(entry.depth, keyword.depth) << i;
    EXPECT_EQ(entry.topics, keyword.topics) << i;
    EXPECT_EQ(entry.seeAlso, keyword.seeAlso) << i;
  }
}

TEST(KeywordLinks, EmptyIndexAndKeywordsTooBigForABlock) {
  const auto empty = ReadBack(BuildKeywordLinks({}, 0x409, 1252));
  ASSERT_TRUE(empty.Ok()) << empty.Message().toStdString();
  EXPECT_TRUE(empty->entries.isEmpty());

  ChmKeyword many{QStringLiteral("everywhere"), 0, {}, {}};
  for (quint32 t = 0; t < 2000; ++t) many.topics.append(t);
  const ChmKeyword longText{QString(1000, u'x'), 0, {7}, {}};
  // A keyword deeper than the one before it goes just below that one.
  const ChmKeyword orphan{QStringLiteral("orphan"), 3, {1}, {}};
  const ChmKeywordLinks links = BuildKeywordLinks({orphan, many, longText, orphan}, 0x409, 1252);
  EXPECT_EQ(links.warnings.size(), 2) << links.warnings.join('\n').toStdString();
  const auto read = ReadBack(links);
  ASSERT_TRUE(read.Ok()) << read.Message().toStdString();
  ASSERT_EQ(read->entries.size(), 4);
  EXPECT_EQ(read->entries[0].path, "orphan");
  EXPECT_EQ(read->entries[0].depth, 0);
  EXPECT_GT(read->entries[1].topics.size(), 400);
  EXPECT_EQ(read->entries[1].topics, many.topics.first(read->entries[1].topics.size()));
  EXPECT_LT(read->entries[2].path.size(), 1000);
  EXPECT_EQ(read->entries[2].topics, QList<quint32>{7});
  EXPECT_EQ(read->entries[3].path, read->entries[2].path + ", orphan");
  EXPECT_EQ(read->entries[3].depth, 1);
}

TEST(KeywordLinks, CompiledIndexLeadsEveryKeywordToItsPages) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  const QByteArray item = "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"";
  writeBytes(
      project.folder + "/My Guide.hhk",
      "<HTML><BODY>\r\n<UL>\r\n"
      "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"Printing\">\r\n"
      "<param name=\"Name\" value=\"One\">\r\n<param name=\"Local\" value=\"My_Guide01.htm\">\r\n"
      "<param name=\"Name\" value=\"Two\">\r\n<param name=\"Local\" value=\"My_Guide02.htm#top\">\r\n"
      "</OBJECT>\r\n<UL>\r\n" +
          item + "paper\">\r\n<param name=\"Local\" value=\"my_guide03.htm\">\r\n</OBJECT>\r\n</UL>\r\n" +
          item + "Caf\xe9\">\r\n<param name=\"Local\" value=\"My_Guide01.htm\">\r\n</OBJECT>\r\n" +
          "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"Colours\">\r\n"
          "<param name=\"See Also\" value=\"Printing\">\r\n</OBJECT>\r\n" +
          item + "Web site\">\r\n<param name=\"Local\" value=\"http://example.com/\">\r\n</OBJECT>\r\n" +
          "</UL>\r\n</BODY></HTML>\r\n");
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << result.messages.join('\n').toStdString();

  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_TRUE(KeywordLinksFlag(chm));
  const auto file = [&](const char* name) { return chm.read(name).value_or(QByteArray()); };
  const auto read = ReadKeywordLinks(file("/$WWKeywordLinks/BTree"), file("/$WWKeywordLinks/Map"),
                                     file("/$WWKeywordLinks/Data"), file("/$WWKeywordLinks/Property"));
  ASSERT_TRUE(read.Ok()) << read.Message().toStdString();
  EXPECT_EQ(read->codePage, 1252u);
  QStringList got;
  for (const KeywordLinkEntry& entry : read->entries) {
    QStringList pages;
    for (quint32 topic : entry.topics) pages << QString::fromLatin1(PageOfTopic(chm, topic));
    got << QStringLiteral("%1/%2:%3%4")
               .arg(entry.path)
               .arg(entry.depth)
               .arg(pages.join(' '), entry.seeAlso.isEmpty() ? QString() : " see " + entry.seeAlso);
  }
  // Sorted as the Index shows it; the pages of one item are one keyword.
  EXPECT_EQ(got, (QStringList{QString::fromUtf8("Caf\u00e9/0:My_Guide01.htm"), "Colours/0: see Printing",
                              "Printing/0:My_Guide01.htm My_Guide02.htm", "Printing, paper/1:My_Guide03.htm",
                              "Web site/0:"}));

  // Every reader still gives back every file.
  const ChmFiles chmlib = SlashFiles(ReadWithChmlib(project.chmPath()));
  EXPECT_EQ(SlashFiles(ReadWithMspack(project.chmPath())), chmlib);
  EXPECT_EQ(ReadWithProgram("7z", project.chmPath()), chmlib);
}

TEST(KeywordLinks, BinaryIndexNoLeavesThemOut) {
  QTemporaryDir dir;
  HelpProject project;
  project.write(dir.path());
  QByteArray hhp = readBytes(project.projectPath());
  hhp.replace("[OPTIONS]\r\n", "[OPTIONS]\r\nBinary Index=No\r\n");
  writeBytes(project.projectPath(), hhp);
  const CompileResult result = CompileProject(project.projectPath());
  ASSERT_TRUE(result.success) << result.messages.join('\n').toStdString();
  ChmFile chm;
  ASSERT_TRUE(chm.open(project.chmPath()));
  EXPECT_FALSE(KeywordLinksFlag(chm));
  EXPECT_FALSE(chm.read("/$WWKeywordLinks/BTree").has_value());
}
