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
  // Without a topic to lead to, the drop is taken to say so.
  EditingControl* editor = m_views.editor;
  const QWidget* focus = m_views.window->focusWidget();
  return focus && (focus == editor || editor->isAncestorOf(focus));
}

void IndexPane::AddEntry(const QString& text, const QPoint& screenPos) {
  if (!DropAllowed()) return;
  // An entry without a topic would lead nowhere.
  const TopicData* selected = m_views.contents->RecordAt(m_views.contentsTree->currentIndex());
  if (!selected || selected->FileName.isEmpty()) {
    // Told without waiting: the drag has just ended.
    auto* box = new QMessageBox(QMessageBox::Information, "Orvex",
                                "No index entry was added: select the topic it leads to in the Contents "
                                "tree, then drop the text again.",
                                QMessageBox::Ok, m_views.window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return;
  }
  QTreeView* indexTree = m_views.indexTree;
  const QModelIndex topicNode = m_views.contentsTree->currentIndex();
  const TopicData* topic = m_views.contents->RecordAt(topicNode);
  const TreeHit hit = HitTestTree(indexTree, indexTree->viewport()->mapFromGlobal(screenPos));
  const AttachMode mode = IndexAttachMode(hit.Kind, ItemLevel(hit.Item));
  const QPersistentModelIndex target = hit.Item;
  const QModelIndex entry = m_views.index->AddEntry(mode, target, KeywordFromText(text), topic->FileName,
                                                    m_views.contents->CaptionAt(topicNode));
  // The keyword that got the entry opens.
  if (entry.isValid() && entry.parent().isValid()) indexTree->expand(entry.parent());
  m_project.SetModified();
}

void IndexPane::RemoveEntry(const QModelIndex& node) {
  if (!node.isValid()) return;
  m_views.index->RemoveEntry(node);
  m_project.SetModified();
}

void IndexPane::DeleteSelectedEntry() { RemoveEntry(m_views.indexTree->currentIndex()); }

void IndexPane::ShowProperties() {
  const QModelIndex node = m_views.indexTree->currentIndex();
  if (!node.isValid()) return;
  QMessageBox::information(m_views.window, "Orvex", IndexPropertiesText(m_views.index->RecordAt(node)));
}

void IndexPane::RemoveEntriesLeadingTo(const QString& fileName) {
  if (m_views.index->RemoveEntriesLeadingTo(fileName) > 0) m_project.SetModified();
}

int IndexPane::CountEntriesLeadingTo(const QStringList& fileNames) const {
  return m_views.index->CountEntriesLeadingTo(fileNames);
}

void IndexPane::PrepareMenu() {
  m_views.deleteAction->setEnabled(m_project.IsOpen() && m_views.indexTree->currentIndex().isValid());
  m_views.propertiesAction->setEnabled(true);
}
