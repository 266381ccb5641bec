// The full-text search index written and read back: every word of every page
// with its topics and locations, and the structure that readers walk.
#include <gtest/gtest.h>

#include <QHash>
#include <QRandomGenerator>

#include <algorithm>

#include "chm/fulltext_index.h"
#include "fulltext_index_reader.h"
#include "platform/codepage.h"

namespace {

using Locations = QMap<quint32, QList<quint32>>;
using Key = QPair<QByteArray, int>;  // stored word, context
using Model = QMap<Key, Locations>;

// Pages written from known words, with what the index must hold for them.
struct PageSet {
  QList<FullTextTopic> topics;
  Model expected;
  int codePage = 1252;

  QHash<QString, QByteArray> stored;  // converting is slow: each word once

  QByteArray Stored(const QString& word) {
    auto it = stored.find(word);
    if (it == stored.end())
      it = stored.insert(word, EncodeCodePage(word.toLower(), codePage).left(kFullTextMaxWordBytes));
    return *it;
  }
  // A page titled with titleWords (given in the topic or only in the page)
  // and a text of bodyWords set apart by blanks, tags and punctuation.
  void Add(quint32 topicNumber, const QStringList& titleWords, const QStringList& bodyWords,
           bool titleInTopic) {
    static const char* separators[] = {" ", "<br>", ", ", "\r\n", "</p><p>", " &nbsp;", "<td>", ". "};
    QString body;
    for (qsizetype i = 0; i < bodyWords.size(); ++i)
      body += bodyWords[i] + QLatin1String(separators[(i + topicNumber) % 8]);
    const QString title = titleWords.join(u' ');
    topics.append({topicNumber, titleInTopic ? title : QString(),
                   "<html><head><title>" + title + "</title><style>p{}</style></head><body><p>" + body +
                       "</p></body></html>"});
    quint32 location = 0;
    for (qsizetype i = 0; i < titleWords.size(); ++i) {
      expected[{Stored(titleWords[i]), 1}][topicNumber].append(quint32(i));
      expected[{Stored(titleWords[i]), 0}][topicNumber].append(location++);
    }
    for (const QString& word : bodyWords) expected[{Stored(word), 0}][topicNumber].append(location++);
  }
};

Model ReadBack(const FullTextIndexContents& index) {
  Model model;
  for (const FullTextEntry& e : index.entries) {
    const Key key{e.word, e.context};
    EXPECT_FALSE(model.contains(key)) << "listed twice: " << e.word.toStdString();
    model[key] = e.locations;
  }
  return model;
}

// The leaf a reader reaches for a word: down from the root, at each index
// node the first entry whose word is not less than the one looked for.
quint32 LeafReachedFor(const FullTextIndexContents& index, const QByteArray& word) {
  quint32 node = index.header.rootNode;
  for (int d = 1; d < index.header.depth; ++d) {
    const auto& entries = index.indexNodes.value(node);
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const FullTextIndexNodeEntry& e) { return e.word >= word; });
    if (it == entries.end()) return 0;
    node = it->child;
  }
  return node;
}

// What a reader relies on besides the words themselves.
void ExpectSoundStructure(const QByteArray& data, const FullTextIndexContents& index) {
  const FullTextHeader& h = index.header;
  EXPECT_EQ(h.nodeSize, quint32(kFullTextNodeSize));
  EXPECT_EQ(h.rootNode + h.nodeSize, quint32(data.size())) << "the root is the last node";
  for (int s = 0; s < 3; ++s) {
    EXPECT_EQ(h.scales[s], 2);
    EXPECT_GE(h.roots[s], 1);
  }
  EXPECT_EQ(qsizetype(h.depth), index.levels.size());
  EXPECT_EQ(index.leaves, index.levels.last()) << "the leaf chain runs in the order the index names them";
  EXPECT_EQ(h.leafCount, quint32(index.leaves.size()));
  EXPECT_EQ(h.entryCount, quint32(index.entries.size()));
  quint32 occurrences = 0, longest = 0;
  for (const FullTextEntry& e : index.entries) {
    for (const auto& locations : e.locations) occurrences += quint32(locations.size());
    longest = std::max(longest, quint32(e.word.size()));
  }
  EXPECT_EQ(h.occurrences, occurrences);
  EXPECT_EQ(h.longestWord, longest);

  QMap<quint32, QByteArray> lastWordOf;  // node offset -> last word under it
  for (qsizetype i = 0; i < index.entries.size(); ++i) {
    const FullTextEntry& e = index.entries[i];
    lastWordOf[e.leaf] = e.word;
    if (i == 0) continue;
    const FullTextEntry& before = index.entries[i - 1];
    EXPECT_TRUE(before.word < e.word || (before.word == e.word && before.context < e.context))
        << "out of order: " << before.word.toStdString() << " / " << e.word.toStdString();
    if (before.word == e.word) {
      EXPECT_EQ(before.leaf, e.leaf) << "a word's two contexts share a leaf";
    }
    if (before.leaf != e.leaf) {
      EXPECT_EQ(quint8(data[e.leaf + 9]), 0) << "a node starts with a whole word";
    }
  }
  for (qsizetype level = index.levels.size() - 2; level >= 0; --level) {
    QList<quint32> children;
    for (quint32 node : index.levels[level]) {
      const auto& entries = index.indexNodes.value(node);
      ASSERT_FALSE(entries.isEmpty());
      EXPECT_EQ(quint8(data[node + 3]), 0) << "a node starts with a whole word";
      for (const FullTextIndexNodeEntry& e : entries) {
        EXPECT_EQ(e.word, lastWordOf.value(e.child)) << "an index entry names its child's last word";
        children.append(e.child);
      }
      lastWordOf[node] = entries.last().word;
    }
    EXPECT_EQ(children, index.levels[level + 1]);
  }
  for (const FullTextEntry& e : index.entries)
    EXPECT_EQ(LeafReachedFor(index, e.word), e.leaf) << e.word.toStdString();
}

