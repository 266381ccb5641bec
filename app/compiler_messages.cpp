#include "app/compiler_messages.h"

#include <QFile>
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

// Every line of the list is kItemHeight high.
class FixedRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight};
  }
};

}  // namespace

CompilerMessagesWindow::CompilerMessagesWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("compilerMessagesWindow");
  setWindowTitle("Compiler messages");
  setModal(true);
  setFixedSize(kClientWidth, kClientHeight);

  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(0, 0, kClientWidth, kListHeight);
  ListBox1->setUniformItemSizes(true);
  ListBox1->setItemDelegate(new FixedRowDelegate(ListBox1));

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  OKBtn->setAutoDefault(true);
  const int buttonHeight = kClientHeight - kListHeight - 8;
  OKBtn->setGeometry((kClientWidth - 75) / 2, kListHeight + 4, 75, buttonHeight);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void CompilerMessagesWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Centred on the screen, refilled on every showing.
  if (const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  FormActivate();
}

void CompilerMessagesWindow::FormActivate() {
  ListBox1->clear();
  QFile log(LogFile);
  if (LogFile.isEmpty() || !log.open(QIODevice::ReadOnly)) return;
  ListBox1->addItems(orvex::CompilerMessageItems(log.read(kMaxLogBytes)));
}
