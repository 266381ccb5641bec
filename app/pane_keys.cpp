// Keys that move the keyboard between the window's panes: F6 and Shift+F6
// go round the Contents tree, the Index tree, the editor and the source view; Ctrl+Tab
// switches between the Editor and Source tabs; Shift+F10 opens the focused
// pane's context menu.
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTreeView>

#include "app/main_window.h"
#include "spelling/editor_spelling.h"
#include "editor/editing_control.h"
#include "panes/topic_editing.h"
#include "widgets/action_registry.h"

void MainWindow::ConnectPaneKeys() {
  const auto addKey = [this](const QString& id, const QKeySequence& key, auto command) {
    QAction* action = registry->Add(id);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);
    connect(action, &QAction::triggered, this, command);
  };
  addKey("nextPaneAction", QKeySequence(Qt::Key_F6), [this] { MovePaneFocus(1); });
  addKey("previousPaneAction", QKeySequence(Qt::SHIFT | Qt::Key_F6), [this] { MovePaneFocus(-1); });
  addKey("switchEditorTabAction", QKeySequence(Qt::CTRL | Qt::Key_Tab), [this] { SwitchEditorTab(); });
  addKey("contextMenuAction", QKeySequence(Qt::SHIFT | Qt::Key_F10), [this] { ShowContextMenuAtFocus(); });
}

void MainWindow::MovePaneFocus(int step) {
  const QList<QWidget*> panes = {contentsTree, indexTree, editor, sourceView};
  QWidget* focus = QApplication::focusWidget();
  int at = -1;
  for (int i = 0; i < panes.size(); ++i)
    if (focus && (focus == panes[i] || panes[i]->isAncestorOf(focus))) at = i;
  if (at < 0) at = step > 0 ? -1 : 0;
  for (int tries = 0; tries < panes.size(); ++tries) {
    at = (at + step + panes.size()) % panes.size();
    QWidget* pane = panes[at];
    // The editor and the source view share a place: their tab comes to the
    // front first, which is refused while no topic can be edited. The focus
    // goes there once the tab is on show.
    const int tab = pane == editor ? 0 : pane == sourceView ? 1 : -1;
    if (tab < 0) {
      // A tree's tab comes to the front with it.
      treeTabs->setCurrentIndex(pane == contentsTree ? 0 : 1);
      pane->setFocus(Qt::ShortcutFocusReason);
      return;
    }
    if (tab != editorTabs->currentIndex() && !topicEditing->TabsCanSwitch()) continue;
    ShowTabWithFocus(tab);
    return;
  }
}

void MainWindow::SwitchEditorTab() {
  if (!topicEditing->TabsCanSwitch()) return;
  ShowTabWithFocus(1 - editorTabs->currentIndex());
}

void MainWindow::ShowTabWithFocus(int tab) {
  QWidget* pane = tab == 0 ? static_cast<QWidget*>(editor) : sourceView;
  topicEditing->ShowTab(tab, [pane = QPointer<QWidget>(pane)] {
    if (pane) pane->setFocus(Qt::ShortcutFocusReason);
  });
}

void MainWindow::ShowContextMenuAtFocus() {
  QWidget* focus = QApplication::focusWidget();
  if (!focus) return;
  if (focus == editor || editor->isAncestorOf(focus)) {
    PrepareEditorMenu();
    const QPoint at = editor->mapToGlobal(QPoint(0, 0));
    QMenu* editorMenu = CommandMenu("editorMenu");
    editorSpelling->PrepareMenuAtCaret(editorMenu, [editorMenu, at] { editorMenu->popup(at); });
    return;
  }
  for (QTreeView* tree : {contentsTree, indexTree}) {
    if (focus != tree) continue;
    const QRect item = tree->visualRect(tree->currentIndex());
    emit tree->customContextMenuRequested(item.isValid() ? item.center() : QPoint(0, 0));
    return;
  }
  if (focus == sourceView) {
    // The menu the Menu key would bring up, at the text cursor.
    const QPoint at = sourceView->cursorRect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, sourceView->viewport()->mapToGlobal(at));
    QApplication::sendEvent(sourceView->viewport(), &event);
  }
}
