#include "fulltext_index_reader.h"

#include <QSet>

namespace {

class Bytes {
 public:
  explicit Bytes(const QByteArray& bytes) : data(bytes) {}
  bool Has(qint64 at, qint64 n) const { return at >= 0 && n >= 0 && at + n <= data.size(); }
  quint8 U8(qint64 at) const { return quint8(data[at]); }
  quint16 U16(qint64 at) const { return quint16(U8(at) | U8(at + 1) << 8); }
  quint32 U32(qint64 at) const { return quint32(U16(at)) | quint32(U16(at + 2)) << 16; }
  // Seven bits a byte, low bits first; false when it runs past `end`.
  bool VarInt(qint64& at, qint64 end, quint64& value) const {
    value = 0;
    for (int shift = 0; at < end && shift < 64; shift += 7) {
      const quint8 b = U8(at++);
      value |= quint64(b & 0x7F) << shift;
      if (!(b & 0x80)) return true;
    }
    return false;
  }
  const QByteArray& Data() const { return data; }

 private:
  const QByteArray& data;
};

class BitReader {
 public:
  BitReader(const Bytes& source, qint64 start, qint64 stop) : bytes(source), at(start), end(stop) {}
  bool Bit(bool& b) {
    if (at >= end) return false;
    b = (bytes.U8(at) >> bit) & 1;
    if (bit == 0) {
      bit = 7;
      ++at;
    } else {
      --bit;
    }
    return true;
  }
  bool Root(int scale, int root, quint64& value) {
    if (scale != 2) return false;
    int count = 0;
    bool b = true;
    while (true) {
      if (!Bit(b)) return false;
      if (!b) break;
      if (++count > 64) return false;
    }
    const int bits = root + (count ? count - 1 : 0);
    if (bits > 63) return false;
    value = 0;
    for (int i = 0; i < bits; ++i) {
      if (!Bit(b)) return false;
      value = value << 1 | quint64(b);
    }
    if (count) value |= quint64(1) << bits;
    return true;
  }
  void Align() {
    if (bit != 7) {
      bit = 7;
      ++at;
    }
  }
  qint64 At() const { return at; }

 private:
  const Bytes& bytes;
  qint64 at;
  qint64 end;
  int bit = 7;
};

Failure Bad(const QString& what, qint64 at) {
  return Fail(QStringLiteral("$FIftiMain: %1 at offset %2").arg(what).arg(at));
}

// Reads a front-compressed word at `at`, after `previous` in the node.
bool ReadWord(const Bytes& bytes, qint64& at, qint64 end, QByteArray& word) {
  if (at + 2 > end) return false;
  const int length = bytes.U8(at);
  const int shared = bytes.U8(at + 1);
  if (length < 1 || shared > word.size() || at + 1 + length > end) return false;
  word = word.left(shared) + bytes.Data().mid(at + 2, length - 1);
  at += 1 + length;
  return true;
}

Status ReadWlc(const Bytes& bytes, const FullTextHeader& h, qint64 at, quint64 size, quint64 topics,
               FullTextEntry& entry) {
  if (!bytes.Has(at, qint64(size))) return Bad("word-location list out of the file", at);
  BitReader bits(bytes, at, at + qint64(size));
  quint64 topic = 0;
  for (quint64 t = 0; t < topics; ++t) {
    bits.Align();
    quint64 delta = 0, count = 0;
    if (!bits.Root(h.scales[0], h.roots[0], delta) || !bits.Root(h.scales[1], h.roots[1], count))
      return Bad("broken word-location list", at);
    if (t > 0 && delta == 0) return Bad("topic listed twice in a word-location list", at);
    topic += delta;
    QList<quint32>& locations = entry.locations[quint32(topic)];
    quint64 location = 0;
    for (quint64 k = 0; k < count; ++k) {
      quint64 step = 0;
      if (!bits.Root(h.scales[2], h.roots[2], step)) return Bad("broken location code", at);
      location += step;
      locations.append(quint32(location));
    }
  }
  bits.Align();
  if (bits.At() != at + qint64(size)) return Bad("word-location list of another length", at);
  return {};
}

Status ReadLeaf(const Bytes& bytes, const FullTextHeader& h, quint32 offset, quint32& next,
                QList<FullTextEntry>& entries) {
  next = bytes.U32(offset);
  const quint16 free = bytes.U16(offset + 6);
  if (free > h.nodeSize - 8) return Bad("leaf node with more free space than room", offset);
  const qint64 end = qint64(offset) + h.nodeSize - free;
  qint64 at = offset + 8;
  QByteArray word;
  while (at < end) {
    FullTextEntry entry;
    if (!ReadWord(bytes, at, end, word) || at + 1 > end) return Bad("broken leaf entry", at);
    entry.word = word;
    entry.context = bytes.U8(at++);
    entry.leaf = offset;
    quint64 topics = 0, size = 0;
    if (!bytes.VarInt(at, end, topics) || at + 6 > end) return Bad("broken leaf entry", at);
    const quint32 wlc = bytes.U32(at);
    at += 6;
    if (!bytes.VarInt(at, end, size)) return Bad("broken leaf entry", at);
    if (Status s = ReadWlc(bytes, h, wlc, size, topics, entry); !s) return Failure{s.Message()};
    entries.append(entry);
  }
  return {};
}

}  // namespace

