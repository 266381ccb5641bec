// "New table": the shape of a table to insert (caption, columns, rows, cell
// attributes, border, width). The fields keep their values between uses.
#pragma once

#include "app/validating_dialog.h"

#include "editor/table_params.h"

class QLineEdit;
class QPushButton;
class SpinEdit;

class TableDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit TableDialog(QWidget* parent = nullptr);

  QLineEdit* Edit1 = nullptr;     // "Caption"
  SpinEdit* SpinEdit1 = nullptr;  // "Columns"
  SpinEdit* SpinEdit2 = nullptr;  // "Rows"
  QLineEdit* Edit5 = nullptr;     // "Cell attributes"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  SpinEdit* SpinEdit3 = nullptr;  // "Border"
  SpinEdit* SpinEdit4 = nullptr;  // "Table width"

  // The table the fields describe.
  TableParams Params() const;

  void OKBtnClick();
};
