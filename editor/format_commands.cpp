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

bool TForm1::EditorCommand(int command, int option, const QVariant& value) {
  CmdArg = value;
  if (!StatusEnabled(DHTMLEdit1->QueryStatus(command))) return false;
  DHTMLEdit1->ExecCommand(command, option, CmdArg);
  return true;
}

namespace {
// A sticky button shows the control's state after its command, also when the
// command was not enabled and nothing changed at the caret.
void SyncButton(TDHTMLEdit* editor, QToolButton* button, int command) {
  QPointer<QToolButton> guard(button);
  const bool on = StatusOn(editor->QueryStatus(command));
  if (guard) guard->setChecked(on);
}
}  // namespace

void TForm1::SpeedButton1Click() {
  EditorCommand(decmd::Bold, decmd::Default);
  SyncButton(DHTMLEdit1, SpeedButton1, decmd::Bold);
}
void TForm1::SpeedButton2Click() {
  EditorCommand(decmd::Italic, decmd::Default);
  SyncButton(DHTMLEdit1, SpeedButton2, decmd::Italic);
}
void TForm1::SpeedButton3Click() {
  EditorCommand(decmd::Underline, decmd::Default);
  SyncButton(DHTMLEdit1, SpeedButton3, decmd::Underline);
}
void TForm1::SpeedButton4Click() { EditorCommand(decmd::JustifyLeft, decmd::Default); }
void TForm1::SpeedButton5Click() { EditorCommand(decmd::JustifyCenter, decmd::Default); }
void TForm1::SpeedButton6Click() { EditorCommand(decmd::JustifyRight, decmd::Default); }
void TForm1::Bold1Click() { EditorCommand(decmd::Bold, decmd::Default); }
void TForm1::Italic1Click() { EditorCommand(decmd::Italic, decmd::Default); }
void TForm1::Underline1Click() { EditorCommand(decmd::Underline, decmd::Default); }
void TForm1::Properties1Click() { EditorCommand(decmd::Font, decmd::Default); }
void TForm1::bulletedlist1Click() { EditorCommand(decmd::UnorderList, decmd::Default); }
void TForm1::numberedlist1Click() { EditorCommand(decmd::OrderList, decmd::Default); }

void TForm1::Toggle1Click() {
  bulletedlist1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::UnorderList)));
  numberedlist1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::OrderList)));
}

void TForm1::ComboBox1Change() {
  if (FillingFontBoxes) return;
  EditorCommand(decmd::SetFontName, decmd::DontPromptUser, ComboBox1->currentText());
}

void TForm1::ComboBox2Change() {
  if (FillingFontBoxes) return;
  // The size is the entry the text names; a text that names none sends nothing.
  const int index = ComboBox2->findText(ComboBox2->currentText(), Qt::MatchExactly);
  if (index < 0) return;
  EditorCommand(decmd::SetFontSize, decmd::DontPromptUser, index);
}

void TForm1::DHTMLEdit1DisplayChanged() {
  // The queries below wait on the page, so the event can come again meanwhile;
  // it then runs once more afterwards.
  if (InDisplayChanged) {
    DisplayChangedAgain = true;
    return;
  }
  InDisplayChanged = true;
  QPointer<TForm1> self(this);
  do {
    DisplayChangedAgain = false;
    SpeedButton1->setChecked(StatusOn(DHTMLEdit1->QueryStatus(decmd::Bold)));
    if (!self) return;
    SpeedButton2->setChecked(StatusOn(DHTMLEdit1->QueryStatus(decmd::Italic)));
    if (!self) return;
    SpeedButton3->setChecked(StatusOn(DHTMLEdit1->QueryStatus(decmd::Underline)));
    if (!self) return;
    if (StatusEnabled(DHTMLEdit1->QueryStatus(decmd::GetFontSize))) {
      CmdArg2 = 0;
      DHTMLEdit1->ExecCommand(decmd::GetFontSize, decmd::Default, CmdArg2);
      if (!self) return;
      CmdArg = CmdArg2;
      if (!CmdArg.isNull()) {
        FillingFontBoxes = true;
        ComboBox2->setEditText(CmdArg.toString());
        FillingFontBoxes = false;
      }
    }
    if (StatusEnabled(DHTMLEdit1->QueryStatus(decmd::GetFontSize))) {
      DHTMLEdit1->ExecCommand(decmd::GetFontName, decmd::Default, CmdArg);
      if (!self) return;
      if (!CmdArg.isNull()) {
        FillingFontBoxes = true;
        ComboBox1->setEditText(CmdArg.toString());
        FillingFontBoxes = false;
      }
    }
  } while (DisplayChangedAgain);
  InDisplayChanged = false;
}

bool TForm1::ChooseColor(int& value) {
  if (ColorDialog1->exec() != QDialog::Accepted) return false;
  // Resolved to plain RGB whatever kind of colour was picked.
  const QColor color = ColorDialog1->selectedColor().toRgb();
  if (!color.isValid()) return false;
  value = ColorValue(color.red(), color.green(), color.blue());
  return true;
}

void TForm1::forselectionbackground1Click() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetBackColor, decmd::Default, value);
}

void TForm1::forfont1Click() {
  int value = 0;
  if (ChooseColor(value)) EditorCommand(decmd::SetForeColor, decmd::Default, value);
}

void TForm1::forbackground1Click() { forselectionbackground1Click(); }
void TForm1::forfont2Click() { forfont1Click(); }

void TForm1::forwholepage1Click() {
  int value = 0;
  if (ChooseColor(value)) DHTMLEdit1->SetBodyBgColor(PageColorText(value));
}
