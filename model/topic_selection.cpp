// The topic selected in the Contents tree is the one being edited: its page
// is stored before the selection moves and the new one's page loaded after.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/tree_nodes.h"

void MainWindow::ConnectTopicSelection() {
  connect(contentsTree, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
            if (SelectionNotificationsOff) return;
            if (!StoreSelectedTopic(previous)) {
              // The edits could not be written: stay on the topic that holds them.
              const QSignalBlocker block(contentsTree);
              contentsTree->setCurrentItem(previous);
              return;
            }
            LoadSelectedTopic(current);
          });
  connect(copyContextButton, &QPushButton::clicked, this, &MainWindow::CopyContextNumber);
}

bool MainWindow::PageHasUnsavedEdits() {
  if (CurrentTab == 1) return sourceView->document()->isModified();
  return StatusEnabled(editor->QueryStatus(decmd::Undo));
}

bool MainWindow::StoreSelectedTopic(QTreeWidgetItem* selected, bool evenWithEmptySource) {
  const TopicData* topic = ContentsRecord(selected);
  if (!topic || topic->FileName.isEmpty()) return true;
  // An empty source view means no page was loaded for the topic.
  if (!evenWithEmptySource && sourceView->toPlainText().isEmpty()) return true;
  if (!PageHasUnsavedEdits()) return true;
  const QString path = project.PagePath(topic->FileName);
  if (CurrentTab == 1) return ReportFailure(StoreSourcePage(path));
  const Status stored = StoreEditorPage(path);
  WaitEditorIdle(editor);
  return ReportFailure(stored);
}

void MainWindow::LoadSelectedTopic(QTreeWidgetItem* node) {
  if (!node) return;
  const TopicData* topic = ContentsRecord(node);
  project.SetCurrentTopic(topic ? std::optional<TopicData>(*topic) : std::nullopt);
  if (!topic) return;
  const QString path = project.PagePath(topic->FileName);
  const bool exists = !topic->FileName.isEmpty() && QFileInfo(path).isFile();
  Status load;
  if (exists) {
    load = LoadTopicPage(path);
  } else if (CurrentTab == 0) {
    editor->NewDocument();
    sourceView->clear();
    WaitEditorIdle(editor);
  }
  const bool loaded = ReportFailure(load);
  if (!loaded) {
    // Never leave another topic's page on show: edits to it would be stored here.
    editor->NewDocument();
    sourceView->clear();
    WaitEditorIdle(editor);
  }
  ShowContextNumber();
}

void MainWindow::ShowContextNumber() { contextLabel->setText("Context=" + project.CurrentContextNumber()); }

void MainWindow::CopyContextNumber() {
  QGuiApplication::clipboard()->setText(project.CurrentContextNumber().left(20));
}
