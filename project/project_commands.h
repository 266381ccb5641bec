// The project commands of the window: "New", "Open", the "Reopen" menu (and
// the command line's project), "Save", and the question "Save help project?"
// asked before a project is let go. The project itself is the HelpProject
// model; the window's parts that show it are handed in.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class ActionRegistry;
class ContentsModel;
class EditingControl;
class HelpProject;
class IndexModel;
class NewProjectDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTreeView;
class QWidget;
struct ProjectTrees;

class ProjectCommands : public QObject {
  Q_OBJECT
 public:
  // The window's parts that show the project.
  struct Views {
    QWidget* window = nullptr;  // parent of the dialogs and message boxes
    QTreeView* contentsTree = nullptr;
    ContentsModel* contents = nullptr;  // the project's trees, shown by the views
    IndexModel* index = nullptr;
    EditingControl* editor = nullptr;
    QPlainTextEdit* sourceView = nullptr;
    QLabel* contextLabel = nullptr;
    QTreeView* indexTree = nullptr;
  };
  // What the commands ask of the topic editing.
  struct TopicHooks {
    // The page on show was changed since it was loaded or last stored.
    std::function<bool()> pageChangedSinceStored;
    // Stores the selected topic's page if it was changed (Save's first step);
    // false when it could not be written (the failure has been shown).
    std::function<bool()> storeSelectedPage;
    // A project was opened or created (`created`): the project commands
    // come on, the project folder becomes current.
    std::function<void(bool created)> projectEntered;
  };

  ProjectCommands(HelpProject& project, Views views, TopicHooks hooks, QString settingsFile,
                  QObject* parent = nullptr);

  // The project the commands work on.
  HelpProject& Project() { return project; }

  // Registers "newAction", "openAction", the "reopenMenu" and "saveAction".
  void RegisterCommands(ActionRegistry& registry);

  // The new-project dialog is made after the window.
  void SetNewProjectDialog(NewProjectDialog* dialog) { newProjectDialog = dialog; }
  // The settings file with the recent-project list; tests point it elsewhere.
  const QString& SettingsFile() const { return settingsFile; }
  void SetSettingsFile(const QString& path) { settingsFile = path; }

  // The commands go on once the editor has taken what was typed into it
  // (EditingControl::Settle): at once when it has nothing outstanding.
  void New();
  void Open();
  // Open-by-name: the command line (and a "Reopen" entry that is there).
  void OpenByName(const QString& path);
  // A "Reopen" entry: a project that is gone may leave the list.
  void Reopen(const QString& path);
  void Save();
  // Save's body, where the editor has settled.
  void SaveSettled();
  // Fills the "Reopen" menu from the recent-project list.
  void FillReopenMenu(QMenu* reopenMenu);
  // Keeps which tree items are open and the selected topic of the open
  // project in the settings file, to show them again when it next opens.
  void RememberTreeState() const;

  // Marks the project modified when the page was changed since it was stored, then asks
  // "Save help project?" when it is modified; NoButton when nothing was asked.
  // These two read the editor as it last settled.
  QMessageBox::StandardButton AskSaveHelpProject();
  // Asks as above and saves on Yes; false on Cancel.
  bool AskToSaveProject();

 private:
  // New's and Open's bodies, once the editor has settled.
  void NewProject();
  void OpenChosen();
  // Open's and Open-by-name's common body.
  void OpenProject(const QString& path);
  // Lets the shown project go: empty editor, source view and trees.
  void ClearViews();
  // Shows a project just opened or created.
  void ShowTrees(ProjectTrees&& trees);
  void ShowFailure(const QString& message) const;
  // Tells, without waiting for an answer, what opening could not read.
  void ShowOpenProblems(const QStringList& problems);

  HelpProject& project;
  Views views;
  TopicHooks hooks;
  QString settingsFile;
  NewProjectDialog* newProjectDialog = nullptr;
};
