// The project commands' wiring: "New", "Open", "Save", the "Reopen" menu
// (rebuilt whenever "File" opens), "New topic" and "New subtopic".
#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTreeWidget>

#include "app/main_window.h"
#include "app/recent_files.h"
#include "project/project_commands.h"

void MainWindow::ConnectProjectCommands() {
  projectCommands =
      new ProjectCommands(project, {this, contentsTree, indexTree, editor, sourceView, contextLabel},
                          {[this] { return PageHasUnsavedEdits(); },
                           [this] { return StoreSelectedTopic(contentsTree->currentItem(), true); },
                           [this](bool created) { EnterProjectFolder(created); }},
                          SettingsFilePath(QCoreApplication::applicationFilePath()), this);
  connect(fileMenu, &QMenu::aboutToShow, this, [this] { projectCommands->FillReopenMenu(reopenMenu); });
  connect(newAction, &QAction::triggered, projectCommands, &ProjectCommands::New);
  connect(openAction, &QAction::triggered, projectCommands, &ProjectCommands::Open);
  connect(saveAction, &QAction::triggered, projectCommands, &ProjectCommands::Save);
  connect(newTopicAction, &QAction::triggered, this, &MainWindow::NewTopic);
  connect(newSubtopicAction, &QAction::triggered, this, &MainWindow::NewSubtopic);
}
