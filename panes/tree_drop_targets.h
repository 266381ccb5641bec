// Drop targets of the two trees, as event filters on their viewports.
//
// IndexDropTarget takes plain text dragged onto the Index tree (out of the
// editor) and hands it, cut to 255 characters, with the drop point in screen
// coordinates to the main window. It shows the "copy" effect, so the text
// stays where it came from, and refuses everything else: drags without text
// (tree nodes among them) and drops the window says it cannot take.
//
// ContentsDropTarget takes only drags of the Contents tree's own nodes and
// hands the drop point (viewport coordinates) to the main window, which moves
// the node itself. The drop is reported back as a copy, so the tree that
// started the drag never removes the dragged node on its own.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <functional>

class QDrag;
class QDropEvent;
class QTreeView;
class QWidget;

class IndexDropTarget : public QObject {
 public:
  using CanDrop = std::function<bool()>;
  using OnDrop = std::function<void(const QString& text, const QPoint& screenPos)>;
  IndexDropTarget(QTreeView* tree, CanDrop canDrop, OnDrop onDrop, QObject* parent = nullptr);
  ~IndexDropTarget() override;
  // Stops taking drops (the viewport's filter is removed).
  void Revoke();
  // The text kept from the drag now over the tree.
  QString KeptText() const { return text; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPointer<QTreeView> tree;
  // The watched viewport; while a window is torn down its events still come
  // in, so it is told by identity without asking the tree for it.
  QPointer<QWidget> viewport;
  CanDrop allowed;
  OnDrop dropped;
  QString text;
};

class ContentsDropTarget : public QObject {
 public:
  using OnDrop = std::function<void(const QPoint& viewportPos)>;
  ContentsDropTarget(QTreeView* tree, OnDrop onDrop, QObject* parent = nullptr);
  ~ContentsDropTarget() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Whether a drag comes from the Contents tree itself.
  bool FromOwnTree(const QDropEvent* event) const;
  QPointer<QTreeView> tree;
  QPointer<QWidget> viewport;  // see IndexDropTarget
  const QObject* treeObject;   // the tree, only to compare with, never used
  OnDrop dropped;
  // Objects lately made as the tree's children: its drags are among them.
  // (A child is announced before it is fully made, so what it is can be
  // told only later.)
  QList<QPointer<QObject>> newChildren;
};
