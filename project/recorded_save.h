// Saving a project as the program's commands do (Save, New, orvex --build):
// the project's files, and then its place at the top of the program's
// recent-project list. The list is the program's, not the project's: the
// model's save never touches it.
#pragma once

#include <QString>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"

class HelpProject;

// Saves the project (see HelpProject::Save); only when every file was
// written is the project put at the top of the recent list in
// `settingsFile`. A list that cannot be written does not undo the save: its
// failure goes to `recentList` (when given) for the caller to show as a
// warning.
Status SaveAndRecordRecent(HelpProject& project, std::vector<ContentsNode> contents,
                           std::vector<IndexNode> index, const QString& settingsFile,
                           Status* recentList = nullptr);
