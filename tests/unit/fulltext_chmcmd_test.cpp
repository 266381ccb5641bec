// A second opinion on the full-text index reader: the index that chmcmd
// writes for a generated project, read with the same reader, lists every
// word that our word extraction finds, in the same topics.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "chm/chm_file.h"
#include "chm/fulltext_words.h"
#include "fulltext_index_reader.h"
#include "hhc_fixture.h"

namespace {

// #TOPICS entries (16 bytes) name their titles by offset into #STRINGS.
QMap<QString, quint32> TopicNumbersByTitle(const QByteArray& topics, const QByteArray& strings) {
  QMap<QString, quint32> numbers;
  for (qsizetype at = 0; at + 16 <= topics.size(); at += 16) {
    const uchar* p = reinterpret_cast<const uchar*>(topics.constData() + at + 4);
    const quint32 offset = p[0] | p[1] << 8 | p[2] << 16 | quint32(p[3]) << 24;
    if (offset < quint32(strings.size()))
      numbers.insert(QString::fromLatin1(strings.constData() + offset), quint32(at / 16));
  }
  return numbers;
}

TEST(FullTextChmcmdSecondOpinion, EveryWordOfEveryPageIsFoundInTheSameTopics) {
  const QString chmcmd = QStandardPaths::findExecutable("chmcmd");
  if (chmcmd.isEmpty()) GTEST_SKIP() << "chmcmd is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  // Plain letters only: words that every extraction splits alike.
  QRandomGenerator random(42);
  QStringList vocabulary;
  for (int i = 0; i < 600; ++i) {
    QString word;
    for (int k = random.bounded(2, 11); k > 0; --k) word += QChar(u'a' + random.bounded(26));
    vocabulary.append(random.bounded(4) == 0 ? word.toUpper() : word);
  }
  QMap<QString, QString> pages;  // title -> HTML
  QByteArray files;
  for (int t = 0; t < 160; ++t) {
    const QString title = QStringLiteral("Page %1 heading").arg(t);
    QString body = "everywhere ";
    for (int w = random.bounded(5, 200); w > 0; --w)
      body += vocabulary[random.bounded(int(vocabulary.size()))] + (w % 7 ? " " : "<br>\r\n");
    const QString html =
        "<html><head><title>" + title + "</title></head><body><p>" + body + "</p></body></html>";
    const QString name = QStringLiteral("page%1.htm").arg(t);
    orvex_test::writeBytes(dir.filePath(name), html.toLatin1());
    files += name.toLatin1() + "\r\n";
    pages.insert(title, html);
  }
  orvex_test::writeBytes(
      dir.filePath("second.hhp"),
      "[OPTIONS]\r\nCompiled file=second.chm\r\nFull-text search=Yes\r\nTitle=Second\r\n"
      "Language=0x409 English (United States)\r\nDefault topic=page0.htm\r\n\r\n[FILES]\r\n" +
          files);
  QProcess compile;
  compile.setWorkingDirectory(dir.path());
  compile.start(chmcmd, {"second.hhp"});
  ASSERT_TRUE(compile.waitForFinished(120000));

  orvex::ChmFile chm;
  ASSERT_TRUE(chm.open(dir.filePath("second.chm")));
  const auto fiftiMain = chm.read("/$FIftiMain");
  const auto topics = chm.read("/#TOPICS");
  const auto strings = chm.read("/#STRINGS");
  ASSERT_TRUE(fiftiMain && topics && strings);
  const Result<FullTextIndexContents> index = ReadFullTextIndex(*fiftiMain);
  ASSERT_TRUE(index.Ok()) << index.Message().toStdString();
  EXPECT_EQ(index->header.topicCount, 160u);

  QMap<QByteArray, QSet<quint32>> indexed;  // word -> topics, title and text together
  for (const FullTextEntry& e : index->entries)
    for (auto it = e.locations.cbegin(); it != e.locations.cend(); ++it) indexed[e.word].insert(it.key());

  const QMap<QString, quint32> numbers = TopicNumbersByTitle(*topics, *strings);
  ASSERT_EQ(numbers.size(), 160);
  QMap<QByteArray, QSet<quint32>> extracted;
  for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
    const PageText page = ExtractPageText(it.value());
    EXPECT_EQ(page.title, it.key());
    for (const QString& word : FullTextWords(page.title) + FullTextWords(page.body))
      extracted[word.toLatin1()].insert(numbers.value(it.key()));
  }
  EXPECT_GT(extracted.size(), 500);
  for (auto it = extracted.cbegin(); it != extracted.cend(); ++it)
    EXPECT_EQ(indexed.value(it.key()), it.value()) << it.key().toStdString();
  EXPECT_EQ(indexed.value("everywhere").size(), 160);
}

}  // namespace
