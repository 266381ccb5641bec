// How the menus follow the keyboard focus between the editor and the
// source view. Focus that goes to the menu bar, a menu, a dialog or another
// window comes back to the same view, so the menus stay as they are
// meanwhile; only another pane of the window taking the focus changes them.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeView>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "widgets/dialog_focus_return.h"

namespace {

// The selected item of a tree shows whether the keyboard is there: in the
// highlight colour while the tree has the focus, in grey while it has not.
void ShowTreeFocus(QTreeView* tree, bool focused) {
  if (tree->property("focusShown").toBool() == focused && tree->property("focusShown").isValid()) return;
  tree->setProperty("focusShown", focused);
  QPalette palette = QApplication::palette(tree);
  if (!focused) {
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, QPalette::Highlight, palette.color(group, QPalette::Mid));
      palette.setColor(group, QPalette::HighlightedText, palette.color(group, QPalette::Text));
    }
  }
  tree->setPalette(palette);
}

}  // namespace

void MainWindow::ConnectFocusMenus() {
  DialogFocusReturn::Install();
  focusConnection = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    FollowFocus(now);
    // Focus gone to a menu or a dialog comes back: the trees show it as it was.
    if (!now || now->window() != this || qobject_cast<QMenuBar*>(now)) return;
    for (QTreeView* tree : {contentsTree, indexTree}) ShowTreeFocus(tree, now == tree);
  });
  for (QTreeView* tree : {contentsTree, indexTree}) ShowTreeFocus(tree, tree->hasFocus());
}

void MainWindow::FollowFocus(QWidget* now) {
  if (!now || now->window() != this || qobject_cast<QMenuBar*>(now)) return;
  const ActiveView view = now == editor || editor->isAncestorOf(now) ? ActiveView::Editor
                          : now == sourceView                        ? ActiveView::Source
                                                                     : ActiveView::None;
  if (view == activeView) return;
  // The view left gives up its items first, the view entered takes its own.
  if (activeView == ActiveView::Editor) EditorExit();
  if (activeView == ActiveView::Source) MemoExit();
  activeView = view;
  if (view == ActiveView::Editor) EditorEnter();
  if (view == ActiveView::Source) MemoEnter();
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
  SetEnabled({fontMenu->menuAction(), redoAction, tableMenu->menuAction(), findAction, findAgainAction,
              replaceAction, toggleMenu->menuAction(), copyAction, cutAction, pasteAction, pastePlainAction,
              selectAllAction},
             true);
  SetClipboardShortcuts(true);
}

void MainWindow::EditorExit() {
  SetEnabled({editMenu->menuAction(), insertMenu->menuAction(), copyAction, cutAction, pasteAction,
              pastePlainAction, fontMenu->menuAction(), redoAction, tableMenu->menuAction(), findAction,
              findAgainAction, replaceAction, toggleMenu->menuAction()},
             false);
  for (QToolButton* b :
       {boldButton, italicButton, underlineButton, alignLeftButton, centerButton, alignRightButton})
    b->setEnabled(false);
  SetClipboardShortcuts(false);
}

void MainWindow::MemoEnter() {
  if (formatToolbar->isEnabled()) editMenu->menuAction()->setEnabled(true);
  SetEnabled({undoAction, copyAction, cutAction, pasteAction, pastePlainAction, findAction, findAgainAction,
              replaceAction},
             true);
  SetClipboardShortcuts(true);
}

void MainWindow::MemoExit() {
  SetEnabled({undoAction, editMenu->menuAction(), insertMenu->menuAction(), copyAction, cutAction,
              pasteAction, pastePlainAction, findAction, findAgainAction, replaceAction},
             false);
  SetClipboardShortcuts(false);
}
