// How a topic's page travels between its file, the editor and the source
// view, and how the menus follow the keyboard focus between the two views.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/card_conversions.h"
#include "editor/editing_control.h"
#include "platform/text_file.h"
#include "project/page_template.h"

int TForm1::PageCodePage() const { return ProjectCodePage(ProjectLines); }

void TForm1::LoadTopicPage(const QString& path) {
  PageLines = ReadLinesFile(path, PageCodePage());
  const QString text = JoinLines(PageLines);
  // The base folder first, so the page is not served twice.
  DHTMLEdit1->SetBaseURL(ProjectFolder());
  DHTMLEdit1->SetDocumentHTML(CardObjectsToButtons(text));
  SetMemoText(text);
  // The editor finishes loading on its own: every later call on it waits
  // for that, so the selection does not have to.
}

void TForm1::StoreEditorPage(const QString& path) {
  const std::optional<QString> html = DHTMLEdit1->TryDocumentHTML();
  // Writing the page as it was loaded would silently drop the edits.
  if (!html) throw FileError("The editor did not answer: " + path + " was not stored.");
  PageLines = SplitLines(CardButtonsToObjects(*html));
  WriteLinesFile(path, PageLines, PageCodePage());
}

void TForm1::StoreSourcePage(const QString& path) {
  // The source view already holds the stored form; its lines get CR LF ends.
  WriteTextFile(path, MemoText(), PageCodePage());
}

void TForm1::SetMemoText(const QString& pageText) {
  // The view keeps lines apart with LF; MemoText gives the CR LF ends back.
  Memo1->setPlainText(QString(pageText).replace("\r\n", "\n").replace('\r', '\n'));
  Memo1->document()->setModified(false);
}

QString TForm1::MemoText() const {
  // QPlainTextEdit keeps lines apart with LF; the file's line ends are CR LF.
  QString text = Memo1->toPlainText();
  text.replace('\n', "\r\n");
  return text;
}

bool TForm1::PageControl1Changing() {
  if (!Panel2->isEnabled()) return false;
  QTreeWidgetItem* selected = TreeView1->currentItem();
  if (CurrentTab == 0) {
    // Editor -> Source: the editor's page replaces the memo's text.
    if (StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Undo))) {
      CmdArg2 = 0;
      if (!NodeName(selected)) return true;
      CurTopic = NodeName(selected);
      if (!ReportFailure([&] { StoreEditorPage(PagePath(*CurTopic)); })) return false;
    }
    const QString stored = CardButtonsToObjects(DHTMLEdit1->DocumentHTML());
    SetMemoText(stored);
    WaitEditorIdle(DHTMLEdit1);
    return true;
  }
  // Source -> Editor: the memo's text replaces the page file and the editor's page.
  if (!NodeName(selected)) return true;
  CurTopic = NodeName(selected);
  const QString path = PagePath(*CurTopic);
  if (!ReportFailure([&] { StoreSourcePage(path); })) return false;
  if (QFileInfo(path).isFile()) {
    PageLines.clear();
    DHTMLEdit1->SetBaseURL(ProjectFolder());
    DHTMLEdit1->SetDocumentHTML(CardObjectsToButtons(MemoText()));
    WaitEditorIdle(DHTMLEdit1);
  }
  return true;
}

void TForm1::ConnectTopicDocuments() {
  connect(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == CurrentTab) return;
    if (PageControl1Changing()) {
      CurrentTab = index;
      return;
    }
    // Refused: back to the tab that was left.
    const QSignalBlocker block(PageControl1);
    PageControl1->setCurrentIndex(CurrentTab);
  });
  connect(DHTMLEdit1, &TDHTMLEdit::FocusEntered, this, &TForm1::EditorEnter);
  connect(DHTMLEdit1, &TDHTMLEdit::FocusExited, this, &TForm1::EditorExit);
  Memo1->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Memo1) {
    if (event->type() == QEvent::FocusIn) MemoEnter();
    if (event->type() == QEvent::FocusOut) MemoExit();
  }
  return QMainWindow::eventFilter(watched, event);
}

void TForm1::SetClipboardShortcuts(bool on) {
  Copy1->setShortcut(on ? QKeySequence("Ctrl+C") : QKeySequence());
  Cut1->setShortcut(on ? QKeySequence("Ctrl+X") : QKeySequence());
  Paste1->setShortcut(on ? QKeySequence("Shift+Ins") : QKeySequence());
}

namespace {
void SetEnabled(std::initializer_list<QAction*> items, bool on) {
  for (QAction* item : items) item->setEnabled(on);
}
}  // namespace

void TForm1::EditorEnter() {
  if (!Panel2->isEnabled()) return;
  Edit1->menuAction()->setEnabled(true);
  Insert1->menuAction()->setEnabled(true);
  for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
    b->setEnabled(true);
  SetEnabled({SetFont1->menuAction(), Redo1, Tools1->menuAction(), Table1->menuAction(), Findtext1,
              Toggle1->menuAction(), Copy1, Cut1, Paste1, Selectall1},
             true);
  SetClipboardShortcuts(true);
}

void TForm1::EditorExit() {
  SetEnabled({Edit1->menuAction(), Insert1->menuAction(), Copy1, Cut1, Paste1, SetFont1->menuAction(), Redo1,
              Tools1->menuAction(), Table1->menuAction(), Findtext1, Toggle1->menuAction()},
             false);
  for (QToolButton* b : {SpeedButton1, SpeedButton2, SpeedButton3, SpeedButton4, SpeedButton5, SpeedButton6})
    b->setEnabled(false);
  SetClipboardShortcuts(false);
}

void TForm1::MemoEnter() {
  if (Panel2->isEnabled()) Edit1->menuAction()->setEnabled(true);
  SetEnabled({Undo1, Copy1, Cut1, Paste1}, true);
  SetClipboardShortcuts(true);
}

void TForm1::MemoExit() {
  SetEnabled({Undo1, Edit1->menuAction(), Insert1->menuAction(), Copy1, Cut1, Paste1}, false);
  SetClipboardShortcuts(false);
}
