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
    : QObject(view), m_view(view), m_owner(owner), m_handler(std::move(handler)) {
  view->installEventFilter(this);
}

bool HtmlDropFilter::eventFilter(QObject* watched, QEvent* event) {
  if (watched != m_view || event->type() != QEvent::Drop) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  const QMimeData* mime = drop->mimeData();
  if (!mime || !mime->hasHtml() || Inside(drop->source(), m_owner)) return false;
  // The engine has followed the drag so far; it is told the drag left, so
  // that it drops nothing itself.
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(m_view, &leave);
  if (!m_handler(drop->position(), *mime)) {
    drop->ignore();
    return true;
  }
  if (drop->possibleActions() & Qt::CopyAction) drop->setDropAction(Qt::CopyAction);
  drop->accept();
  return true;
}
