#include "widgets/dialog_focus_return.h"

#include <QApplication>
#include <QEvent>
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
  if (!focus || focus->window() == dialog) return;
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
  Restore(focus, dialog);
  // Some platforms hand the activation on only once the dialog's own
  // window is gone: the keyboard is given back again then, unless it has
  // gone somewhere meanwhile.
  QTimer::singleShot(0, this, [focus] { Restore(focus, nullptr); });
}

void DialogFocusReturn::Restore(QWidget* focus, QWidget* dialog) {
  if (!focus || !focus->isVisible() || !focus->isEnabled()) return;
  QWidget* window = focus->window();
  // Moved on purpose while the dialog was open, or after it: that stands.
  if (window->focusWidget() && window->focusWidget() != focus) return;
  // Another window the dialog opened keeps the keyboard.
  QWidget* active = QApplication::activeWindow();
  if (active && active != window && active != dialog) return;
  if (active != window) window->activateWindow();
  if (QApplication::focusWidget() != focus) focus->setFocus(Qt::ActiveWindowFocusReason);
}
