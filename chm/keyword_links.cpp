#include "chm/keyword_links.h"

#include "chm/chm_bytes.h"

#include <algorithm>

namespace orvex {
namespace {

constexpr int kBlockSize = 2048;
constexpr int kHeaderSize = 0x4C;
constexpr int kBlockHeaderSize = 12;
constexpr int kBlockRoom = kBlockSize - kBlockHeaderSize;
constexpr int kEntryFields = 16;  // see-also flag, depth, text start, 0, topic count
constexpr int kEntryTail = 8;     // 1, and where the entry's record starts in Data
constexpr int kDataRecordSize = 13;
constexpr int kMaxKeywordChars = 400;  // keeps any keyword with one topic inside a block
constexpr quint16 kSeeAlsoFlag = 2;
constexpr quint32 kNone = 0xFFFFFFFFu;

QByteArray Utf16z(const QString& text) {
  QByteArray out;
  out.reserve((text.size() + 1) * 2);
  for (QChar c : text) AppendLe16(out, c.unicode());
  AppendLe16(out, 0);
  return out;
}

// The text as valid UTF-16: a surrogate without its partner (a byte its
// code page does not define stands for itself that way) becomes U+FFFD.
QString ValidUtf16(const QString& text, bool* changed) {
  QString out = text;
  for (qsizetype i = 0; i < out.size(); ++i) {
    const QChar c = out.at(i);
    if (c.isHighSurrogate() && i + 1 < out.size() && out.at(i + 1).isLowSurrogate()) {
      ++i;
      continue;
    }
    if (c.isSurrogate()) {
      out[i] = QChar::ReplacementCharacter;
      *changed = true;
    }
  }
  return out;
}

QByteArray Header(quint32 lastBlock, quint32 blockCount, quint32 keywordCount, int codePage, quint32 lcid) {
  QByteArray out;
  AppendLe16(out, 0x293B);
  AppendLe16(out, 0x0402);
  AppendLe16(out, kBlockSize);
  out.append(QByteArray("X44").leftJustified(16, '\0'));  // the record format
  AppendLe32(out, 0);
  AppendLe32(out, lastBlock);
  AppendLe32(out, kNone);  // no index blocks: the listing blocks are the whole tree
  AppendLe32(out, kNone);
  AppendLe32(out, blockCount);
  AppendLe16(out, 1);  // depth of the tree
  AppendLe32(out, keywordCount);
  AppendLe32(out, quint32(codePage));
  AppendLe32(out, lcid);
  AppendLe32(out, 1);  // part of a compiled help, not of a collection
  AppendLe32(out, 10031);
  out.append(kHeaderSize - out.size(), '\0');
  return out;
}

// One keyword's entry in a listing block: what fits of it.
QByteArray Entry(const ChmKeyword& keyword, const QString& path, qsizetype textStart, quint32 number,
                 QStringList& warnings) {
  QByteArray out = Utf16z(path);
  AppendLe16(out, keyword.seeAlso.isEmpty() ? 0 : kSeeAlsoFlag);
  AppendLe16(out, quint16(keyword.depth));
  AppendLe32(out, quint32(textStart));
  AppendLe32(out, 0);
  if (!keyword.seeAlso.isEmpty()) {
    AppendLe32(out, 1);
    out.append(Utf16z(keyword.seeAlso.left(kMaxKeywordChars)));
  } else {
    const qsizetype room = (kBlockRoom - out.size() - 4 - kEntryTail) / 4;
    const qsizetype kept = std::min(room, keyword.topics.size());
    if (kept < keyword.topics.size())
      warnings.append(
          QStringLiteral("the keyword \"%1\" leads to %2 topics; the compiled index keeps the first %3")
              .arg(path)
              .arg(keyword.topics.size())
              .arg(kept));
    AppendLe32(out, quint32(kept));
    for (qsizetype i = 0; i < kept; ++i) AppendLe32(out, keyword.topics.at(i));
  }
  AppendLe32(out, 1);
  AppendLe32(out, number * kDataRecordSize);
  return out;
}

struct Block {
  QByteArray entries;
  quint16 count = 0;
  quint32 firstKeyword = 0;
};

}  // namespace

ChmKeywordLinks BuildKeywordLinks(const QList<ChmKeyword>& keywords, quint32 lcid, int codePage) {
  ChmKeywordLinks links;
  QList<Block> blocks;
  QStringList path;  // the keywords above the current one, by depth
  for (qsizetype i = 0; i < keywords.size(); ++i) {
    ChmKeyword keyword = keywords.at(i);
    bool replaced = false;
    keyword.text = ValidUtf16(keyword.text, &replaced);
    keyword.seeAlso = ValidUtf16(keyword.seeAlso, &replaced);
    if (replaced)
      links.warnings.append(
          QStringLiteral(
              "the keyword \"%1\" has bytes its code page does not define; they are stored as U+FFFD")
              .arg(keyword.text));
    const int depth = std::clamp(keyword.depth, 0, int(path.size()));
    path.resize(depth);
    QString text = keyword.text.left(kMaxKeywordChars);
    if (text.size() < keyword.text.size())
      links.warnings.append(QStringLiteral("the keyword \"%1...\" is longer than %2 characters; it is cut")
                                .arg(text)
                                .arg(kMaxKeywordChars));
    path.append(text);
    const QString whole = path.join(QStringLiteral(", "));
    ChmKeyword stored = keyword;
    stored.depth = depth;
    const QByteArray entry = Entry(stored, whole, whole.size() - text.size(), quint32(i), links.warnings);
    if (blocks.isEmpty() || blocks.last().entries.size() + entry.size() > kBlockRoom)
      blocks.append(Block{{}, 0, quint32(i)});
    blocks.last().entries.append(entry);
    ++blocks.last().count;
  }

  const quint32 blockCount = quint32(blocks.size());
  links.btree = Header(blockCount ? blockCount - 1 : 0, blockCount, quint32(keywords.size()), codePage, lcid);
  AppendLe16(links.map, quint16(blocks.size()));
  for (qsizetype b = 0; b < blocks.size(); ++b) {
    const Block& block = blocks.at(b);
    AppendLe16(links.btree, quint16(kBlockRoom - block.entries.size()));
    AppendLe16(links.btree, block.count);
    AppendLe32(links.btree, b == 0 ? kNone : quint32(b - 1));
    AppendLe32(links.btree, b + 1 == blocks.size() ? kNone : quint32(b + 1));
    links.btree.append(block.entries);
    links.btree.append(kBlockRoom - block.entries.size(), '\0');
    AppendLe32(links.map, block.firstKeyword);
    AppendLe16(links.map, quint16(b));
  }
  // One record a keyword, where its entry points; their content is not
  // described anywhere public, and the viewers find the pages in the entries.
  links.data = QByteArray(keywords.size() * kDataRecordSize, '\0');
  AppendLe32(links.property, 2);
  links.property.append(28, '\0');
  return links;
}

}  // namespace orvex
