// The data records of the two trees, and the plain tree form in which the
// sitemap readers and writers exchange them with the Contents and Index models.
#pragma once

#include <QString>
#include <memory>
#include <vector>

// What a parameter of a sitemap item stands for. The writer puts the node's
// current caption, topic caption or file name in place of the values of
// Keyword, KeywordName, Caption and Local parameters; Other parameters
// (ImageNumber, Merge, See Also, URL, Comment, ...) are written as read.
enum class ParamRole { Other, Keyword, KeywordName, Caption, Local };

struct SitemapParam {
  QString name;  // as written ("Local", "ImageNumber", "See Also", ...)
  QString value;
  ParamRole role = ParamRole::Other;
};
using SitemapParams = std::vector<SitemapParam>;

// Data of a Contents node.
struct TopicData {
  QString fileName;      // page file relative to the project folder; empty for a heading
  SitemapParams params;  // every parameter of the item as read, in order; empty for topics made here
};

// Data of an Index node.
struct IndexEntryData {
  QString keyword;       // as read from the index file or as dropped
  QString fileName;      // page the entry leads to
  QString topicCaption;  // title of that topic; empty on a pure grouping keyword
  // This node's share of its item's parameters as read, in order: from the
  // item's start (or the end of the previous node's pair) to the end of its
  // own Name/Local pair; empty for entries made here.
  SitemapParams params;
  bool continuesItem = false;  // a further pair of the item read into the node before it
  // The keyword's further topics, in order. Only the Index tree's model
  // fills it (a keyword with several topics is one node there); the files'
  // plain tree has one node per topic, so readers and writers leave it empty.
  std::vector<IndexEntryData> moreTopics;
};

// A Contents node: caption (the topic title), its record (owned), its children.
struct ContentsNode {
  QString caption;
  std::unique_ptr<TopicData> data;
  std::vector<ContentsNode> children;
};

// An Index node: caption (the keyword text), its record (owned), its children.
struct IndexNode {
  QString caption;
  std::unique_ptr<IndexEntryData> data;
  std::vector<IndexNode> children;
};
