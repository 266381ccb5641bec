#include "features/splash_dialog.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include "editor/spin_edit.h"
#include "features/help_objects.h"

SplashDialog::SplashDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("splashDialog");
  setWindowTitle("Insert splash");
  setModal(true);
  setFixedSize(313, 135);

  Label1 = new QLabel("Graphic file", this);
  Label1->setObjectName("Label1");
  Label1->setGeometry(16, 12, 120, 16);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(16, 30, 249, 23);
  Label1->setBuddy(Edit1);
  boldButton = new QToolButton(this);
  boldButton->setObjectName("boldButton");
  boldButton->setGeometry(272, 29, 25, 25);
  boldButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  boldButton->setToolTip("Browse");

  Label2 = new QLabel("Time, sec", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(16, 62, 120, 16);
  SpinEdit1 = new SpinEdit(1, 60, 5, this);
  SpinEdit1->setObjectName("SpinEdit1");
  SpinEdit1->setGeometry(16, 80, 65, 23);
  Label2->setBuddy(SpinEdit1);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(140, 102, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(222, 102, 75, 25);

  OpenDialog1 = new QFileDialog(this);
  OpenDialog1->setObjectName("OpenDialog1");
  OpenDialog1->setFileMode(QFileDialog::ExistingFile);
  OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  OpenDialog1->setNameFilters({"BMP files (*.bmp)", "GIF files (*.gif)", "JPEG files (*.jpg *.jpeg)",
                               "All supported files (*.bmp *.gif *.jpg *.jpeg)"});

  connect(boldButton, &QToolButton::clicked, this, &SplashDialog::BoldButtonClick);
  connect(OKBtn, &QPushButton::clicked, this, &SplashDialog::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &SplashDialog::CancelBtnClick);
}

int SplashDialog::Seconds() const { return SplashSeconds(SpinEdit1->text()); }

void SplashDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormShow();
}

void SplashDialog::FormShow() {
  AllowClose = false;
  Edit1->clear();
}

void SplashDialog::BoldButtonClick() {
  // The dialog starts where the last picture came from.
  if (!ChosenPicture.isEmpty()) OpenDialog1->selectFile(ChosenPicture);
  if (OpenDialog1->exec() != QDialog::Accepted) return;
  const QStringList files = OpenDialog1->selectedFiles();
  if (files.isEmpty()) return;
  ChosenPicture = QFileInfo(files.first()).absoluteFilePath();
  Edit1->setText(QFileInfo(ChosenPicture).fileName());
}

void SplashDialog::OKBtnClick() {
  // An empty name keeps the dialog open, without a message.
  AllowClose = !Edit1->text().isEmpty();
  if (AllowClose) accept();
}
