// The data records of the two trees, and the plain tree form in which the
// sitemap readers and writers exchange them with the widgets.
#pragma once

#include <QString>
#include <memory>
#include <vector>

// Data of a Contents node.
struct TopicData {
  QString FileName;  // page file relative to the project folder; empty for a heading
};

// Data of an Index node.
struct IndexEntryData {
  QString Keyword;       // as read from the index file or as dropped
  QString FileName;      // page the entry leads to
  QString TopicCaption;  // title of that topic; empty on a pure grouping keyword
};

// A Contents node: caption (the topic title), its record (owned), its children.
struct ContentsNode {
  QString Caption;
  std::unique_ptr<TopicData> Data;
  std::vector<ContentsNode> Children;
};

// An Index node: caption (the keyword text), its record (owned), its children.
struct IndexNode {
  QString Caption;
  std::unique_ptr<IndexEntryData> Data;
  std::vector<IndexNode> Children;
};
