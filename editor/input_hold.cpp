#include "editor/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>
#include <utility>

namespace {
// Events that can change what the target shows or holds.
bool IsInput(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}
}  // namespace

InputHold::InputHold(QWidget* target, std::function<void()> input)
    : QObject(target), target(target), input(std::move(input)) {
  // The page's own widget comes and goes with the engine; watching the
  // application sees it whatever it is.
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  for (const Kept& k : kept) delete k.event;
}

void InputHold::Hold() { ++holds; }

void InputHold::Release() {
  if (holds == 0 || --holds > 0) return;
  const QList<Kept> pending = std::exchange(kept, {});
  replaying = true;
  for (qsizetype i = 0; i < pending.size(); ++i) {
    // Delivering may hold again (a key that starts a command that waits):
    // what is left then waits for that hold.
    if (holds > 0) {
      kept.append(pending[i]);
      continue;
    }
    if (pending[i].receiver) {
      QCoreApplication::sendEvent(pending[i].receiver, pending[i].event);
      if (input) input();
    }
    delete pending[i].event;
  }
  replaying = false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (replaying || !IsInput(event->type())) return false;
  // The application's filter also sees objects half built or half gone:
  // `watched` is only compared by its address with the editor's own.
  if (watched != target && !target->findChildren<QObject*>().contains(watched)) return false;
  if (holds > 0) {
    kept.append({watched, event->clone()});
    return true;
  }
  // Releases change nothing the page holds.
  const bool release = event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease;
  if (input && !release) input();
  return false;
}
