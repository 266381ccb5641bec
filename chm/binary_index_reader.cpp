#include "chm/binary_index_reader.h"

#include "chm/chm_bytes.h"
#include "chm/chm_file.h"
#include "formats/sitemap/sitemap_reader.h"

#include <QSet>

#include <algorithm>

namespace orvex {
namespace {

constexpr qsizetype kHeaderSize = 0x4C;
constexpr qsizetype kBlockSize = 2048;
constexpr qsizetype kBlockHeader = 12;
constexpr quint32 kNone = 0xFFFFFFFFu;

// The page of a topic number: #TOPICS -> #URLTBL -> #URLSTR; empty when any
// step points outside its file.
QString PageOfTopic(const ChmTopicTables& t, quint32 topic, int codePage) {
  const qsizetype at = qsizetype(topic) * 16;
  if (at < 0 || at + 16 > t.topics.size()) return {};
  const quint32 table = ReadLe32(t.topics, at + 8);
  if (qsizetype(table) + 12 > t.urlTable.size()) return {};
  const quint32 string = ReadLe32(t.urlTable, qsizetype(table) + 8);
  if (qsizetype(string) + 8 >= t.urlStrings.size()) return {};
  return ChmTextToString(t.urlStrings.mid(qsizetype(string) + 8, 1024), codePage);
}

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// Whole keyword paths of the index text's tree ("parent, child"), case-folded.
void CollectPaths(const std::vector<IndexNode>& nodes, const QString& above, QSet<QString>& paths) {
  for (const IndexNode& node : nodes) {
    const QString path = above.isEmpty() ? node.caption : above + QStringLiteral(", ") + node.caption;
    paths.insert(path.toCaseFolded());
    CollectPaths(node.children, path, paths);
  }
}

}  // namespace

QList<ChmIndexKeyword> ReadBinaryIndex(const QByteArray& btree, const ChmTopicTables& tables, int codePage) {
  QList<ChmIndexKeyword> keywords;
  if (btree.size() < kHeaderSize || ReadLe16(btree, 0) != 0x293B || ReadLe16(btree, 4) != kBlockSize)
    return keywords;
  const qsizetype blockCount = (btree.size() - kHeaderSize) / kBlockSize;
  // The listing blocks, walked back from the last one.
  QList<qsizetype> blocks;
  QSet<qsizetype> seen;
  for (quint32 block = ReadLe32(btree, 0x1A); block != kNone && qsizetype(block) < blockCount;) {
    if (seen.contains(qsizetype(block))) break;
    seen.insert(qsizetype(block));
    blocks.prepend(qsizetype(block));
    block = ReadLe32(btree, kHeaderSize + qsizetype(block) * kBlockSize + 4);
  }
  for (const qsizetype block : std::as_const(blocks)) {
    const qsizetype start = kHeaderSize + block * kBlockSize;
    const quint16 freeSpace = ReadLe16(btree, start);
    const quint16 count = ReadLe16(btree, start + 2);
    if (freeSpace > kBlockSize - kBlockHeader) return keywords;
    const qsizetype end = start + kBlockSize - freeSpace;
    qsizetype at = start + kBlockHeader;
    for (quint16 i = 0; i < count; ++i) {
      ChmIndexKeyword keyword;
      if (!ReadUtf16z(btree, at, end, keyword.path) || at + 16 > end) return keywords;
      const quint16 seeAlso = ReadLe16(btree, at);
      keyword.depth = ReadLe16(btree, at + 2);
      const quint32 textStart = ReadLe32(btree, at + 4);
      const quint32 pairs = ReadLe32(btree, at + 12);
      at += 16;
      if (seeAlso != 0) {
        if (!ReadUtf16z(btree, at, end, keyword.seeAlso)) return keywords;
      } else {
        if (pairs > quint32((end - at) / 4)) return keywords;
        for (quint32 p = 0; p < pairs; ++p, at += 4) {
          const QString page = PageOfTopic(tables, ReadLe32(btree, at), codePage);
          if (!page.isEmpty() && !keyword.pages.contains(page)) keyword.pages.append(page);
        }
      }
      at += 8;  // 1, and the keyword's record in $WWKeywordLinks/Data
      if (at > end) return keywords;
      keyword.text = keyword.path.mid(qMin<qsizetype>(textStart, keyword.path.size()));
      if (keyword.text.isEmpty()) keyword.text = keyword.path;
      keywords.append(keyword);
    }
  }
  return keywords;
}

QString WithMissingKeywords(const QString& indexText, const QList<ChmIndexKeyword>& keywords, int* added) {
  *added = 0;
  QSet<QString> present;
  CollectPaths(ReadIndexFile(indexText), QString(), present);
  QString items;
  QStringList openPaths;    // the latest keyword added at each depth, down to the current one
  qsizetype openLists = 0;  // lists opened below the top list
  for (const ChmIndexKeyword& keyword : keywords) {
    if (present.contains(keyword.path.toCaseFolded())) continue;
    // Below its parent when that was just added, otherwise at the top with
    // its whole path.
    QString parent = keyword.path.left(qMax<qsizetype>(0, keyword.path.size() - keyword.text.size()));
    while (parent.endsWith(u' ') || parent.endsWith(u',')) parent.chop(1);
    const qsizetype known = keyword.depth > 0 ? openPaths.indexOf(parent) : -1;
    const qsizetype depth = known + 1;
    for (; openLists > depth; --openLists) items += QStringLiteral("</UL>\r\n");
    if (openLists < depth) {
      items += QStringLiteral("<UL>\r\n");
      ++openLists;
    }
    const QString caption = depth > 0 ? keyword.text : keyword.path;
    items += QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"%1\">\r\n")
                 .arg(Escaped(caption));
    if (!keyword.seeAlso.isEmpty())
      items += QStringLiteral("<param name=\"See Also\" value=\"%1\">\r\n").arg(Escaped(keyword.seeAlso));
    for (const QString& page : keyword.pages)
      items += QStringLiteral("<param name=\"Name\" value=\"%1\">\r\n<param name=\"Local\" value=\"%2\">\r\n")
                   .arg(Escaped(caption), Escaped(page));
    items += QStringLiteral("</OBJECT>\r\n");
    openPaths.resize(depth);
    openPaths.append(keyword.path);
    present.insert(keyword.path.toCaseFolded());
    ++*added;
  }
  if (*added == 0) return indexText;
  for (; openLists > 0; --openLists) items += QStringLiteral("</UL>\r\n");
  const qsizetype close = indexText.lastIndexOf(QLatin1String("</UL>"), -1, Qt::CaseInsensitive);
  if (close < 0) return indexText + QStringLiteral("<UL>\r\n") + items + QStringLiteral("</UL>\r\n");
  QString text = indexText;
  text.insert(close, items);
  return text;
}

}  // namespace orvex
