// The Problems pane: "Check project" runs the project's check on a thread of
// its own and lists what it found, grouped by kind, each line naming its
// topic (title and page) or its file. Double-click or Enter on a line opens
// its topic in the Source view at the line.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QThread>
#include <functional>
#include <vector>

#include "checks/project_check.h"

class ActionRegistry;
class ContentsModel;
class HelpProject;
class IndexModel;
class QDockWidget;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

class ProblemsPane : public QObject {
  Q_OBJECT

 public:
  struct Views {
    QWidget* window = nullptr;  // the dock's parent
    QTreeView* contentsTree = nullptr;
    const ContentsModel* contents = nullptr;  // shown by contentsTree
    const IndexModel* index = nullptr;
    QTabWidget* editorTabs = nullptr;  // Editor / Source
    QPlainTextEdit* sourceView = nullptr;
  };
  ProblemsPane(const HelpProject& project, Views views, QObject* parent = nullptr);
  // Waits for a check still running: it reads the project folder.
  ~ProblemsPane() override;
  // Registers "checkProjectAction" (Tools > Check project).
  void RegisterCommands(ActionRegistry& registry);

  // The dock that holds the pane, hidden until the first check; the window places it.
  QDockWidget* Dock() const { return dock; }

  // Shows the pane and checks the open project, its trees as they stand and
  // its pages as saved, off the window's thread; Checked follows. Does
  // nothing while a check runs or no project is open.
  void CheckProject();
  bool IsChecking() const { return checking; }
  // Where each check gets the spelling to check the pages' words with.
  void SetSpelling(std::function<SpellingSource()> source) { spelling = std::move(source); }

 signals:
  // The check's result is on show.
  void Checked(int problems);

 private:
  void ShowProblems(const std::vector<CheckProblem>& problems, qint64 milliseconds);
  // Opens the topic of a problem's line at its line in the Source view.
  void OpenProblem(QTreeWidgetItem* item);

  const HelpProject& project;
  Views views;
  QDockWidget* dock = nullptr;
  QLabel* summary = nullptr;
  QTreeWidget* list = nullptr;
  bool checking = false;
  QPointer<QThread> worker;  // the thread of the check running, if any
  std::function<SpellingSource()> spelling;
};
