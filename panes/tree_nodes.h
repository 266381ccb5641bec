// Tree-widget nodes that own their data records, and the bridge between the
// two trees and the plain forests that the sitemap readers and writers use.
#pragma once

#include <QTreeWidgetItem>
#include <memory>
#include <vector>

#include "model/records.h"

class QTreeWidget;

class ContentsItem : public QTreeWidgetItem {
 public:
  ContentsItem(const QString& caption, std::unique_ptr<TopicData> data);
  std::unique_ptr<TopicData> Data;
};

class IndexItem : public QTreeWidgetItem {
 public:
  IndexItem(const QString& caption, std::unique_ptr<IndexEntryData> data);
  std::unique_ptr<IndexEntryData> Data;
};

// The record of a node, or null (no node, a node without data, a node of the other tree).
TopicData* ContentsRecord(QTreeWidgetItem* item);
IndexEntryData* IndexRecord(QTreeWidgetItem* item);

// Fills a tree from a forest (the forest's records move into the nodes).
void FillContentsTree(QTreeWidget* tree, std::vector<ContentsNode>&& forest);
void FillIndexTree(QTreeWidget* tree, std::vector<IndexNode>&& forest);

// Copies a tree into a forest (records copied; the tree keeps its own).
std::vector<ContentsNode> ContentsForest(const QTreeWidget* tree);
std::vector<IndexNode> IndexForest(const QTreeWidget* tree);

// Frees every record of a tree, in document order, leaving the nodes without data.
void ReleaseTreeData(QTreeWidget* tree);
