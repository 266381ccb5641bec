// The "Find and Replace in all topics" pane: a phrase, its replacement and
// the options; every match listed by topic with its context; Replace (the
// match chosen), Replace all and Undo, each replace one step of undo across
// the pages. The page being edited is stored before and shown again after.
#pragma once

#include <QObject>
#include <QList>

#include "alltopics/topic_replace.h"
#include "panes/topic_jump.h"

class ActionRegistry;
class HelpProject;
class QCheckBox;
class QDockWidget;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class TopicEditing;

class TopicReplacePane : public QObject {
  Q_OBJECT
 public:
  TopicReplacePane(const HelpProject& project, TopicEditing& topics, QWidget* window, TopicJumpViews views,
                   QObject* parent = nullptr);
  // Registers "findInTopicsAction" (Edit > Find in all topics..., Ctrl+Shift+F).
  void RegisterCommands(ActionRegistry& registry);

  // The dock that holds the pane, hidden until first shown; the window places it.
  QDockWidget* Dock() const { return dock; }
  // Shows the pane with the keyboard in the phrase box.
  void Show();

  void Find();
  void ReplaceChosen();
  void ReplaceAll();
  void Undo();

 private:
  AllTopicsQuery Query() const;
  QList<TopicPageRef> Topics() const;
  // Stores the page being edited, so that the files hold what it shows.
  bool StoreEditedPage();
  void Replace(const TopicMatch* only);
  // Shows the page being edited again when `step` changed it.
  void ReloadEditedPage(const ReplaceStep& step);
  void OpenMatch(QTreeWidgetItem* item);
  void UpdateButtons();

  const HelpProject& project;
  TopicEditing& topics;
  QWidget* window;
  TopicJumpViews views;
  QDockWidget* dock = nullptr;
  QLineEdit* phrase = nullptr;
  QLineEdit* replacement = nullptr;
  QCheckBox* matchCase = nullptr;
  QCheckBox* wholeWord = nullptr;
  QCheckBox* inSource = nullptr;
  QPushButton* replaceButton = nullptr;
  QPushButton* replaceAllButton = nullptr;
  QPushButton* undoButton = nullptr;
  QLabel* status = nullptr;
  QTreeWidget* list = nullptr;
  QList<TopicMatch> matches;  // as listed
  QList<ReplaceStep> steps;   // the replaces that can be undone, last on top
};
