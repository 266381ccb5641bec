// The nodes of the window's Contents and Index views as the window tests look
// at them: a node is a persistent index into the view's model, asked for its
// caption, children and record.
#pragma once

#include <QPersistentModelIndex>
#include <QTreeView>
#include <cstddef>
#include <ostream>
#include <vector>

#include "model/contents_model.h"
#include "model/index_model.h"

class TreeItem {
 public:
  TreeItem() = default;
  TreeItem(std::nullptr_t) {}
  TreeItem(const QModelIndex& modelIndex) : index(modelIndex) {}
  TreeItem(const QPersistentModelIndex& modelIndex) : index(modelIndex) {}

  const TreeItem* operator->() const { return this; }
  operator QModelIndex() const { return index; }
  explicit operator bool() const { return index.isValid(); }
  bool operator==(const TreeItem& other) const { return index == other.index; }
  bool operator==(std::nullptr_t) const { return !index.isValid(); }

  QString text(int = 0) const { return index.data().toString(); }
  int childCount() const { return index.isValid() ? index.model()->rowCount(index) : 0; }
  TreeItem child(int row) const {
    return index.isValid() ? TreeItem(index.model()->index(row, 0, index)) : TreeItem();
  }
  TreeItem parent() const { return TreeItem(index.parent()); }

 private:
  QPersistentModelIndex index;
};

inline void PrintTo(const TreeItem& item, std::ostream* out) {
  *out << (item ? '"' + item.text().toStdString() + '"' : std::string("no item"));
}

inline TreeItem Current(const QTreeView* tree) { return tree->currentIndex(); }
inline TreeItem TopLevel(const QTreeView* tree, int row) { return tree->model()->index(row, 0); }
inline int TopLevelCount(const QTreeView* tree) { return tree->model()->rowCount(); }

// The record of a node, or null (no node, a node without record, a node of the other tree).
inline TopicData* ContentsRecord(const TreeItem& item) {
  const QModelIndex index = item;
  const auto* model = dynamic_cast<const ContentsModel*>(index.model());
  return model ? model->RecordAt(index) : nullptr;
}
inline IndexEntryData* IndexRecord(const TreeItem& item) {
  const QModelIndex index = item;
  const auto* model = dynamic_cast<const IndexModel*>(index.model());
  return model ? model->RecordAt(index) : nullptr;
}

// The trees as they would be saved.
inline std::vector<ContentsNode> ContentsForest(const QTreeView* tree) {
  return static_cast<const ContentsModel*>(tree->model())->Forest();
}
inline std::vector<IndexNode> IndexForest(const QTreeView* tree) {
  return static_cast<const IndexModel*>(tree->model())->Forest();
}

// A node put at the end of `parent`'s children (the first level for no parent).
inline TreeItem AddContentsNode(QTreeView* tree, const TreeItem& parent, const QString& caption,
                                std::unique_ptr<TopicData> data) {
  auto* model = static_cast<ContentsModel*>(tree->model());
  return model->Insert(parent, model->rowCount(parent), caption, std::move(data));
}
// A node put among `parent`'s children in the Index's order.
inline TreeItem AddIndexNode(QTreeView* tree, const TreeItem& parent, const QString& caption,
                             std::unique_ptr<IndexEntryData> data) {
  auto* model = static_cast<IndexModel*>(tree->model());
  const TreeItem item = model->Insert(parent, model->rowCount(parent), caption, std::move(data));
  model->sort(0);
  return item;
}
