// The Contents pane's wiring, renaming a topic in place (its page's title and
// heading follow), deleting a topic with its subtopics, and appending links
// to the subtopics at the end of the page. New topics are made in
// create_topic.cpp, topics moved in topic_move.cpp.
#include "panes/contents_pane.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSet>
#include <QTreeWidget>

#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "panes/caption_edit_delegate.h"
#include "model/help_project.h"
#include "panes/index_pane.h"
#include "model/topic_rules.h"
#include "panes/tree_drop_targets.h"
#include "panes/tree_nodes.h"
#include "panes/topic_editing.h"
#include "platform/text_file.h"

namespace {

// The item and its descendants, in document order.
std::vector<QTreeWidgetItem*> Subtree(QTreeWidgetItem* root) {
  std::vector<QTreeWidgetItem*> items;
  std::vector<QTreeWidgetItem*> work{root};
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    items.push_back(item);
    for (int c = item->childCount() - 1; c >= 0; --c) work.push_back(item->child(c));
  }
  return items;
}

// The page names of every topic of the tree outside `except`'s subtree.
QSet<QString> PagesOutside(const QTreeWidget* tree, const QTreeWidgetItem* except) {
  QSet<QString> pages;
  std::vector<QTreeWidgetItem*> work;
  for (int i = 0; i < tree->topLevelItemCount(); ++i) work.push_back(tree->topLevelItem(i));
  while (!work.empty()) {
    QTreeWidgetItem* item = work.back();
    work.pop_back();
    if (item == except) continue;
    if (const TopicData* record = ContentsRecord(item)) pages.insert(record->FileName);
    for (int c = 0; c < item->childCount(); ++c) work.push_back(item->child(c));
  }
  return pages;
}

// Takes an item out of its tree (with its subtree) without deleting it.
void TakeOut(QTreeWidget* tree, QTreeWidgetItem* item) {
  if (QTreeWidgetItem* parent = item->parent())
    parent->takeChild(parent->indexOfChild(item));
  else
    tree->takeTopLevelItem(tree->indexOfTopLevelItem(item));
}

}  // namespace

ContentsPane::ContentsPane(HelpProject& project, TopicEditing& topics, IndexPane& index, Views views,
                           QObject* parent)
    : QObject(parent), m_project(project), m_topics(topics), m_index(index), m_views(views) {
  connect(m_views.newTopicAction, &QAction::triggered, this, &ContentsPane::NewTopic);
  connect(m_views.newSubtopicAction, &QAction::triggered, this, &ContentsPane::NewSubtopic);
  connect(m_views.deleteTopicAction, &QAction::triggered, this, &ContentsPane::DeleteTopicCommand);
  connect(m_views.appendLinksAction, &QAction::triggered, this, &ContentsPane::AppendLinksToSubtopics);
  QTreeWidget* tree = m_views.contentsTree;
  tree->setItemDelegate(new CaptionEditDelegate(
      [this, tree](const QModelIndex& index, const QString& caption) {
        if (QTreeWidgetItem* node = tree->itemFromIndex(index)) CaptionEdited(node, caption);
      },
      tree));
  new ContentsDropTarget(
      tree, [this](const QPoint& pos) { DropOnContents(pos); }, this);
}

void ContentsPane::CaptionEdited(QTreeWidgetItem* node, const QString& caption) {
  m_project.SetModified();
  // The editor holds the selected topic's page; another node changes its caption only.
  if (!node || node != m_views.contentsTree->currentItem()) return;
  const QString oldTitle = m_views.editor->DocumentTitle();
  const QString page =
      m_topics.SourceInUse() ? m_topics.MemoText() : CardButtonsToObjects(m_views.editor->DocumentHTML());
  bool replaced = false;
  const QString text = ReplaceTitleInPage(page, oldTitle, caption, &replaced);
  if (!replaced) return;
  ReportFailure(m_views.window, [&] {
    m_views.editor->SetDocumentHTML(CardObjectsToButtons(text));
    m_views.editor->SetBaseURL(m_project.Folder());
    WaitEditorIdle(m_views.editor);
    const TopicData* topic = ContentsRecord(node);
    if (m_topics.SourceInUse()) {
      m_topics.SetMemoText(text);
      // Not yet in the file: the next store writes it.
      m_views.sourceView->document()->setModified(true);
    } else if (topic && !topic->FileName.isEmpty()) {
      WriteLinesFile(m_project.PagePath(topic->FileName), SplitLines(text), m_project.CodePage());
    }
  });
}

