#pragma once

#include <QDialog>

class TCMView : public QDialog {
  Q_OBJECT
 public:
  explicit TCMView(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("CMView");
    setWindowTitle("Compiler messages");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
