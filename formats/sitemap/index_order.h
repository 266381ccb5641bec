// The one order of the Index: the Index tree shows its keywords in it and the
// index file is written in it, so a file saved and opened again shows what
// was saved, in the order it was saved.
#pragma once

#include <QCollator>
#include <QLocale>
#include <QString>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"

// Captions in alphabetical order, letter case ignored: the locale's
// collation, or in the C locale (which has none) the captions case-folded,
// compared character by character. Captions equal in this order keep the
// order they stand in.
class IndexOrder {
 public:
  explicit IndexOrder(const QLocale& locale = QLocale());

  bool Before(const QString& a, const QString& b) const;

 private:
  QCollator collator;
  bool plain;  // the C locale
};

// Sorts every sibling list of the tree by caption in the Index order.
void SortIndexNodes(std::vector<IndexNode>& nodes, const QLocale& locale = QLocale());
