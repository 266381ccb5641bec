// "New table": the shape of a table to insert (caption, columns, rows, cell
// attributes, border, width). The fields keep their values between uses.
#pragma once

#include "app/validating_dialog.h"

#include "editor/table_params.h"

class QLineEdit;
class QPushButton;
class TSpinEdit;

class TTableInsDlg : public TValidatingDialog {
  Q_OBJECT
 public:
  explicit TTableInsDlg(QWidget* parent = nullptr);

  QLineEdit* Edit1 = nullptr;      // "Caption"
  TSpinEdit* SpinEdit1 = nullptr;  // "Columns"
  TSpinEdit* SpinEdit2 = nullptr;  // "Rows"
  QLineEdit* Edit5 = nullptr;      // "Cell attributes"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  TSpinEdit* SpinEdit3 = nullptr;  // "Border"
  TSpinEdit* SpinEdit4 = nullptr;  // "Table width"

  // The table the fields describe.
  TTableParams Params() const;

  void OKBtnClick();
};
