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
#include <QTimer>
#include <QTreeView>

#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "panes/caption_edit_delegate.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "panes/index_pane.h"
#include "model/topic_rules.h"
#include "panes/tree_drop_targets.h"
#include "panes/topic_editing.h"
#include "panes/tree_undo.h"
#include "platform/html_text.h"
#include "platform/file_operations.h"
#include "platform/text_file.h"
#include "platform/trash.h"
#include "widgets/action_registry.h"

ContentsPane::ContentsPane(HelpProject& helpProject, TopicEditing& topicEditing, IndexPane& indexPane,
                           Views paneViews, ActionRegistry& registry, QObject* parent)
    : QObject(parent), project(helpProject), topics(topicEditing), index(indexPane), views(paneViews) {
  const auto add = [&](const QString& id, const QString& caption, void (ContentsPane::*command)()) {
    QAction* item = registry.Add(id, caption);
    item->setEnabled(false);
    if (command) connect(item, &QAction::triggered, this, command);
    return item;
  };
  add("newTopicAction", "New topic", &ContentsPane::NewTopic)->setShortcut(QKeySequence("Ctrl+T"));
  add("newSubtopicAction", "New subtopic", &ContentsPane::NewSubtopic)
      ->setShortcut(QKeySequence("Ctrl+Shift+T"));
  add("deleteTopicAction", "Delete topic", &ContentsPane::DeleteTopicCommand);
  add("renameTopicAction", "Rename topic", nullptr)->setEnabled(true);
  appendLinksAction =
      add("appendLinksAction", "Append links to subtopics", &ContentsPane::AppendLinksToSubtopics);
  QTreeView* tree = views.contentsTree;
  // Renaming starts with F2 or "Rename topic" only: a click on the selected
  // topic leaves Del to "Delete topic".
  tree->setEditTriggers(QAbstractItemView::EditKeyPressed);
  tree->setItemDelegate(new CaptionEditDelegate(
      [this](const QModelIndex& node, const QString& caption, const QString& before) {
        if (undo) undo->TopicRenamed(node, before, caption);
        CaptionEdited(node, caption);
      },
      tree,
      [this](const QString& caption) {
        if (IsUsableTitle(caption)) return true;
        // Said once the in-place editor has closed, not from inside its commit.
        QTimer::singleShot(0, this,
                           [this] { QMessageBox::warning(views.window, "Orvex", kEmptyTitleMessage); });
        return false;
      }));
  new ContentsDropTarget(
      tree, [this](const QPoint& pos) { DropOnContents(pos); }, this);
  // Alt+arrow keys move the selected topic while the tree has the focus.
  const std::pair<Qt::Key, TopicShift> shifts[] = {{Qt::Key_Up, TopicShift::Up},
                                                   {Qt::Key_Down, TopicShift::Down},
                                                   {Qt::Key_Right, TopicShift::In},
                                                   {Qt::Key_Left, TopicShift::Out}};
  for (const auto& keyAndShift : shifts) {
    const TopicShift shift = keyAndShift.second;
    auto* move = new QAction(tree);
    move->setShortcut(QKeySequence(Qt::ALT | keyAndShift.first));
    move->setShortcutContext(Qt::WidgetShortcut);
    tree->addAction(move);
    connect(move, &QAction::triggered, this, [this, shift] { ShiftSelectedTopic(shift); });
  }
}

void ContentsPane::SetUndo(TreeUndo* treeUndo) {
  undo = treeUndo;
  if (undo)
    undo->SetRetitle(
        [this](const QModelIndex& node, const QString& caption) { CaptionEdited(node, caption); });
}

void ContentsPane::CaptionEdited(const QModelIndex& node, const QString& caption) {
  project.SetModified();
  // The editor holds the selected topic's page; another node changes its caption only.
  if (!node.isValid() || node != views.contentsTree->currentIndex()) return;
  // The page's title follows, in the page as edited.
  const QPersistentModelIndex edited(node);
  views.editor->Settle(
      this,
      [this, edited, caption] {
        if (edited.isValid() && edited == views.contentsTree->currentIndex()) RetitlePage(edited, caption);
      },
      !topics.SourceInUse());
}

