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

bool EditorCommands::SendCommand(EditorCommand command, const QVariant& value, bool prompt) {
  if (!widgets.editor->Enabled(command)) return false;
  widgets.editor->Exec(command, value, prompt);
  return true;
}

namespace {
// A sticky button whose command was not sent shows the state at the caret
// again, not the click's toggle; after a command the page pushes its new
// state, which the button then shows.
void SyncButton(EditingControl* editor, QToolButton* button, EditorCommand command) {
  button->setChecked(editor->On(command));
}
}  // namespace

void EditorCommands::ToggleBoldByButton() {
  if (!SendCommand(EditorCommand::Bold)) SyncButton(widgets.editor, widgets.boldButton, EditorCommand::Bold);
}
void EditorCommands::ToggleItalicByButton() {
  if (!SendCommand(EditorCommand::Italic))
    SyncButton(widgets.editor, widgets.italicButton, EditorCommand::Italic);
}
void EditorCommands::ToggleUnderlineByButton() {
  if (!SendCommand(EditorCommand::Underline))
    SyncButton(widgets.editor, widgets.underlineButton, EditorCommand::Underline);
}
void EditorCommands::AlignLeft() { SendCommand(EditorCommand::JustifyLeft); }
void EditorCommands::Center() { SendCommand(EditorCommand::JustifyCenter); }
void EditorCommands::AlignRight() { SendCommand(EditorCommand::JustifyRight); }
void EditorCommands::ToggleBold() { SendCommand(EditorCommand::Bold); }
void EditorCommands::ToggleItalic() { SendCommand(EditorCommand::Italic); }
void EditorCommands::ToggleUnderline() { SendCommand(EditorCommand::Underline); }
void EditorCommands::FontProperties() { SendCommand(EditorCommand::Font); }
void EditorCommands::ToggleBulletedList() { SendCommand(EditorCommand::UnorderList); }
void EditorCommands::ToggleNumberedList() { SendCommand(EditorCommand::OrderList); }

void EditorCommands::PrepareToggleMenu() {
  items.bulletedListAction->setEnabled(widgets.editor->Enabled(EditorCommand::UnorderList));
  items.numberedListAction->setEnabled(widgets.editor->Enabled(EditorCommand::OrderList));
}

void EditorCommands::FontNameChanged() {
  if (fillingFontBoxes) return;
  SendCommand(EditorCommand::SetFontName, widgets.fontNameBox->currentText());
}

void EditorCommands::FontSizeChanged() {
  if (fillingFontBoxes) return;
  // The size is the entry the text names; a text that names none sends nothing.
  const int index = widgets.fontSizeBox->findText(widgets.fontSizeBox->currentText(), Qt::MatchExactly);
  if (index < 0) return;
  SendCommand(EditorCommand::SetFontSize, index);
}

void EditorCommands::EditorDisplayChanged() {
  // The toolbar shows the state the page pushed.
  const EditorState& state = widgets.editor->State();
  widgets.boldButton->setChecked(widgets.editor->On(EditorCommand::Bold));
  widgets.italicButton->setChecked(widgets.editor->On(EditorCommand::Italic));
  widgets.underlineButton->setChecked(widgets.editor->On(EditorCommand::Underline));
  fillingFontBoxes = true;
  if (!state.fontSize.isNull()) widgets.fontSizeBox->setEditText(state.fontSize.toString());
  if (!state.fontName.isNull()) widgets.fontNameBox->setEditText(state.fontName.toString());
  fillingFontBoxes = false;
}

bool EditorCommands::ChooseColor(int& value) {
  if (colorDialog->exec() != QDialog::Accepted) return false;
  // Resolved to plain RGB whatever kind of colour was picked.
  const QColor color = colorDialog->selectedColor().toRgb();
  if (!color.isValid()) return false;
  value = ColorValue(color.red(), color.green(), color.blue());
  return true;
}

void EditorCommands::ColorSelectionBackground() {
  int value = 0;
  if (ChooseColor(value)) SendCommand(EditorCommand::SetBackColor, value);
}

void EditorCommands::ColorFont() {
  int value = 0;
  if (ChooseColor(value)) SendCommand(EditorCommand::SetForeColor, value);
}

void EditorCommands::ColorWholePage() {
  int value = 0;
  if (ChooseColor(value)) widgets.editor->SetBodyBgColor(PageColorText(value));
}
