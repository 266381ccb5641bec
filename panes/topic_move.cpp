// Moving topics by dragging them within the Contents tree.
#include <QTreeView>

#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/topic_rules.h"
#include "panes/contents_pane.h"
#include "panes/topic_editing.h"
#include "panes/tree_hit_test.h"

void ContentsPane::DropOnContents(const QPoint& viewportPos) {
  QTreeView* tree = m_views.contentsTree;
  const QPersistentModelIndex dragged = tree->currentIndex();
  if (!dragged.isValid()) return;
  const TreeHit hit = HitTestTree(tree, viewportPos);
  const ContentsDrop drop = ContentsDropFor(hit.Kind);
  if (drop == ContentsDrop::Nothing) return;
  m_project.SetModified();
  const QPersistentModelIndex target = hit.Item;
  // No page is stored or loaded by the move: the selected topic stays the
  // same. The moved topics keep their expanded state.
  const TopicEditing::QuietSelection quiet(m_topics);
  if (!m_views.contents->MoveTopic(dragged, drop, target)) return;
  if (drop == ContentsDrop::AsLastChild) tree->expand(target);
  if (drop == ContentsDrop::BeforeItem && target.parent().isValid()) tree->expand(target.parent());
  tree->setCurrentIndex(dragged);
}
