// The project commands' wiring: "New", "Open", "Save" and the "Reopen" menu
// (rebuilt whenever "File" opens, see ConnectMenus).
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "settings/recent_projects.h"
#include "platform/settings_file.h"
#include "panes/topic_editing.h"
#include "project/project_commands.h"
#include "widgets/action_registry.h"

void MainWindow::ConnectProjectCommands() {
  projectCommands = new ProjectCommands(
      project, {this, contentsTree, contentsModel, indexModel, editor, sourceView, contextLabel, indexTree},
      {[this] { return topicEditing->PageChangedSinceStored(); },
       [this] { return topicEditing->StoreCurrentTopic(true); },
       [this](bool created) { EnterProjectFolder(created); }},
      UserSettingsFile(), this);
  projectCommands->RegisterCommands(*registry);
}
