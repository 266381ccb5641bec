#include "panes/tree_undo.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTreeView>
#include <QUndoStack>

#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/index_model.h"
#include "panes/topic_editing.h"
#include "platform/file_operations.h"
#include "platform/text_file.h"
#include "platform/trash.h"

TreePath PathOf(const QModelIndex& node) {
  TreePath path;
  for (QModelIndex at = node; at.isValid(); at = at.parent()) path.insert(path.begin(), at.row());
  return path;
}

namespace {

QModelIndex AtPath(const QAbstractItemModel* model, const TreePath& path) {
  QModelIndex at;
  for (const int row : path) {
    at = model->index(row, 0, at);
    if (!at.isValid()) return {};
  }
  return at;
}

// A change already made when it is pushed: its first redo does nothing.
class TreeCommand : public QUndoCommand {
 public:
  TreeCommand(const QString& text, std::function<void()> undo, std::function<void()> redo)
      : QUndoCommand(text), undoChange(std::move(undo)), redoChange(std::move(redo)) {}
  void undo() override { undoChange(); }
  void redo() override {
    if (made) {
      made = false;
      return;
    }
    redoChange();
  }

 private:
  std::function<void()> undoChange;
  std::function<void()> redoChange;
  bool made = true;
};

IndexNode CopyNode(const IndexNode& node) {
  IndexNode copy;
  copy.caption = node.caption;
  if (node.data) copy.data = std::make_unique<IndexEntryData>(*node.data);
  copy.children.reserve(node.children.size());
  for (const IndexNode& child : node.children) copy.children.push_back(CopyNode(child));
  return copy;
}

std::vector<IndexNode> CopyForest(const std::vector<IndexNode>& forest) {
  std::vector<IndexNode> copy;
  copy.reserve(forest.size());
  for (const IndexNode& node : forest) copy.push_back(CopyNode(node));
  return copy;
}

// Moves the node at `from` so that it stands at `to` afterwards.
bool MoveToPath(ContentsModel* model, const TreePath& from, const TreePath& to) {
  const QModelIndex node = AtPath(model, from);
  if (!node.isValid() || to.empty()) return false;
  // The new parent, found as the tree stands without the node.
  QModelIndex parent;
  for (size_t level = 0; level + 1 < to.size(); ++level) {
    int row = to[level];
    if (node.parent() == parent && row >= node.row()) ++row;
    parent = model->index(row, 0, parent);
  }
  // Its row as Move counts it, before the node leaves its place.
  int row = to.back();
  if (node.parent() == parent && row >= node.row()) ++row;
  return model->Move(node, parent, row);
}

// The page files go: into the trash, or (without one) read and deleted.
QStringList TakePages(std::vector<TopicPageFile>& pages) {
  QStringList failures;
  const bool trash = TrashAvailable();
  for (TopicPageFile& page : pages) {
    if (!QFileInfo(page.path).isFile()) continue;
    if (trash) {
      if (const Status moved = MoveToTrash(page.path, &page.trashed); !moved) failures << moved.Message();
      continue;
    }
    Result<QByteArray> bytes = ReadFileBytes(page.path);
    if (!bytes) {
      failures << bytes.Message();
      continue;
    }
    page.bytes = std::move(*bytes);
    page.held = true;
    if (const Status removed = RemoveFile(page.path); !removed) {
      failures << removed.Message();
      page.held = false;
      page.bytes.clear();
    }
  }
  return failures;
}

// The page files come back from where TakePages put them.
QStringList PutPages(std::vector<TopicPageFile>& pages) {
  QStringList failures;
  for (TopicPageFile& page : pages) {
    if (!page.trashed.isEmpty()) {
      if (const Status restored = RestoreFromTrash(page.trashed, page.path); !restored)
        failures << restored.Message();
      else
        page.trashed.clear();
    } else if (page.held) {
      if (const Status written = WriteFileBytes(page.path, page.bytes); !written) {
        failures << written.Message();
        continue;
      }
      page.held = false;
      page.bytes.clear();
    }
  }
  return failures;
}

// The captions from the top down to a node: the Index is filled anew on
// undo, so its open keywords are found again by their captions.
QStringList CaptionPath(const QModelIndex& node) {
  QStringList path;
  for (QModelIndex at = node; at.isValid(); at = at.parent()) path.prepend(at.data().toString());
  return path;
}

QModelIndex AtCaptionPath(const QAbstractItemModel* model, const QStringList& path) {
  QModelIndex at;
  for (const QString& caption : path) {
    QModelIndex found;
    for (int row = 0; row < model->rowCount(at) && !found.isValid(); ++row)
      if (model->index(row, 0, at).data().toString() == caption) found = model->index(row, 0, at);
    if (!found.isValid()) return at;
    at = found;
  }
  return at;
}

}  // namespace

