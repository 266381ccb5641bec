// "Training card": the button text and the two values the help viewer sends
// when the button is pressed. The three texts carry over between uses.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TTrCardDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TTrCardDlg(QWidget* parent = nullptr);

  QLineEdit* Edit1 = nullptr;      // "Button text"
  QLineEdit* MaskEdit1 = nullptr;  // "wPARAM ", at most 5 characters
  QLineEdit* Edit2 = nullptr;      // "lPARAM"
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;

  // Answer to the close query: set by OK after its checks, by Cancel to true.
  // Never reset on showing, so once true the close box closes the dialog too.
  bool AllowClose = false;

  // The focus left the wParam field.
  void MaskEdit1Exit();
  void OKBtnClick();
  void CancelBtnClick();

 public slots:
  // Escape counts as Cancel.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Notice(const QString& text);
};
