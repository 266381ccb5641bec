#include "widgets/validating_dialog.h"

#include <QCloseEvent>

void ValidatingDialog::Cancel() {
  AllowClose = true;
  QDialog::reject();
}

void ValidatingDialog::reject() { Cancel(); }

void ValidatingDialog::closeEvent(QCloseEvent* event) {
  if (!AllowClose) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}
