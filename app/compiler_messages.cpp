#include "app/compiler_messages.h"

#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyledItemDelegate>

#include "chm/compiler.h"

namespace {

constexpr int kClientWidth = 552;
constexpr int kClientHeight = 291;
constexpr int kListHeight = 257;
constexpr int kItemHeight = 16;
// A log longer than this is shown up to this size.
constexpr qint64 kMaxLogBytes = 32 * 1024 * 1024;

// Every line of the list is kItemHeight high and as wide as the widest, so
// that the list scrolls sideways to the end of every long line.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {RowWidth, kItemHeight};
  }
  int RowWidth = 0;
};

}  // namespace

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

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setDefault(true);
  okButton->setAutoDefault(true);
  const int buttonHeight = kClientHeight - kListHeight - 8;
  okButton->setGeometry((kClientWidth - 75) / 2, kListHeight + 4, 75, buttonHeight);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
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
  QByteArray text = Output;
  if (!LogFile.isEmpty()) {
    QFile log(LogFile);
    if (!log.open(QIODevice::ReadOnly)) return;
    text = log.read(kMaxLogBytes);
  }
  const QStringList items = orvex::CompilerMessageItems(text);
  const QFontMetrics metrics(messageList->font());
  int widest = 0;
  for (const QString& item : items) widest = qMax(widest, metrics.horizontalAdvance(item));
  // The item's own margins on both sides.
  static_cast<FixedRowDelegate*>(messageList->itemDelegate())->RowWidth = widest + 2 * kItemHeight;
  messageList->addItems(items);
}
