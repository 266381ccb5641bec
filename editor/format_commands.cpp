// Formatting: the toolbar above the editor, "Set Font", "Set color",
// "Toggle " and the context menu's "Color"; the toolbar follows the caret.
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>

#include "editor/editor_commands.h"
#include "editor/control_dialogs.h"
#include "editor/editing_control.h"
#include "editor/format_rules.h"

bool EditorCommands::EditorCommand(int command, int option, const QVariant& value) {
  QVariant arg = value;
  if (!StatusEnabled(w.editor->QueryStatus(command))) return false;
  w.editor->ExecCommand(command, option, arg);
  return true;
}

namespace {
// A sticky button shows the control's state after its command, also when the
// command was not enabled and nothing changed at the caret.
void SyncButton(EditingControl* editor, QToolButton* button, int command) {
  QPointer<QToolButton> guard(button);
  const bool on = StatusOn(editor->QueryStatus(command));
  if (guard) guard->setChecked(on);
}
}  // namespace

void EditorCommands::BoldButtonClick() {
  EditorCommand(decmd::Bold, decmd::Default);
  SyncButton(w.editor, w.boldButton, decmd::Bold);
}
void EditorCommands::ItalicButtonClick() {
  EditorCommand(decmd::Italic, decmd::Default);
  SyncButton(w.editor, w.italicButton, decmd::Italic);
}
void EditorCommands::UnderlineButtonClick() {
  EditorCommand(decmd::Underline, decmd::Default);
  SyncButton(w.editor, w.underlineButton, decmd::Underline);
}
void EditorCommands::AlignLeftButtonClick() { EditorCommand(decmd::JustifyLeft, decmd::Default); }
void EditorCommands::CenterButtonClick() { EditorCommand(decmd::JustifyCenter, decmd::Default); }
void EditorCommands::AlignRightButtonClick() { EditorCommand(decmd::JustifyRight, decmd::Default); }
void EditorCommands::ToggleBold() { EditorCommand(decmd::Bold, decmd::Default); }
void EditorCommands::ToggleItalic() { EditorCommand(decmd::Italic, decmd::Default); }
void EditorCommands::ToggleUnderline() { EditorCommand(decmd::Underline, decmd::Default); }
void EditorCommands::FontProperties() { EditorCommand(decmd::Font, decmd::Default); }
void EditorCommands::ToggleBulletedList() { EditorCommand(decmd::UnorderList, decmd::Default); }
void EditorCommands::ToggleNumberedList() { EditorCommand(decmd::OrderList, decmd::Default); }

void EditorCommands::PrepareToggleMenu() {
  w.bulletedListAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::UnorderList)));
  w.numberedListAction->setEnabled(StatusEnabled(w.editor->QueryStatus(decmd::OrderList)));
}

void EditorCommands::FontNameChanged() {
  if (m_fillingFontBoxes) return;
  EditorCommand(decmd::SetFontName, decmd::DontPromptUser, w.fontNameBox->currentText());
}

void EditorCommands::FontSizeChanged() {
  if (m_fillingFontBoxes) return;
  // The size is the entry the text names; a text that names none sends nothing.
  const int index = w.fontSizeBox->findText(w.fontSizeBox->currentText(), Qt::MatchExactly);
  if (index < 0) return;
  EditorCommand(decmd::SetFontSize, decmd::DontPromptUser, index);
}

void EditorCommands::EditorDisplayChanged() {
  // The query waits on the page, so the event can come again meanwhile; it
  // then runs once more afterwards.
  if (m_inDisplayChanged) {
    m_displayChangedAgain = true;
    return;
  }
  m_inDisplayChanged = true;
  QPointer<EditorCommands> self(this);
  do {
    m_displayChangedAgain = false;
    const EditingControl::FormatState state = w.editor->QueryFormatState();
    if (!self) return;
    w.boldButton->setChecked(StatusOn(state.bold));
    w.italicButton->setChecked(StatusOn(state.italic));
    w.underlineButton->setChecked(StatusOn(state.underline));
    m_fillingFontBoxes = true;
    if (!state.fontSize.isNull()) w.fontSizeBox->setEditText(state.fontSize.toString());
    if (!state.fontName.isNull()) w.fontNameBox->setEditText(state.fontName.toString());
    m_fillingFontBoxes = false;
  } while (m_displayChangedAgain);
  m_inDisplayChanged = false;
}

bool EditorCommands::ChooseColor(int& value) {
  if (m_colorDialog->exec() != QDialog::Accepted) return false;
  // Resolved to plain RGB whatever kind of colour was picked.
  const QColor color = m_colorDialog->selectedColor().toRgb();
  if (!color.isValid()) return false;
  value = ColorValue(color.red(), color.green(), color.blue());
  return true;
}

void EditorCommands::ColorSelectionBackground() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetBackColor, decmd::Default, value);
}

void EditorCommands::ColorFont() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetForeColor, decmd::Default, value);
}

void EditorCommands::ColorWholePage() {
  int value = 0;
  if (ChooseColor(value)) w.editor->SetBodyBgColor(PageColorText(value));
}
