// "Compiler messages": the compiler's log, one list item per line.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

class QListWidget;
class QPushButton;

class CompilerMessagesWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CompilerMessagesWindow(QWidget* parent = nullptr);

  QListWidget* messageList = nullptr;
  QPushButton* okButton = nullptr;

  // The log shown; read again every time the window is shown.
  QString LogFile;
  // The compiler's output, shown instead while LogFile is empty.
  QByteArray Output;

  // Clears the list and fills it from LogFile (or Output), control characters
  // made blanks.
  void ReloadMessages();

 protected:
  void showEvent(QShowEvent* event) override;
};
