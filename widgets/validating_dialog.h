// A dialog that checks its fields before it lets itself be closed: OK sets
// AllowClose after its checks, Cancel (the button, Escape) sets it to true,
// and the close box closes the dialog only while AllowClose is set.
#pragma once

#include <QDialog>

class ValidatingDialog : public QDialog {
  Q_OBJECT
 public:
  explicit ValidatingDialog(QWidget* parent = nullptr) : QDialog(parent) {}

  bool allowClose = false;

  void Cancel();

 public slots:
  // Escape counts as Cancel.
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
};