TreeUndo::TreeUndo(HelpProject& project, TopicEditing& topics, Views views, QObject* parent)
    : QObject(parent), project(project), topics(topics), views(views), stack(new QUndoStack(this)) {
  // Each command keeps the project's lines of its time: the last changes are enough.
  stack->setUndoLimit(kUndoLimit);
  undoAction = new QAction("&Undo", this);
  undoAction->setObjectName("treeUndoAction");
  redoAction = new QAction("&Redo", this);
  redoAction->setObjectName("treeRedoAction");
  undoAction->setShortcut(QKeySequence::Undo);
  redoAction->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  for (QAction* item : {undoAction, redoAction}) {
    item->setEnabled(false);
    item->setShortcutContext(Qt::WidgetShortcut);
    views.contentsTree->addAction(item);
    views.indexTree->addAction(item);
  }
  connect(undoAction, &QAction::triggered, this, &TreeUndo::Undo);
  connect(redoAction, &QAction::triggered, this, &TreeUndo::Redo);
  connect(stack, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
  connect(stack, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);
  // The stack goes first when the controller is destroyed and says so: its
  // items are told without going through the half-destroyed controller.
  connect(stack, &QUndoStack::undoTextChanged, undoAction, [item = undoAction](const QString& text) {
    item->setText(text.isEmpty() ? "&Undo" : "&Undo " + text);
  });
  connect(stack, &QUndoStack::redoTextChanged, redoAction, [item = redoAction](const QString& text) {
    item->setText(text.isEmpty() ? "&Redo" : "&Redo " + text);
  });
  // Another project (or none): its trees start without history.
  connect(views.contents, &QAbstractItemModel::modelReset, stack, &QUndoStack::clear);
  connect(views.index, &QAbstractItemModel::modelReset, stack, [this] {
    if (!restoring) stack->clear();
  });
}

void TreeUndo::AttachToEditMenu(QMenu* editMenu, QAction* editorUndo, QAction* editorRedo) {
  editMenu->insertAction(editorUndo, undoAction);
  editMenu->insertAction(editorUndo, redoAction);
  undoAction->setVisible(false);
  redoAction->setVisible(false);
  connect(qApp, &QApplication::focusChanged, this,
          [this, editMenu, editorUndo, editorRedo](QWidget*, QWidget* now) {
            // Menus, dialogs and other windows leave the items as they are.
            if (!now || now->window() != views.window || qobject_cast<QMenuBar*>(now) ||
                qobject_cast<QMenu*>(now))
              return;
            const bool onTree = (now == views.contentsTree || now == views.indexTree) && project.IsOpen();
            undoAction->setVisible(onTree);
            redoAction->setVisible(onTree);
            editorUndo->setVisible(!onTree);
            editorRedo->setVisible(!onTree);
            if (onTree) editMenu->menuAction()->setEnabled(true);
          });
}

TreeUndo::Before TreeUndo::Capture() const { return {views.index->Forest(), project.AllLines()}; }

void TreeUndo::Undo() {
  if (!stack->canUndo()) return;
  views.editor->Settle(this, [this] {
    if (topics.StoreCurrentTopic()) stack->undo();
  });
}

void TreeUndo::Redo() {
  if (!stack->canRedo()) return;
  views.editor->Settle(this, [this] {
    if (topics.StoreCurrentTopic()) stack->redo();
  });
}

void TreeUndo::RestoreIndex(const std::vector<IndexNode>& forest) {
  QTreeView* tree = views.indexTree;
  // Its open keywords and its selected one, by caption.
  std::vector<QStringList> open;
  std::vector<QModelIndex> work{QModelIndex()};
  while (!work.empty()) {
    const QModelIndex at = work.back();
    work.pop_back();
    for (int row = 0; row < views.index->rowCount(at); ++row) {
      const QModelIndex child = views.index->index(row, 0, at);
      if (tree->isExpanded(child)) {
        open.push_back(CaptionPath(child));
        work.push_back(child);
      }
    }
  }
  const QStringList selected = CaptionPath(tree->currentIndex());
  restoring = true;
  views.index->Fill(CopyForest(forest));
  restoring = false;
  for (const QStringList& path : open)
    if (const QModelIndex node = AtCaptionPath(views.index, path); node.isValid()) tree->expand(node);
  if (!selected.isEmpty()) tree->setCurrentIndex(AtCaptionPath(views.index, selected));
}

void TreeUndo::RestoreLines(const HelpProject::Lines& lines) { project.RestoreLines(lines); }

void TreeUndo::SelectTopic(const QModelIndex& node) {
  const TopicEditing::QuietSelection quiet(topics);
  for (QModelIndex at = node.parent(); at.isValid(); at = at.parent()) views.contentsTree->expand(at);
  views.contentsTree->setCurrentIndex(node);
}

void TreeUndo::ReloadPage() {
  topics.ClearPage();
  topics.LoadSelectedTopic(views.contentsTree->currentIndex());
  project.SetModified();
  views.contentsTree->viewport()->update();
}

void TreeUndo::Report(const QStringList& failures) {
  if (!failures.isEmpty()) QMessageBox::warning(views.window, "Orvex", failures.join("\n"));
}

void TreeUndo::IndexChanged(const QString& text, std::vector<IndexNode> before) {
  auto was = std::make_shared<std::vector<IndexNode>>(std::move(before));
  auto now = std::make_shared<std::vector<IndexNode>>(views.index->Forest());
  stack->push(new TreeCommand(
      text,
      [this, was] {
        RestoreIndex(*was);
        project.SetModified();
      },
      [this, now] {
        RestoreIndex(*now);
        project.SetModified();
      }));
}

void TreeUndo::TopicCreated(const QModelIndex& node, Before before, std::vector<TopicPageFile> pages) {
  const TreePath place = PathOf(node);
  auto subtree = std::make_shared<ContentsNode>(views.contents->SubtreeCopy(node));
  auto files = std::make_shared<std::vector<TopicPageFile>>(std::move(pages));
  auto linesBefore = std::make_shared<HelpProject::Lines>(std::move(before.lines));
  auto linesAfter = std::make_shared<HelpProject::Lines>(project.AllLines());
  const QString text = "New topic \"" + subtree->caption + "\"";
  stack->push(new TreeCommand(
      text,
      [this, place, files, linesBefore] {
        {
          const TopicEditing::QuietSelection quiet(topics);
          views.contents->Remove(AtPath(views.contents, place));
        }
        const QStringList failures = TakePages(*files);
        RestoreLines(*linesBefore);
        ReloadPage();
        Report(failures);
      },
      [this, place, files, subtree, linesAfter] {
        const QStringList failures = PutPages(*files);
        const TreePath parent(place.begin(), place.end() - 1);
        SelectTopic(views.contents->InsertSubtree(AtPath(views.contents, parent), place.back(), *subtree));
        RestoreLines(*linesAfter);
        ReloadPage();
        Report(failures);
      }));
}

void TreeUndo::TopicDeleted(const TreePath& place, ContentsNode subtree, Before before,
                            std::vector<TopicPageFile> pages) {
  auto node = std::make_shared<ContentsNode>(std::move(subtree));
  auto files = std::make_shared<std::vector<TopicPageFile>>(std::move(pages));
  auto was = std::make_shared<Before>(std::move(before));
  auto now = std::make_shared<Before>(Capture());
  const QString text = "Delete topic \"" + node->caption + "\"";
  stack->push(new TreeCommand(
      text,
      [this, place, node, files, was] {
        const QStringList failures = PutPages(*files);
        const TreePath parent(place.begin(), place.end() - 1);
        SelectTopic(views.contents->InsertSubtree(AtPath(views.contents, parent), place.back(), *node));
        RestoreLines(was->lines);
        RestoreIndex(was->index);
        ReloadPage();
        Report(failures);
      },
      [this, place, files, now] {
        {
          const TopicEditing::QuietSelection quiet(topics);
          views.contents->Remove(AtPath(views.contents, place));
          if (const QModelIndex current = views.contentsTree->currentIndex(); current.isValid())
            views.contentsTree->setCurrentIndex(current);
        }
        const QStringList failures = TakePages(*files);
        RestoreLines(now->lines);
        RestoreIndex(now->index);
        ReloadPage();
        Report(failures);
      }));
}

void TreeUndo::TopicMoved(const TreePath& from, const QModelIndex& node) {
  const TreePath to = PathOf(node);
  if (to == from) return;
  const auto move = [this](const TreePath& a, const TreePath& b) {
    {
      const TopicEditing::QuietSelection quiet(topics);
      MoveToPath(views.contents, a, b);
    }
    // The moved topic stays the one being edited.
    SelectTopic(AtPath(views.contents, b));
    project.SetModified();
  };
  stack->push(new TreeCommand(
      "Move topic \"" + node.data().toString() + "\"", [move, from, to] { move(to, from); },
      [move, from, to] { move(from, to); }));
}

void TreeUndo::TopicRenamed(const QModelIndex& node, const QString& before, const QString& after) {
  const TreePath place = PathOf(node);
  const auto rename = [this, place](const QString& caption) {
    const QModelIndex at = AtPath(views.contents, place);
    if (!at.isValid()) return;
    views.contents->setData(at, caption);
    if (retitle) retitle(at, caption);
    project.SetModified();
  };
  stack->push(new TreeCommand(
      "Rename topic \"" + before + "\"", [rename, before] { rename(before); },
      [rename, after] { rename(after); }));
}
