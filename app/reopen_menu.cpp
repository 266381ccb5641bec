// The "Reopen" submenu, rebuilt from the recent-project list whenever "File" opens.
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "app/recent_files.h"

void MainWindow::BuildReopenMenu() {
  reopenMenu->clear();
  const QStringList recent = ReadRecentProjects(SettingsFile());
  for (int i = 0; i < recent.size(); ++i) {
    const QString path = recent[i];
    QAction* item = reopenMenu->addAction(path);
    item->setData(i + 1);
    connect(item, &QAction::triggered, this, [this, path] { OpenByName(path); });
  }
  reopenMenu->menuAction()->setEnabled(!recent.isEmpty());
}

void MainWindow::ConnectProjectCommands() {
  connect(fileMenu, &QMenu::aboutToShow, this, &MainWindow::BuildReopenMenu);
  connect(newAction, &QAction::triggered, this, &MainWindow::NewProject);
  connect(openAction, &QAction::triggered, this, &MainWindow::OpenCommand);
  connect(saveAction, &QAction::triggered, this, &MainWindow::SaveProject);
  connect(newTopicAction, &QAction::triggered, this, &MainWindow::NewTopic);
  connect(newSubtopicAction, &QAction::triggered, this, &MainWindow::NewSubtopic);
}
