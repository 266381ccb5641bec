// The Index tree of an open project: keywords and the entries under them,
// each with the records of the topics it leads to, with the operations of
// index editing. A keyword with several topics is one node: its record is
// its first topic, `MoreTopics` the others; the plain tree it is filled from
// and hands out has one node per topic, as the index file reads and writes. Every level is kept in the Index
// order (`IndexOrder`, the user's language), as the Index shows and saves it. Tree views show it; they do not
// own it.
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

  // Adds the topic `topicCaption` (page `fileName`) under keyword `keyword`,
  // placed by `mode` relative to the node `target`: on a keyword of the same
  // text (letter case ignored) it becomes one more topic of that keyword;
  // another text dropped on a keyword becomes a keyword under it; a keyword
  // that its level already holds gets the topic. The keyword's index;
  // invalid for AttachMode::None.
  QModelIndex AddEntry(AttachMode mode, const QModelIndex& target, const QString& keyword,
                       const QString& fileName, const QString& topicCaption);
  // A keyword among the children of `parent` (the first level for none),
  // made unless one of the same text is there, leading to the topic too.
  QModelIndex AddKeyword(const QModelIndex& parent, const QString& keyword, const QString& fileName,
                         const QString& topicCaption);
  // One more topic for a keyword; nothing when it leads there already.
  // False for no keyword or a topic it already had.
  bool AddTopic(const QModelIndex& keyword, const QString& fileName, const QString& topicCaption);
  // Removes the keyword's topic number `topic` (of TopicsAt); a keyword left
  // without topic or sub-keywords goes (folding as RemoveEntry does).
  bool RemoveTopic(const QModelIndex& keyword, int topic);
  // The topics a node leads to, in order: its own (when it has one) and the
  // further ones.
  std::vector<const IndexEntryData*> TopicsAt(const QModelIndex& node) const;

  // Removes a node with its children; a keyword left with a single entry
  // takes that entry's topic itself.
  void RemoveEntry(const QModelIndex& entry);

  // Removes every entry (node without children) that leads to `fileName`,
  // folding as RemoveEntry does; how many were removed.
  int RemoveEntriesLeadingTo(const QString& fileName);
  // How many entries RemoveEntriesLeadingTo would remove for these pages.
  int CountEntriesLeadingTo(const QStringList& fileNames) const;

  // Replaces the whole tree and puts it in order (equal captions keep the
  // order they were read in); siblings of the same caption without
  // sub-keywords become one keyword with all their topics.
  void Fill(std::vector<IndexNode>&& forest);
  // The tree in its plain form: a keyword with several topics gives one
  // node per topic, each after the one before.
  std::vector<IndexNode> Forest() const;

  // The tooltip lists a keyword's topics.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // A renamed node moves to its place in the order.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  // The model keeps its own order: a view that sorts gets it again.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  // Orders two nodes by caption.
  auto CaptionLess() const {
    return [this](const std::unique_ptr<Node>& a, const std::unique_ptr<Node>& b) {
      return captionOrder.Before(a->caption, b->caption);
    };
  }
  void SortAll();
  // Puts a new keyword among `parent`'s children in its place in the order.
  QModelIndex InsertInOrder(const QModelIndex& parent, const QString& keyword, const QString& fileName,
                            const QString& topicCaption);
  // A keyword left with a single sub-entry takes that entry's topics itself.
  void FoldSingleChild(const QModelIndex& keyword);

  IndexOrder captionOrder;
};
