#include "panes/index_pane.h"

#include <QAction>
#include <QHeaderView>
#include <QMessageBox>
#include <QTreeWidget>

#include "editor/editing_control.h"
#include "model/help_project.h"
#include "model/index_rules.h"
#include "panes/tree_drop_targets.h"
#include "panes/tree_hit_test.h"
#include "panes/tree_nodes.h"

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

IndexPane::IndexPane(HelpProject& project, Views views, QObject* parent)
    : QObject(parent), m_project(project), m_views(views) {
  connect(m_views.deleteAction, &QAction::triggered, this, &IndexPane::DeleteSelectedEntry);
  connect(m_views.propertiesAction, &QAction::triggered, this, &IndexPane::ShowProperties);
}

void IndexPane::RegisterDropTarget() {
  if (m_dropTarget) return;
  m_dropTarget = new IndexDropTarget(
      m_views.indexTree, [this] { return DropAllowed(); },
      [this](const QString& text, const QPoint& screenPos) { AddEntry(text, screenPos); }, this);
}

void IndexPane::RevokeDropTarget() {
  if (m_dropTarget) m_dropTarget->Revoke();
}

bool IndexPane::DropAllowed() const {
  // The text comes out of the editor: it is the window's active control.
  EditingControl* editor = m_views.editor;
  const QWidget* focus = m_views.window->focusWidget();
  if (!focus || !(focus == editor || editor->isAncestorOf(focus))) return false;
  // An entry without a topic would lead nowhere.
  const TopicData* topic = ContentsRecord(m_views.contentsTree->currentItem());
  return topic && !topic->FileName.isEmpty();
}

void IndexPane::AddEntry(const QString& text, const QPoint& screenPos) {
  if (!DropAllowed()) return;
  QTreeWidget* indexTree = m_views.indexTree;
  QTreeWidgetItem* topicNode = m_views.contentsTree->currentItem();
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
    if (parent) {
      parent->addChild(entry);
      parent->setExpanded(true);
    } else {
      indexTree->addTopLevelItem(entry);
    }
    if (indexTree->isSortingEnabled()) indexTree->sortItems(0, indexTree->header()->sortIndicatorOrder());
  }
  m_project.SetModified();
}

void IndexPane::RemoveEntry(QTreeWidgetItem* node) {
  if (!node) return;
  QTreeWidgetItem* keyword = node->parent();
  // The node owns its record; both go, with any children.
  delete node;
  WaitEditorIdle(m_views.editor);
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
      delete last;
    }
  }
  m_project.SetModified();
}

void IndexPane::DeleteSelectedEntry() { RemoveEntry(m_views.indexTree->currentItem()); }

void IndexPane::ShowProperties() {
  QTreeWidgetItem* node = m_views.indexTree->currentItem();
  if (!node) return;
  QMessageBox::information(m_views.window, "Orvex", IndexPropertiesText(IndexRecord(node)));
}

void IndexPane::RemoveEntriesLeadingTo(const QString& fileName) {
  if (fileName.isEmpty()) return;
  // Searched again from the top after every removal: folding changes the tree.
  while (QTreeWidgetItem* entry = FindEntryLeadingTo(m_views.indexTree, fileName)) {
    m_views.indexTree->setCurrentItem(entry);
    RemoveEntry(entry);
  }
}

void IndexPane::PrepareMenu() {
  m_views.deleteAction->setEnabled(m_project.IsOpen() && m_views.indexTree->currentItem() != nullptr);
  m_views.propertiesAction->setEnabled(true);
}
