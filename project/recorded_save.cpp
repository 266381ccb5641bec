#include "project/recorded_save.h"

#include "model/help_project.h"
#include "settings/recent_projects.h"

Status SaveAndRecordRecent(HelpProject& project, std::vector<ContentsNode> contents,
                           std::vector<IndexNode> index, const QString& settingsFile, Status* recentList) {
  if (Status saved = project.Save(std::move(contents), std::move(index)); !saved) return saved;
  const Status recorded = AddToHistory(settingsFile, project.ProjectFile());
  if (recentList) *recentList = recorded;
  return {};
}
