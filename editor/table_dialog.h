// "New table": the shape of a table to insert (caption, columns, rows, cell
// attributes, border, width). The fields keep their values between uses.
#pragma once

#include <QDialog>

#include "editor/table_params.h"

class QLineEdit;
class QPushButton;
class TSpinEdit;

class TTableInsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TTableInsDlg(QWidget* parent = nullptr);

  QLineEdit* Edit1 = nullptr;     // "Caption"
  TSpinEdit* SpinEdit1 = nullptr;  // "Columns"
  TSpinEdit* SpinEdit2 = nullptr;  // "Rows"
  QLineEdit* Edit5 = nullptr;     // "Cell attributes"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  TSpinEdit* SpinEdit3 = nullptr;  // "Border"
  TSpinEdit* SpinEdit4 = nullptr;  // "Table width"

  // Answer to the close query: set by OK after its checks, by Cancel to true.
  bool AllowClose = false;

  // The table the fields describe.
  TTableParams Params() const;

  void OKBtnClick();
  void CancelBtnClick();

 public slots:
  // Escape counts as Cancel.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
};
