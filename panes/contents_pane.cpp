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
#include "platform/text_file.h"

ContentsPane::ContentsPane(HelpProject& project, TopicEditing& topics, IndexPane& index, Views views,
                           QObject* parent)
    : QObject(parent), m_project(project), m_topics(topics), m_index(index), m_views(views) {
  connect(m_views.newTopicAction, &QAction::triggered, this, &ContentsPane::NewTopic);
  connect(m_views.newSubtopicAction, &QAction::triggered, this, &ContentsPane::NewSubtopic);
  connect(m_views.deleteTopicAction, &QAction::triggered, this, &ContentsPane::DeleteTopicCommand);
  connect(m_views.appendLinksAction, &QAction::triggered, this, &ContentsPane::AppendLinksToSubtopics);
  QTreeView* tree = m_views.contentsTree;
  tree->setItemDelegate(new CaptionEditDelegate(
      [this](const QModelIndex& index, const QString& caption) { CaptionEdited(index, caption); }, tree));
  new ContentsDropTarget(
      tree, [this](const QPoint& pos) { DropOnContents(pos); }, this);
}

void ContentsPane::CaptionEdited(const QModelIndex& node, const QString& caption) {
  m_project.SetModified();
  // The editor holds the selected topic's page; another node changes its caption only.
  if (!node.isValid() || node != m_views.contentsTree->currentIndex()) return;
  const QString oldTitle = m_views.editor->DocumentTitle();
  const QString page =
      m_topics.SourceInUse() ? m_topics.MemoText() : CardButtonsToObjects(m_views.editor->DocumentHTML());
  bool replaced = false;
  const QString text = ReplaceTitleInPage(page, oldTitle, caption, &replaced);
  if (!replaced) return;
  m_views.editor->SetDocumentHTML(CardObjectsToButtons(text));
  m_views.editor->SetBaseURL(m_project.Folder());
  WaitEditorIdle(m_views.editor);
  const TopicData* topic = m_views.contents->RecordAt(node);
  if (m_topics.SourceInUse()) {
    m_topics.SetMemoText(text);
    // Not yet in the file: the next store writes it.
    m_views.sourceView->document()->setModified(true);
  } else if (topic && !topic->FileName.isEmpty()) {
    ReportFailure(m_views.window, WriteLinesFile(m_project.PagePath(topic->FileName), SplitLines(text),
                                                 m_project.CodePage()));
  }
}

void ContentsPane::DeleteTopicCommand() {
  const QModelIndex node = m_views.contentsTree->currentIndex();
  if (!node.isValid()) return;
  // Pages are deleted from disk: ask first.
  const int subtopics = int(m_views.contents->Subtree(node).size()) - 1;
  const auto answer = QMessageBox::question(m_views.window, "Confirm",
                                            DeleteTopicQuestion(m_views.contents->CaptionAt(node), subtopics),
                                            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
  if (answer != QMessageBox::Yes) return;
  DeleteTopic(node);
}

void ContentsPane::DeleteTopic(const QModelIndex& node) {
  if (!node.isValid() || node.model() != m_views.contents) return;
  QTreeView* tree = m_views.contentsTree;
  QStringList gone;  // pages no remaining topic shows
  {
    // Neither stored nor loaded on the way: the page is going.
    const TopicEditing::QuietSelection quiet(m_topics);
    gone = m_views.contents->DeleteTopic(node);
    if (const QModelIndex now = tree->currentIndex(); now.isValid()) tree->setCurrentIndex(now);
  }
  QStringList kept;  // page files that could not be deleted
  for (const QString& name : gone) {
    if (m_project.IsOpen()) {
      const QString path = m_project.PagePath(name);
      if (QFileInfo(path).isFile() && !QFile::remove(path)) kept << path;
    }
    m_index.RemoveEntriesLeadingTo(name);
    m_project.RemoveContextEntries(name);
  }
  m_topics.ClearPage();
  m_topics.LoadSelectedTopic(tree->currentIndex());
  m_project.SetModified();
  tree->viewport()->update();
  // The topics are gone either way; a page left on disk is said.
  if (!kept.isEmpty()) QMessageBox::warning(m_views.window, "Orvex", "Cannot delete file " + kept.join(", "));
}

void ContentsPane::AppendLinksToSubtopics() {
  const std::vector<SubtopicLink> links =
      m_views.contents->SubtopicLinks(m_views.contentsTree->currentIndex());
  if (links.empty()) return;
  TextRange range = m_views.editor->SelectionRange();
  range.moveEnd("word", 99999);
  range.Collapse(false);
  // In one piece: the engine takes a line break inserted on its own at the
  // end of the page for a placeholder and replaces it with what follows.
  range.pasteHTML(SubtopicLinksHtml(links).join(QString()));
  WaitEditorIdle(m_views.editor);
}

void ContentsPane::PrepareMenu() {
  const QModelIndex selected = m_views.contentsTree->currentIndex();
  m_views.appendLinksAction->setEnabled(selected.isValid() && m_views.contents->rowCount(selected) > 0);
}
