#include "editor/spin_edit.h"

#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QWheelEvent>

#include "editor/table_params.h"

SpinEdit::SpinEdit(int minValue, int maxValue, int value, QWidget* parent)
    : QLineEdit(parent), Min(minValue), Max(qMax(minValue, maxValue)) {
  SetValue(value);
  Up = new QToolButton(this);
  Down = new QToolButton(this);
  Up->setArrowType(Qt::UpArrow);
  Down->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {Up, Down}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setCursor(Qt::ArrowCursor);
  }
  connect(Up, &QToolButton::clicked, this, [this] { Step(1); });
  connect(Down, &QToolButton::clicked, this, [this] { Step(-1); });
}

int SpinEdit::Clamp(int value) const { return qBound(Min, value, Max); }

int SpinEdit::Value() const {
  int value = Min;
  if (IntegerErrorPosition(text(), &value) != 0) return Min;
  return Clamp(value);
}

void SpinEdit::SetValue(int value) { setText(QString::number(Clamp(value))); }

void SpinEdit::Step(int delta) {
  const qint64 next = qint64(Value()) + delta;
  SetValue(int(qBound(qint64(Min), next, qint64(Max))));
  selectAll();
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
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

void SpinEdit::wheelEvent(QWheelEvent* event) {
  const int dy = event->angleDelta().y();
  if (dy != 0 && hasFocus()) {
    Step(dy > 0 ? 1 : -1);
    event->accept();
    return;
  }
  QLineEdit::wheelEvent(event);
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
  int value = 0;
  if (IntegerErrorPosition(text(), &value) == 0 && value != Clamp(value)) SetValue(value);
  QLineEdit::focusOutEvent(event);
}

void SpinEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int w = qMax(12, height() * 3 / 5);
  const int h = height() / 2;
  Up->setGeometry(width() - w - 1, 1, w, h - 1);
  Down->setGeometry(width() - w - 1, h, w, height() - h - 1);
  setTextMargins(0, 0, w + 1, 0);
}
