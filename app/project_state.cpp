// The window's project-open state: the project commands come on and the
// project folder becomes current; failures of window commands are shown.
#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "panes/topic_editing.h"

void MainWindow::EnterProjectFolder(bool created) {
  if (created) {
    insertMenu->menuAction()->setEnabled(true);
    toolsMenu->menuAction()->setEnabled(true);
    editMenu->menuAction()->setEnabled(true);
  }
  EnableProjectCommands();
  QDir::setCurrent(project.Folder());
  editor->SetBaseURL(project.Folder());
  if (created) contextLabel->setText("Context=");
}

void MainWindow::EnableProjectCommands() {
  for (QAction* item : {compileAction, saveAction, viewHelpFileAction, viewMessagesAction, newTopicAction,
                        newSubtopicAction, deleteTopicAction, appendLinksAction})
    item->setEnabled(true);
  formatToolbar->setEnabled(true);
}

bool MainWindow::ReportFailure(const Status& status) { return ::ReportFailure(this, status); }
