#include "app/keyboard_hook.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include "editor/editing_control.h"
#include "widgets/action_registry.h"

HookAction EditKeyAction(const QKeyEvent& key) {
  const Qt::KeyboardModifiers mods = key.modifiers();
  if (mods & Qt::AltModifier) return HookAction::None;
  const bool shift = mods & Qt::ShiftModifier;
  const bool ctrl = mods & Qt::ControlModifier;
  switch (key.key()) {
    case Qt::Key_Insert:
      return shift ? HookAction::Paste : HookAction::None;
    case Qt::Key_Delete:
      return HookAction::Delete;
    case Qt::Key_A:
      return ctrl ? HookAction::SelectAll : HookAction::None;
    case Qt::Key_C:
      return ctrl ? HookAction::Copy : HookAction::None;
    case Qt::Key_V:
      if (!ctrl) return HookAction::None;
      return shift ? HookAction::PastePlain : HookAction::Paste;
    case Qt::Key_X:
      return ctrl ? HookAction::Cut : HookAction::None;
    case Qt::Key_F1:
      return HookAction::Help;
    default:
      return HookAction::None;
  }
}

KeyboardHook::KeyboardHook(QWidget* window, EditingControl* editor, const ActionRegistry& commands)
    : QObject(window), window(window), editor(editor), commands(commands) {}

bool KeyboardHook::EditorIsActiveControl() const {
  if (QApplication::activeWindow() != window) return false;
  QWidget* focus = QApplication::focusWidget();
  return focus && (focus == editor || editor->isAncestorOf(focus));
}

void KeyboardHook::Perform(HookAction action) {
  const auto click = [this](const char* id) {
    QAction* item = commands.Action(id);
    if (item && item->isEnabled()) item->trigger();
  };
  switch (action) {
    case HookAction::Paste:
      click("pasteAction");
      break;
    case HookAction::PastePlain:
      click("pastePlainAction");
      break;
    case HookAction::Delete:
      // The context menu's hidden "Delete" item, reached through this key only.
      editor->Exec(EditorCommand::Delete);
      break;
    case HookAction::SelectAll:
      click("selectAllAction");
      break;
    case HookAction::Copy:
      click("copyAction");
      break;
    case HookAction::Cut:
      click("cutAction");
      break;
    case HookAction::Help:
      emit HelpRequested(10006);
      break;
    case HookAction::None:
      break;
  }
}

bool KeyboardHook::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
    return QObject::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  const HookAction action = EditKeyAction(*key);
  if (action == HookAction::None || !EditorIsActiveControl()) return QObject::eventFilter(watched, event);
  if (type == QEvent::ShortcutOverride) {
    // Keep menu shortcuts from acting as well: the key press below does it once.
    event->accept();
    return true;
  }
  // Key presses reach the filter once per widget on their way up; act once.
  if (watched != QApplication::focusWidget()) return false;
  Perform(action);
  // The editor's own handling of these keys is replaced, so nothing happens twice.
  return true;
}
