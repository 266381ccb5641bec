#include "editor/number_edit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include "editor/table_params.h"

NumberEdit::NumberEdit(int minValue, int maxValue, int value, QWidget* parent)
    : QLineEdit(parent), minimum(minValue), maximum(qMax(minValue, maxValue)) {
  SetValue(value);
  upButton = new QToolButton(this);
  downButton = new QToolButton(this);
  upButton->setArrowType(Qt::UpArrow);
  downButton->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {upButton, downButton}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setCursor(Qt::ArrowCursor);
  }
  connect(upButton, &QToolButton::clicked, this, [this] { Step(1); });
  connect(downButton, &QToolButton::clicked, this, [this] { Step(-1); });
}

int NumberEdit::Clamp(int value) const { return qBound(minimum, value, maximum); }

int NumberEdit::Value() const {
  int value = minimum;
  if (IntegerErrorPosition(text(), &value) != 0) return minimum;
  return Clamp(value);
}

void NumberEdit::SetValue(int value) { setText(QString::number(Clamp(value))); }

void NumberEdit::Step(int delta) {
  const qint64 next = qint64(Value()) + delta;
  SetValue(int(qBound(qint64(minimum), next, qint64(maximum))));
  selectAll();
}

void NumberEdit::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      Step(1);
      return;
    case Qt::Key_Down:
      Step(-1);
      return;
    case Qt::Key_PageUp:
      Step(10);
      return;
    case Qt::Key_PageDown:
      Step(-10);
      return;
    default:
      QLineEdit::keyPressEvent(event);
  }
}

void NumberEdit::wheelEvent(QWheelEvent* event) {
  const int dy = event->angleDelta().y();
  if (dy != 0 && hasFocus()) {
    Step(dy > 0 ? 1 : -1);
    event->accept();
    return;
  }
  QLineEdit::wheelEvent(event);
}

void NumberEdit::focusOutEvent(QFocusEvent* event) {
  int value = 0;
  if (IntegerErrorPosition(text(), &value) == 0 && value != Clamp(value)) SetValue(value);
  QLineEdit::focusOutEvent(event);
}

void NumberEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int w = qMax(12, height() * 3 / 5);
  const int h = height() / 2;
  upButton->setGeometry(width() - w - 1, 1, w, h - 1);
  downButton->setGeometry(width() - w - 1, h, w, height() - h - 1);
  setTextMargins(0, 0, w + 1, 0);
}