void ContentsPane::DeleteTopicCommand() {
  QTreeWidgetItem* node = m_views.contentsTree->currentItem();
  if (!node) return;
  // Pages are deleted from disk: ask first.
  const int subtopics = int(Subtree(node).size()) - 1;
  const auto answer =
      QMessageBox::question(m_views.window, "Confirm", DeleteTopicQuestion(node->text(0), subtopics),
                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  DeleteTopic(node);
}

void ContentsPane::DeleteTopic(QTreeWidgetItem* node) {
  if (!node || node->treeWidget() != m_views.contentsTree) return;
  const std::vector<QTreeWidgetItem*> removed = Subtree(node);
  // A page that a remaining topic still shows stays, with its entries and number.
  const QSet<QString> stillUsed = PagesOutside(m_views.contentsTree, node);
  {
    // Neither stored nor loaded on the way: the page is going.
    const TopicEditing::QuietSelection quiet(m_topics);
    TakeOut(m_views.contentsTree, node);
    if (QTreeWidgetItem* now = m_views.contentsTree->currentItem()) m_views.contentsTree->setCurrentItem(now);
  }
  QSet<QString> done;
  QStringList kept;  // page files that could not be deleted
  for (QTreeWidgetItem* item : removed) {
    const TopicData* record = ContentsRecord(item);
    if (!record) continue;
    const QString name = record->FileName;
    if (name.isEmpty() || stillUsed.contains(name) || done.contains(name)) continue;
    done.insert(name);
    if (m_project.IsOpen()) {
      const QString path = m_project.PagePath(name);
      if (QFileInfo(path).isFile() && !QFile::remove(path)) kept << path;
    }
    m_index.RemoveEntriesLeadingTo(name);
    m_project.RemoveContextEntries(name);
  }
  delete node;  // the records go with their nodes
  m_topics.ClearPage();
  m_topics.LoadSelectedTopic(m_views.contentsTree->currentItem());
  m_project.SetModified();
  m_views.contentsTree->viewport()->update();
  // The topics are gone either way; a page left on disk is said.
  if (!kept.isEmpty()) QMessageBox::warning(m_views.window, "Orvex", "Cannot delete file " + kept.join(", "));
}

void ContentsPane::AppendLinksToSubtopics() {
  QTreeWidgetItem* selected = m_views.contentsTree->currentItem();
  if (!selected || selected->childCount() == 0) return;
  std::vector<SubtopicLink> links;
  for (int c = 0; c < selected->childCount(); ++c) {
    QTreeWidgetItem* child = selected->child(c);
    const TopicData* record = ContentsRecord(child);
    links.push_back({child->text(0), record ? record->FileName : QString()});
  }
  TextRange range = m_views.editor->SelectionRange();
  range.moveEnd("word", 99999);
  range.Collapse(false);
  // In one piece: the engine takes a line break inserted on its own at the
  // end of the page for a placeholder and replaces it with what follows.
  range.pasteHTML(SubtopicLinksHtml(links).join(QString()));
  WaitEditorIdle(m_views.editor);
}

void ContentsPane::PrepareMenu() {
  QTreeWidgetItem* selected = m_views.contentsTree->currentItem();
  m_views.appendLinksAction->setEnabled(selected && selected->childCount() > 0);
}
