// Tables: "Insert" > "Table" through the "New table" dialog, and the rows and
// columns of the table at the caret ("Edit" > "Table ...").
#include <QAction>
#include <QMenu>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor/table_dialog.h"

void TForm1::Table2Click() {
  TTableInsDlg* dialog = Dlg.TableInsDlg;
  if (!dialog || dialog->exec() != QDialog::Accepted) return;
  // The control builds the table from the parameters: the caption, the
  // attribute texts on TABLE and on every cell.
  EditorCommand(decmd::InsertTable, decmd::Default, dialog->Params().ToVariant());
}

void TForm1::Table1Click() {
  Insertrow1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::InsertRow)));
  Insertcolumn1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::InsertCol)));
  Deleterow1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::DeleteRows)));
  Deletecolumn1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::DeleteCols)));
}

void TForm1::Insertrow1Click() { EditorCommand(decmd::InsertRow, decmd::DontPromptUser); }
void TForm1::Insertcolumn1Click() { EditorCommand(decmd::InsertCol, decmd::DontPromptUser); }
void TForm1::Deleterow1Click() { EditorCommand(decmd::DeleteRows, decmd::DontPromptUser); }
void TForm1::Deletecolumn1Click() { EditorCommand(decmd::DeleteCols, decmd::DontPromptUser); }
