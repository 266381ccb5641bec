// Tables: "Insert" > "Table" through the "New table" dialog, and the rows and
// columns of the table at the caret ("Edit" > "Table ...").
#include <QAction>
#include <QMenu>

#include "editor/editor_commands.h"
#include "editor/editing_control.h"
#include "editor/table_dialog.h"

void EditorCommands::InsertTable() {
  TableDialog* dialog = m_tableDialog;
  if (!dialog || dialog->exec() != QDialog::Accepted) return;
  // The control builds the table from the parameters: the caption, the
  // attribute texts on TABLE and on every cell.
  EditorCommand(decmd::InsertTable, decmd::Default, dialog->Params().ToVariant());
}

void EditorCommands::PrepareTableMenu() {
  w.insertRowAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::InsertRow)));
  w.insertColumnAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::InsertCol)));
  w.deleteRowAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::DeleteRows)));
  w.deleteColumnAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::DeleteCols)));
}

void EditorCommands::InsertRow() { EditorCommand(decmd::InsertRow, decmd::DontPromptUser); }
void EditorCommands::InsertColumn() { EditorCommand(decmd::InsertCol, decmd::DontPromptUser); }
void EditorCommands::DeleteRow() { EditorCommand(decmd::DeleteRows, decmd::DontPromptUser); }
void EditorCommands::DeleteColumn() { EditorCommand(decmd::DeleteCols, decmd::DontPromptUser); }
