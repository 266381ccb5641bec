#include "panes/tree_hit_test.h"

#include <QFontMetrics>
#include <QStyle>
#include <QTreeWidget>

QRect ItemLabelRect(const QTreeWidget* tree, QTreeWidgetItem* item) {
  if (!item) return {};
  // The row's first column, without the indentation.
  const QRect row = tree->visualItemRect(item);
  if (!row.isValid()) return {};
  const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
  int width = QFontMetrics(item->font(0)).horizontalAdvance(item->text(0)) + 2 * margin;
  if (!item->icon(0).isNull()) width += tree->iconSize().width() + margin;
  return QRect(row.left(), row.top(), width, row.height());
}

int ItemLevel(const QTreeWidgetItem* item) {
  int level = 0;
  for (const QTreeWidgetItem* p = item ? item->parent() : nullptr; p; p = p->parent()) ++level;
  return level;
}

TreeHit HitTestTree(const QTreeWidget* tree, const QPoint& pos) {
  if (!tree->viewport()->rect().contains(pos)) return {};
  QTreeWidgetItem* item = tree->itemAt(pos);
  if (!item) return {TreeHitKind::Below, nullptr};
  const QRect label = ItemLabelRect(tree, item);
  if (label.isEmpty()) return {TreeHitKind::Elsewhere, item};
  if (pos.x() >= label.left() && pos.x() <= label.right()) return {TreeHitKind::OnItem, item};
  if (pos.x() > label.right()) return {TreeHitKind::RightOfLabel, item};
  // Left of the label: the slot just before it holds the expand button when
  // the item shows one; the slots further left are indentation.
  const bool decorated = item->parent() || tree->rootIsDecorated();
  const bool hasButton =
      decorated && (item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator);
  if (hasButton && pos.x() >= label.left() - tree->indentation()) return {TreeHitKind::Elsewhere, item};
  return {TreeHitKind::Indent, item};
}
