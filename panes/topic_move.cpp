// Moving topics by dragging them within the Contents tree.
#include "panes/contents_pane.h"

#include <QTreeWidget>

#include "model/help_project.h"
#include "model/topic_rules.h"
#include "panes/tree_hit_test.h"
#include "panes/topic_editing.h"

namespace {

bool IsSelfOrDescendant(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor) {
  for (const QTreeWidgetItem* p = item; p; p = p->parent())
    if (p == ancestor) return true;
  return false;
}

// The expanded items of a subtree: taking it out of the tree forgets them.
std::vector<QTreeWidgetItem*> ExpandedIn(QTreeWidgetItem* root) {
  std::vector<QTreeWidgetItem*> expanded;
  std::vector<QTreeWidgetItem*> work{root};
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    if (item->isExpanded()) expanded.push_back(item);
    for (int c = 0; c < item->childCount(); ++c) work.push_back(item->child(c));
  }
  return expanded;
}

}  // namespace

void ContentsPane::DropOnContents(const QPoint& viewportPos) {
  QTreeWidgetItem* dragged = m_views.contentsTree->currentItem();
  if (!dragged) return;
  const TreeHit hit = HitTestTree(m_views.contentsTree, viewportPos);
  const ContentsDrop drop = ContentsDropFor(hit.Kind);
  if (drop == ContentsDrop::Nothing) return;
  m_project.SetModified();
  QTreeWidgetItem* target = hit.Item;
  if (drop != ContentsDrop::AtEndOfTopLevel && (!target || IsSelfOrDescendant(target, dragged))) return;

  // No page is stored or loaded by the move: the selected topic stays the same.
  const TopicEditing::QuietSelection quiet(m_topics);
  const std::vector<QTreeWidgetItem*> expanded = ExpandedIn(dragged);
  if (QTreeWidgetItem* parent = dragged->parent())
    parent->takeChild(parent->indexOfChild(dragged));
  else
    m_views.contentsTree->takeTopLevelItem(m_views.contentsTree->indexOfTopLevelItem(dragged));
  QTreeWidgetItem* newParent = nullptr;
  switch (drop) {
    case ContentsDrop::AsLastChild:
      newParent = target;
      target->addChild(dragged);
      break;
    case ContentsDrop::AtEndOfTopLevel:
      m_views.contentsTree->addTopLevelItem(dragged);
      break;
    case ContentsDrop::BeforeItem:
      newParent = target->parent();
      if (newParent)
        newParent->insertChild(newParent->indexOfChild(target), dragged);
      else
        m_views.contentsTree->insertTopLevelItem(m_views.contentsTree->indexOfTopLevelItem(target), dragged);
      break;
    case ContentsDrop::Nothing:
      break;
  }
  if (newParent) newParent->setExpanded(true);
  for (QTreeWidgetItem* item : expanded) item->setExpanded(true);
  m_views.contentsTree->setCurrentItem(dragged);
}
