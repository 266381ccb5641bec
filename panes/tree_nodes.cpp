#include "panes/tree_nodes.h"

#include <QTreeWidget>
#include <utility>

ContentsItem::ContentsItem(const QString& caption, std::unique_ptr<TopicData> data)
    : QTreeWidgetItem(QStringList{caption}, UserType + 1), Data(std::move(data)) {
  setFlags(flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled);
}

IndexItem::IndexItem(const QString& caption, std::unique_ptr<IndexEntryData> data)
    : QTreeWidgetItem(QStringList{caption}, UserType + 2), Data(std::move(data)) {
  setFlags(flags() | Qt::ItemIsEditable | Qt::ItemIsDragEnabled);
}

TopicData* ContentsRecord(QTreeWidgetItem* item) {
  if (!item || item->type() != QTreeWidgetItem::UserType + 1) return nullptr;
  return static_cast<ContentsItem*>(item)->Data.get();
}

IndexEntryData* IndexRecord(QTreeWidgetItem* item) {
  if (!item || item->type() != QTreeWidgetItem::UserType + 2) return nullptr;
  return static_cast<IndexItem*>(item)->Data.get();
}

namespace {

// Builds items level by level without recursion, so deep files cannot
// exhaust the stack.
template <typename Node, typename Item>
QList<QTreeWidgetItem*> MakeItems(std::vector<Node>&& forest) {
  QList<QTreeWidgetItem*> top;
  struct Pending {
    std::vector<Node>* nodes;
    QTreeWidgetItem* parent;
  };
  std::vector<Pending> work{{&forest, nullptr}};
  while (!work.empty()) {
    Pending level = work.back();
    work.pop_back();
    QList<QTreeWidgetItem*> items;
    items.reserve(int(level.nodes->size()));
    for (Node& node : *level.nodes) {
      auto* item = new Item(node.Caption, std::move(node.Data));
      items.append(item);
      if (!node.Children.empty()) work.push_back({&node.Children, item});
    }
    if (level.parent)
      level.parent->addChildren(items);
    else
      top = items;
  }
  return top;
}

template <typename Node, typename Record, typename Get>
std::vector<Node> MakeForest(const QTreeWidget* tree, Get record) {
  std::vector<Node> forest;
  struct Pending {
    QTreeWidgetItem* item;
    std::vector<Node>* into;
  };
  std::vector<Pending> work;
  const int top = tree->topLevelItemCount();
  forest.reserve(top);
  for (int i = top - 1; i >= 0; --i) work.push_back({tree->topLevelItem(i), &forest});
  // Every vector is reserved to its final size before it is filled, so the
  // pointers kept in the work list stay valid.
  while (!work.empty()) {
    Pending p = work.back();
    work.pop_back();
    Node node;
    node.Caption = p.item->text(0);
    if (const Record* r = record(p.item)) node.Data = std::make_unique<Record>(*r);
    p.into->push_back(std::move(node));
    Node& added = p.into->back();
    added.Children.reserve(p.item->childCount());
    for (int c = p.item->childCount() - 1; c >= 0; --c) work.push_back({p.item->child(c), &added.Children});
  }
  return forest;
}

}  // namespace

void FillContentsTree(QTreeWidget* tree, std::vector<ContentsNode>&& forest) {
  tree->addTopLevelItems(MakeItems<ContentsNode, ContentsItem>(std::move(forest)));
}

void FillIndexTree(QTreeWidget* tree, std::vector<IndexNode>&& forest) {
  tree->addTopLevelItems(MakeItems<IndexNode, IndexItem>(std::move(forest)));
}

std::vector<ContentsNode> ContentsForest(const QTreeWidget* tree) {
  return MakeForest<ContentsNode, TopicData>(tree, ContentsRecord);
}

std::vector<IndexNode> IndexForest(const QTreeWidget* tree) {
  return MakeForest<IndexNode, IndexEntryData>(tree, IndexRecord);
}

void ReleaseTreeData(QTreeWidget* tree) {
  std::vector<QTreeWidgetItem*> work;
  for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) work.push_back(tree->topLevelItem(i));
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    if (item->type() == QTreeWidgetItem::UserType + 1) static_cast<ContentsItem*>(item)->Data.reset();
    if (item->type() == QTreeWidgetItem::UserType + 2) static_cast<IndexItem*>(item)->Data.reset();
    for (int c = item->childCount() - 1; c >= 0; --c) work.push_back(item->child(c));
  }
}
