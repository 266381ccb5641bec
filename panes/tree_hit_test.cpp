#include "panes/tree_hit_test.h"

#include <QFontMetrics>
#include <QIcon>
#include <QStyle>
#include <QTreeView>

QRect ItemLabelRect(const QTreeView* tree, const QModelIndex& item) {
  if (!item.isValid()) return {};
  // The row's first column, without the indentation.
  const QRect row = tree->visualRect(item);
  if (!row.isValid()) return {};
  const int margin = tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1;
  const QFont font = item.data(Qt::FontRole).value<QFont>();
  int width = QFontMetrics(font).horizontalAdvance(item.data(Qt::DisplayRole).toString()) + 2 * margin;
  if (!item.data(Qt::DecorationRole).value<QIcon>().isNull()) width += tree->iconSize().width() + margin;
  return QRect(row.left(), row.top(), width, row.height());
}

int ItemLevel(const QModelIndex& item) {
  int level = 0;
  for (QModelIndex p = item.parent(); p.isValid(); p = p.parent()) ++level;
  return level;
}

TreeHit HitTestTree(const QTreeView* tree, const QPoint& pos) {
  if (!tree->viewport()->rect().contains(pos)) return {};
  const QModelIndex item = tree->indexAt(pos);
  if (!item.isValid()) return {TreeHitKind::Below, {}};
  const QRect label = ItemLabelRect(tree, item);
  if (label.isEmpty()) return {TreeHitKind::Elsewhere, item};
  if (pos.x() >= label.left() && pos.x() <= label.right()) return {TreeHitKind::OnItem, item};
  if (pos.x() > label.right()) return {TreeHitKind::RightOfLabel, item};
  // Left of the label: the slot just before it holds the expand button when
  // the item shows one; the slots further left are indentation.
  const bool decorated = item.parent().isValid() || tree->rootIsDecorated();
  const bool hasButton = decorated && item.model()->rowCount(item) > 0;
  if (hasButton && pos.x() >= label.left() - tree->indentation()) return {TreeHitKind::Elsewhere, item};
  return {TreeHitKind::Indent, item};
}
