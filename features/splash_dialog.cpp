#include "features/splash_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include "editor/number_edit.h"
#include "features/help_objects.h"

SplashDialog::SplashDialog(QWidget* parent) : ValidatingDialog(parent) {
  setObjectName("splashDialog");
  setWindowTitle("Insert splash");
  setModal(true);
  setFixedSize(313, 135);

  fileLabel = new QLabel("Graphic file", this);
  fileLabel->setObjectName("fileLabel");
  fileLabel->setGeometry(16, 12, 120, 16);
  fileNameEdit = new QLineEdit(this);
  fileNameEdit->setObjectName("fileNameEdit");
  fileNameEdit->setGeometry(16, 30, 249, 23);
  fileLabel->setBuddy(fileNameEdit);
  browseButton = new QToolButton(this);
  browseButton->setObjectName("browseButton");
  browseButton->setGeometry(272, 29, 25, 25);
  browseButton->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
  browseButton->setToolTip("Browse");

  timeLabel = new QLabel("Time, sec", this);
  timeLabel->setObjectName("timeLabel");
  timeLabel->setGeometry(16, 62, 120, 16);
  secondsBox = new NumberEdit(1, 60, 5, this);
  secondsBox->setObjectName("secondsBox");
  secondsBox->setGeometry(16, 80, 65, 23);
  timeLabel->setBuddy(secondsBox);

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setGeometry(140, 102, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");
  cancelButton->setGeometry(222, 102, 75, 25);

  openDialog = new QFileDialog(this);
  openDialog->setObjectName("openDialog");
  openDialog->setFileMode(QFileDialog::ExistingFile);
  openDialog->setAcceptMode(QFileDialog::AcceptOpen);
  openDialog->setNameFilters({"BMP files (*.bmp)", "GIF files (*.gif)", "JPEG files (*.jpg *.jpeg)",
                              "All supported files (*.bmp *.gif *.jpg *.jpeg)"});

  connect(browseButton, &QToolButton::clicked, this, &SplashDialog::Browse);
  connect(okButton, &QPushButton::clicked, this, &SplashDialog::Confirm);
  connect(cancelButton, &QPushButton::clicked, this, &SplashDialog::Cancel);
}

int SplashDialog::Seconds() const { return SplashSeconds(secondsBox->text()); }

void SplashDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  ResetForShowing();
}

void SplashDialog::ResetForShowing() {
  allowClose = false;
  fileNameEdit->clear();
}

void SplashDialog::Browse() {
  // The dialog starts where the last picture came from.
  if (!chosenPicture.isEmpty()) openDialog->selectFile(chosenPicture);
  if (openDialog->exec() != QDialog::Accepted) return;
  const QStringList files = openDialog->selectedFiles();
  if (files.isEmpty()) return;
  chosenPicture = QFileInfo(files.first()).absoluteFilePath();
  fileNameEdit->setText(QFileInfo(chosenPicture).fileName());
}

void SplashDialog::Confirm() {
  // An empty name keeps the dialog open, without a message.
  const QString typed = fileNameEdit->text().trimmed();
  allowClose = false;
  if (typed.isEmpty()) return;
  // A name other than the browsed picture's is a path of its own, relative to
  // the project folder (the current folder); one that is not there is said.
  if (typed != QFileInfo(chosenPicture).fileName() || !QFileInfo(chosenPicture).isFile()) {
    const QString path = QFileInfo(typed).absoluteFilePath();
    if (!QFileInfo(path).isFile()) {
      QMessageBox::warning(this, "Insert splash", "File not found: " + QDir::toNativeSeparators(path));
      fileNameEdit->setFocus();
      return;
    }
    chosenPicture = path;
  }
  allowClose = true;
  accept();
}
