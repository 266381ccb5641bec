#include "chm/fulltext_index.h"

#include <QHash>

#include <algorithm>
#include <atomic>
#include <array>
#include <bit>
#include <numeric>
#include <optional>
#include <span>
#include <thread>
#include <type_traits>
#include <vector>

#include "chm/fulltext_words.h"
#include "chm/ordered_work.h"
#include "platform/codepage.h"

namespace {

struct Occurrence {
  quint32 topic;
  quint32 location;
  bool operator<(const Occurrence& o) const {
    return topic != o.topic ? topic < o.topic : location < o.location;
  }
  bool operator==(const Occurrence& o) const = default;
};

struct WordOccurrences {
  std::vector<Occurrence> text;
  std::vector<Occurrence> title;
};

// One leaf entry: a word in one context with its occurrences, in order.
struct Entry {
  QByteArray word;
  quint8 context;  // 0 text, 1 title
  const std::vector<Occurrence>* occurrences;
};

void PutU16(QByteArray& out, qsizetype at, quint16 v) {
  out[at] = char(v & 0xFF);
  out[at + 1] = char(v >> 8);
}

void PutU32(QByteArray& out, qsizetype at, quint32 v) {
  for (int i = 0; i < 4; ++i) out[at + i] = char((v >> (8 * i)) & 0xFF);
}

void AppendU32(QByteArray& out, quint32 v) {
  out.append(4, '\0');
  PutU32(out, out.size() - 4, v);
}

void AppendVarInt(QByteArray& out, quint64 v) {
  do {
    quint8 b = v & 0x7F;
    v >>= 7;
    if (v) b |= 0x80;
    out.append(char(b));
  } while (v);
}

int VarIntSize(quint64 v) {
  int n = 1;
  while (v >>= 7) ++n;
  return n;
}

// The three number streams of the WLCs, each with its own root.
enum Stream { kTopicStream, kCountStream, kLocationStream, kStreams };

// How many values of each bit width a stream holds, to choose its root.
struct WidthCounts {
  std::array<quint64, 65> count{};
  void Add(quint64 v) { ++count[std::bit_width(v)]; }
  // The root that codes all the values in the fewest bits (1 at least:
  // some readers cannot take a read of zero bits).
  int BestRoot() const {
    int best = 1;
    quint64 bestBits = ~quint64(0);
    for (int r = 1; r <= 32; ++r) {
      quint64 bits = 0;
      for (int w = 0; w < 65; ++w) bits += count[w] * (w <= r ? quint64(1 + r) : quint64(2 * w - r));
      if (bits < bestBits) {
        bestBits = bits;
        best = r;
      }
    }
    return best;
  }
};

// Writes bits most significant first, eight at a time.
class BitWriter {
 public:
  explicit BitWriter(QByteArray& buffer) : out(buffer) {}
  void Bits(quint64 v, int n) {
    while (n > 0) {
      const int take = std::min(n, 24);
      pending = (pending << take) | ((v >> (n - take)) & ((quint64(1) << take) - 1));
      count += take;
      n -= take;
      while (count >= 8) {
        count -= 8;
        out.append(char((pending >> count) & 0xFF));
      }
    }
  }
  void Root(quint64 v, int r) {
    if (v < (quint64(1) << r)) {
      Bits(v, r + 1);  // a zero, then r bits
      return;
    }
    const int width = std::bit_width(v);
    for (int ones = width - r; ones > 0; ones -= 24) Bits(~quint64(0), std::min(ones, 24));
    Bits(0, 1);
    Bits(v, width - 1);  // the top bit is implied
  }
  // The next bit starts a byte; the bits of this one left are zeros.
  void Align() {
    if (count > 0) out.append(char((pending << (8 - count)) & 0xFF));
    count = 0;
  }

