#include "panes/tree_drop_targets.h"

#include <QChildEvent>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>

#include "model/index_rules.h"

// ---- Index -----------------------------------------------------------------

IndexDropTarget::IndexDropTarget(QTreeView* tree, CanDrop canDrop, OnDrop onDrop, QObject* parent)
    : QObject(parent),
      Tree(tree),
      Viewport(tree->viewport()),
      Allowed(std::move(canDrop)),
      Dropped(std::move(onDrop)) {
  tree->viewport()->setAcceptDrops(true);
  tree->viewport()->installEventFilter(this);
}

IndexDropTarget::~IndexDropTarget() { Revoke(); }

void IndexDropTarget::Revoke() {
  if (Viewport) Viewport->removeEventFilter(this);
  Text.clear();
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
  if (!IsDragEvent(event) || !Tree || watched != Viewport.data()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QMimeData* mime = drop->mimeData();
      if (event->type() == QEvent::DragEnter)
        Text = mime && mime->hasText() ? CutDroppedText(mime->text()) : QString();
      const bool take = mime && mime->hasText() && Allowed && Allowed();
      if (!take) {
        drop->ignore();
        return true;
      }
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      if (event->type() == QEvent::Drop) {
        // A drop without an enter (or after a leave) still brings its text.
        const QString text = Text.isEmpty() ? CutDroppedText(mime->text()) : Text;
        Text.clear();
        const QPoint screenPos = Tree->viewport()->mapToGlobal(drop->position().toPoint());
        if (Dropped) Dropped(text, screenPos);
      }
      return true;
    }
    case QEvent::DragLeave:
      Text.clear();
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

ContentsDropTarget::ContentsDropTarget(QTreeView* tree, OnDrop onDrop, QObject* parent)
    : QObject(parent), Tree(tree), Viewport(tree->viewport()), TreeObject(tree), Dropped(std::move(onDrop)) {
  tree->viewport()->setAcceptDrops(true);
  tree->viewport()->installEventFilter(this);
  // The tree makes its drags as its own children: noticing them tells our
  // own drags from all others, also where the platform names no source.
  tree->installEventFilter(this);
}

ContentsDropTarget::~ContentsDropTarget() {
  if (Viewport) Viewport->removeEventFilter(this);
  if (Tree) Tree->removeEventFilter(this);
}

bool ContentsDropTarget::FromOwnTree(const QDropEvent* event) const {
  if (!Tree) return false;
  if (event->source() == Tree || event->source() == Tree->viewport()) return true;
  if (!event->mimeData()) return false;
  for (const QPointer<QObject>& child : NewChildren) {
    const auto* drag = qobject_cast<QDrag*>(child.data());
    if (drag && drag->mimeData() == event->mimeData()) return true;
  }
  return false;
}

bool ContentsDropTarget::eventFilter(QObject* watched, QEvent* event) {
  // Compared by identity only: events come also while the tree is being
  // destroyed, when it must not be used.
  if (watched == TreeObject && event->type() == QEvent::ChildAdded) {
    NewChildren.removeAll(QPointer<QObject>());
    while (NewChildren.size() >= kRememberedChildren) NewChildren.removeFirst();
    NewChildren.append(static_cast<QChildEvent*>(event)->child());
    return QObject::eventFilter(watched, event);
  }
  if (!IsDragEvent(event) || !Tree || watched != Viewport.data()) return QObject::eventFilter(watched, event);
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
      if (Dropped) Dropped(drop->position().toPoint());
      return true;
    }
    case QEvent::DragLeave:
      event->accept();
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}
