// Tables: "Insert" > "Table" through the "New table" dialog, and the rows and
// columns of the table at the caret ("Edit" > "Table ...").
#include <QAction>
#include <QMenu>

#include "editor/editor_commands.h"
#include "editor/editing_control.h"
#include "editor/table_dialog.h"

void EditorCommands::InsertTable() {
  TableDialog* dialog = tableDialog;
  if (!dialog || dialog->exec() != QDialog::Accepted) return;
  // The control builds the table from the parameters: the caption, the
  // attribute texts on TABLE and on every cell.
  SendCommand(EditorCommand::InsertTable, dialog->Params().ToVariant());
}

void EditorCommands::PrepareTableMenu() {
  items.insertRowAction->setEnabled(widgets.editor->Enabled(EditorCommand::InsertRow));
  items.insertColumnAction->setEnabled(widgets.editor->Enabled(EditorCommand::InsertCol));
  items.deleteRowAction->setEnabled(widgets.editor->Enabled(EditorCommand::DeleteRows));
  items.deleteColumnAction->setEnabled(widgets.editor->Enabled(EditorCommand::DeleteCols));
}

void EditorCommands::InsertRow() { SendCommand(EditorCommand::InsertRow); }
void EditorCommands::InsertColumn() { SendCommand(EditorCommand::InsertCol); }
void EditorCommands::DeleteRow() { SendCommand(EditorCommand::DeleteRows); }
void EditorCommands::DeleteColumn() { SendCommand(EditorCommand::DeleteCols); }
