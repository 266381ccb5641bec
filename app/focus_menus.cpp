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
  if (activeView == ActiveView::Editor) EditorLeft();
  if (activeView == ActiveView::Source) SourceViewLeft();
  activeView = view;
  if (view == ActiveView::Editor) EditorEntered();
  if (view == ActiveView::Source) SourceViewEntered();
}

void MainWindow::SetClipboardShortcuts(bool on) {
  Command("copyAction")->setShortcut(on ? QKeySequence("Ctrl+C") : QKeySequence());
  Command("cutAction")->setShortcut(on ? QKeySequence("Ctrl+X") : QKeySequence());
  Command("pasteAction")->setShortcut(on ? QKeySequence("Shift+Ins") : QKeySequence());
}

void MainWindow::SetEnabled(const QStringList& ids, bool on) {
  for (const QString& id : ids) Command(id)->setEnabled(on);
}

void MainWindow::SetFormatButtonsEnabled(bool on) {
  for (QToolButton* b :
       {boldButton, italicButton, underlineButton, alignLeftButton, centerButton, alignRightButton})
    b->setEnabled(on);
}

void MainWindow::EditorEntered() {
  if (!formatToolbar->isEnabled()) return;
  SetEnabled({"editMenu", "insertMenu"}, true);
  SetFormatButtonsEnabled(true);
  SetEnabled({"fontMenu", "redoAction", "tableMenu", "findAction", "findAgainAction", "replaceAction",
              "toggleMenu", "copyAction", "cutAction", "pasteAction", "pastePlainAction", "selectAllAction"},
             true);
  SetClipboardShortcuts(true);
}

void MainWindow::EditorLeft() {
  SetEnabled(
      {"editMenu", "insertMenu", "copyAction", "cutAction", "pasteAction", "pastePlainAction", "fontMenu",
       "redoAction", "tableMenu", "findAction", "findAgainAction", "replaceAction", "toggleMenu"},
      false);
  SetFormatButtonsEnabled(false);
  SetClipboardShortcuts(false);
}

void MainWindow::SourceViewEntered() {
  if (formatToolbar->isEnabled()) Command("editMenu")->setEnabled(true);
  SetEnabled({"undoAction", "copyAction", "cutAction", "pasteAction", "pastePlainAction", "findAction",
              "findAgainAction", "replaceAction"},
             true);
  SetClipboardShortcuts(true);
}

void MainWindow::SourceViewLeft() {
  SetEnabled({"undoAction", "editMenu", "insertMenu", "copyAction", "cutAction", "pasteAction",
              "pastePlainAction", "findAction", "findAgainAction", "replaceAction"},
             false);
  SetClipboardShortcuts(false);
}
