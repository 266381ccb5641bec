#pragma once

#include <QDialog>

class TAboutBox : public QDialog {
 public:
  explicit TAboutBox(QWidget* parent = nullptr) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About");
  }
  // Answer to the close query of a validating dialog.
  bool AllowClose = true;
};
