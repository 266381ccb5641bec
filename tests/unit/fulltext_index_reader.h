// Reads a full-text search index ("/$FIftiMain") back the way the viewers
// of compiled help files walk it: the header, the index nodes from the
// root down, the chain of leaf nodes and every word-location list. Every
// offset is checked against the data; a fault is reported, never followed.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

#include "platform/result.h"

struct FullTextHeader {
  quint32 topicCount = 0;
  quint32 leafCount = 0;
  quint32 rootNode = 0;
  quint16 depth = 0;
  // Scale and root of the codes for topic numbers, location counts, locations.
  quint8 scales[3] = {};
  quint8 roots[3] = {};
  quint32 nodeSize = 0;
  quint32 longestWord = 0;
  quint32 occurrences = 0;
  quint32 entryCount = 0;
  quint32 codePage = 0;
  quint32 lcid = 0;
};

struct FullTextEntry {
  QByteArray word;  // in the code page
  quint8 context = 0;
  QMap<quint32, QList<quint32>> locations;  // topic number -> word locations in it
  quint32 leaf = 0;                         // offset of the leaf node that holds it
};

struct FullTextIndexNodeEntry {
  QByteArray word;
  quint32 child = 0;
};

struct FullTextIndexContents {
  FullTextHeader header;
  QList<FullTextEntry> entries;  // in leaf order
  QList<quint32> leaves;         // leaf offsets in chain order
  // Index nodes by offset, with their entries; each level's nodes in order.
  QMap<quint32, QList<FullTextIndexNodeEntry>> indexNodes;
  // Offsets level by level: {root}, its children, ...; the last level holds
  // the leaves as the index nodes name them.
  QList<QList<quint32>> levels;
};

Result<FullTextIndexContents> ReadFullTextIndex(const QByteArray& data);
