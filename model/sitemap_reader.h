// Reading the contents file (.hhc) and the index file (.hhk) of a project
// into the plain tree form that the window turns into its two trees.
#pragma once

#include "model/records.h"

#include <QLocale>
#include <QString>
#include <vector>

// Lists nested deeper than this are read into the deepest list: the trees
// stay flat enough for every recursive walk over them.
inline constexpr int kMaxSitemapDepth = 256;

// The Contents tree of a contents file's text, in the file's order. An item
// becomes a topic as soon as it has a name and a local; an item with a name
// but no local is a heading (empty `FileName`); an item without a name is
// left out. A text without any "<UL>" gives an empty tree.
std::vector<ContentsNode> ReadContentsFile(const QString& text);

// The Index tree of an index file's text. An item with several name/local
// pairs gives one sibling node per pair, all with the item's keyword as
// caption; an item followed by a nested list becomes a keyword node over the
// nested items. An item without a keyword takes its first name as keyword.
// The tree is sorted by caption as the Index tree shows it (see
// `SortIndexNodes`, using `locale`).
std::vector<IndexNode> ReadIndexFile(const QString& text, const QLocale& locale = QLocale());

// Sorts every sibling list of the tree alphabetically by caption: letter case
// ignored, the locale's collation, equal captions kept in their order.
void SortIndexNodes(std::vector<IndexNode>& nodes, const QLocale& locale = QLocale());
