#include "features/edit_dial.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "platform/text_file.h"

TEditDial::TEditDial(QWidget* parent) : QDialog(parent) {
  setObjectName("EditDial");
  setWindowTitle(QString());
  setModal(true);
  setFixedSize(587, 344);

  Memo1 = new QPlainTextEdit(this);
  Memo1->setObjectName("Memo1");
  Memo1->setGeometry(8, 8, 569, 293);
  Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);  // long lines wrap on screen only
  Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

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

void TEditDial::SetLines(const QStringList& lines) {
  Memo1->setPlainText(lines.join(u'\n'));
  Memo1->document()->setModified(false);
}

QStringList TEditDial::Lines() const { return SplitLines(Memo1->toPlainText()); }

bool TEditDial::Modified() const { return Memo1->document()->isModified(); }

void TEditDial::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Centred on the screen.
  if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

bool TEditDial::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QDialog::event(event);
}

void TEditDial::FormActivate() {
  // The text box gets the normal window colour each time.
  QPalette palette = Memo1->palette();
  palette.setColor(QPalette::Base, QGuiApplication::palette().color(QPalette::Base));
  Memo1->setPalette(palette);
}
