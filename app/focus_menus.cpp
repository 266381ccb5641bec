// How the menus follow the keyboard focus between the editor and the
// source view.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "editor/editing_control.h"

void MainWindow::ConnectFocusMenus() {
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
