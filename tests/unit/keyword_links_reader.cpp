#include "keyword_links_reader.h"

#include "chm/chm_bytes.h"

using namespace orvex;

namespace {

constexpr qsizetype kHeaderSize = 0x4C;
constexpr qsizetype kBlockSize = 2048;
constexpr quint32 kNone = 0xFFFFFFFFu;

}  // namespace

Result<KeywordLinksContents> ReadKeywordLinks(const QByteArray& btree, const QByteArray& map,
                                              const QByteArray& data, const QByteArray& property) {
  if (btree.size() < kHeaderSize || ReadLe16(btree, 0) != 0x293B)
    return Fail(QStringLiteral("the B-tree has no header"));
  if (ReadLe16(btree, 4) != kBlockSize || btree.mid(6, 16) != QByteArray("X44").leftJustified(16, '\0'))
    return Fail(QStringLiteral("the B-tree's block size or record format is not the one viewers read"));
  KeywordLinksContents contents;
  const quint32 lastBlock = ReadLe32(btree, 0x1A);
  const quint32 root = ReadLe32(btree, 0x1E);
  contents.blockCount = ReadLe32(btree, 0x26);
  const quint16 depth = ReadLe16(btree, 0x2A);
  const quint32 keywordCount = ReadLe32(btree, 0x2C);
  contents.codePage = ReadLe32(btree, 0x30);
  contents.lcid = ReadLe32(btree, 0x34);
  if (btree.size() != kHeaderSize + qsizetype(contents.blockCount) * kBlockSize)
    return Fail(
        QStringLiteral("the B-tree holds %1 bytes for %2 blocks").arg(btree.size()).arg(contents.blockCount));
  if (depth != 1 || root != kNone)
    return Fail(QStringLiteral("a tree of depth %1 with root %2: index blocks are not read here")
                    .arg(depth)
                    .arg(root));
  if (contents.blockCount == 0 ? keywordCount != 0 : lastBlock != contents.blockCount - 1)
    return Fail(QStringLiteral("the last listing block %1 is not the last of %2")
                    .arg(lastBlock)
                    .arg(contents.blockCount));
  if (map.size() != 2 + 6 * qsizetype(contents.blockCount) || ReadLe16(map, 0) != contents.blockCount)
    return Fail(QStringLiteral("the map does not have one record a block"));
  if (property.size() != 32 || ReadLe32(property, 0) != 2)
    return Fail(QStringLiteral("the property file is damaged"));

  quint32 previous = kNone;
  for (quint32 block = 0; block != kNone && contents.blockCount > 0;) {
    if (block >= contents.blockCount) return Fail(QStringLiteral("a block links to block %1").arg(block));
    const qsizetype start = kHeaderSize + qsizetype(block) * kBlockSize;
    const quint16 freeSpace = ReadLe16(btree, start);
    const quint16 count = ReadLe16(btree, start + 2);
    if (ReadLe32(btree, start + 4) != previous)
      return Fail(QStringLiteral("block %1 does not link back to block %2").arg(block).arg(previous));
    const quint32 next = ReadLe32(btree, start + 8);
    if (ReadLe32(map, 2 + 6 * block) != quint32(contents.entries.size()) ||
        ReadLe16(map, 6 + 6 * block) != block)
      return Fail(QStringLiteral("the map's record of block %1 is wrong").arg(block));
    const qsizetype end = start + kBlockSize - freeSpace;
    if (freeSpace > kBlockSize - 12)
      return Fail(QStringLiteral("block %1 claims %2 free bytes").arg(block).arg(freeSpace));
    qsizetype at = start + 12;
    for (quint16 i = 0; i < count; ++i) {
      KeywordLinkEntry entry;
      if (!ReadUtf16z(btree, at, end, entry.path) || at + 16 > end)
        return Fail(QStringLiteral("entry %1 of block %2 runs past its block").arg(i).arg(block));
      const quint16 seeAlso = ReadLe16(btree, at);
      entry.depth = ReadLe16(btree, at + 2);
      entry.textStart = ReadLe32(btree, at + 4);
      const quint32 pairs = ReadLe32(btree, at + 12);
      at += 16;
      if (seeAlso != 0 && seeAlso != 2)
        return Fail(QStringLiteral("entry %1 has see-also flag %2").arg(entry.path).arg(seeAlso));
      if (seeAlso) {
        if (!ReadUtf16z(btree, at, end, entry.seeAlso))
          return Fail(QStringLiteral("the see-also of %1 runs past its block").arg(entry.path));
      } else {
        if (at + 4 * qsizetype(pairs) > end)
          return Fail(QStringLiteral("the topics of %1 run past its block").arg(entry.path));
        for (quint32 p = 0; p < pairs; ++p, at += 4) entry.topics.append(ReadLe32(btree, at));
      }
      if (at + 8 > end || ReadLe32(btree, at) != 1)
        return Fail(QStringLiteral("the entry %1 ends wrong").arg(entry.path));
      const quint32 record = ReadLe32(btree, at + 4);
      at += 8;
      if (record != 13 * quint32(contents.entries.size()) || qsizetype(record) + 13 > data.size())
        return Fail(QStringLiteral("the entry %1 points to %2 in the data file").arg(entry.path).arg(record));
      if (entry.textStart > quint32(entry.path.size()))
        return Fail(
            QStringLiteral("the entry %1 starts its own text at %2").arg(entry.path).arg(entry.textStart));
      contents.entries.append(entry);
    }
    if (at != end)
      return Fail(QStringLiteral("block %1 has %2 bytes after its entries").arg(block).arg(end - at));
    previous = block;
    block = next;
    if (block == kNone && previous != lastBlock)
      return Fail(QStringLiteral("the chain ends before the last block"));
  }
  if (quint32(contents.entries.size()) != keywordCount)
    return Fail(QStringLiteral("%1 keywords listed, the header says %2")
                    .arg(contents.entries.size())
                    .arg(keywordCount));
  return contents;
}
