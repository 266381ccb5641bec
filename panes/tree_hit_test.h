// Hit testing a tree view the way the tree-editing commands need it: on an
// item's label, in its indentation, right of its label, below the items, or
// elsewhere (an expand button, outside the viewport).
#pragma once

#include <QModelIndex>
#include <QPoint>
#include <QRect>

#include "model/tree_hit.h"

class QTreeView;

struct TreeHit {
  TreeHitKind kind = TreeHitKind::Elsewhere;
  QModelIndex item;  // the item of the row hit; invalid for Below and outside
};

// pos: in the tree's viewport coordinates.
TreeHit HitTestTree(const QTreeView* tree, const QPoint& pos);

// An item's label (icon and caption) in viewport coordinates; empty when the
// item is not shown.
QRect ItemLabelRect(const QTreeView* tree, const QModelIndex& item);

// The depth of an item: 0 on the first level (and for no item).
int ItemLevel(const QModelIndex& item);
