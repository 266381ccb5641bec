#include "app/validating_dialog.h"

#include <QCloseEvent>

void TValidatingDialog::CancelBtnClick() {
  AllowClose = true;
  QDialog::reject();
}

void TValidatingDialog::reject() { CancelBtnClick(); }

void TValidatingDialog::closeEvent(QCloseEvent* event) {
  if (!AllowClose) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
