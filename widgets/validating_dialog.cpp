#include "widgets/validating_dialog.h"

#include <QCloseEvent>

void ValidatingDialog::Cancel() {
  allowClose = true;
  QDialog::reject();
}

void ValidatingDialog::reject() { Cancel(); }

void ValidatingDialog::closeEvent(QCloseEvent* event) {
  if (!allowClose) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
