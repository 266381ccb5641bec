#include "widgets/action_registry.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

ActionRegistry::ActionRegistry(QWidget* window) : QObject(window), window(window) {
  setObjectName(QStringLiteral("actionRegistry"));
}

void ActionRegistry::CheckNew(const QString& id) const {
  if (actions.contains(id) || menus.contains(id))
    qFatal("Two commands are registered as \"%s\"", qPrintable(id));
}

QAction* ActionRegistry::Add(const QString& id, const QString& caption) {
  CheckNew(id);
  auto* action = new QAction(caption, window);
  action->setObjectName(id);
  actions.insert(id, action);
  return action;
}

QMenu* ActionRegistry::AddMenu(const QString& id, const QString& caption) {
  CheckNew(id);
  auto* menu = new QMenu(caption, window);
  menu->setObjectName(id);
  menu->menuAction()->setObjectName(id);
  menus.insert(id, menu);
  return menu;
}

QAction* ActionRegistry::Action(const QString& id) const {
  if (QAction* action = actions.value(id)) return action;
  const QMenu* menu = menus.value(id);
  return menu ? menu->menuAction() : nullptr;
}

QMenu* ActionRegistry::Menu(const QString& id) const { return menus.value(id); }

void ActionRegistry::Fill(QMenu* menu, const QStringList& ids) const {
  for (const QString& id : ids) {
    if (id == u"-") {
      menu->addSeparator();
    } else if (QMenu* submenu = menus.value(id)) {
      menu->addMenu(submenu);
    } else if (QAction* action = actions.value(id)) {
      menu->addAction(action);
    } else {
      qFatal("No command is registered as \"%s\"", qPrintable(id));
    }
  }
}
