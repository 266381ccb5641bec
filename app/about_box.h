// "About": the program's name, version and legal notice from its version record.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QFrame;

class AboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit AboutBox(QWidget* parent = nullptr);

  QFrame* panel = nullptr;
  QLabel* iconLabel = nullptr;
  QLabel* productNameLabel = nullptr;
  QLabel* descriptionLabel = nullptr;
  QLabel* versionLabel = nullptr;
  QLabel* copyrightLabel = nullptr;
  QPushButton* okButton = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowVersionTexts();
};

// The program's icon, drawn at a size (the same picture as orvex.svg).
class QIcon;
class QPixmap;
QPixmap ProgramIconPixmap(int size);
QIcon ProgramIcon();
