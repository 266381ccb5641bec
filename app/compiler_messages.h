// "Compiler messages": the compiler's log, one list item per line, with
// its last line (the verdict) always in view below the list. A message that
// names a page names the topic that shows it, and opens that topic.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The page a compiler message names, "(named in PAGE)" or "(named in PAGE,
// line N)", and the line (0 when it names none).
struct MessagePlace {
  QString page;
  int line = 0;
};
std::optional<MessagePlace> PlaceOfMessage(const QString& message);

class CompilerMessagesWindow : public QDialog {
  Q_OBJECT
 public:
  explicit CompilerMessagesWindow(QWidget* parent = nullptr);

  QListWidget* messageList = nullptr;
  QLabel* summaryLabel = nullptr;
  QPushButton* copyButton = nullptr;
  QPushButton* okButton = nullptr;

  // The title of the topic that shows a page ("" when none does).
  std::function<QString(const QString& page)> topicTitleOf;
  // Opens the topic that shows a page, at a line of its source when not 0.
  std::function<void(const QString& page, int line)> openTopic;

  // The log shown; read again every time the window is shown.
  QString logFile;
  // The compiler's output, shown instead while LogFile is empty.
  QByteArray output;

  // Clears the list and fills it from LogFile (or Output), control characters
  // made blanks.
  void ReloadMessages();

 protected:
  void Activated(QListWidgetItem* item);
  void showEvent(QShowEvent* event) override;
};
