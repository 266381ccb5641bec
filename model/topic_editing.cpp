// Contents editing: renaming a topic in place (its page's title and heading
// follow), deleting a topic with its subtopics, and appending links to the
// subtopics at the end of the page. Moving topics is in topic_move.cpp.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSet>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "model/caption_edit_delegate.h"
#include "model/index_pane.h"
#include "model/topic_rules.h"
#include "model/tree_drop_targets.h"
#include "model/tree_nodes.h"
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

void MainWindow::ConnectTreeEditing() {
  connect(deleteTopicAction, &QAction::triggered, this, &MainWindow::DeleteTopicCommand);
  connect(appendLinksAction, &QAction::triggered, this, &MainWindow::AppendLinksToSubtopics);
  indexPane = new IndexPane(
      project, {this, indexTree, contentsTree, editor, deleteIndexEntryAction, indexPropertiesAction}, this);
  contentsTree->setItemDelegate(new CaptionEditDelegate(
      [this](const QModelIndex& index, const QString& caption) {
        if (QTreeWidgetItem* node = contentsTree->itemFromIndex(index)) ContentsCaptionEdited(node, caption);
      },
      contentsTree));
  contentsDropTarget = new ContentsDropTarget(
      contentsTree, [this](const QPoint& pos) { DropOnContents(pos); }, this);
}

void MainWindow::ContentsCaptionEdited(QTreeWidgetItem* node, const QString& caption) {
  project.SetModified();
  // The editor holds the selected topic's page; another node changes its caption only.
  if (!node || node != contentsTree->currentItem()) return;
  const QString oldTitle = editor->DocumentTitle();
  const QString page = CurrentTab == 1 ? MemoText() : CardButtonsToObjects(editor->DocumentHTML());
  bool replaced = false;
  const QString text = ReplaceTitleInPage(page, oldTitle, caption, &replaced);
  if (!replaced) return;
  editor->SetDocumentHTML(CardObjectsToButtons(text));
  editor->SetBaseURL(project.Folder());
  WaitEditorIdle(editor);
  const TopicData* topic = ContentsRecord(node);
  if (CurrentTab == 1) {
    SetMemoText(text);
    // Not yet in the file: the next store writes it.
    sourceView->document()->setModified(true);
  } else if (topic && !topic->FileName.isEmpty()) {
    ReportFailure(WriteLinesFile(project.PagePath(topic->FileName), SplitLines(text), project.CodePage()));
  }
}

void MainWindow::DeleteTopicCommand() {
  QTreeWidgetItem* node = contentsTree->currentItem();
  if (!node) return;
  // Pages are deleted from disk: ask first.
  const int subtopics = int(Subtree(node).size()) - 1;
  const auto answer = QMessageBox::question(this, "Confirm", DeleteTopicQuestion(node->text(0), subtopics),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  DeleteTopic(node);
}

void MainWindow::DeleteTopic(QTreeWidgetItem* node) {
  if (!node || node->treeWidget() != contentsTree) return;
  const std::vector<QTreeWidgetItem*> removed = Subtree(node);
  // A page that a remaining topic still shows stays, with its entries and number.
  const QSet<QString> stillUsed = PagesOutside(contentsTree, node);
  {
    // Neither stored nor loaded on the way: the page is going.
    const bool wasOff = SelectionNotificationsOff;
    SelectionNotificationsOff = true;
    TakeOut(contentsTree, node);
    if (QTreeWidgetItem* now = contentsTree->currentItem()) contentsTree->setCurrentItem(now);
    SelectionNotificationsOff = wasOff;
  }
  QSet<QString> done;
  QStringList kept;  // page files that could not be deleted
  for (QTreeWidgetItem* item : removed) {
    const TopicData* record = ContentsRecord(item);
    if (!record) continue;
    const QString name = record->FileName;
    if (name.isEmpty() || stillUsed.contains(name) || done.contains(name)) continue;
    done.insert(name);
    if (project.IsOpen()) {
      const QString path = project.PagePath(name);
      if (QFileInfo(path).isFile() && !QFile::remove(path)) kept << path;
    }
    indexPane->RemoveEntriesLeadingTo(name);
    project.RemoveContextEntries(name);
  }
  delete node;  // the records go with their nodes
  editor->NewDocument();
  sourceView->clear();
  WaitEditorIdle(editor);
  LoadSelectedTopic(contentsTree->currentItem());
  project.SetModified();
  contentsTree->viewport()->update();
  // The topics are gone either way; a page left on disk is said.
  if (!kept.isEmpty()) QMessageBox::warning(this, "Orvex", "Cannot delete file " + kept.join(", "));
}

void MainWindow::AppendLinksToSubtopics() {
  QTreeWidgetItem* selected = contentsTree->currentItem();
  if (!selected || selected->childCount() == 0) return;
  std::vector<SubtopicLink> links;
  for (int c = 0; c < selected->childCount(); ++c) {
    QTreeWidgetItem* child = selected->child(c);
    const TopicData* record = ContentsRecord(child);
    links.push_back({child->text(0), record ? record->FileName : QString()});
  }
  TextRange range = editor->SelectionRange();
  range.moveEnd("word", 99999);
  range.Collapse(false);
  // In one piece: the engine takes a line break inserted on its own at the
  // end of the page for a placeholder and replaces it with what follows.
  range.pasteHTML(SubtopicLinksHtml(links).join(QString()));
  WaitEditorIdle(editor);
}
