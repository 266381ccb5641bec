#pragma once

#include <QDialog>

class TEditDial : public QDialog {
 public:
  explicit TEditDial(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("EditDial");
    setWindowTitle("");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
