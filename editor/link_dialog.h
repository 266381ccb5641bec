#pragma once

#include <QDialog>

class TLinkDialog : public QDialog {
 public:
  explicit TLinkDialog(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("LinkDialog");
    setWindowTitle("Select topic");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
