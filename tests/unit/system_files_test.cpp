// The internal files of a compiled help, read back the way readers read them.

#include "chm/chm_file.h"
#include "chm/system_files.h"
#include "platform/codepage.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace orvex;

namespace {

quint32 Le32At(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint32>(data.constData() + at);
}
quint16 Le16At(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}

QByteArray StringAt(const QByteArray& data, quint32 offset) {
  const qsizetype end = data.indexOf('\0', offset);
  return data.mid(offset, end - offset);
}

QByteArray Latin1(const QString& text) { return text.toLatin1(); }

}  // namespace

TEST(SystemFile, ReadersFindTheProjectsOptions) {
  ChmSystemOptions options;
  options.title = "Printer Guide \xe9";
  options.defaultTopic = "sub/Start.htm";
  options.contentsFile = "My Guide.hhc";
  options.indexFile = "My Guide.hhk";
  options.compiledName = "My Guide";
  options.defaultWindow = "main";
  options.defaultFont = "Arial,8,0";
  options.lcid = 0x411;
  options.fullTextSearch = true;
  options.unixTime = 1700000000;
  const QByteArray system = BuildSystemFile(options);
  EXPECT_EQ(Le32At(system, 0), 3u);
  const ChmSystemInfo info = ParseChmSystem(system);
  // Text is read in the code page of the language the file names.
  EXPECT_EQ(info.title, DecodeCodePage("Printer Guide \xe9", 932));
  EXPECT_EQ(info.defaultTopic, "sub/Start.htm");
  EXPECT_EQ(info.contentsFile, "My Guide.hhc");
  EXPECT_EQ(info.indexFile, "My Guide.hhk");
  EXPECT_EQ(info.compiledFile, "my guide");
  EXPECT_EQ(info.lcid, 0x411u);

  // The language record: LCID, double-byte flag, full-text flag, then a
  // FILETIME of the compile; every record's length fits the file.
  qsizetype at = 4;
  bool sawLanguage = false;
  while (at + 4 <= system.size()) {
    const quint16 code = Le16At(system, at);
    const quint16 length = Le16At(system, at + 2);
    ASSERT_LE(at + 4 + length, system.size());
    if (code == 4) {
      sawLanguage = true;
      ASSERT_EQ(length, 36);
      EXPECT_EQ(Le32At(system, at + 8), 1u);   // Japanese is double-byte
      EXPECT_EQ(Le32At(system, at + 12), 1u);  // full-text search
      const quint64 fileTime =
          Le32At(system, at + 24) | (static_cast<quint64>(Le32At(system, at + 28)) << 32);
      EXPECT_EQ(fileTime / 10000000ULL - 11644473600ULL, 1700000000ULL);
    }
    at += 4 + length;
  }
  EXPECT_TRUE(sawLanguage);
  EXPECT_EQ(at, system.size());
}

TEST(SystemFile, UnsetOptionsGiveNoRecords) {
  const ChmSystemInfo info = ParseChmSystem(BuildSystemFile({}));
  EXPECT_TRUE(info.title.isEmpty());
  EXPECT_TRUE(info.contentsFile.isEmpty());
  EXPECT_TRUE(info.defaultTopic.isEmpty());
  EXPECT_EQ(info.lcid, 0x409u);
}

TEST(StringTable, StringsStayInsideTheirBlockAndAreStoredOnce) {
  ChmStringTable strings;
  EXPECT_EQ(strings.Add(""), 0u);
  EXPECT_EQ(strings.Bytes(), QByteArray(1, '\0'));
  const quint32 first = strings.Add("first");
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(strings.Add("first"), first);
  QList<QPair<quint32, QByteArray>> added;
  for (int i = 0; i < 400; ++i) {
    const QByteArray text = "page" + QByteArray::number(i) + QByteArray(i % 37, 'x') + ".htm";
    added.append({strings.Add(text), text});
  }
  for (const auto& [offset, text] : added) {
    EXPECT_EQ(StringAt(strings.Bytes(), offset), text);
    EXPECT_EQ(offset / 4096, (offset + text.size()) / 4096) << "crosses a block: " << text.constData();
  }
}

TEST(ContextMapFile, EveryNumberReachesItsPageSeveralPerPage) {
  ChmStringTable strings;
  strings.Add("Title");
  const QList<ChmContextTarget> targets{{101, "My_Guide01.htm"},
                                        {102, "sub/Second page.htm"},
                                        {0x67, "My_Guide01.htm"},
                                        {7, "sub/Second page.htm"}};
  const QByteArray ivb = BuildContextMapFile(targets, strings);
  EXPECT_EQ(Le32At(ivb, 0), 32u);
  const QMap<quint32, QString> map = ParseContextMap(ivb, strings.Bytes());
  EXPECT_EQ(map.size(), 4);
  EXPECT_EQ(map.value(101), "My_Guide01.htm");
  EXPECT_EQ(map.value(0x67), "My_Guide01.htm");
  EXPECT_EQ(map.value(102), "sub/Second page.htm");
  EXPECT_EQ(map.value(7), "sub/Second page.htm");
  EXPECT_EQ(MatchStoredPagePath(map.value(102), {"/My_Guide01.htm", "/sub/Second page.htm"}),
            "/sub/Second page.htm");
}

