#include "features/training_card_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "features/help_objects.h"

namespace {

QLabel* FieldLabel(const QString& text, QLineEdit* field, int y, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(16, y + 3, 90, 16);
  label->setBuddy(field);
  return label;
}

}  // namespace

TrainingCardDialog::TrainingCardDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("trainingCardDialog");
  setWindowTitle("Training card");
  setProperty("HelpContext", 10019);
  setModal(true);
  setFixedSize(320, 176);

  buttonTextEdit = new QLineEdit(this);
  buttonTextEdit->setObjectName("buttonTextEdit");
  buttonTextEdit->setGeometry(112, 16, 192, 23);
  wParamEdit = new QLineEdit(this);
  wParamEdit->setObjectName("wParamEdit");
  wParamEdit->setGeometry(112, 52, 72, 23);
  wParamEdit->setMaxLength(5);
  lParamEdit = new QLineEdit(this);
  lParamEdit->setObjectName("lParamEdit");
  lParamEdit->setGeometry(112, 88, 192, 23);
  FieldLabel("Button text", buttonTextEdit, 16, this)->setObjectName("buttonTextLabel");
  FieldLabel("wPARAM", wParamEdit, 52, this)->setObjectName("wParamLabel");
  FieldLabel("lPARAM", lParamEdit, 88, this)->setObjectName("lParamLabel");

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setGeometry(148, 136, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");
  cancelButton->setGeometry(230, 136, 75, 25);
  setTabOrder(buttonTextEdit, wParamEdit);
  setTabOrder(wParamEdit, lParamEdit);
  setTabOrder(lParamEdit, okButton);
  setTabOrder(okButton, cancelButton);

  wParamEdit->installEventFilter(this);
  connect(okButton, &QPushButton::clicked, this, &TrainingCardDialog::Confirm);
  connect(cancelButton, &QPushButton::clicked, this, &TrainingCardDialog::Cancel);
}

void TrainingCardDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TrainingCardDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == wParamEdit && event->type() == QEvent::FocusOut) {
    // The message waits until the focus change is over; leaving for OK or
    // Cancel is left to them (OK checks the field itself).
    QWidget* next = QApplication::focusWidget();
    if (next != okButton && next != cancelButton && isVisible()) {
      QPointer<TrainingCardDialog> self(this);
      QTimer::singleShot(0, this, [self] {
        if (self && self->isVisible()) self->MaskEdit1Exit();
      });
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TrainingCardDialog::Notice(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, this);
  box.exec();
}

void TrainingCardDialog::MaskEdit1Exit() {
  const QString trimmed = wParamEdit->text().trimmed();
  if (!wParamEdit->isModified() || trimmed.isEmpty() || IsWParamNumber(trimmed)) return;
  Notice("wPARAM should be number!");
  wParamEdit->setFocus();
}

void TrainingCardDialog::Confirm() {
  const QString trimmed = wParamEdit->text().trimmed();
  if (trimmed.isEmpty()) {
    Notice(" wPARAM value is empty! ");
    allowClose = false;
    return;
  }
  allowClose = true;
  if (!IsWParamNumber(trimmed)) {
    Notice("wPARAM should be number!");
    allowClose = false;
    wParamEdit->setFocus();
    return;
  }
  accept();
}
