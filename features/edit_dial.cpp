#include "features/edit_dial.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/text_file.h"

TextEditDialog::TextEditDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("textEditDialog");
  setWindowTitle(QString());
  setModal(true);
  setFixedSize(587, 344);

  sourceView = new QPlainTextEdit(this);
  sourceView->setObjectName("sourceView");
  sourceView->setGeometry(8, 8, 569, 293);
  sourceView->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // long lines wrap on screen only
  sourceView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  sourceView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setGeometry(419, 311, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  CancelBtn->setGeometry(503, 311, 75, 25);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TextEditDialog::SetLines(const QStringList& lines) {
  sourceView->setPlainText(lines.join(u'\n'));
  sourceView->document()->setModified(false);
}

QStringList TextEditDialog::Lines() const { return SplitLines(sourceView->toPlainText()); }

bool TextEditDialog::Modified() const { return sourceView->document()->isModified(); }

void TextEditDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TextEditDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

void TextEditDialog::FormActivate() {
  // The text box gets the normal window colour each time.
  QPalette palette = sourceView->palette();
  palette.setColor(QPalette::Base, QGuiApplication::palette().color(QPalette::Base));
  sourceView->setPalette(palette);
}
