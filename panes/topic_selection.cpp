// The topic selected in the Contents tree is the one being edited: its page
// is stored before the selection moves and the new one's page loaded after.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeView>

#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "panes/topic_editing.h"
#include "platform/text_file.h"

void TopicEditing::SelectionChanged(const QModelIndex& current, const QModelIndex& previous) {
  if (selectionOff) return;
  // The page left is stored once the editor has taken everything typed into
  // it (typing meanwhile waits), and the new topic's page loaded after.
  const QPersistentModelIndex left(previous);
  const QPersistentModelIndex selected(current);
  views.editor->Settle(this, [this, left, selected] {
    if (!StoreSelectedTopic(left)) {
      // The edits could not be written: stay on the topic that holds them.
      const QuietSelection quiet(*this);
      views.contentsTree->setCurrentIndex(left);
      return;
    }
    LoadSelectedTopic(selected);
  });
}

bool TopicEditing::PageHasUnsavedEdits() const {
  if (currentTab == 1) return views.sourceView->document()->isModified();
  return views.editor->Modified();
}

bool TopicEditing::PageChangedSinceStored() {
  if (!PageHasUnsavedEdits()) return false;
  const TopicData* topic = views.contents->RecordAt(views.contentsTree->currentIndex());
  if (!topic || topic->fileName.isEmpty()) return true;
  // Undo history outlives a save: the page counts as changed only when what
  // would be stored differs from what its file holds.
  const Result<QStringList> stored = ReadLinesFile(project.PagePath(topic->fileName), project.CodePage());
  if (!stored) return true;
  if (currentTab == 1) return SplitLines(SourceText()) != *stored;
  const std::optional<QStringList> lines = EditorPageLines();
  return !lines || *lines != *stored;
}

bool TopicEditing::StoreSelectedTopic(const QModelIndex& selected, bool evenWithEmptySource) {
  const TopicData* topic = views.contents->RecordAt(selected);
  if (!topic || topic->fileName.isEmpty()) return true;
  // An empty source view means no page was loaded for the topic.
  if (!evenWithEmptySource && views.sourceView->toPlainText().isEmpty()) return true;
  if (!PageHasUnsavedEdits()) return true;
  const QString path = project.PagePath(topic->fileName);
  if (currentTab == 1) return Report(StoreSourcePage(path));
  return Report(StoreEditorPage(path));
}

bool TopicEditing::StoreCurrentTopic(bool evenWithEmptySource) {
  return StoreSelectedTopic(views.contentsTree->currentIndex(), evenWithEmptySource);
}

void TopicEditing::ClearPage() {
  views.editor->NewDocument();
  views.sourceView->clear();
  SetPageLoaded(false);
}

void TopicEditing::SetPageLoaded(bool loaded) {
  // Without a page, typing would be taken and then dropped.
  views.editor->SetReadOnly(!loaded);
  views.sourceView->setReadOnly(!loaded);
}

void TopicEditing::LoadSelectedTopic(const QModelIndex& node) {
  if (!node.isValid()) {
    project.SetCurrentTopic(std::nullopt);
    ClearPage();
    ShowContextNumber();
    return;
  }
  const TopicData* topic = views.contents->RecordAt(node);
  project.SetCurrentTopic(topic ? std::optional<TopicData>(*topic) : std::nullopt);
  if (!topic) return;
  const QString path = project.PagePath(topic->fileName);
  const bool exists = !topic->fileName.isEmpty() && QFileInfo(path).isFile();
  Status load;
  if (exists) {
    load = LoadTopicPage(path);
  } else if (currentTab == 0) {
    ClearPage();
  }
  const bool loaded = Report(load);
  if (!loaded) {
    // Never leave another topic's page on show: edits to it would be stored here.
    ClearPage();
  }
  // A topic whose page file is missing gets it on the next store; a heading has none.
  SetPageLoaded(loaded && !topic->fileName.isEmpty());
  ShowContextNumber();
}

void TopicEditing::ShowContextNumber() {
  views.contextLabel->setText("Context=" + project.CurrentContextNumber());
}

void TopicEditing::CopyContextNumber() {
  QGuiApplication::clipboard()->setText(project.CurrentContextNumber().left(20));
}
