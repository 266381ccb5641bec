// Reading compiled files: #SYSTEM, the context map and page-path matching.

#include "chm/chm_file.h"
#include "hhc_fixture.h"

#include <QtEndian>

using namespace orvex;
using namespace orvex_test;

namespace {

QByteArray le32(quint32 v) {
  QByteArray b(4, '\0');
  qToLittleEndian(v, b.data());
  return b;
}

QByteArray record(quint16 code, const QByteArray& data) {
  QByteArray b(4, '\0');
  qToLittleEndian(code, b.data());
  qToLittleEndian(static_cast<quint16>(data.size()), b.data() + 2);
  return b + data;
}

}  // namespace

TEST(ChmSystem, ReadsTheProjectOptionsAndLanguage) {
  const QByteArray data = le32(3) + record(10, le32(0)) + record(4, le32(0x407) + QByteArray(32, '\0')) +
                          record(2, QByteArray("start.htm\0", 10)) +
                          record(3, QByteArray("Hilfe \xfc\0", 8)) + record(0, QByteArray("t.hhc\0", 6)) +
                          record(1, QByteArray("i.hhk\0", 6)) + record(6, QByteArray("hilfe\0", 6));
  const ChmSystemInfo info = ParseChmSystem(data);
  EXPECT_EQ(info.lcid, 0x407u);
  EXPECT_EQ(info.defaultTopic, "start.htm");
  EXPECT_EQ(info.title, QString::fromUtf8("Hilfe \xc3\xbc"));
  EXPECT_EQ(info.contentsFile, "t.hhc");
  EXPECT_EQ(info.indexFile, "i.hhk");
  EXPECT_EQ(info.compiledFile, "hilfe");
}

TEST(ChmSystem, TruncatedRecordsAreIgnored) {
  QByteArray data = le32(3) + record(3, QByteArray("Title\0", 6)) + record(2, QByteArray("x.htm\0", 6));
  data.chop(3);  // the last record claims more than is there
  const ChmSystemInfo info = ParseChmSystem(data);
  EXPECT_EQ(info.title, "Title");
  EXPECT_TRUE(info.defaultTopic.isEmpty());
  EXPECT_EQ(ParseChmSystem(QByteArray("\x03\0", 2)).title, QString());
}

TEST(ChmContextMap, JoinsNumbersWithStringsAndSkipsBadOffsets) {
  const QByteArray strings("\0/b/a.htm\0c.htm\0", 16);
  const QByteArray ivb =
      le32(32) + le32(101) + le32(1) + le32(102) + le32(10) + le32(103) + le32(999) + le32(104) + le32(1);
  const auto map = ParseContextMap(ivb, strings);
  EXPECT_EQ(map.value(101), "/b/a.htm");
  EXPECT_EQ(map.value(102), "c.htm");
  EXPECT_FALSE(map.contains(103));
  EXPECT_EQ(map.value(104), "/b/a.htm");
  // A length word larger than the data reads what is there.
  EXPECT_EQ(ParseContextMap(le32(1000) + le32(7) + le32(10), strings).value(7), "c.htm");
  EXPECT_TRUE(ParseContextMap(QByteArray("\x01", 1), strings).isEmpty());
}

TEST(ChmContextMap, MatchesAbsolutePathsOfTheBuildingMachineToEntries) {
  const QStringList entries{"/Topic01.htm", "/sub/Topic01.htm", "/pic.png", "/help/x.htm"};
  EXPECT_EQ(MatchStoredPagePath("Topic01.htm", entries), "/Topic01.htm");
  EXPECT_EQ(MatchStoredPagePath("/home/ann/help/Topic01.htm", entries), "/Topic01.htm");
  EXPECT_EQ(MatchStoredPagePath("/home/ann/help/sub/topic01.HTM", entries), "/sub/Topic01.htm");
  EXPECT_EQ(MatchStoredPagePath("C:\\Help\\sub\\Topic01.htm#part", entries), "/sub/Topic01.htm");
  EXPECT_EQ(MatchStoredPagePath("/srv/help/x.htm", entries), "/help/x.htm");
  EXPECT_TRUE(MatchStoredPagePath("/home/ann/help/gone.htm", entries).isEmpty());
  EXPECT_TRUE(MatchStoredPagePath("", entries).isEmpty());
}

TEST(ChmFileOpen, NonCompiledFilesAreRefusedWithoutCrashing) {
  QTemporaryDir dir;
  ChmFile chm;
  EXPECT_FALSE(chm.open(dir.path() + "/missing.chm"));
  writeBytes(dir.path() + "/junk.chm", QByteArray(5000, '\x7f'));
  EXPECT_FALSE(chm.open(dir.path() + "/junk.chm"));
  writeBytes(dir.path() + "/short.chm", "ITSF");
  EXPECT_FALSE(chm.open(dir.path() + "/short.chm"));
  EXPECT_FALSE(chm.isOpen());
  EXPECT_TRUE(chm.entries().isEmpty());
  EXPECT_FALSE(chm.read("/x.htm"));
  EXPECT_TRUE(chm.topicForContext(101).isEmpty());
}