 private:
  QByteArray& out;
  quint64 pending = 0;  // its low count bits are not written yet
  int count = 0;
};

template <typename Visit>
void ForEachValue(const std::vector<Occurrence>& occurrences, Visit visit) {
  quint32 previousTopic = 0;
  for (size_t i = 0; i < occurrences.size();) {
    const quint32 topic = occurrences[i].topic;
    size_t end = i;
    while (end < occurrences.size() && occurrences[end].topic == topic) ++end;
    visit(kTopicStream, topic - previousTopic);
    visit(kCountStream, end - i);
    quint32 previousLocation = 0;
    for (size_t k = i; k < end; ++k) {
      visit(kLocationStream, occurrences[k].location - previousLocation);
      previousLocation = occurrences[k].location;
    }
    previousTopic = topic;
    i = end;
  }
}

QByteArray EncodeWlc(const std::vector<Occurrence>& occurrences, const std::array<int, kStreams>& roots) {
  QByteArray wlc;
  BitWriter bits(wlc);
  ForEachValue(occurrences, [&](Stream stream, quint64 v) {
    if (stream == kTopicStream) bits.Align();
    bits.Root(v, roots[stream]);
  });
  bits.Align();
  return wlc;
}

int SharedPrefix(const QByteArray& a, const QByteArray& b) {
  const qsizetype n = std::min<qsizetype>({a.size(), b.size(), 255});
  qsizetype i = 0;
  while (i < n && a[i] == b[i]) ++i;
  return int(i);
}

// Appends the front-compressed word: length of the new part + 1, bytes
// shared with the previous word, the new part.
void AppendWord(QByteArray& node, const QByteArray& word, int shared) {
  node.append(char(word.size() - shared + 1));
  node.append(char(shared));
  node.append(word.constData() + shared, word.size() - shared);
}

// The words as stored: bytes in the code page, at most the longest a node
// entry can hold; empty for a word with a character the code page cannot
// hold. One conversion for all: a line break is one byte in every code page
// and never part of another character.
QList<QByteArray> StoredWords(const QStringList& words, int codePage) {
  QList<QByteArray> stored = EncodeCodePage(words.join(u'\n'), codePage).split('\n');
  for (qsizetype i = 0; i < stored.size(); ++i) {
    QByteArray& bytes = stored[i];
    if (bytes.contains('&')) {  // a character written as "&#N;"
      bytes.clear();
      continue;
    }
    QString cut = words[i];
    while (bytes.size() > kFullTextMaxWordBytes) {
      cut.chop(cut.size() > 1 && cut.back().isLowSurrogate() ? 2 : 1);
      bytes = EncodeCodePage(cut, codePage);
    }
  }
  return stored;
}

// Words numbered in the order first seen. Words are short: a hash of
// their own (FNV-1a over the UTF-16 units) costs less than the library's.
template <typename Word>  // QString, or QStringView into text that outlives the table
class WordNumbers {
 public:
  // The number of the word, given it when new (added then says so).
  int Number(QStringView word, bool* added = nullptr) {
    if (2 * (words.size() + 1) > slotTable.size()) Grow();
    const quint32 hash = Hash(word);
    const size_t mask = slotTable.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const int n = slotTable[at];
      if (n < 0) {
        slotTable[at] = int(words.size());
        hashes.push_back(hash);
        if constexpr (std::is_same_v<Word, QString>)
          words.push_back(word.toString());
        else
          words.push_back(word);
        if (added) *added = true;
        return slotTable[at];
      }
      if (hashes[size_t(n)] == hash && QStringView(words[size_t(n)]) == word) {
        if (added) *added = false;
        return n;
      }
    }
  }
  const Word& operator[](int n) const { return words[size_t(n)]; }
  int size() const { return int(words.size()); }

 private:
  static quint32 Hash(QStringView word) {
    quint32 h = 2166136261u;
    for (QChar c : word) h = (h ^ c.unicode()) * 16777619u;
    return h;
  }
  void Grow() {
    std::vector<int> table(std::max<size_t>(64, 2 * slotTable.size()), -1);
    const size_t mask = table.size() - 1;
    for (size_t n = 0; n < words.size(); ++n) {
      size_t at = hashes[n] & mask;
      while (table[at] >= 0) at = (at + 1) & mask;
      table[at] = int(n);
    }
    slotTable = std::move(table);
  }

