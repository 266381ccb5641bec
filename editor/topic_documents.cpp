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
#include "model/tree_nodes.h"
#include "platform/text_file.h"
#include "project/page_template.h"

Status MainWindow::LoadTopicPage(const QString& path) {
  const Result<QStringList> lines = ReadLinesFile(path, project.CodePage());
  if (!lines) return Fail(lines.Message());
  const QString text = JoinLines(*lines);
  // The base folder first, so the page is not served twice.
  editor->SetBaseURL(project.Folder());
  editor->SetDocumentHTML(CardObjectsToButtons(text));
  SetMemoText(text);
  // The editor finishes loading on its own: every later call on it waits
  // for that, so the selection does not have to.
  return {};
}

Status MainWindow::StoreEditorPage(const QString& path) {
  const std::optional<QString> html = editor->TryDocumentHTML();
  // Writing the page as it was loaded would silently drop the edits.
  if (!html) return Fail("The editor did not answer: " + path + " was not stored.");
  return WriteLinesFile(path, SplitLines(CardButtonsToObjects(*html)), project.CodePage());
}

Status MainWindow::StoreSourcePage(const QString& path) {
  // The source view already holds the stored form; its lines get CR LF ends.
  return WriteTextFile(path, MemoText(), project.CodePage());
}

void MainWindow::SetMemoText(const QString& pageText) {
  // The view keeps lines apart with LF; MemoText gives the CR LF ends back.
  sourceView->setPlainText(QString(pageText).replace("\r\n", "\n").replace('\r', '\n'));
  sourceView->document()->setModified(false);
}

QString MainWindow::MemoText() const {
  // QPlainTextEdit keeps lines apart with LF; the file's line ends are CR LF.
  QString text = sourceView->toPlainText();
  text.replace('\n', "\r\n");
  return text;
}

bool MainWindow::EditorTabChanging() {
  if (!formatToolbar->isEnabled()) return false;
  QTreeWidgetItem* selected = contentsTree->currentItem();
  if (CurrentTab == 0) {
    // Editor -> Source: the editor's page replaces the memo's text.
    if (StatusEnabled(editor->QueryStatus(decmd::Undo))) {
      CmdArg2 = 0;
      const TopicData* topic = ContentsRecord(selected);
      if (!topic) return true;
      if (!ReportFailure(StoreEditorPage(project.PagePath(topic->FileName)))) return false;
    }
    const QString stored = CardButtonsToObjects(editor->DocumentHTML());
    SetMemoText(stored);
    WaitEditorIdle(editor);
    return true;
  }
  // Source -> Editor: the memo's text replaces the page file and the editor's page.
  const TopicData* topic = ContentsRecord(selected);
  if (!topic) return true;
  const QString path = project.PagePath(topic->FileName);
  if (!ReportFailure(StoreSourcePage(path))) return false;
  if (QFileInfo(path).isFile()) {
    editor->SetBaseURL(project.Folder());
    editor->SetDocumentHTML(CardObjectsToButtons(MemoText()));
    WaitEditorIdle(editor);
  }
  return true;
}

void MainWindow::ConnectTopicDocuments() {
  connect(editorTabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == CurrentTab) return;
    if (EditorTabChanging()) {
      CurrentTab = index;
      return;
    }
    // Refused: back to the tab that was left.
    const QSignalBlocker block(editorTabs);
    editorTabs->setCurrentIndex(CurrentTab);
  });
  connect(editor, &EditingControl::FocusEntered, this, &MainWindow::EditorEnter);
  connect(editor, &EditingControl::FocusExited, this, &MainWindow::EditorExit);
  sourceView->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sourceView) {
    if (event->type() == QEvent::FocusIn) MemoEnter();
    if (event->type() == QEvent::FocusOut) MemoExit();
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::SetClipboardShortcuts(bool on) {
  copyAction->setShortcut(on ? QKeySequence("Ctrl+C") : QKeySequence());
  cutAction->setShortcut(on ? QKeySequence("Ctrl+X") : QKeySequence());
  pasteAction->setShortcut(on ? QKeySequence("Shift+Ins") : QKeySequence());
}

namespace {
void SetEnabled(std::initializer_list<QAction*> items, bool on) {
  for (QAction* item : items) item->setEnabled(on);
}
}  // namespace

void MainWindow::EditorEnter() {
  if (!formatToolbar->isEnabled()) return;
  editMenu->menuAction()->setEnabled(true);
  insertMenu->menuAction()->setEnabled(true);
  for (QToolButton* b :
       {boldButton, italicButton, underlineButton, alignLeftButton, centerButton, alignRightButton})
    b->setEnabled(true);
  SetEnabled({fontMenu->menuAction(), redoAction, toolsMenu->menuAction(), tableMenu->menuAction(),
              findAction, toggleMenu->menuAction(), copyAction, cutAction, pasteAction, selectAllAction},
             true);
  SetClipboardShortcuts(true);
}

void MainWindow::EditorExit() {
  SetEnabled({editMenu->menuAction(), insertMenu->menuAction(), copyAction, cutAction, pasteAction,
              fontMenu->menuAction(), redoAction, toolsMenu->menuAction(), tableMenu->menuAction(),
              findAction, toggleMenu->menuAction()},
             false);
  for (QToolButton* b :
       {boldButton, italicButton, underlineButton, alignLeftButton, centerButton, alignRightButton})
    b->setEnabled(false);
  SetClipboardShortcuts(false);
}

void MainWindow::MemoEnter() {
  if (formatToolbar->isEnabled()) editMenu->menuAction()->setEnabled(true);
  SetEnabled({undoAction, copyAction, cutAction, pasteAction}, true);
  SetClipboardShortcuts(true);
}

void MainWindow::MemoExit() {
  SetEnabled(
      {undoAction, editMenu->menuAction(), insertMenu->menuAction(), copyAction, cutAction, pasteAction},
      false);
  SetClipboardShortcuts(false);
}