FullTextIndexContents BuildAndRead(const PageSet& pages, quint32 lcid, QByteArray* data = nullptr) {
  const QByteArray bytes = BuildFullTextIndex(pages.topics, lcid, pages.codePage);
  if (data) *data = bytes;
  Result<FullTextIndexContents> index = ReadFullTextIndex(bytes);
  EXPECT_TRUE(index.Ok()) << index.Message().toStdString();
  if (index.Ok()) ExpectSoundStructure(bytes, *index);
  return index.Ok() ? *index : FullTextIndexContents{};
}

QString RandomWord(QRandomGenerator& random, const QString& letters, int minLength, int maxLength) {
  QString word;
  const int length = random.bounded(minLength, maxLength + 1);
  for (int i = 0; i < length; ++i) word += letters[random.bounded(int(letters.size()))];
  return word;
}

TEST(FullTextIndex, HundredsOfTopicsReadBackWordForWord) {
  QRandomGenerator random(14);
  QStringList vocabulary;
  for (int i = 0; i < 3000; ++i)
    vocabulary.append(RandomWord(random, "abcdefghijklmnopqrstuvwxyz0123456789_", 1, 12));
  vocabulary += {"café", "CAFÉ", "Ætat", "niño", "œuvre", "Façade", "straße", "ÿes", "naïve"};
  vocabulary.append(QString(300, u'q') + "end");    // longer than a word can be: its first 254 bytes
  vocabulary.append(QString(260, u'q') + "other");  // the same first 254 bytes: one word
  PageSet pages;
  for (quint32 t = 0; t < 420; ++t) {
    if (t % 50 == 7) {  // empty pages, with and without a title
      pages.Add(t * 3 + 1, t % 100 == 7 ? QStringList{"Lonely", "title"} : QStringList{}, {}, t % 2);
      continue;
    }
    QStringList title{"Topic", QString::number(t), "common"};
    QStringList body{"common"};
    for (int w = random.bounded(20, 120); w > 0; --w)
      body.append(vocabulary[random.bounded(int(vocabulary.size()))]);
    body.append("common");
    pages.Add(t * 3 + 1, title, body, t % 3 == 0);
  }
  std::shuffle(pages.topics.begin(), pages.topics.end(), std::mt19937(14));  // any order will do

  QByteArray data;
  const FullTextIndexContents index = BuildAndRead(pages, 0x409, &data);
  EXPECT_EQ(ReadBack(index), pages.expected);
  EXPECT_EQ(index.header.topicCount, 420u);
  EXPECT_EQ(index.header.codePage, 1252u);
  EXPECT_EQ(index.header.lcid, 0x409u);
  EXPECT_EQ(index.header.longestWord, quint32(kFullTextMaxWordBytes));
  EXPECT_GT(index.leaves.size(), 10);
  // The word of every topic: a list far longer than 127 bytes.
  const auto common = std::find_if(index.entries.begin(), index.entries.end(), [](const FullTextEntry& e) {
    return e.word == "common" && e.context == 0;
  });
  ASSERT_NE(common, index.entries.end());
  EXPECT_EQ(common->locations.size(), 420 - 9);
}

TEST(FullTextIndex, CyrillicWordsInTheirCodePage) {
  QRandomGenerator random(1251);
  const QString letters = QString::fromUtf8("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВЖЯЁ");
  PageSet pages;
  pages.codePage = 1251;
  QStringList vocabulary;
  for (int i = 0; i < 600; ++i) vocabulary.append(RandomWord(random, letters, 2, 9));
  for (quint32 t = 0; t < 300; ++t) {
    QStringList body;
    for (int w = 0; w < 60; ++w) body.append(vocabulary[random.bounded(int(vocabulary.size()))]);
    pages.Add(t, {QString::fromUtf8("Раздел"), QString::number(t)}, body, true);
  }
  const FullTextIndexContents index = BuildAndRead(pages, 0x419);
  EXPECT_EQ(ReadBack(index), pages.expected);
  EXPECT_EQ(index.header.codePage, 1251u);
  EXPECT_TRUE(ReadBack(index).contains({QByteArray("\xf0\xe0\xe7\xe4\xe5\xeb"), 1}));  // "раздел"
}

