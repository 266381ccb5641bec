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

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(112, 16, 192, 23);
  MaskEdit1 = new QLineEdit(this);
  MaskEdit1->setObjectName("MaskEdit1");
  MaskEdit1->setGeometry(112, 52, 72, 23);
  MaskEdit1->setMaxLength(5);
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName("Edit2");
  Edit2->setGeometry(112, 88, 192, 23);
  FieldLabel("Button text", Edit1, 16, this)->setObjectName("Label1");
  FieldLabel("wPARAM ", MaskEdit1, 52, this)->setObjectName("Label2");
  FieldLabel("lPARAM", Edit2, 88, this)->setObjectName("Label3");

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(148, 136, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(230, 136, 75, 25);
  setTabOrder(Edit1, MaskEdit1);
  setTabOrder(MaskEdit1, Edit2);
  setTabOrder(Edit2, OKBtn);
  setTabOrder(OKBtn, CancelBtn);

  MaskEdit1->installEventFilter(this);
  connect(OKBtn, &QPushButton::clicked, this, &TrainingCardDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &TrainingCardDialog::CancelBtnClick);
}

void TrainingCardDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TrainingCardDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == MaskEdit1 && event->type() == QEvent::FocusOut) {
    // The message waits until the focus change is over; leaving for OK or
    // Cancel is left to them (OK checks the field itself).
    QWidget* next = QApplication::focusWidget();
    if (next != OKBtn && next != CancelBtn && isVisible()) {
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
  const QString trimmed = MaskEdit1->text().trimmed();
  if (!MaskEdit1->isModified() || trimmed.isEmpty() || IsWParamNumber(trimmed)) return;
  Notice("wPARAM should be number!");
  MaskEdit1->setFocus();
}

void TrainingCardDialog::OKBtnClick() {
  const QString trimmed = MaskEdit1->text().trimmed();
  if (trimmed.isEmpty()) {
    Notice(" wPARAM value is empty! ");
    AllowClose = false;
    return;
  }
  AllowClose = true;
  if (!IsWParamNumber(trimmed)) {
    Notice("wPARAM should be number!");
    AllowClose = false;
    MaskEdit1->setFocus();
    return;
  }
  accept();
}
