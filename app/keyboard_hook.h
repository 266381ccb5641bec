// The editor's keyboard keys: an application-wide event filter that gives the
// editing control its clipboard, delete, select-all and help keys while it is
// the main window's active control.
#pragma once

#include <QObject>

class ActionRegistry;
class EditingControl;
class QWidget;
class QKeyEvent;

enum class HookAction { None, Paste, PastePlain, Delete, SelectAll, Copy, Cut, Help };

// Which action a key press asks for (the key table of the editor).
HookAction EditKeyAction(const QKeyEvent& key);

class KeyboardHook : public QObject {
  Q_OBJECT
 public:
  // The keys act while `editor` has the focus in `window`; they trigger
  // the clipboard items registered in `commands`.
  KeyboardHook(QWidget* window, EditingControl* editor, const ActionRegistry& commands);

 signals:
  // F1 in the editor: the program's help at the editor's topic.
  void HelpRequested(int context);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool EditorIsActiveControl() const;
  void Perform(HookAction action);
  QWidget* window;
  EditingControl* editor;
  const ActionRegistry& commands;
};
