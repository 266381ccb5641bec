// The Contents pane: new topics and subtopics, in-place renaming (the page's
// title and heading follow), deleting a topic with its subtopics, moving
// topics by dragging them, appending links to the subtopics, and the
// pop-up's items.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QStringList>

enum class TopicShift;
class ActionRegistry;
class ContentsModel;
class EditingControl;
class HelpProject;
class IndexPane;
class QAction;
class QPlainTextEdit;
class QModelIndex;
class QTreeView;
class QWidget;
class TopicEditing;
class TreeUndo;

class ContentsPane : public QObject {
  Q_OBJECT
 public:
  struct Views {
    QWidget* window = nullptr;  // parent of the input, question and error boxes
    QTreeView* contentsTree = nullptr;
    ContentsModel* contents = nullptr;  // shown by contentsTree
    EditingControl* editor = nullptr;
    QPlainTextEdit* sourceView = nullptr;
  };
  // The Index pane loses the entries of deleted topics.
  // Registers the Contents tree's items, off until a project is open:
  // "newTopicAction", "newSubtopicAction", "deleteTopicAction",
  // "renameTopicAction" (the window's F2 edits the caption) and "appendLinksAction".
  ContentsPane(HelpProject& project, TopicEditing& topics, IndexPane& index, Views views,
               ActionRegistry& registry, QObject* parent = nullptr);

  // Changes of the tree go onto this undo stack from now on.
  void SetUndo(TreeUndo* undo);

  // Creates a topic after the selected one (or as its last child); false
  // when the title is blank, no page name is left or its page could not be
  // written (each said in a box).
  // The page left is stored as the editor last settled: call it where the
  // editor has settled (EditingControl::Settle).
  bool CreateTopic(const QString& title, bool asSubtopic = false);
  void NewTopic();     // "New topic": asks for the title
  void NewSubtopic();  // "New subtopic"
  // "Delete topic": asks, then deletes.
  void DeleteTopicCommand();
  // Deletes a topic with its subtopics, their index entries and context
  // lines, without asking; their page files go to the trash, or are deleted
  // for good when not toTrash.
  void DeleteTopic(const QModelIndex& node, bool toTrash = true);
  // A Contents node dropped on the Contents tree at a point (viewport coordinates).
  void DropOnContents(const QPoint& viewportPos);
  // Alt+arrow keys in the Contents tree: the selected topic one step up,
  // down, in (under the topic above) or out (after its parent).
  void ShiftSelectedTopic(TopicShift shift);
  void AppendLinksToSubtopics();
  // The pop-up's items as it opens.
  void PrepareMenu();

 private:
  // In-place rename of a Contents node: the page's title and heading follow.
  void CaptionEdited(const QModelIndex& node, const QString& caption);
  // The page of the selected topic takes the caption as its title.
  void RetitlePage(const QModelIndex& node, const QString& caption);
  // The page files on disk that go with a topic and its subtopics.
  QStringList PageFilesGoingWith(const QModelIndex& node) const;

  HelpProject& project;
  TopicEditing& topics;
  IndexPane& index;
  Views views;
  TreeUndo* undo = nullptr;
  QAction* appendLinksAction = nullptr;
};
