#include "widgets/dialog_focus_return.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

void DialogFocusReturn::Install() {
  if (!qApp || qApp->findChild<DialogFocusReturn*>(QString(), Qt::FindDirectChildrenOnly)) return;
  new DialogFocusReturn(qApp);
}

DialogFocusReturn::DialogFocusReturn(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

bool DialogFocusReturn::eventFilter(QObject* watched, QEvent* event) {
  // Only the types are looked at before the cast: the filter sees every
  // object of the program, some of them half built or half gone.
  const QEvent::Type type = event->type();
  if ((type == QEvent::Show || type == QEvent::Hide) && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->windowType() == Qt::Dialog) {
      if (type == QEvent::Show)
        Opened(widget);
      else
        Closed(widget);
    }
  }
  return QObject::eventFilter(watched, event);
}

void DialogFocusReturn::Opened(QWidget* dialog) {
  open.removeIf([](const OpenDialog& d) { return !d.dialog; });
  QWidget* focus = QApplication::focusWidget();
  if (focus && focus->window() == dialog) return;
  // Right after another dialog (a file, then a folder): where that one
  // gives the keyboard back.
  if (!focus) focus = returning;
  if (!focus) return;
  for (const OpenDialog& d : std::as_const(open))
    if (d.dialog == dialog) return;
  open.append(OpenDialog{dialog, focus});
}

void DialogFocusReturn::Closed(QWidget* dialog) {
  QPointer<QWidget> focus;
  for (qsizetype i = 0; i < open.size(); ++i) {
    if (open[i].dialog != dialog) continue;
    focus = open.takeAt(i).focus;
    break;
  }
  if (!focus) return;
  // A dialog that closes while the program is in the background (the user
  // works elsewhere) takes nobody's keyboard: its window gets it back when
  // the user returns.
  const bool inFront = QGuiApplication::applicationState() == Qt::ApplicationActive;
  // Once the code that opened the dialog has read its fields (a field that
  // loses the keyboard may correct itself) and done what it does after it,
  // and the dialog's window is gone.
  returning = focus;
  QTimer::singleShot(0, this, [this, focus, inFront] {
    if (returning == focus) returning.clear();
    Restore(focus, inFront);
  });
}

void DialogFocusReturn::Restore(QWidget* focus, bool activate) {
  if (!focus || !focus->isVisible() || !focus->isEnabled()) return;
  QWidget* window = focus->window();
  // Moved on purpose while the dialog was open, or after it: that stands.
  if (window->focusWidget() && window->focusWidget() != focus) return;
  // Another window the dialog opened keeps the keyboard.
  QWidget* active = QApplication::activeWindow();
  if (active && active != window) return;
  if (activate && active != window) window->activateWindow();
  if (QApplication::focusWidget() != focus) focus->setFocus(Qt::ActiveWindowFocusReason);
}
