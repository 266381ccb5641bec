// Hit testing a tree widget the way the tree-editing commands need it: on an
// item's label, in its indentation, right of its label, below the items, or
// elsewhere (an expand button, outside the viewport).
#pragma once

#include <QPoint>
#include <QRect>

#include "model/tree_hit.h"

class QTreeWidget;
class QTreeWidgetItem;

struct TreeHit {
  TreeHitKind Kind = TreeHitKind::Elsewhere;
  QTreeWidgetItem* Item = nullptr;  // the item of the row hit; null for Below and outside
};

// pos: in the tree's viewport coordinates.
TreeHit HitTestTree(const QTreeWidget* tree, const QPoint& pos);

// An item's label (icon and caption) in viewport coordinates; empty when the
// item is not shown.
QRect ItemLabelRect(const QTreeWidget* tree, QTreeWidgetItem* item);

// The depth of an item: 0 on the first level.
int ItemLevel(const QTreeWidgetItem* item);
