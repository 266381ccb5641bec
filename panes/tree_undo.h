// Undo and redo for the Contents and Index trees: one stack of commands,
// each made by the pane that changed a tree, after the change. A command
// keeps what it needs to put the change back exactly: the topic's subtree
// and place, the project's [FILES], map and alias lines, the Index tree,
// the page files (in the trash while the topic is gone). The Edit menu's
// "Undo ..." and "Redo ..." items say what they undo while a tree has the
// keyboard; the editor keeps its own undo.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "model/help_project.h"

class ContentsModel;
class EditingControl;
class IndexModel;
class QAction;
class QMenu;
class QModelIndex;
class QTreeView;
class QUndoStack;
class QWidget;
class TopicEditing;

// A node's place: its row on each level from the top.
using TreePath = std::vector<int>;
TreePath PathOf(const QModelIndex& node);

// A page file of a topic that a command removes and puts back: in the
// trash while it is gone, or (without a trash) its bytes.
struct TopicPageFile {
  QString path;
  QString trashed;   // where the trash keeps it while the topic is gone
  QByteArray bytes;  // what it held, when it was deleted for good
  bool held = false;
};

class TreeUndo : public QObject {
 public:
  // How many changes can be undone.
  static constexpr int kUndoLimit = 100;
  struct Views {
    QWidget* window = nullptr;  // parent of the error boxes
    QTreeView* contentsTree = nullptr;
    ContentsModel* contents = nullptr;
    QTreeView* indexTree = nullptr;
    IndexModel* index = nullptr;
    EditingControl* editor = nullptr;
  };
  TreeUndo(HelpProject& project, TopicEditing& topics, Views views, QObject* parent = nullptr);

  QUndoStack* Stack() const { return stack; }
  // "Undo <what>" and "Redo <what>" (Ctrl+Z, Ctrl+Y on the trees).
  QAction* UndoAction() const { return undoAction; }
  QAction* RedoAction() const { return redoAction; }
  // Puts the two items into the Edit menu beside the editor's, and shows
  // either pair as the keyboard goes between the trees and the editor.
  void AttachToEditMenu(QMenu* editMenu, QAction* editorUndo, QAction* editorRedo);

  // What a change leaves to put back, taken before it is made.
  struct Before {
    std::vector<IndexNode> index;
    HelpProject::Lines lines;
  };
  Before Capture() const;

  // Each records a change already made.
  void IndexChanged(const QString& text, std::vector<IndexNode> before);
  void TopicCreated(const QModelIndex& node, Before before, std::vector<TopicPageFile> pages);
  void TopicDeleted(const TreePath& place, ContentsNode subtree, Before before,
                    std::vector<TopicPageFile> pages);
  void TopicMoved(const TreePath& from, const QModelIndex& node);
  void TopicRenamed(const QModelIndex& node, const QString& before, const QString& after);
  // A renamed topic's page follows its caption (the Contents pane's rename).
  void SetRetitle(std::function<void(const QModelIndex&, const QString&)> retitle) {
    this->retitle = std::move(retitle);
  }

  // Undo and redo as the two items do: once the editor has settled and the
  // page on show is stored.
  void Undo();
  void Redo();

 private:
  // The trees and lines as a command puts them, the page loaded again after.
  void RestoreIndex(const std::vector<IndexNode>& forest);
  void RestoreLines(const HelpProject::Lines& lines);
  void SelectTopic(const QModelIndex& node);
  void ReloadPage();
  void ShowKeyboardOwner(QWidget* now);
  void Report(const QStringList& failures);

  HelpProject& project;
  TopicEditing& topics;
  Views views;
  QUndoStack* stack = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  std::function<void(const QModelIndex&, const QString&)> retitle;
  bool restoring = false;
};