  std::vector<Word> words;
  std::vector<quint32> hashes;  // of each word
  std::vector<int> slotTable;   // word numbers by hash, -1 where none; a power of two long
};

struct Collected {
  WordNumbers<QString> ids;
  std::vector<WordOccurrences> words;  // by number
  WordOccurrences& Of(QStringView word) {
    bool added = false;
    const int id = ids.Number(word, &added);
    if (added) words.emplace_back();
    return words[size_t(id)];
  }
};

// A topic's words, each once, with where it stands: in the title (counted
// from 0) and in the text (counted from 0, the title's words first). The
// words are views into the topic's text in lower case, held with them.
// The words of one topic, made on a reading thread and joined on another:
// a few flat arrays, not a list per word, so that what one thread made and
// the other frees is a handful of blocks (thousands of small ones, freed
// away from the thread that made them, queue up on the allocator's lock).
struct TopicWords {
  QString title;                   // in lower case
  QString body;                    // likewise
  std::vector<QStringView> words;  // each word once, in the order met
  // The places of word i, in increasing order: inTitle[titleFrom[i] ..
  // titleFrom[i + 1]) and inText[textFrom[i] .. textFrom[i + 1]).
  std::vector<quint32> titleFrom, inTitle, textFrom, inText;
  quint32 titleCount = 0;
  quint32 textCount = 0;
};

// Groups places by word: the places of each word, in increasing order,
// one word after the other (wordAt: the word at each place).
void GroupPlaces(std::span<const quint32> wordAt, size_t wordCount, std::vector<quint32>& from,
                 std::vector<quint32>& places) {
  from.assign(wordCount + 1, 0);
  for (const quint32 w : wordAt) ++from[w + 1];
  for (size_t i = 0; i < wordCount; ++i) from[i + 1] += from[i];
  places.resize(wordAt.size());
  std::vector<quint32> next(from.begin(), from.end() - 1);
  for (quint32 at = 0; at < quint32(wordAt.size()); ++at) places[next[wordAt[at]]++] = at;
}

TopicWords WordsOfTopic(const FullTextTopic& topic, const FullTextOptions& options) {
  const PageText page =
      ExtractPageText(topic.page.isEmpty() && options.decode ? options.decode(topic.pageBytes) : topic.page);
  TopicWords result;
  result.title = (topic.title.isEmpty() ? page.title : topic.title).toLower();
  result.body = page.body.toLower();
  WordNumbers<QStringView> numbers;
  const auto number = [&](QStringView w) {
    bool added = false;
    const int n = numbers.Number(w, &added);
    if (added) result.words.push_back(w);
    return quint32(n);
  };
  // A word of the title is also a word of the text, at the same place.
  std::vector<quint32> wordAt;
  for (QStringView w : FullTextWordViews(result.title)) wordAt.push_back(number(w));
  result.titleCount = quint32(wordAt.size());
  for (QStringView w : FullTextWordViews(result.body)) wordAt.push_back(number(w));
  result.textCount = quint32(wordAt.size());
  const std::span<const quint32> places(wordAt);
  GroupPlaces(places.first(result.titleCount), result.words.size(), result.titleFrom, result.inTitle);
  GroupPlaces(places, result.words.size(), result.textFrom, result.inText);
  return result;
}

// Makes room for more occurrences, a quarter more at a time: the lists of
// all words together are the largest thing the index is made from, and
// doubling would leave up to half of them unused.
void Grow(std::vector<Occurrence>& occurrences, size_t more) {
  const size_t needed = occurrences.size() + more;
  if (needed > occurrences.capacity()) occurrences.reserve(std::max(needed, needed + needed / 4));
}