TEST(FullTextIndex, JapaneseCharactersAreWordsInShiftJis) {
  PageSet pages;
  pages.codePage = 932;
  pages.topics.append({0, QString(), QString::fromUtf8("<title>検索</title><p>全文検索 abc</p>")});
  const Model model = ReadBack(BuildAndRead(pages, 0x411));
  EXPECT_EQ(model.value({EncodeCodePage(QString::fromUtf8("検"), 932), 1}), Locations({{0, {0}}}));
  EXPECT_EQ(model.value({EncodeCodePage(QString::fromUtf8("検"), 932), 0}), Locations({{0, {0, 4}}}));
  EXPECT_EQ(model.value({"abc", 0}), Locations({{0, {6}}}));
}

TEST(FullTextIndex, LongWordsFillNodesAndIndexLevelsStackUp) {
  QRandomGenerator random(3);
  PageSet pages;
  for (quint32 t = 0; t < 400; ++t) {
    QStringList body;
    for (int w = 0; w < 10; ++w) body.append(RandomWord(random, "bcdfghjklmnpqrstvwxz", 180, 250));
    pages.Add(t, {}, body, false);
  }
  const FullTextIndexContents index = BuildAndRead(pages, 0x409);
  EXPECT_EQ(ReadBack(index), pages.expected);
  EXPECT_GE(index.header.depth, 3) << "long words: few entries a node, more than one index level";
}

TEST(FullTextIndex, SingleTopicEmptyTopicsAndNoTopics) {
  PageSet one;
  one.Add(0, {"Only"}, {"one", "page", "only"}, false);
  const FullTextIndexContents single = BuildAndRead(one, 0x409);
  EXPECT_EQ(ReadBack(single), one.expected);
  EXPECT_EQ(single.header.depth, 1);
  EXPECT_EQ(single.leaves.size(), 1);

  for (const QList<FullTextTopic>& topics :
       {QList<FullTextTopic>{}, QList<FullTextTopic>{{0, {}, ""}, {1, {}, "<html><body> </body></html>"}}}) {
    const QByteArray data = BuildFullTextIndex(topics, 0x409, 0);
    const Result<FullTextIndexContents> empty = ReadFullTextIndex(data);
    ASSERT_TRUE(empty.Ok()) << empty.Message().toStdString();
    ExpectSoundStructure(data, *empty);
    EXPECT_TRUE(empty->entries.isEmpty());
    EXPECT_EQ(empty->header.topicCount, quint32(topics.size()));
    EXPECT_EQ(data.size(), kFullTextHeaderSize + kFullTextNodeSize);
  }
}

TEST(FullTextIndex, WordsTheCodePageCannotHoldAreLeftOutButCounted) {
  PageSet pages;
  pages.topics.append({0, "T", "<p>beer &#1087;&#1080;&#1074;&#1086; bier</p>"});
  const Model model = ReadBack(BuildAndRead(pages, 0x409));
  EXPECT_EQ(model.keys(), QList<Key>({{"beer", 0}, {"bier", 0}, {"t", 0}, {"t", 1}}));
  EXPECT_EQ(model.value({"bier", 0}), Locations({{0, {3}}}));
}

TEST(FullTextIndex, ATopicGivenTwiceGoesOnCounting) {
  PageSet pages;
  pages.topics.append({5, "A", "<p>x y</p>"});
  pages.topics.append({5, "B", "<p>x</p>"});
  const Model model = ReadBack(BuildAndRead(pages, 0x409));
  EXPECT_EQ(model.value({"x", 0}), Locations({{5, {1, 4}}}));
  EXPECT_EQ(model.value({"b", 1}), Locations({{5, {1}}}));
}

TEST(FullTextIndex, ReaderRejectsDamage) {
  PageSet pages;
  pages.Add(0, {"Title"}, {"some", "words"}, true);
  const QByteArray good = BuildFullTextIndex(pages.topics, 0x409, 1252);
  ASSERT_TRUE(ReadFullTextIndex(good).Ok());
  EXPECT_FALSE(ReadFullTextIndex(good.left(0x3FF)).Ok());
  EXPECT_FALSE(ReadFullTextIndex(good.left(good.size() - 1)).Ok());
  QByteArray wrongRoot = good;
  wrongRoot[0x14] = char(0xFF);
  EXPECT_FALSE(ReadFullTextIndex(wrongRoot).Ok());
  // The first entry ("some"): its length byte, then its list's length.
  const quint32 leaf = ReadFullTextIndex(good)->leaves.front();
  QByteArray longWord = good;
  longWord[leaf + 8] = char(0xF0);
  EXPECT_FALSE(ReadFullTextIndex(longWord).Ok());
  QByteArray longList = good;
  longList[leaf + 8 + 2 + 4 + 1 + 1 + 6] = 0x7F;
  EXPECT_FALSE(ReadFullTextIndex(longList).Ok());
}

}  // namespace
