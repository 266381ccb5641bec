// "Training card": the button text and the two values the help viewer sends
// when the button is pressed. The three texts carry over between uses.
#pragma once

#include "widgets/validating_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;

class TrainingCardDialog : public ValidatingDialog {
  Q_OBJECT
 public:
  explicit TrainingCardDialog(QWidget* parent = nullptr);

  QLineEdit* buttonTextEdit = nullptr;  // "Button text"
  QLineEdit* wParamEdit = nullptr;      // "wPARAM ", at most 5 characters
  QLineEdit* lParamEdit = nullptr;      // "lPARAM"
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

  // The focus left the wParam field.
  void MaskEdit1Exit();
  void Confirm();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Notice(const QString& text);
};