// The words of the topics, read on the threads while the words of the
// topics read are joined here in topic order, one look-up per word a
// topic has.
Collected CollectWords(const QList<FullTextTopic>& topics, const FullTextOptions& options) {
  std::vector<qsizetype> order(topics.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](qsizetype a, qsizetype b) { return topics[a].topicNumber < topics[b].topicNumber; });
  const int threads =
      options.threads > 0 ? options.threads : int(std::max(1u, std::thread::hardware_concurrency()));
  // Pages differ in size a thousandfold: the words of many are made ahead of
  // the one being joined, so that a long page does not hold the others up.
  orvex::OrderedWork<qsizetype, TopicWords> reading(
      threads, 16 * threads, [&](qsizetype k) { return WordsOfTopic(topics[k], options); });
  for (qsizetype k : order) reading.Add(k);
  Collected collected;
  quint32 textLocation = 0, titleLocation = 0;
  for (size_t k = 0; std::optional<TopicWords> words = reading.Next(); ++k) {
    const quint32 number = topics[order[k]].topicNumber;
    if (k == 0 || number != topics[order[k - 1]].topicNumber)
      textLocation = titleLocation = 0;  // a topic given twice goes on counting
    for (size_t i = 0; i < words->words.size(); ++i) {
      WordOccurrences& w = collected.Of(words->words[i]);
      Grow(w.title, words->titleFrom[i + 1] - words->titleFrom[i]);
      for (quint32 k = words->titleFrom[i]; k < words->titleFrom[i + 1]; ++k)
        w.title.push_back({number, titleLocation + words->inTitle[k]});
      Grow(w.text, words->textFrom[i + 1] - words->textFrom[i]);
      for (quint32 k = words->textFrom[i]; k < words->textFrom[i + 1]; ++k)
        w.text.push_back({number, textLocation + words->inText[k]});
    }
    titleLocation += words->titleCount;
    textLocation += words->textCount;
  }
  return collected;
}

// The stored words in byte order, each once: words that come out the same
// in the code page (cut to the same length) share their occurrences.
std::vector<std::pair<QByteArray, WordOccurrences>> SortedWords(Collected& collected, int codePage) {
  QStringList words;
  words.reserve(collected.ids.size());
  for (int i = 0; i < collected.ids.size(); ++i) words.append(collected.ids[i]);
  const QList<QByteArray> bytes = words.isEmpty() ? QList<QByteArray>() : StoredWords(words, codePage);
  std::vector<std::pair<QByteArray, int>> keyed;
  keyed.reserve(words.size());
  for (qsizetype i = 0; i < words.size() && i < bytes.size(); ++i)
    if (!bytes[i].isEmpty()) keyed.emplace_back(bytes[i], int(i));
  std::sort(keyed.begin(), keyed.end());
  std::vector<std::pair<QByteArray, WordOccurrences>> stored;
  for (size_t i = 0; i < keyed.size();) {
    size_t end = i + 1;
    WordOccurrences merged = std::move(collected.words[keyed[i].second]);
    for (; end < keyed.size() && keyed[end].first == keyed[i].first; ++end) {
      WordOccurrences& more = collected.words[keyed[end].second];
      for (auto [into, from] : {std::pair{&merged.text, &more.text}, std::pair{&merged.title, &more.title}}) {
        into->insert(into->end(), from->begin(), from->end());
        std::sort(into->begin(), into->end());
        into->erase(std::unique(into->begin(), into->end()), into->end());
      }
    }
    stored.emplace_back(keyed[i].first, std::move(merged));
    i = end;
  }
  return stored;
}

// Runs work(from, to, thread) over [0, count) in runs of a few hundred,
// taken in turn by `threads` threads (this one numbered 0): some runs take
// much longer than others (common words have long lists).
void InRuns(size_t count, int threads, const std::function<void(size_t, size_t, size_t)>& work) {
  constexpr size_t kRun = 256;
  std::atomic<size_t> next{0};
  const auto run = [&](size_t thread) {
    for (size_t from; (from = next.fetch_add(kRun)) < count;)
      work(from, std::min(count, from + kRun), thread);
  };
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < size_t(std::max(1, threads)); ++t) helpers.emplace_back(run, t);
  run(0);
  for (std::thread& helper : helpers) helper.join();
}

struct NodeRef {
  QByteArray lastWord;
  quint32 offset;
};

