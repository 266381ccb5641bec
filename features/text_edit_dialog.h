// The multi-line text dialog in which the pop-up script file and the style
// sheet are edited by hand. The command that opens it sets its caption and
// help context.
#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

class TextEditDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TextEditDialog(QWidget* parent = nullptr);

  QPlainTextEdit* textBox = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

  // Fills the text box with the lines and clears its modified mark.
  void SetLines(const QStringList& lines);
  // The text box's lines (no empty last line for a final line break).
  QStringList Lines() const;
  // The text was changed since SetLines.
  bool Modified() const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void ResetTextColour();
};
