// "Insert splash": the picture the help viewer shows and for how many seconds.
// The time and the last picture chosen carry over from one use to the next.
#pragma once

#include "app/validating_dialog.h"
#include <QString>

class QFileDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TSpinEdit;

class TSplashDlg : public TValidatingDialog {
  Q_OBJECT
 public:
  explicit TSplashDlg(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;             // "Graphic file"
  QLineEdit* Edit1 = nullptr;           // the chosen picture's file name
  QToolButton* SpeedButton1 = nullptr;  // browse
  QLabel* Label2 = nullptr;             // "Time, sec"
  TSpinEdit* SpinEdit1 = nullptr;       // 1..60, starts at 5
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QFileDialog* OpenDialog1 = nullptr;

  // The full path last chosen by browsing; empty before the first browse.
  QString PicturePath() const { return ChosenPicture; }
  // The time box's value as the splash uses it (see SplashSeconds).
  int Seconds() const;

  void FormShow();
  void SpeedButton1Click();
  void OKBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QString ChosenPicture;
};
