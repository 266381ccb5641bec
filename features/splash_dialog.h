#pragma once

#include <QDialog>

class TSplashDlg : public QDialog {
 public:
  explicit TSplashDlg(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("SplashDlg");
    setWindowTitle("Insert splash");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
