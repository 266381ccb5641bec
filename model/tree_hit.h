// Where a point falls on a tree view, in the terms the tree-editing rules use.
#pragma once

enum class TreeHitKind {
  OnItem,        // an item's label or icon
  Below,         // inside the view but on no item (the empty area below the items)
  Indent,        // an item's indentation (not its expand button)
  RightOfLabel,  // on an item's row, to the right of its label
  Elsewhere,     // an expand button, or outside the items' area
};