Result<FullTextIndexContents> ReadFullTextIndex(const QByteArray& data) {
  const Bytes bytes(data);
  if (!bytes.Has(0, 0x400)) return Bad("header cut short", data.size());
  FullTextIndexContents index;
  FullTextHeader& h = index.header;
  h.topicCount = bytes.U32(0x04);
  h.leafCount = bytes.U32(0x10);
  h.rootNode = bytes.U32(0x14);
  h.depth = bytes.U16(0x18);
  for (int s = 0; s < 3; ++s) {
    h.scales[s] = bytes.U8(0x1E + 2 * s);
    h.roots[s] = bytes.U8(0x1F + 2 * s);
  }
  h.nodeSize = bytes.U32(0x2E);
  h.longestWord = bytes.U32(0x3E);
  h.occurrences = bytes.U32(0x42);
  h.entryCount = bytes.U32(0x46);
  h.codePage = bytes.U32(0x7A);
  h.lcid = bytes.U32(0x7E);
  if (h.nodeSize < 16 || h.nodeSize > 0x10000) return Bad("node size out of range", 0x2E);
  if (h.depth < 1 || h.depth > 16) return Bad("tree depth out of range", 0x18);

  QSet<quint32> seen;
  QList<quint32> level{h.rootNode};
  for (int d = 1; d < h.depth; ++d) {
    index.levels.append(level);
    QList<quint32> children;
    for (quint32 offset : level) {
      if (!bytes.Has(offset, h.nodeSize) || seen.contains(offset)) return Bad("bad index node", offset);
      seen.insert(offset);
      const quint16 free = bytes.U16(offset);
      if (free > h.nodeSize - 2) return Bad("index node with more free space than room", offset);
      const qint64 end = qint64(offset) + h.nodeSize - free;
      qint64 at = offset + 2;
      QByteArray word;
      QList<FullTextIndexNodeEntry>& nodeEntries = index.indexNodes[offset];
      while (at < end) {
        if (!ReadWord(bytes, at, end, word) || at + 6 > end) return Bad("broken index entry", at);
        nodeEntries.append({word, bytes.U32(at)});
        children.append(bytes.U32(at));
        at += 6;
      }
    }
    level = children;
  }
  index.levels.append(level);

  // The leaves, from the first one down the left edge along their chain.
  quint32 offset = level.isEmpty() ? 0 : level.front();
  if (level.isEmpty()) return Bad("no leaf node", h.rootNode);
  while (true) {
    if (!bytes.Has(offset, h.nodeSize) || seen.contains(offset)) return Bad("bad leaf node", offset);
    seen.insert(offset);
    index.leaves.append(offset);
    quint32 next = 0;
    if (Status s = ReadLeaf(bytes, h, offset, next, index.entries); !s) return Failure{s.Message()};
    if (next == 0) break;
    offset = next;
  }
  return index;
}
