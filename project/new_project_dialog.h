// The new-project dialog: the project's title and language.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

class NewProjectDialog : public QDialog {
  Q_OBJECT
 public:
  explicit NewProjectDialog(QWidget* parent = nullptr);

  QLabel* titleLabel = nullptr;
  QLineEdit* titleEdit = nullptr;
  QLabel* languageLabel = nullptr;
  QComboBox* languageBox = nullptr;
  QPushButton* okButton = nullptr;
  QPushButton* cancelButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FillLanguages();
  void ChooseSystemLanguage();
};
