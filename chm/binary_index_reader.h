// Reading the binary index of a compiled file ($WWKeywordLinks/BTree, its
// topics through #TOPICS, #URLTBL and #URLSTR) and putting the keywords that
// only it holds back into the index file's text.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace orvex {

struct ChmIndexKeyword {
  QString path;       // the whole keyword: "parent, child" below another
  QString text;       // its own text ("child")
  int depth = 0;      // 0 at the top
  QStringList pages;  // the pages of its topics ("sub/page.htm")
  QString seeAlso;    // a cross-reference instead of pages
};

struct ChmTopicTables {
  QByteArray topics;      // #TOPICS
  QByteArray urlTable;    // #URLTBL
  QByteArray urlStrings;  // #URLSTR
};

// The keywords of the B-tree's listing blocks, walked from the last one
// back along their links (each block once), in the order of the index.
// A block or entry that does not hold together ends the walk; the topics
// whose pages cannot be found are left out.
QList<ChmIndexKeyword> ReadBinaryIndex(const QByteArray& btree, const ChmTopicTables& tables, int codePage);

// The index file's text with the keywords it lacks (compared without case,
// by their whole path) added at the end of its top list: a keyword below
// another under it when that was added too, otherwise at the top with its
// whole path. added: how many were added. A text without a list gets one.
QString WithMissingKeywords(const QString& indexText, const QList<ChmIndexKeyword>& keywords, int* added);

}  // namespace orvex