struct Totals {
  quint32 leaves = 0;
  quint32 longestWord = 0;
  quint32 occurrences = 0;
  quint64 occurrenceBytes = 0;
  quint32 wordBytes = 0;
  quint16 lastLeafFree = 0;
};

// Writes the WLCs and leaf nodes of the entries to out; gives the leaves.
std::vector<NodeRef> WriteLeaves(const std::vector<Entry>& entries, const std::array<int, kStreams>& roots,
                                 int threads, QByteArray& out, Totals& totals) {
  std::vector<NodeRef> leaves;
  QByteArray node, wlcs;
  std::vector<std::pair<qsizetype, quint32>> wlcOffsets;  // where in node, offset within wlcs
  QByteArray previous;
  qsizetype previousLeaf = -1;
  auto flush = [&]() {
    const quint32 wlcBase = quint32(out.size());
    out += wlcs;
    for (auto [at, offset] : wlcOffsets) PutU32(node, at, wlcBase + offset);
    const quint32 leafOffset = quint32(out.size());
    if (previousLeaf >= 0) PutU32(out, previousLeaf, leafOffset);
    totals.lastLeafFree = quint16(kFullTextNodeSize - node.size());
    PutU16(node, 6, totals.lastLeafFree);
    node.append(kFullTextNodeSize - node.size(), '\0');
    out += node;
    leaves.push_back({previous, leafOffset});
    previousLeaf = leafOffset;
    node = QByteArray(8, '\0');
    wlcs.clear();
    wlcOffsets.clear();
  };
  // The lists are coded on the threads.
  std::vector<QByteArray> wlc(entries.size());
  std::vector<quint32> topicCounts(entries.size(), 0);
  InRuns(entries.size(), threads, [&](size_t from, size_t to, size_t) {
    for (size_t i = from; i < to; ++i) {
      wlc[i] = EncodeWlc(*entries[i].occurrences, roots);
      ForEachValue(*entries[i].occurrences, [&](Stream s, quint64) { topicCounts[i] += s == kTopicStream; });
    }
  });
  auto entrySize = [&](size_t i, int shared) {
    return 2 + entries[i].word.size() - shared + 1 + VarIntSize(topicCounts[i]) + 6 +
           VarIntSize(wlc[i].size());
  };
  node = QByteArray(8, '\0');
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    int shared = node.size() > 8 ? SharedPrefix(previous, entry.word) : 0;
    // A word's text and title entries stay in one leaf, so that a reader
    // that looks no further than the leaf of the word finds both.
    qsizetype needed = entrySize(i, shared);
    if (i + 1 < entries.size() && entries[i + 1].word == entry.word)
      needed += entrySize(i + 1, int(std::min<qsizetype>(entry.word.size(), 255)));
    if (node.size() + needed > kFullTextNodeSize) {
      flush();
      shared = 0;
    }
    AppendWord(node, entry.word, shared);
    node.append(char(entry.context));
    AppendVarInt(node, topicCounts[i]);
    wlcOffsets.emplace_back(node.size(), quint32(wlcs.size()));
    node.append(6, '\0');
    AppendVarInt(node, quint64(wlc[i].size()));
    wlcs += wlc[i];
    previous = entry.word;

    const quint32 count = quint32(entry.occurrences->size());
    totals.longestWord = std::max(totals.longestWord, quint32(entry.word.size()));
    totals.occurrences += count;
    totals.occurrenceBytes += quint64(count) * quint64(entry.word.size());
    totals.wordBytes += quint32(entry.word.size());
  }
  flush();  // the last leaf, or the one empty leaf of an index without words
  totals.leaves = quint32(leaves.size());
  return leaves;
}

