// The window's project-open state: the project commands come on and the
// project folder becomes current; failures of window commands are shown.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTreeView>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "panes/topic_editing.h"

void MainWindow::EnterProjectFolder(bool created) {
  if (created) SetEnabled({"insertMenu", "editMenu"}, true);
  // The add-ins make topics in the open project, wherever the focus is.
  Command("toolsMenu")->setEnabled(true);
  EnableProjectCommands();
  QDir::setCurrent(project.Folder());
  editor->SetBaseURL(project.Folder());
  if (created) contextLabel->setText("Context=");
  UpdateWindowTitle();
  // The keyboard starts in the Contents tree, where every other pane is a key away.
  treeTabs->setCurrentIndex(0);
  contentsTree->setFocus();
}

void MainWindow::EnableProjectCommands() {
  SetEnabled({"compileAction", "saveAction", "viewHelpFileAction", "viewMessagesAction", "newTopicAction",
              "newSubtopicAction", "deleteTopicAction", "appendLinksAction"},
             true);
  formatToolbar->setEnabled(true);
}

bool MainWindow::ReportFailure(const Status& status) { return ::ReportFailure(this, status); }
