// The window's commands by id. Each controller makes the menu items, keys
// and submenus it owns and registers them here under a stable id (also
// their object name, e.g. "boldAction"); the window then assembles its
// menus from the ids, and tests find a command by its id. One registry per
// window, owned by it.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

class ActionRegistry : public QObject {
  Q_OBJECT
 public:
  explicit ActionRegistry(QWidget* window);

  // A new menu item (or key) with `caption`, registered as `id` (ids are unique).
  QAction* Add(const QString& id, const QString& caption = QString());
  // A new submenu with `caption`, registered as `id` (its item has the id too).
  QMenu* AddMenu(const QString& id, const QString& caption);
  // What was registered as `id`; null when nothing was.
  QAction* Action(const QString& id) const;
  QMenu* Menu(const QString& id) const;
  // Appends the items and submenus named by `ids` to `menu`, in order; "-"
  // is a separator. An id nobody registered is a programming error.
  void Fill(QMenu* menu, const QStringList& ids) const;
  // The window the commands act in: the parent of the submenus.
  QWidget* Window() const { return window; }

 private:
  // An id is registered once: a second one is a programming error.
  void CheckNew(const QString& id) const;
  QWidget* window;
  QHash<QString, QAction*> actions;
  QHash<QString, QMenu*> menus;
};
