// The Index pane: keywords dropped from the editor onto the Index tree, the
// Index pop-up's "Delete" and "Properties", and the removal of the entries
// that lead to a deleted topic's page.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

class ActionRegistry;
class ContentsModel;
class EditingControl;
class HelpProject;
class IndexDropTarget;
class IndexModel;
class QAction;
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

 private:
  HelpProject& project;
  Views views;
  QAction* deleteItem = nullptr;
  QAction* propertiesItem = nullptr;
  IndexDropTarget* dropTarget = nullptr;
};