void ContentsPane::RetitlePage(const QModelIndex& node, const QString& caption) {
  const QString oldTitle = views.editor->DocumentTitle();
  const QString page =
      topics.SourceInUse() ? topics.SourceText() : CardButtonsToObjects(views.editor->DocumentHTML());
  // The page holds the title escaped (older pages may hold it raw); a page
  // whose title was lost takes the new one into its empty title and heading.
  bool replaced = false;
  const QString escaped = EscapeHtml(caption);
  QString text = oldTitle.isEmpty() ? FillEmptyTitleInPage(page, escaped, &replaced)
                                    : ReplaceTitleInPage(page, EscapeHtml(oldTitle), escaped, &replaced);
  if (!replaced && !oldTitle.isEmpty()) text = ReplaceTitleInPage(page, oldTitle, escaped, &replaced);
  if (!replaced) return;
  views.editor->SetDocumentHTML(CardObjectsToButtons(text));
  views.editor->SetBaseURL(project.Folder());
  const TopicData* topic = views.contents->RecordAt(node);
  if (topics.SourceInUse()) {
    topics.SetSourceText(text);
    // Not yet in the file: the next store writes it.
    views.sourceView->document()->setModified(true);
  } else if (topic && !topic->fileName.isEmpty()) {
    ReportFailure(views.window,
                  WriteLinesFile(project.PagePath(topic->fileName), SplitLines(text), project.CodePage()));
  }
}

void ContentsPane::DeleteTopicCommand() {
  const QModelIndex node = views.contentsTree->currentIndex();
  if (!node.isValid()) return;
  // Page files go too: the question says how many, and whether the trash takes them.
  const int subtopics = int(views.contents->Subtree(node).size()) - 1;
  const int pageFiles = int(PageFilesGoingWith(node).size());
  const bool toTrash = pageFiles > 0 && TrashAvailable();
  const int indexEntries = index.CountEntriesLeadingTo(views.contents->PagesGoingWith(node));
  const auto answer = QMessageBox::question(
      views.window, "Confirm",
      DeleteTopicQuestion(views.contents->CaptionAt(node), subtopics, pageFiles, toTrash, indexEntries),
      QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  DeleteTopic(node, toTrash);
}

QStringList ContentsPane::PageFilesGoingWith(const QModelIndex& node) const {
  QStringList files;
  if (!project.IsOpen()) return files;
  for (const QString& name : views.contents->PagesGoingWith(node)) {
    const QString path = project.PagePath(name);
    if (QFileInfo(path).isFile()) files << path;
  }
  return files;
}

void ContentsPane::DeleteTopic(const QModelIndex& node, bool toTrash) {
  if (!node.isValid() || node.model() != views.contents) return;
  QTreeView* tree = views.contentsTree;
  const QStringList files = PageFilesGoingWith(node);
  // What undo puts back: the subtree at its place, the lines and the Index.
  const TreePath place = PathOf(node);
  ContentsNode subtree = views.contents->SubtreeCopy(node);
  TreeUndo::Before before;
  if (undo) before = undo->Capture();
  std::vector<TopicPageFile> pages;
  QStringList gone;  // pages no remaining topic shows
  {
    // Neither stored nor loaded on the way: the page is going.
    const TopicEditing::QuietSelection quiet(topics);
    gone = views.contents->DeleteTopic(node);
    if (const QModelIndex now = tree->currentIndex(); now.isValid()) tree->setCurrentIndex(now);
  }
  QStringList kept;  // page files that could not be moved or deleted
  for (const QString& path : files) {
    TopicPageFile page{path};
    // A page deleted for good comes back from its bytes.
    if (!toTrash && undo) {
      if (Result<QByteArray> bytes = ReadFileBytes(path)) {
        page.bytes = std::move(*bytes);
        page.held = true;
      }
    }
    const Status removed = toTrash ? MoveToTrash(path, &page.trashed) : RemoveFile(path);
    if (!removed) {
      kept << removed.Message();
      continue;
    }
    pages.push_back(std::move(page));
  }
  for (const QString& name : gone) {
    index.RemoveEntriesLeadingTo(name);
    project.RemoveContextEntries(name);
  }
  // The compiler would miss them: they leave the project's file list too.
  project.RemoveListedPages(gone);
  topics.ClearPage();
  topics.LoadSelectedTopic(tree->currentIndex());
  project.SetModified();
  tree->viewport()->update();
  if (undo) undo->TopicDeleted(place, std::move(subtree), std::move(before), std::move(pages));
  // The topics are gone either way; a page left on disk is said.
  if (!kept.isEmpty()) QMessageBox::warning(views.window, "Orvex", kept.join("\n"));
}

void ContentsPane::AppendLinksToSubtopics() {
  const std::vector<SubtopicLink> links = views.contents->SubtopicLinks(views.contentsTree->currentIndex());
  if (links.empty()) return;
  TextRange range = views.editor->SelectionRange();
  range.moveEnd("word", 99999);
  range.Collapse(false);
  // In one piece: the engine takes a line break inserted on its own at the
  // end of the page for a placeholder and replaces it with what follows.
  range.pasteHTML(SubtopicLinksHtml(links).join(QString()));
}

void ContentsPane::PrepareMenu() {
  const QModelIndex selected = views.contentsTree->currentIndex();
  appendLinksAction->setEnabled(selected.isValid() && views.contents->rowCount(selected) > 0);
}
