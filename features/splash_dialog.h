// "Insert splash": the picture the help viewer shows and for how many seconds.
// The time and the last picture chosen carry over from one use to the next.
#pragma once

#include "widgets/validating_dialog.h"
#include <QString>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class NumberEdit;

class SplashDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit SplashDialog(QWidget* parent = nullptr);

  QLabel* fileLabel = nullptr;          // "Graphic file"
  QLineEdit* fileNameEdit = nullptr;    // the chosen picture's file name
  QToolButton* browseButton = nullptr;  // browse
  QLabel* timeLabel = nullptr;          // "Time, sec"
  NumberEdit* secondsBox = nullptr;     // 1..60, starts at 5
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;
  QFileDialog* openDialog = nullptr;

  // The full path of the picture: last chosen by browsing, or typed; empty
  // before the first one.
  QString PicturePath() const { return chosenPicture; }
  // The time box's value as the splash uses it (see SplashSeconds).
  int Seconds() const;

  void ResetForShowing();
  void Browse();
  void Confirm();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString chosenPicture;
};
