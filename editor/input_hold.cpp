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
    : QObject(target), m_target(target), m_input(std::move(input)) {
  // The page's own widget comes and goes with the engine; watching the
  // application sees it whatever it is.
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
  for (const Kept& k : m_kept) delete k.event;
}

void InputHold::Hold() { ++m_holds; }

void InputHold::Release() {
  if (m_holds == 0 || --m_holds > 0) return;
  const QList<Kept> kept = std::exchange(m_kept, {});
  m_replaying = true;
  for (qsizetype i = 0; i < kept.size(); ++i) {
    // Delivering may hold again (a key that starts a command that waits):
    // what is left then waits for that hold.
    if (m_holds > 0) {
      m_kept.append(kept[i]);
      continue;
    }
    if (kept[i].receiver) {
      QCoreApplication::sendEvent(kept[i].receiver, kept[i].event);
      if (m_input) m_input();
    }
    delete kept[i].event;
  }
  m_replaying = false;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (m_replaying || !IsInput(event->type())) return false;
  // The application's filter also sees objects half built or half gone:
  // `watched` is only compared by its address with the editor's own.
  if (watched != m_target && !m_target->findChildren<QObject*>().contains(watched)) return false;
  if (m_holds > 0) {
    m_kept.append({watched, event->clone()});
    return true;
  }
  // Releases change nothing the page holds.
  const bool release = event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease;
  if (m_input && !release) m_input();
  return false;
}
