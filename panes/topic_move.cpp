// Moving topics within the Contents tree, by dragging them or with Alt+arrow keys.
#include <QAction>
#include <QTreeView>

#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/topic_rules.h"
#include "panes/contents_pane.h"
#include "panes/topic_editing.h"
#include "panes/tree_hit_test.h"
#include "panes/tree_undo.h"

void ContentsPane::ShiftSelectedTopic(TopicShift shift) {
  QTreeView* tree = views.contentsTree;
  const QPersistentModelIndex topic = tree->currentIndex();
  if (!topic.isValid()) return;
  // As with a drag, the selected topic stays selected: nothing is stored or loaded.
  const TopicEditing::QuietSelection quiet(topics);
  const TreePath from = PathOf(topic);
  if (!views.contents->ShiftTopic(topic, shift)) return;
  project.SetModified();
  if (topic.parent().isValid()) tree->expand(topic.parent());
  tree->setCurrentIndex(topic);
  if (undo) undo->TopicMoved(from, topic);
}

void ContentsPane::DropOnContents(const QPoint& viewportPos) {
  QTreeView* tree = views.contentsTree;
  const QPersistentModelIndex dragged = tree->currentIndex();
  if (!dragged.isValid()) return;
  const TreeHit hit = HitTestTree(tree, viewportPos);
  const ContentsDrop drop = ContentsDropFor(hit.kind);
  if (drop == ContentsDrop::Nothing) return;
  project.SetModified();
  const QPersistentModelIndex target = hit.item;
  // No page is stored or loaded by the move: the selected topic stays the
  // same. The moved topics keep their expanded state.
  const TopicEditing::QuietSelection quiet(topics);
  const TreePath from = PathOf(dragged);
  if (!views.contents->MoveTopic(dragged, drop, target)) return;
  if (drop == ContentsDrop::AsLastChild) tree->expand(target);
  if (drop == ContentsDrop::BeforeItem && target.parent().isValid()) tree->expand(target.parent());
  tree->setCurrentIndex(dragged);
  if (undo) undo->TopicMoved(from, dragged);
}
