#include "widgets/validating_dialog.h"

#include <QCloseEvent>

void ValidatingDialog::CancelBtnClick() {
  AllowClose = true;
  QDialog::reject();
}

void ValidatingDialog::reject() { CancelBtnClick(); }

void ValidatingDialog::closeEvent(QCloseEvent* event) {
  if (!AllowClose) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
