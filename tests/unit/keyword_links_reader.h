// Reads the keyword links of a compiled help ("/$WWKeywordLinks/BTree" with
// its Map, Data and Property) back the way the viewers' Index tab walks
// them: the header, the chain of listing blocks from the first to the last,
// every entry in them. Every count, link and offset is checked against the
// data; a fault is reported, never followed.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/result.h"

struct KeywordLinkEntry {
  QString path;  // the stored keyword ("parent, child")
  quint16 depth = 0;
  quint32 textStart = 0;  // where the keyword's own text starts in path
  QList<quint32> topics;
  QString seeAlso;
};

struct KeywordLinksContents {
  quint32 codePage = 0;
  quint32 lcid = 0;
  quint32 blockCount = 0;
  QList<KeywordLinkEntry> entries;  // in listing order
};

Result<KeywordLinksContents> ReadKeywordLinks(const QByteArray& btree, const QByteArray& map,
                                              const QByteArray& data, const QByteArray& property);
