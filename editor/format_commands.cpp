// Formatting: the toolbar above the editor, "Set Font", "Set color",
// "Toggle " and the context menu's "Color"; the toolbar follows the caret.
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>

#include "app/main_window.h"
#include "editor/control_dialogs.h"
#include "editor/editing_control.h"
#include "editor/format_rules.h"

bool MainWindow::EditorCommand(int command, int option, const QVariant& value) {
  CmdArg = value;
  if (!StatusEnabled(editor->QueryStatus(command))) return false;
  editor->ExecCommand(command, option, CmdArg);
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

void MainWindow::BoldButtonClick() {
  EditorCommand(decmd::Bold, decmd::Default);
  SyncButton(editor, boldButton, decmd::Bold);
}
void MainWindow::ItalicButtonClick() {
  EditorCommand(decmd::Italic, decmd::Default);
  SyncButton(editor, italicButton, decmd::Italic);
}
void MainWindow::UnderlineButtonClick() {
  EditorCommand(decmd::Underline, decmd::Default);
  SyncButton(editor, underlineButton, decmd::Underline);
}
void MainWindow::AlignLeftButtonClick() { EditorCommand(decmd::JustifyLeft, decmd::Default); }
void MainWindow::CenterButtonClick() { EditorCommand(decmd::JustifyCenter, decmd::Default); }
void MainWindow::AlignRightButtonClick() { EditorCommand(decmd::JustifyRight, decmd::Default); }
void MainWindow::ToggleBold() { EditorCommand(decmd::Bold, decmd::Default); }
void MainWindow::ToggleItalic() { EditorCommand(decmd::Italic, decmd::Default); }
void MainWindow::ToggleUnderline() { EditorCommand(decmd::Underline, decmd::Default); }
void MainWindow::FontProperties() { EditorCommand(decmd::Font, decmd::Default); }
void MainWindow::ToggleBulletedList() { EditorCommand(decmd::UnorderList, decmd::Default); }
void MainWindow::ToggleNumberedList() { EditorCommand(decmd::OrderList, decmd::Default); }

void MainWindow::PrepareToggleMenu() {
  bulletedListAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::UnorderList)));
  numberedListAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::OrderList)));
}

void MainWindow::FontNameChanged() {
  if (FillingFontBoxes) return;
  EditorCommand(decmd::SetFontName, decmd::DontPromptUser, fontNameBox->currentText());
}

void MainWindow::FontSizeChanged() {
  if (FillingFontBoxes) return;
  // The size is the entry the text names; a text that names none sends nothing.
  const int index = fontSizeBox->findText(fontSizeBox->currentText(), Qt::MatchExactly);
  if (index < 0) return;
  EditorCommand(decmd::SetFontSize, decmd::DontPromptUser, index);
}

void MainWindow::EditorDisplayChanged() {
  // The queries below wait on the page, so the event can come again meanwhile;
  // it then runs once more afterwards.
  if (InDisplayChanged) {
    DisplayChangedAgain = true;
    return;
  }
  InDisplayChanged = true;
  QPointer<MainWindow> self(this);
  do {
    DisplayChangedAgain = false;
    boldButton->setChecked(StatusOn(editor->QueryStatus(decmd::Bold)));
    if (!self) return;
    italicButton->setChecked(StatusOn(editor->QueryStatus(decmd::Italic)));
    if (!self) return;
    underlineButton->setChecked(StatusOn(editor->QueryStatus(decmd::Underline)));
    if (!self) return;
    if (StatusEnabled(editor->QueryStatus(decmd::GetFontSize))) {
      CmdArg2 = 0;
      editor->ExecCommand(decmd::GetFontSize, decmd::Default, CmdArg2);
      if (!self) return;
      CmdArg = CmdArg2;
      if (!CmdArg.isNull()) {
        FillingFontBoxes = true;
        fontSizeBox->setEditText(CmdArg.toString());
        FillingFontBoxes = false;
      }
    }
    if (StatusEnabled(editor->QueryStatus(decmd::GetFontSize))) {
      editor->ExecCommand(decmd::GetFontName, decmd::Default, CmdArg);
      if (!self) return;
      if (!CmdArg.isNull()) {
        FillingFontBoxes = true;
        fontNameBox->setEditText(CmdArg.toString());
        FillingFontBoxes = false;
      }
    }
  } while (DisplayChangedAgain);
  InDisplayChanged = false;
}

bool MainWindow::ChooseColor(int& value) {
  if (colorDialog->exec() != QDialog::Accepted) return false;
  // Resolved to plain RGB whatever kind of colour was picked.
  const QColor color = colorDialog->selectedColor().toRgb();
  if (!color.isValid()) return false;
  value = ColorValue(color.red(), color.green(), color.blue());
  return true;
}

void MainWindow::ColorSelectionBackground() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetBackColor, decmd::Default, value);
}

void MainWindow::ColorFont() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetForeColor, decmd::Default, value);
}

void MainWindow::EditorColorBackground() { ColorSelectionBackground(); }
void MainWindow::EditorColorFont() { ColorFont(); }

void MainWindow::ColorWholePage() {
  int value = 0;
  if (ChooseColor(value)) editor->SetBodyBgColor(PageColorText(value));
}