// Writes one level of index nodes over the children; gives its nodes.
std::vector<NodeRef> WriteIndexLevel(const std::vector<NodeRef>& children, QByteArray& out) {
  std::vector<NodeRef> nodes;
  QByteArray node(2, '\0');
  QByteArray previous;
  auto flush = [&] {
    PutU16(node, 0, quint16(kFullTextNodeSize - node.size()));
    node.append(kFullTextNodeSize - node.size(), '\0');
    nodes.push_back({previous, quint32(out.size())});
    out += node;
    node = QByteArray(2, '\0');
  };
  for (const NodeRef& child : children) {
    int shared = node.size() > 2 ? SharedPrefix(previous, child.lastWord) : 0;
    if (node.size() + 2 + child.lastWord.size() - shared + 6 > kFullTextNodeSize) {
      flush();
      shared = 0;
    }
    AppendWord(node, child.lastWord, shared);
    AppendU32(node, child.offset);
    node.append(2, '\0');
    previous = child.lastWord;
  }
  flush();
  return nodes;
}

}  // namespace

QByteArray BuildFullTextIndex(const QList<FullTextTopic>& topics, quint32 lcid, int codePage,
                              const FullTextOptions& options) {
  codePage = EffectiveCodePage(codePage);
  const int threads =
      options.threads > 0 ? options.threads : int(std::max(1u, std::thread::hardware_concurrency()));
  Collected collected = CollectWords(topics, options);
  const auto stored = SortedWords(collected, codePage);

  std::vector<Entry> entries;
  entries.reserve(stored.size() * 2);
  for (const auto& [word, occurrences] : stored) {
    if (!occurrences.text.empty()) entries.push_back({word, 0, &occurrences.text});
    if (!occurrences.title.empty()) entries.push_back({word, 1, &occurrences.title});
  }
  // The widths of the values, counted on the threads, each in counts of its own.
  std::vector<std::array<WidthCounts, kStreams>> threadWidths(static_cast<size_t>(std::max(1, threads)));
  InRuns(entries.size(), threads, [&](size_t from, size_t to, size_t thread) {
    for (size_t i = from; i < to; ++i)
      ForEachValue(*entries[i].occurrences, [&](Stream s, quint64 v) { threadWidths[thread][s].Add(v); });
  });
  std::array<int, kStreams> roots{};
  for (int s = 0; s < kStreams; ++s) {
    WidthCounts widths;
    for (const auto& counts : threadWidths)
      for (size_t w = 0; w < widths.count.size(); ++w) widths.count[w] += counts[s].count[w];
    roots[s] = widths.BestRoot();
  }

  QByteArray out(kFullTextHeaderSize, '\0');
  Totals totals;
  std::vector<NodeRef> level = WriteLeaves(entries, roots, threads, out, totals);
  quint16 depth = 1;
  while (level.size() > 1) {
    level = WriteIndexLevel(level, out);
    ++depth;
  }
  const quint32 root = level.front().offset;

  quint32 lastTopic = 0;
  for (const FullTextTopic& t : topics) lastTopic = std::max(lastTopic, t.topicNumber);
  out[2] = 0x28;
  PutU32(out, 0x04, quint32(topics.size()));
  PutU32(out, 0x08, root);
  PutU32(out, 0x10, totals.leaves);
  PutU32(out, 0x14, root);
  PutU16(out, 0x18, depth);
  PutU32(out, 0x1A, 7);
  for (int s = 0; s < kStreams; ++s) {
    out[0x1E + 2 * s] = 2;  // scale
    out[0x1F + 2 * s] = char(roots[s]);
  }
  PutU32(out, 0x2E, kFullTextNodeSize);
  PutU32(out, 0x36, 1);
  PutU32(out, 0x3A, 5);
  PutU32(out, 0x3E, totals.longestWord);
  PutU32(out, 0x42, totals.occurrences);
  PutU32(out, 0x46, quint32(entries.size()));
  PutU32(out, 0x4A, quint32(totals.occurrenceBytes));
  PutU32(out, 0x4E, quint32(totals.occurrenceBytes >> 32));
  PutU32(out, 0x52, totals.wordBytes);
  PutU32(out, 0x56, totals.lastLeafFree);
  PutU32(out, 0x5E, lastTopic);
  PutU32(out, 0x7A, quint32(codePage));
  PutU32(out, 0x7E, lcid);
  return out;
}
