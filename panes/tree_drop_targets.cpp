#include "panes/tree_drop_targets.h"

#include <QChildEvent>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>

#include "model/index_rules.h"

// ---- Index -----------------------------------------------------------------

IndexDropTarget::IndexDropTarget(QTreeView* view, CanDrop canDrop, OnDrop onDrop, QObject* parent)
    : QObject(parent),
      tree(view),
      viewport(view->viewport()),
      allowed(std::move(canDrop)),
      dropped(std::move(onDrop)) {
  view->viewport()->setAcceptDrops(true);
  view->viewport()->installEventFilter(this);
}

IndexDropTarget::~IndexDropTarget() { Revoke(); }

void IndexDropTarget::Revoke() {
  if (viewport) viewport->removeEventFilter(this);
  text.clear();
}

namespace {

bool IsDragEvent(const QEvent* event) {
  const QEvent::Type type = event->type();
  return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop ||
         type == QEvent::DragLeave;
}

}  // namespace

bool IndexDropTarget::eventFilter(QObject* watched, QEvent* event) {
  // Only drags are looked at: the tree is not touched for any other event,
  // which may come while the tree is being destroyed.
  if (!IsDragEvent(event) || !tree || watched != viewport.data()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QMimeData* mime = drop->mimeData();
      if (event->type() == QEvent::DragEnter)
        text = mime && mime->hasText() ? CutDroppedText(mime->text()) : QString();
      const bool take = mime && mime->hasText() && allowed && allowed();
      if (!take) {
        drop->ignore();
        return true;
      }
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      if (event->type() == QEvent::Drop) {
        // A drop without an enter (or after a leave) still brings its text.
        const QString dropText = text.isEmpty() ? CutDroppedText(mime->text()) : text;
        text.clear();
        const QPoint screenPos = tree->viewport()->mapToGlobal(drop->position().toPoint());
        if (dropped) dropped(dropText, screenPos);
      }
      return true;
    }
    case QEvent::DragLeave:
      text.clear();
      event->accept();
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}

// ---- Contents --------------------------------------------------------------

namespace {
// A drag is made just before it runs; a few children are plenty to find it.
constexpr int kRememberedChildren = 8;
}  // namespace

ContentsDropTarget::ContentsDropTarget(QTreeView* view, OnDrop onDrop, QObject* parent)
    : QObject(parent), tree(view), viewport(view->viewport()), treeObject(view), dropped(std::move(onDrop)) {
  view->viewport()->setAcceptDrops(true);
  view->viewport()->installEventFilter(this);
  // The view makes its drags as its own children: noticing them tells our
  // own drags from all others, also where the platform names no source.
  view->installEventFilter(this);
}

ContentsDropTarget::~ContentsDropTarget() {
  if (viewport) viewport->removeEventFilter(this);
  if (tree) tree->removeEventFilter(this);
}

bool ContentsDropTarget::FromOwnTree(const QDropEvent* event) const {
  if (!tree) return false;
  if (event->source() == tree || event->source() == tree->viewport()) return true;
  if (!event->mimeData()) return false;
  for (const QPointer<QObject>& child : newChildren) {
    const auto* drag = qobject_cast<QDrag*>(child.data());
    if (drag && drag->mimeData() == event->mimeData()) return true;
  }
  return false;
}

bool ContentsDropTarget::eventFilter(QObject* watched, QEvent* event) {
  // Compared by identity only: events come also while the tree is being
  // destroyed, when it must not be used.
  if (watched == treeObject && event->type() == QEvent::ChildAdded) {
    newChildren.removeAll(QPointer<QObject>());
    while (newChildren.size() >= kRememberedChildren) newChildren.removeFirst();
    newChildren.append(static_cast<QChildEvent*>(event)->child());
    return QObject::eventFilter(watched, event);
  }
  if (!IsDragEvent(event) || !tree || watched != viewport.data()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (!FromOwnTree(drop)) {
        drop->ignore();
        return true;
      }
      if (event->type() != QEvent::Drop) {
        drop->setDropAction(Qt::MoveAction);
        drop->accept();
        return true;
      }
      // Reported as a copy: the node is moved here, not removed by the tree.
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      if (dropped) dropped(drop->position().toPoint());
      return true;
    }
    case QEvent::DragLeave:
      event->accept();
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}
