// The Index tree of an open project: keywords and the entries under them,
// each with the record of the page it leads to, with the operations of index
// editing. Every level is kept in the Index order (`IndexOrder`, the user's
// language), as the Index shows and saves it. Tree views show
// it; they do not own it.
#pragma once

#include <QString>
#include <vector>

#include "formats/sitemap/index_order.h"
#include "model/index_rules.h"
#include "model/record_tree_model.h"
#include "formats/sitemap/sitemap_nodes.h"

class IndexModel : public RecordTreeModel<IndexEntryData, IndexNode> {
 public:
  using RecordTreeModel::RecordTreeModel;

  // Adds an entry for keyword `keyword` leading to `fileName` (the topic
  // `topicCaption`), placed by `mode` relative to the node `target`. A
  // keyword that gets its first child first gets its own topic as an entry.
  // The new entry's index; invalid for AttachMode::None.
  QModelIndex AddEntry(AttachMode mode, const QModelIndex& target, const QString& keyword,
                       const QString& fileName, const QString& topicCaption);

  // Removes a node with its children; a keyword left with a single entry
  // takes that entry's topic itself.
  void RemoveEntry(const QModelIndex& entry);

  // Removes every entry (node without children) that leads to `fileName`,
  // folding as RemoveEntry does; how many were removed.
  int RemoveEntriesLeadingTo(const QString& fileName);
  // How many entries RemoveEntriesLeadingTo would remove for these pages.
  int CountEntriesLeadingTo(const QStringList& fileNames) const;

  // Replaces the whole tree and puts it in order (equal captions keep the
  // order they were read in).
  void Fill(std::vector<IndexNode>&& forest);

  // A renamed node moves to its place in the order.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  // The model keeps its own order: a view that sorts gets it again.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // Orders two nodes by caption.
  auto CaptionLess() const {
    return [this](const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b) {
      return captionOrder.Before(a->Caption, b->Caption);
    };
  }
  void SortAll();

  IndexOrder captionOrder;
};
