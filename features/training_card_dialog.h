#pragma once

#include <QDialog>

class TTrCardDlg : public QDialog {
 public:
  explicit TTrCardDlg(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("TrCardDlg");
    setWindowTitle("Training card");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
