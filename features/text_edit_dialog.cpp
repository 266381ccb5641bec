#include "features/text_edit_dialog.h"

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

  textBox = new QPlainTextEdit(this);
  textBox->setObjectName("textBox");
  textBox->setGeometry(8, 8, 569, 293);
  textBox->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // long lines wrap on screen only
  textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  okButton = new QPushButton("OK", this);
  okButton->setObjectName("okButton");
  okButton->setGeometry(419, 311, 75, 25);
  okButton->setDefault(true);
  cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("cancelButton");
  cancelButton->setGeometry(503, 311, 75, 25);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TextEditDialog::SetLines(const QStringList& lines) {
  textBox->setPlainText(lines.join(u'\n'));
  textBox->document()->setModified(false);
}

QStringList TextEditDialog::Lines() const { return SplitLines(textBox->toPlainText()); }

bool TextEditDialog::Modified() const { return textBox->document()->isModified(); }

void TextEditDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TextEditDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) ResetTextColour();
  return QDialog::event(event);
}

void TextEditDialog::ResetTextColour() {
  // The text box gets the normal window colour each time.
  QPalette palette = textBox->palette();
  palette.setColor(QPalette::Base, QGuiApplication::palette().color(QPalette::Base));
  textBox->setPalette(palette);
}
