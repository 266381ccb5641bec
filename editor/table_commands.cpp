// Tables: "Insert" > "Table" through the "New table" dialog, and the rows and
// columns of the table at the caret ("Edit" > "Table ...").
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor/table_dialog.h"

void MainWindow::InsertTable() {
  TableDialog* dialog = startupDialogs.tableDialog;
  if (!dialog || dialog->exec() != QDialog::Accepted) return;
  // The control builds the table from the parameters: the caption, the
  // attribute texts on TABLE and on every cell.
  EditorCommand(decmd::InsertTable, decmd::Default, dialog->Params().ToVariant());
}

void MainWindow::PrepareTableMenu() {
  insertRowAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::InsertRow)));
  insertColumnAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::InsertCol)));
  deleteRowAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::DeleteRows)));
  deleteColumnAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::DeleteCols)));
}

void MainWindow::InsertRow() { EditorCommand(decmd::InsertRow, decmd::DontPromptUser); }
void MainWindow::InsertColumn() { EditorCommand(decmd::InsertCol, decmd::DontPromptUser); }
void MainWindow::DeleteRow() { EditorCommand(decmd::DeleteRows, decmd::DontPromptUser); }
void MainWindow::DeleteColumn() { EditorCommand(decmd::DeleteCols, decmd::DontPromptUser); }
