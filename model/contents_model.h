// The Contents tree of an open project: topics (a caption and the record of
// its page) in the order the help file shows them, with the operations of
// contents editing. Tree views show it; they do not own it.
#pragma once

#include <QStringList>
#include <vector>

#include "model/record_tree_model.h"
#include "formats/sitemap/sitemap_nodes.h"
#include "model/topic_rules.h"

class ContentsModel : public RecordTreeModel<TopicData, ContentsNode> {
 public:
  using RecordTreeModel::RecordTreeModel;

  // A new topic with page `fileName`: right after `selected`,
  // or as its last child when asSubtopic; on the first level with nothing
  // selected. Its index.
  QModelIndex CreateTopic(const QModelIndex& selected, const QString& title, const QString& fileName,
                          bool asSubtopic = false);

  // Deletes a topic with its subtopics. Answers the pages that no remaining
  // topic shows, each once, in document order: the caller deletes their
  // files, index entries and context lines.
  QStringList DeleteTopic(const QModelIndex& topic);
  // The pages DeleteTopic would answer for the topic, without deleting it.
  QStringList PagesGoingWith(const QModelIndex& topic) const;

  // Moves a dragged topic as a drop on `target` does; false when nothing
  // moved (no drop, no target, or a target in the dragged topic's subtree).
  bool MoveTopic(const QModelIndex& dragged, ContentsDrop drop, const QModelIndex& target);
  // Moves a topic one step with its subtopics; false at the tree's edge.
  bool ShiftTopic(const QModelIndex& topic, TopicShift shift);

  // The links "Append links to subtopics" inserts: the topic's children.
  std::vector<SubtopicLink> SubtopicLinks(const QModelIndex& topic) const;

  Qt::ItemFlags flags(const QModelIndex& index) const override;
};
