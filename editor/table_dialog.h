#pragma once

#include <QDialog>

class TTableInsDlg : public QDialog {
 public:
  explicit TTableInsDlg(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("TableInsDlg");
    setWindowTitle("New table");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
