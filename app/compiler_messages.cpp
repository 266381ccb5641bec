#include "app/compiler_messages.h"

#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QShowEvent>
#include <QStyledItemDelegate>

#include "chm/compiler.h"

namespace {

constexpr int kClientWidth = 552;
constexpr int kClientHeight = 291;
constexpr int kListHeight = 221;
constexpr int kSummaryHeight = 32;
constexpr int kPageRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kItemHeight = 16;
// A log longer than this is shown up to this size.
constexpr qint64 kMaxLogBytes = 32 * 1024 * 1024;

// Every line of the list is kItemHeight high and as wide as the widest, so
// that the list scrolls sideways to the end of every long line.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {rowWidth, kItemHeight};
  }
  int rowWidth = 0;
};

const QRegularExpression& NamedIn() {
  static const QRegularExpression pattern(
      QStringLiteral(R"(\(named in (.+?)(?:, line (\d+))?\)(?!.*\(named in ))"));
  return pattern;
}

}  // namespace

std::optional<MessagePlace> PlaceOfMessage(const QString& message) {
  const QRegularExpressionMatch match = NamedIn().match(message);
  if (!match.hasMatch()) return std::nullopt;
  return MessagePlace{match.captured(1), match.captured(2).toInt()};
}

CompilerMessagesWindow::CompilerMessagesWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("compilerMessagesWindow");
  setWindowTitle("Compiler messages");
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);

  messageList = new QListWidget(this);
  messageList->setObjectName("messageList");
  messageList->setGeometry(0, 0, kClientWidth, kListHeight);
  messageList->setUniformItemSizes(true);
  messageList->setItemDelegate(new FixedRowDelegate(messageList));
  messageList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  messageList->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

  // Double-click or Enter on a message that names a topic opens it.
  connect(messageList, &QListWidget::itemActivated, this, &CompilerMessagesWindow::Activated);

  summaryLabel = new QLabel(this);
  summaryLabel->setObjectName("summaryLabel");
  summaryLabel->setWordWrap(true);
  summaryLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  summaryLabel->setGeometry(6, kListHeight + 2, kClientWidth - 12, kSummaryHeight);

  const int buttonTop = kListHeight + kSummaryHeight + 6;
  const int buttonHeight = kClientHeight - buttonTop - 4;
  copyButton = new QPushButton("&Copy all", this);
  copyButton->setObjectName("copyButton");
  copyButton->setAutoDefault(false);
  copyButton->setGeometry(6, buttonTop, 90, buttonHeight);
  connect(copyButton, &QPushButton::clicked, this, [this] {
    QStringList lines;
    for (int i = 0; i < messageList->count(); ++i) lines << messageList->item(i)->text();
    QGuiApplication::clipboard()->setText(lines.join(u'\n'));
  });

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setDefault(true);
  okButton->setAutoDefault(true);
  okButton->setGeometry((kClientWidth - 75) / 2, buttonTop, 75, buttonHeight);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void CompilerMessagesWindow::Activated(QListWidgetItem* item) {
  const QString page = item ? item->data(kPageRole).toString() : QString();
  if (page.isEmpty() || !openTopic) return;
  const int line = item->data(kLineRole).toInt();
  accept();
  openTopic(page, line);
}

void CompilerMessagesWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Centred on the screen, refilled on every showing.
  if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  ReloadMessages();
}

void CompilerMessagesWindow::ReloadMessages() {
  messageList->clear();
  summaryLabel->clear();
  QByteArray text = output;
  if (!logFile.isEmpty()) {
    QFile log(logFile);
    if (!log.open(QIODevice::ReadOnly)) return;
    text = log.read(kMaxLogBytes);
  }
  QStringList items = orvex::CompilerMessageItems(text);
  // A page named by a message is shown as the topic that shows it.
  QList<std::optional<MessagePlace>> places;
  for (QString& item : items) {
    std::optional<MessagePlace> place = PlaceOfMessage(item);
    const QString title = place && topicTitleOf ? topicTitleOf(place->page) : QString();
    if (title.isEmpty()) place.reset();
    if (place) {
      const QRegularExpressionMatch match = NamedIn().match(item);
      item.replace(match.capturedStart(), match.capturedLength(),
                   QStringLiteral("(topic \"%1\", page %2%3)")
                       .arg(title, place->page,
                            place->line > 0 ? QStringLiteral(", line %1").arg(place->line) : QString()));
    }
    places.append(place);
  }
  const QFontMetrics metrics(messageList->font());
  int widest = 0;
  for (const QString& item : items) widest = qMax(widest, metrics.horizontalAdvance(item));
  // The item's own margins on both sides.
  static_cast<FixedRowDelegate*>(messageList->itemDelegate())->rowWidth = widest + 2 * kItemHeight;
  messageList->addItems(items);
  for (int i = 0; i < items.size(); ++i) {
    if (!places[i]) continue;
    messageList->item(i)->setData(kPageRole, places[i]->page);
    messageList->item(i)->setData(kLineRole, places[i]->line);
  }
  // The verdict is the last line the compiler wrote.
  for (qsizetype i = items.size() - 1; i >= 0; --i) {
    if (items[i].trimmed().isEmpty()) continue;
    summaryLabel->setText(items[i]);
    break;
  }
}
