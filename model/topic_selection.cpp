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

void TForm1::ConnectTopicSelection() {
  connect(TreeView1, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
            if (SelectionNotificationsOff) return;
            if (!StoreSelectedTopic(previous)) {
              // The edits could not be written: stay on the topic that holds them.
              const QSignalBlocker block(TreeView1);
              TreeView1->setCurrentItem(previous);
              return;
            }
            LoadSelectedTopic(current);
          });
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
}

bool TForm1::StoreSelectedTopic(QTreeWidgetItem* selected) {
  if (CurrentTab == 1) {
    if (!Memo1->document()->isModified()) return true;
    CurTopic = NodeName(selected);
  } else {
    if (!selected || !StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Undo))) return true;
    CurTopic = NodeName(selected);
  }
  if (!CurTopic || CurTopic->FileName.isEmpty() || Memo1->toPlainText().isEmpty()) return true;
  const QString path = PagePath(*CurTopic);
  return ReportFailure([&] {
    if (CurrentTab == 1) {
      StoreSourcePage(path);
    } else {
      StoreEditorPage(path);
      WaitEditorIdle(DHTMLEdit1);
    }
  });
}

void TForm1::LoadSelectedTopic(QTreeWidgetItem* node) {
  if (!node) return;
  CurTopic = NodeName(node);
  if (!CurTopic) return;
  const QString path = PagePath(*CurTopic);
  const bool exists = !CurTopic->FileName.isEmpty() && QFileInfo(path).isFile();
  const bool loaded = ReportFailure([&] {
    if (exists) {
      LoadTopicPage(path);
    } else if (CurrentTab == 0) {
      DHTMLEdit1->NewDocument();
      Memo1->clear();
      WaitEditorIdle(DHTMLEdit1);
    }
  });
  if (!loaded) {
    // Never leave another topic's page on show: edits to it would be stored here.
    DHTMLEdit1->NewDocument();
    Memo1->clear();
    WaitEditorIdle(DHTMLEdit1);
  }
  const QString value = CurTopic->FileName.isEmpty() ? QString() : ContextNumberOf(CurTopic->FileName);
  Label1->setText("Context=" + value);
}

void TForm1::Button1Click() {
  const QString text = Label1->text();
  const int eq = text.indexOf('=');
  QGuiApplication::clipboard()->setText(text.mid(eq + 1, 20));
}
