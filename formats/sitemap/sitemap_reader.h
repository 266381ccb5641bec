// Reading the contents file (.hhc) and the index file (.hhk) of a project
// into the plain tree form that the window turns into its two trees.
#pragma once

#include "formats/sitemap/sitemap_nodes.h"

#include <QLocale>
#include <QString>
#include <vector>

// Lists nested deeper than this are read into the deepest list: the trees
// stay flat enough for every recursive walk over them.
inline constexpr int kMaxSitemapDepth = 256;

// A sitemap file as read: its tree, the text before its first item (kept
// by the writer) and how many items could not be read.
template <typename Node>
struct SitemapFileRead {
  std::vector<Node> nodes;
  QString header;  // empty when the text has no list
  int unread = 0;  // items or parameters met but not read into the tree
};
using ContentsFileRead = SitemapFileRead<ContentsNode>;
using IndexFileRead = SitemapFileRead<IndexNode>;

// The Contents tree of a contents file's text, in the file's order. An item
// becomes a topic as soon as it has a name and a local; an item with a name
// but no local is a heading (empty `FileName`); an item without a name is
// left out. A text without any "<UL>" gives an empty tree.
// Every parameter of an item is kept in its record (see `TopicData`); an item
// with only a Merge parameter is a node captioned with its Merge value.
ContentsFileRead ReadContents(const QString& text);
std::vector<ContentsNode> ReadContentsFile(const QString& text);

// The Index tree of an index file's text. An item with several name/local
// pairs gives one sibling node per pair, all with the item's keyword as
// caption; an item followed by a nested list becomes a keyword node over the
// nested items. An item without a keyword takes its first name as keyword.
// The tree is sorted by caption as the Index tree shows it (see
// `IndexOrder`, using `locale`).
// An item's parameters are shared out among its nodes (see `IndexEntryData`). An
// item not closed by "</OBJECT>" ends where the next item or list begins.
IndexFileRead ReadIndex(const QString& text, const QLocale& locale = QLocale());
std::vector<IndexNode> ReadIndexFile(const QString& text, const QLocale& locale = QLocale());
