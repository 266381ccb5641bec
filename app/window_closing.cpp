// Closing the window: what was typed is taken from the editor first, the
// project may be saved, the page and the window's state are stored; a
// failure to store keeps the window open, so nothing typed is lost.
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>

#include "app/keyboard_hook.h"
#include "app/main_window.h"
#include "editor/editing_control.h"
#include "panes/index_pane.h"
#include "panes/topic_editing.h"
#include "project/project_commands.h"
#include "viewer/html_help_viewer.h"
#include "widgets/busy_cursor.h"

bool MainWindow::AskToClose() {
  switch (projectCommands->AskSaveHelpProject()) {
    case QMessageBox::NoButton:  // nothing unsaved: nothing to ask
      return true;
    case QMessageBox::Yes:
      Command("saveAction")->trigger();
      // A failed save leaves the project modified: stay open.
      return !project.IsModified();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (closed) {
    event->accept();
    return;
  }
  if (!editor->Settled()) {
    // What was typed last is still on its way from the page: asked and
    // stored once it is here, never lost.
    event->ignore();
    editor->Settle(this, [this] { close(); });
    return;
  }
  if (!AskToClose() || !FinishClosing()) {
    event->ignore();
    return;
  }
  event->accept();
}

bool MainWindow::FinishClosing() {
  BusyCursor busy;
  // Store the page being edited, whatever the answer to the save question was.
  // When that fails the program stays open, so the edits are not lost.
  // Edits on the Source tab are stored the same way.
  if (!topicEditing->StoreCurrentTopic(true)) return false;
  if (helpViewer) helpViewer->EndSession(helpSession);
  StoreWindowState();
  projectCommands->RememberTreeState();
  if (keyboardHook) {
    qApp->removeEventFilter(keyboardHook);
    delete keyboardHook;
    keyboardHook = nullptr;
  }
  indexPane->RevokeDropTarget();
  closed = true;
  return true;
}

void MainWindow::ExitCommand() { close(); }
