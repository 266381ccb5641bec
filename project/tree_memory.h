// What the two trees showed of a project when it was let go: which items
// were open and which topic was selected. Kept in the settings file, one
// section per project, and shown again when the project opens next time.
#pragma once

#include <QString>

#include "platform/result.h"

class QTreeView;

// Writes the trees' open items and the selected contents item for `projectFile`.
Status RememberTrees(const QString& settingsFile, const QString& projectFile, const QTreeView* contentsTree,
                     const QTreeView* indexTree);

// Opens the items remembered for `projectFile` and selects its topic; false
// when nothing was selected (nothing remembered, or the item is gone).
bool RestoreTrees(const QString& settingsFile, const QString& projectFile, QTreeView* contentsTree,
                  QTreeView* indexTree);
