// The Index pane: keywords dropped from the editor onto the Index tree, the
// Index pop-up's "Delete" and "Properties", the keyword commands ("New
// keyword", "Add topic to keyword", "Remove topic from keyword") on the
// Index menu and the pop-up, and the removal of the entries that lead to a
// deleted topic's page.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"

class ActionRegistry;
class ContentsModel;
class EditingControl;
class HelpProject;
class IndexDropTarget;
class IndexModel;
class QAction;
class QMenu;
class TreeUndo;
class QModelIndex;
class QTreeView;
class QWidget;

class IndexPane : public QObject {
  Q_OBJECT
 public:
  struct Views {
    QWidget* window = nullptr;  // its active control tells where dragged text comes from
    QTreeView* indexTree = nullptr;
    IndexModel* index = nullptr;        // shown by indexTree
    QTreeView* contentsTree = nullptr;  // the topic a new entry leads to
    const ContentsModel* contents = nullptr;
    EditingControl* editor = nullptr;
  };
  // Registers the Index tree's items: "deleteIndexEntryAction",
  // "renameIndexEntryAction" (the window's F2 edits the caption) and "indexPropertiesAction".
  IndexPane(HelpProject& project, Views views, ActionRegistry& registry, QObject* parent = nullptr);

  // The text drop target of the Index tree, registered once (on the first show).
  void RegisterDropTarget();
  // Closing: the Index tree takes no more drops.
  void RevokeDropTarget();
  bool DropTargetSet() const { return dropTarget != nullptr; }
  IndexDropTarget* DropTarget() const { return dropTarget; }

  // Text may be dropped: the editor is the active control.
  bool DropAllowed() const;
  // Adds an entry for the dropped text at a point (screen coordinates),
  // leading to the selected topic; without one, says so.
  void AddEntry(const QString& text, const QPoint& screenPos);
  // Removes an index node with its children and folds a keyword left with one entry.
  void RemoveEntry(const QModelIndex& node);
  // Removes every entry (node without children) whose page is fileName.
  // ("\" or "/", any letter case, "#anchor" ignored).
  void RemoveEntriesLeadingTo(const QString& fileName);
  // How many entries lead to one of these pages.
  int CountEntriesLeadingTo(const QStringList& fileNames) const;
  void DeleteSelectedEntry();  // "Delete"
  void ShowProperties();       // "Properties"
  // The pop-up's items as it opens.
  void PrepareMenu();

  // Changes of the tree go onto this undo stack from now on.
  void SetUndo(TreeUndo* undo) { this->undo = undo; }

  // --- keywords for the topic being edited (the one selected in the Contents tree) ---
  // The main menu's "Index" with the three commands (keys Ctrl+K,
  // Ctrl+Shift+K, Ctrl+Alt+K).
  QMenu* Menu() const { return menu; }
  QAction* NewKeywordAction() const { return newKeywordAction; }
  QAction* AddTopicAction() const { return addTopicAction; }
  QAction* RemoveTopicAction() const { return removeTopicAction; }
  // "New keyword": asks the keyword.
  void NewKeyword();
  // A first-level keyword (an existing one of the same text, or a new one)
  // leads to the topic being edited too; false, said in a box, without a
  // topic or for a blank keyword.
  bool AddKeywordForTopic(const QString& keyword);
  // "Add topic to keyword": the selected keyword leads to the topic being edited too.
  void AddTopicToKeyword();
  // "Remove topic from keyword": the topic being edited, the keyword's only
  // topic, or one chosen from its topics, no longer under the selected keyword.
  void RemoveTopicFromKeyword();
  // The commands are enabled for what is selected.
  void UpdateCommands();

 private:
  // The topic being edited: its page and caption; none without one.
  struct Topic {
    QString fileName;
    QString caption;
  };
  std::optional<Topic> TopicBeingEdited() const;
  // Registers the three commands and the menu that holds them ("keywordMenu").
  void MakeCommands(ActionRegistry& registry);
  // Records a change made to the tree since `before`, as `text` undoes it.
  void Changed(const QString& text, std::vector<IndexNode> before);
  std::vector<IndexNode> Snapshot() const;

  HelpProject& project;
  Views views;
  QAction* deleteItem = nullptr;
  QAction* propertiesItem = nullptr;
  IndexDropTarget* dropTarget = nullptr;
  TreeUndo* undo = nullptr;
  QMenu* menu = nullptr;
  QAction* newKeywordAction = nullptr;
  QAction* addTopicAction = nullptr;
  QAction* removeTopicAction = nullptr;
  // The tree as it was when an in-place rename was accepted.
  std::optional<std::vector<IndexNode>> renamedFrom;
};