TEST(TopicFiles, EachTopicLeadsToItsPathAndTitle) {
  ChmStringTable strings;
  QList<ChmTopic> topics;
  for (int i = 0; i < 700; ++i)  // more than one 4096-byte block of #URLTBL
    topics.append(ChmTopic{"pages/topic" + QByteArray::number(i) + ".htm",
                           i % 3 == 0 ? QByteArray() : "Topic " + QByteArray::number(i), i % 2 == 0});
  const ChmTopicFiles files = BuildTopicFiles(topics, strings);
  ASSERT_EQ(files.topics.size(), 700 * 16);
  EXPECT_EQ(files.urlTable.size(), 2 * 4096 + (700 - 2 * 341) * 12);  // 341 entries a block
  for (int i = 0; i < topics.size(); ++i) {
    const quint32 title = Le32At(files.topics, i * 16 + 4);
    const quint32 urlEntry = Le32At(files.topics, i * 16 + 8);
    const quint16 flags = Le16At(files.topics, i * 16 + 12);
    if (topics[i].title.isEmpty())
      EXPECT_EQ(title, 0xFFFFFFFFu);
    else
      EXPECT_EQ(StringAt(strings.Bytes(), title), topics[i].title);
    EXPECT_EQ(flags, topics[i].inContents ? 6 : 2);
    ASSERT_LE(urlEntry + 12, files.urlTable.size());
    EXPECT_NE(urlEntry % 4096, 4092u);  // never in a block's padding
    EXPECT_EQ(Le32At(files.urlTable, urlEntry + 4), static_cast<quint32>(i));
    const quint32 urlString = Le32At(files.urlTable, urlEntry + 8);
    EXPECT_EQ(StringAt(files.urlStrings, urlString + 8), topics[i].path);
  }
  // The table is ordered by its first value, which readers search.
  QList<quint32> ids;
  for (qsizetype at = 0; at + 12 <= files.urlTable.size(); at += 12) {
    if (at % 4096 == 4092) at += 4;
    ids.append(Le32At(files.urlTable, at));
  }
  EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
}

TEST(WindowsFile, AWindowLineBecomesAnEntryWithItsStrings) {
  const auto window = ParseWindowLine(
      "main=\"Printer Guide\",\"My Guide.hhc\",\"My Guide.hhk\",\"start.htm\",\"start.htm\",,,,,"
      "0x63520,250,0x10184e,[10,20,810,620],0x30000,,1,0,0,0");
  ASSERT_TRUE(window);
  EXPECT_EQ(window->name, "main");
  EXPECT_EQ(window->caption, "Printer Guide");
  EXPECT_EQ(window->properties, 0x63520u);
  EXPECT_EQ(window->navigationWidth, 250u);
  ASSERT_TRUE(window->position);
  EXPECT_EQ((*window->position)[2], 810);
  EXPECT_FALSE(window->extendedStyle);
  EXPECT_FALSE(ParseWindowLine("no equals sign"));
  EXPECT_FALSE(ParseWindowLine("=\"caption\""));

  ChmStringTable strings;
  const QByteArray file = BuildWindowsFile({*window}, strings, Latin1);
  ASSERT_EQ(file.size(), 8 + 196);
  EXPECT_EQ(Le32At(file, 0), 1u);
  EXPECT_EQ(Le32At(file, 4), 196u);
  const QByteArray entry = file.mid(8);
  EXPECT_EQ(Le32At(entry, 0), 196u);
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(entry, 0x08)), "main");
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(entry, 0x14)), "Printer Guide");
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(entry, 0x60)), "My Guide.hhc");
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(entry, 0x64)), "My Guide.hhk");
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(entry, 0x68)), "start.htm");
  EXPECT_EQ(Le32At(entry, 0x10), 0x63520u);
  EXPECT_EQ(Le32At(entry, 0x4C), 250u);
  EXPECT_EQ(Le32At(entry, 0x28), 810u);
  const quint32 valid = Le32At(entry, 0x0C);
  EXPECT_TRUE(valid & 0x2);   // properties
  EXPECT_TRUE(valid & 0x10);  // position
  EXPECT_TRUE(valid & 0x20);  // navigation width
  EXPECT_FALSE(valid & 0x8);  // no extended style given
}

TEST(IndexHeader, KeepsTheContentsFilesProperties) {
  const ChmSiteProperties properties = ReadSiteProperties(
      "<HTML><BODY><OBJECT type=\"text/site properties\">\r\n"
      "<param name=\"Window Styles\" value=\"0x800025\">\r\n"
      "<param name=\"ImageType\" value=\"Folder\">\r\n<param name=\"Font\" value=\"Tahoma,8,0\">\r\n"
      "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Font\" value=\"no\"></OBJECT></UL>",
      Latin1);
  EXPECT_TRUE(properties.folderImages);
  EXPECT_EQ(properties.windowStyles, 0x800025u);
  EXPECT_EQ(properties.font, "Tahoma,8,0");
  ChmStringTable strings;
  const QByteArray header = BuildIndexHeader(12, properties, strings);
  ASSERT_EQ(header.size(), 4096);
  EXPECT_TRUE(header.startsWith("T#SM"));
  EXPECT_EQ(Le32At(header, 0x0C), 12u);
  EXPECT_EQ(Le32At(header, 0x1C), 1u);
  EXPECT_EQ(Le32At(header, 0x2C), 0x800025u);
  EXPECT_EQ(StringAt(strings.Bytes(), Le32At(header, 0x28)), "Tahoma,8,0");
}
