// The keyword links of a compiled help: the Index's keywords as a B-tree of
// 2048-byte blocks ($WWKeywordLinks/BTree) that the viewers' Index tab reads,
// each keyword with the numbers of its pages in #TOPICS, beside the block
// map ($WWKeywordLinks/Map) and the two small files that go with them
// ($WWKeywordLinks/Data, $WWKeywordLinks/Property).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvex {

struct ChmKeyword {
  QString text;           // the keyword as the Index shows it
  int depth = 0;          // 0 for a top-level keyword, 1 for one below it, ...
  QList<quint32> topics;  // its pages, as numbers in #TOPICS
  QString seeAlso;        // a cross-reference: the keyword it refers to (then no topics)
};

struct ChmKeywordLinks {
  QByteArray btree;
  QByteArray data;
  QByteArray map;
  QByteArray property;
  QStringList warnings;  // keywords that could not be stored whole
};

// keywords: in the order of the Index, every keyword after the one it is
// below. A keyword below others is stored as its whole path ("parent,
// child"), with the place where its own text starts.
ChmKeywordLinks BuildKeywordLinks(const QList<ChmKeyword>& keywords, quint32 lcid, int codePage);

}  // namespace orvex
