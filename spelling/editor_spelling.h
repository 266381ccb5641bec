// Spelling as you type in the editor: the page's words are checked with the
// open project's dictionary and word list a moment after each change, and
// the misspelt ones are underlined by marks that never reach the saved page.
// The editor's context menu offers suggestions, "Add to dictionary" and
// "Ignore"; Tools > "Spelling dictionary" chooses the dictionary; the status
// bar says which one is used, or plainly that there is none.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QThread>
#include <functional>
#include <memory>

#include "spelling/spelling_words.h"

class EditingControl;
class HelpProject;
class ProjectSpelling;
class QAction;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QWidget;

class EditorSpelling : public QObject {
  Q_OBJECT

 public:
  struct Views {
    QWidget* window = nullptr;  // parent of the messages
    EditingControl* editor = nullptr;
    QMenu* toolsMenu = nullptr;       // gets "Spelling dictionary..."
    QStatusBar* statusBar = nullptr;  // gets the spelling's state
    QStringList dictionaryFolders;    // empty: DictionaryFolders()
  };
  EditorSpelling(const HelpProject& project, Views views, QObject* parent = nullptr);
  // Waits for a dictionary still being opened.
  ~EditorSpelling() override;

  // Puts the spelling items for a misspelt word at globalPos (in the editor)
  // at the top of menu, then calls show; show alone when there is none.
  void PrepareMenu(QMenu* menu, const QPoint& globalPos, std::function<void()> show);
  // The same for the misspelt word at the caret (the menu opened by key).
  void PrepareMenuAtCaret(QMenu* menu, std::function<void()> show);
  // For Check project: the open project's spelling, the editor's own when it
  // is open already.
  SpellingSource Source() const;
  // Tools > "Spelling dictionary...": the project's language or an installed dictionary.
  void ChooseDictionary();

 signals:
  // The marks of the page on show are up to date.
  void Checked();

 private:
  // The open project and its language, which the spelling is opened for.
  QString OpenKey() const;
  // Opens the project's spelling again when the project or its language changed.
  void FollowProject();
  void Open(const QString& projectFile, const QStringList& projectLines);
  void ShowState();
  void CheckPage();
  void ShowMarks(int load, const QVariant& collected);
  void RunScript(const QString& script, const std::function<void(const QVariant&)>& done = {});
  void AddToDictionary(const QString& word);
  // The menu items for the mark at (x, y) in the page's pixels; x < 0: at the caret.
  void PrepareMenuFor(QMenu* menu, QPointF at, std::function<void()> show);

  const HelpProject& project;
  Views views;
  QTimer* delay = nullptr;
  QLabel* state = nullptr;
  QAction* chooseAction = nullptr;
  QList<QAction*> menuItems;  // what the last PrepareMenu put in
  std::shared_ptr<ProjectSpelling> spelling;
  QString openKey;  // the project and language the spelling is (being) opened for
  QPointer<QThread> opening;
  int loads = 0;  // pages loaded into the editor, to tell stale answers
};
