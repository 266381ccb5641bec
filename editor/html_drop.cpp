#include "editor/html_drop.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWebEngineView>

namespace {
bool Inside(const QObject* object, const QObject* owner) {
  for (; object; object = object->parent())
    if (object == owner) return true;
  return false;
}
}  // namespace

HtmlDropFilter::HtmlDropFilter(QWebEngineView* view, const QObject* owner, DropHandler handler)
    : QObject(view), view(view), owner(owner), handler(std::move(handler)) {
  view->installEventFilter(this);
}

bool HtmlDropFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != view || event->type() != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData* mime = drop->mimeData();
  if (!mime || !mime->hasHtml() || Inside(drop->source(), owner)) return false;
  // The engine has followed the drag so far; it is told the drag left, so
  // that it drops nothing itself.
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(view, &leave);
  if (!handler(drop->position(), *mime)) {
    drop->ignore();
    return true;
  }
  if (drop->possibleActions() & Qt::CopyAction) drop->setDropAction(Qt::CopyAction);
  drop->accept();
  return true;
}
