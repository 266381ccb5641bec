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

bool MainWindow::StoreSelectedTopic(QTreeWidgetItem* selected) {
  if (CurrentTab == 1) {
    if (!sourceView->document()->isModified()) return true;
    CurTopic = NodeName(selected);
  } else {
    if (!selected || !StatusEnabled(editor->QueryStatus(decmd::Undo))) return true;
    CurTopic = NodeName(selected);
  }
  if (!CurTopic || CurTopic->FileName.isEmpty() || sourceView->toPlainText().isEmpty()) return true;
  const QString path = PagePath(*CurTopic);
  return ReportFailure([&] {
    if (CurrentTab == 1) {
      StoreSourcePage(path);
    } else {
      StoreEditorPage(path);
      WaitEditorIdle(editor);
    }
  });
}

void MainWindow::LoadSelectedTopic(QTreeWidgetItem* node) {
  if (!node) return;
  CurTopic = NodeName(node);
  if (!CurTopic) return;
  const QString path = PagePath(*CurTopic);
  const bool exists = !CurTopic->FileName.isEmpty() && QFileInfo(path).isFile();
  const bool loaded = ReportFailure([&] {
    if (exists) {
      LoadTopicPage(path);
    } else if (CurrentTab == 0) {
      editor->NewDocument();
      sourceView->clear();
      WaitEditorIdle(editor);
    }
  });
  if (!loaded) {
    // Never leave another topic's page on show: edits to it would be stored here.
    editor->NewDocument();
    sourceView->clear();
    WaitEditorIdle(editor);
  }
  const QString value = CurTopic->FileName.isEmpty() ? QString() : ContextNumberOf(CurTopic->FileName);
  contextLabel->setText("Context=" + value);
}

void MainWindow::CopyContextNumber() {
  const QString text = contextLabel->text();
  const int eq = text.indexOf('=');
  QGuiApplication::clipboard()->setText(text.mid(eq + 1, 20));
}
