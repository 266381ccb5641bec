#include "panes/index_pane.h"

#include <QAction>
#include <QMessageBox>
#include <QTreeView>

#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/index_model.h"
#include "model/index_rules.h"
#include "panes/tree_drop_targets.h"
#include "panes/tree_hit_test.h"
#include "panes/caption_edit_delegate.h"
#include "panes/tree_undo.h"
#include "widgets/action_registry.h"

IndexPane::IndexPane(HelpProject& project, Views views, ActionRegistry& registry, QObject* parent)
    : QObject(parent), project(project), views(views) {
  deleteItem = registry.Add("deleteIndexEntryAction", "Delete");
  registry.Add("renameIndexEntryAction", "Rename");
  propertiesItem = registry.Add("indexPropertiesAction", "Properties");
  connect(deleteItem, &QAction::triggered, this, &IndexPane::DeleteSelectedEntry);
  connect(propertiesItem, &QAction::triggered, this, &IndexPane::ShowProperties);
  // Renaming starts with F2 or "Rename" only: Del after a click deletes.
  views.indexTree->setEditTriggers(QAbstractItemView::EditKeyPressed);
  views.indexTree->setItemDelegate(new CaptionEditDelegate(
      [this](const QModelIndex&, const QString&, const QString& before) {
        // A renamed keyword is a change the project keeps.
        Changed("Rename keyword \"" + before + "\"", renamedFrom ? std::move(*renamedFrom) : Snapshot());
        renamedFrom.reset();
      },
      views.indexTree, {}, [this] { renamedFrom = Snapshot(); }));
  MakeCommands(registry);
}

std::vector<IndexNode> IndexPane::Snapshot() const {
  return undo ? views.index->Forest() : std::vector<IndexNode>();
}

void IndexPane::Changed(const QString& text, std::vector<IndexNode> before) {
  project.SetModified();
  if (undo) undo->IndexChanged(text, std::move(before));
}

void IndexPane::RegisterDropTarget() {
  if (dropTarget) return;
  dropTarget = new IndexDropTarget(
      views.indexTree, [this] { return DropAllowed(); },
      [this](const QString& text, const QPoint& screenPos) { AddEntry(text, screenPos); }, this);
}

void IndexPane::RevokeDropTarget() {
  if (dropTarget) dropTarget->Revoke();
}

bool IndexPane::DropAllowed() const {
  // The text comes out of the editor: it is the window's active control.
  // Without a topic to lead to, the drop is taken to say so.
  EditingControl* editor = views.editor;
  const QWidget* focus = views.window->focusWidget();
  return focus && (focus == editor || editor->isAncestorOf(focus));
}

void IndexPane::AddEntry(const QString& text, const QPoint& screenPos) {
  if (!DropAllowed()) return;
  // An entry without a topic would lead nowhere.
  const TopicData* selected = views.contents->RecordAt(views.contentsTree->currentIndex());
  if (!selected || selected->fileName.isEmpty()) {
    // Told without waiting: the drag has just ended.
    auto* box = new QMessageBox(QMessageBox::Information, "Orvex",
                                "No index entry was added: select the topic it leads to in the Contents "
                                "tree, then drop the text again.",
                                QMessageBox::Ok, views.window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return;
  }
  QTreeView* indexTree = views.indexTree;
  const QModelIndex topicNode = views.contentsTree->currentIndex();
  const TopicData* topic = views.contents->RecordAt(topicNode);
  const TreeHit hit = HitTestTree(indexTree, indexTree->viewport()->mapFromGlobal(screenPos));
  const AttachMode mode = IndexAttachMode(hit.kind, ItemLevel(hit.item));
  const QPersistentModelIndex target = hit.item;
  std::vector<IndexNode> before = Snapshot();
  const QString keyword = KeywordFromText(text);
  const QModelIndex entry =
      views.index->AddEntry(mode, target, keyword, topic->fileName, views.contents->CaptionAt(topicNode));
  if (!entry.isValid()) {
    // A drop that adds nothing still counts as a change, as it always has.
    project.SetModified();
    return;
  }
  // The keyword that got the entry opens.
  if (entry.parent().isValid()) indexTree->expand(entry.parent());
  Changed("Add keyword \"" + keyword + "\"", std::move(before));
}

void IndexPane::RemoveEntry(const QModelIndex& node) {
  if (!node.isValid()) return;
  std::vector<IndexNode> before = Snapshot();
  const QString keyword = node.data().toString();
  views.index->RemoveEntry(node);
  Changed("Delete keyword \"" + keyword + "\"", std::move(before));
}

void IndexPane::DeleteSelectedEntry() { RemoveEntry(views.indexTree->currentIndex()); }

void IndexPane::ShowProperties() {
  const QModelIndex node = views.indexTree->currentIndex();
  if (!node.isValid()) return;
  QMessageBox::information(views.window, "Orvex", IndexPropertiesText(views.index->RecordAt(node)));
}

void IndexPane::RemoveEntriesLeadingTo(const QString& fileName) {
  if (views.index->RemoveEntriesLeadingTo(fileName) > 0) project.SetModified();
}

int IndexPane::CountEntriesLeadingTo(const QStringList& fileNames) const {
  return views.index->CountEntriesLeadingTo(fileNames);
}

void IndexPane::PrepareMenu() {
  deleteItem->setEnabled(project.IsOpen() && views.indexTree->currentIndex().isValid());
  propertiesItem->setEnabled(true);
  UpdateCommands();
}
