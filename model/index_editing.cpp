// Index editing: keywords dropped from the editor onto the Index tree, and the
// Index pop-up's "Delete" and "Properties".
#include <QAction>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/index_rules.h"
#include "model/tree_drop_targets.h"
#include "model/tree_hit_test.h"
#include "model/tree_nodes.h"

namespace {

IndexItem* NewEntry(const QString& caption, const QString& keyword, const QString& fileName,
                    const QString& topicCaption) {
  auto record = std::make_unique<IndexEntryData>();
  record->Keyword = keyword;
  record->FileName = fileName;
  record->TopicCaption = topicCaption;
  return new IndexItem(caption, std::move(record));
}

// The first node, in document order, without children whose page is fileName.
QTreeWidgetItem* FindEntryLeadingTo(const QTreeWidget* tree, const QString& fileName) {
  std::vector<QTreeWidgetItem*> work;
  for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) work.push_back(tree->topLevelItem(i));
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    if (item->childCount() == 0) {
      const IndexEntryData* record = IndexRecord(item);
      if (record && record->FileName == fileName) return item;
    }
    for (int c = item->childCount() - 1; c >= 0; --c) work.push_back(item->child(c));
  }
  return nullptr;
}

}  // namespace

void MainWindow::RegisterDropTarget() {
  if (DropTargetSet) return;
  indexDropTarget = new IndexDropTarget(
      indexTree, [this] { return IndexDropAllowed(); },
      [this](const QString& text, const QPoint& screenPos) { AddIndexEntry(text, screenPos); }, this);
  DropTargetSet = true;
}

void MainWindow::RevokeDropTarget() {
  if (indexDropTarget) indexDropTarget->Revoke();
}

bool MainWindow::IndexDropAllowed() const {
  // The text comes out of the editor: it is the window's active control.
  const QWidget* focus = focusWidget();
  if (!focus || !(focus == editor || editor->isAncestorOf(focus))) return false;
  // An entry without a topic would lead nowhere.
  const TopicData* topic = ContentsRecord(contentsTree->currentItem());
  return topic && !topic->FileName.isEmpty();
}

void MainWindow::AddIndexEntry(const QString& text, const QPoint& screenPos) {
  if (!IndexDropAllowed()) return;
  QTreeWidgetItem* topicNode = contentsTree->currentItem();
  const TopicData* topic = ContentsRecord(topicNode);
  const TreeHit hit = HitTestTree(indexTree, indexTree->viewport()->mapFromGlobal(screenPos));
  const AttachMode mode = IndexAttachMode(hit.Kind, ItemLevel(hit.Item));
  QTreeWidgetItem* target = hit.Item;
  if (mode != AttachMode::None) {
    if (mode == AttachMode::Child && target->childCount() == 0) {
      // The keyword's own topic becomes its first entry; the keyword keeps its record.
      const IndexEntryData* own = IndexRecord(target);
      target->addChild(NewEntry(target->text(0), target->text(0), own ? own->FileName : QString(),
                                own ? own->TopicCaption : QString()));
    }
    const QString caption = KeywordFromText(text);
    IndexItem* entry = NewEntry(caption, caption, topic->FileName, topicNode->text(0));
    QTreeWidgetItem* parent = nullptr;
    if (mode == AttachMode::Child) parent = target;
    if (mode == AttachMode::Sibling) parent = target->parent();
    CurIndexItem = entry->Data.get();
    if (parent) {
      parent->addChild(entry);
      parent->setExpanded(true);
    } else {
      indexTree->addTopLevelItem(entry);
    }
    if (indexTree->isSortingEnabled()) indexTree->sortItems(0, indexTree->header()->sortIndicatorOrder());
  }
  Modified = true;
}

void MainWindow::RemoveIndexEntry(QTreeWidgetItem* node) {
  if (!node) return;
  QTreeWidgetItem* keyword = node->parent();
  if (CurIndexItem == IndexRecord(node)) CurIndexItem = nullptr;
  // The node owns its record; both go, with any children.
  delete node;
  WaitEditorIdle(editor);
  // A keyword left with a single entry carries that entry's topic itself.
  if (keyword && keyword->childCount() == 1) {
    QTreeWidgetItem* last = keyword->child(0);
    if (last->childCount() == 0 && keyword->type() == QTreeWidgetItem::UserType + 2) {
      auto* item = static_cast<IndexItem*>(keyword);
      if (!item->Data)
        item->Data = std::make_unique<IndexEntryData>(IndexEntryData{keyword->text(0), {}, {}});
      if (const IndexEntryData* entry = IndexRecord(last)) {
        item->Data->TopicCaption = entry->TopicCaption;
        item->Data->FileName = entry->FileName;
      } else {
        item->Data->TopicCaption.clear();
        item->Data->FileName.clear();
      }
      if (CurIndexItem == IndexRecord(last)) CurIndexItem = nullptr;
      delete last;
    }
  }
  Modified = true;
}

void MainWindow::DeleteIndexEntryCommand() { RemoveIndexEntry(indexTree->currentItem()); }

void MainWindow::IndexEntryProperties() {
  QTreeWidgetItem* node = indexTree->currentItem();
  if (!node) return;
  QMessageBox::information(this, "Orvex", IndexPropertiesText(IndexRecord(node)));
}

void MainWindow::RemoveIndexEntriesLeadingTo(const QString& fileName) {
  if (fileName.isEmpty()) return;
  // Searched again from the top after every removal: folding changes the tree.
  while (QTreeWidgetItem* entry = FindEntryLeadingTo(indexTree, fileName)) {
    indexTree->setCurrentItem(entry);
    RemoveIndexEntry(entry);
  }
}
