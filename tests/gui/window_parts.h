// The main window's parts as a test reaches them: menu items and menus by
// their object names (the ids the controllers register them under), widgets
// by the names a user's tools see, controllers by their type. A part that
// is not there stops the test with its name, not with a null pointer.
#pragma once

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QWidget>

#include "editor/editing_control.h"
#include "model/contents_model.h"
#include "model/help_project.h"
#include "model/index_model.h"
#include "project/project_commands.h"

namespace window_parts {

template <typename T>
T* Found(T* part, const char* kind, const QString& name) {
  if (!part) qFatal("The window has no %s named \"%s\"", kind, qPrintable(name));
  return part;
}

}  // namespace window_parts

// The menu item (or key) registered under `id`.
inline QAction* Action(const QObject& window, const QString& id) {
  return window_parts::Found(window.findChild<QAction*>(id), "action", id);
}

// The menu or submenu named `id`.
inline QMenu* Menu(const QObject& window, const QString& id) {
  return window_parts::Found(window.findChild<QMenu*>(id), "menu", id);
}

// The window's widget of type T named `name`.
template <typename T>
T* Widget(const QObject& window, const QString& name) {
  return window_parts::Found(window.findChild<T*>(name), "widget", name);
}

// The window's controller of type T (each kind is made once).
template <typename T>
T* Controller(const QObject& window) {
  return window_parts::Found(window.findChild<T*>(), "controller", T::staticMetaObject.className());
}

// The project the window holds, as its project commands work on it.
inline HelpProject& ProjectOf(const QObject& window) {
  return Controller<ProjectCommands>(window)->Project();
}

// The trees' models, as their views show them.
inline ContentsModel* ContentsModelOf(const QObject& window) {
  return static_cast<ContentsModel*>(Widget<QTreeView>(window, "contentsTree")->model());
}
inline IndexModel* IndexModelOf(const QObject& window) {
  return static_cast<IndexModel*>(Widget<QTreeView>(window, "indexTree")->model());
}
