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

TIndexItem* NewEntry(const QString& caption, const QString& keyword, const QString& fileName,
                     const QString& topicCaption) {
  auto record = std::make_unique<TIName>();
  record->Keyword = keyword;
  record->FileName = fileName;
  record->TopicCaption = topicCaption;
  return new TIndexItem(caption, std::move(record));
}

// The first node, in document order, without children whose page is fileName.
QTreeWidgetItem* FindEntryLeadingTo(const QTreeWidget* tree, const QString& fileName) {
  std::vector<QTreeWidgetItem*> work;
  for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) work.push_back(tree->topLevelItem(i));
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    if (item->childCount() == 0) {
      const TIName* record = IndexRecord(item);
      if (record && record->FileName == fileName) return item;
    }
    for (int c = item->childCount() - 1; c >= 0; --c) work.push_back(item->child(c));
  }
  return nullptr;
}

}  // namespace

void TForm1::RegisterDropTarget() {
  if (DropTargetSet) return;
  DropTarget = new TIndexDropTarget(
      TreeView2, [this] { return IndexDropAllowed(); },
      [this](const QString& text, const QPoint& screenPos) { AddIndexEntry(text, screenPos); }, this);
  DropTargetSet = true;
}

void TForm1::RevokeDropTarget() {
  if (DropTarget) DropTarget->Revoke();
}

bool TForm1::IndexDropAllowed() const {
  // The text comes out of the editor: it is the window's active control.
  const QWidget* focus = focusWidget();
  if (!focus || !(focus == DHTMLEdit1 || DHTMLEdit1->isAncestorOf(focus))) return false;
  // An entry without a topic would lead nowhere.
  const TName* topic = ContentsRecord(TreeView1->currentItem());
  return topic && !topic->FileName.isEmpty();
}

void TForm1::AddIndexEntry(const QString& text, const QPoint& screenPos) {
  if (!IndexDropAllowed()) return;
  QTreeWidgetItem* topicNode = TreeView1->currentItem();
  const TName* topic = ContentsRecord(topicNode);
  const TreeHit hit = HitTestTree(TreeView2, TreeView2->viewport()->mapFromGlobal(screenPos));
  const AttachMode mode = IndexAttachMode(hit.Kind, ItemLevel(hit.Item));
  QTreeWidgetItem* target = hit.Item;
  if (mode != AttachMode::None) {
    if (mode == AttachMode::Child && target->childCount() == 0) {
      // The keyword's own topic becomes its first entry; the keyword keeps its record.
      const TIName* own = IndexRecord(target);
      target->addChild(NewEntry(target->text(0), target->text(0), own ? own->FileName : QString(),
                                own ? own->TopicCaption : QString()));
    }
    const QString caption = KeywordFromText(text);
    TIndexItem* entry = NewEntry(caption, caption, topic->FileName, topicNode->text(0));
    QTreeWidgetItem* parent = nullptr;
    if (mode == AttachMode::Child) parent = target;
    if (mode == AttachMode::Sibling) parent = target->parent();
    CurIndexItem = entry->Data.get();
    if (parent) {
      parent->addChild(entry);
      parent->setExpanded(true);
    } else {
      TreeView2->addTopLevelItem(entry);
    }
    if (TreeView2->isSortingEnabled()) TreeView2->sortItems(0, TreeView2->header()->sortIndicatorOrder());
  }
  Modified = true;
}

void TForm1::RemoveIndexEntry(QTreeWidgetItem* node) {
  if (!node) return;
  QTreeWidgetItem* keyword = node->parent();
  if (CurIndexItem == IndexRecord(node)) CurIndexItem = nullptr;
  // The node owns its record; both go, with any children.
  delete node;
  WaitEditorIdle(DHTMLEdit1);
  // A keyword left with a single entry carries that entry's topic itself.
  if (keyword && keyword->childCount() == 1) {
    QTreeWidgetItem* last = keyword->child(0);
    if (last->childCount() == 0 && keyword->type() == QTreeWidgetItem::UserType + 2) {
      auto* item = static_cast<TIndexItem*>(keyword);
      if (!item->Data) item->Data = std::make_unique<TIName>(TIName{keyword->text(0), {}, {}});
      if (const TIName* entry = IndexRecord(last)) {
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

void TForm1::Delete2Click() { RemoveIndexEntry(TreeView2->currentItem()); }

void TForm1::Properties2Click() {
  QTreeWidgetItem* node = TreeView2->currentItem();
  if (!node) return;
  QMessageBox::information(this, "Orvex", IndexPropertiesText(IndexRecord(node)));
}

void TForm1::RemoveIndexEntriesLeadingTo(const QString& fileName) {
  if (fileName.isEmpty()) return;
  // Searched again from the top after every removal: folding changes the tree.
  while (QTreeWidgetItem* entry = FindEntryLeadingTo(TreeView2, fileName)) {
    TreeView2->setCurrentItem(entry);
    RemoveIndexEntry(entry);
  }
}
