// The general editing commands in whichever view is in use (the editing
// control or the source view): clipboard, undo, redo, find, select all and
// delete; the editor's view options; the preparation of the menus when they
// open; and the binding of all editor commands.
#include <QAction>
#include <QColorDialog>
#include <QComboBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "app/main_window.h"
#include "editor/control_dialogs.h"
#include "editor/editing_control.h"

bool TForm1::EditorIsActiveControl() const {
  const QWidget* focus = focusWidget();
  return focus && (focus == DHTMLEdit1 || DHTMLEdit1->isAncestorOf(focus));
}

bool TForm1::MemoIsActiveControl() const { return focusWidget() == Memo1; }

void TForm1::Undo1Click() {
  CmdArg = 0;
  if (CurrentTab == 0) {
    DHTMLEdit1->ExecCommand(decmd::Undo, decmd::Default, CmdArg);
    WaitEditorIdle(DHTMLEdit1);
  } else if (CurrentTab == 1) {
    Memo1->undo();
  }
}

void TForm1::Redo1Click() {
  CmdArg = 0;
  if (CurrentTab != 0) return;
  DHTMLEdit1->ExecCommand(decmd::Redo, decmd::Default, CmdArg);
  WaitEditorIdle(DHTMLEdit1);
}

void TForm1::Findtext1Click() {
  CmdArg = 0;
  if (CurrentTab == 0) EditorCommand(decmd::FindText, decmd::Default);
}

void TForm1::Copy1Click() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    EditorCommand(decmd::Copy, decmd::Default);
    WaitEditorIdle(DHTMLEdit1);
  } else if (MemoIsActiveControl()) {
    Memo1->copy();
  }
}

void TForm1::Cut1Click() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    EditorCommand(decmd::Cut, decmd::Default);
    WaitEditorIdle(DHTMLEdit1);
  } else if (MemoIsActiveControl()) {
    Memo1->cut();
  }
}

void TForm1::Paste1Click() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    DHTMLEdit1->ExecCommand(decmd::Paste, decmd::Default, CmdArg);
    WaitEditorIdle(DHTMLEdit1);
  } else if (MemoIsActiveControl()) {
    Memo1->paste();
  }
}

void TForm1::Selectall1Click() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    DHTMLEdit1->ExecCommand(decmd::SelectAll, decmd::Default, CmdArg);
  } else if (MemoIsActiveControl()) {
    Memo1->selectAll();
  }
}

void TForm1::Delete1Click() {
  CmdArg = 0;
  DHTMLEdit1->ExecCommand(decmd::Delete, decmd::Default, CmdArg);
}

void TForm1::Showdetails1Click() {
  const bool on = !DHTMLEdit1->ShowDetails();
  DHTMLEdit1->SetShowDetails(on);
  Showdetails1->setChecked(DHTMLEdit1->ShowDetails());
}

void TForm1::Showborders1Click() {
  const bool on = !DHTMLEdit1->ShowBorders();
  DHTMLEdit1->SetShowBorders(on);
  Showborders1->setChecked(DHTMLEdit1->ShowBorders());
}

void TForm1::Snaptogrid1Click() {
  const bool on = !DHTMLEdit1->SnapToGrid();
  DHTMLEdit1->SetSnapToGrid(on);
  Snaptogrid1->setChecked(DHTMLEdit1->SnapToGrid());
}

void TForm1::Edit1Click() {
  if (CurrentTab == 0) {
    Undo1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Undo)));
    Redo1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Redo)));
    Copy1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Copy)));
    Cut1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Cut)));
    Setcolor1->menuAction()->setEnabled(true);
    SetFont1->menuAction()->setEnabled(true);
    Table1->menuAction()->setEnabled(true);
  } else if (CurrentTab == 1) {
    Redo1->setEnabled(false);
    Setcolor1->menuAction()->setEnabled(false);
    SetFont1->menuAction()->setEnabled(false);
    Table1->menuAction()->setEnabled(false);
  }
}

void TForm1::Insert1Click() {
  // "Pop-up" needs selected text to become the pop-up's link.
  Popup1->setEnabled(StatusEnabled(DHTMLEdit1->QueryStatus(decmd::Cut)));
}

void TForm1::ConnectEditorCommands() {
  ColorDialog1 = new QColorDialog(this);
  ColorDialog1->setObjectName("ColorDialog1");
  ControlDialogs = new TControlDialogs(DHTMLEdit1, this);

  // Menu items and buttons; a disabled item does nothing.
  const auto bind = [this](QAction* item, void (TForm1::*handler)()) {
    connect(item, &QAction::triggered, this, handler);
  };
  bind(Bold1, &TForm1::Bold1Click);
  bind(Italic1, &TForm1::Italic1Click);
  bind(Underline1, &TForm1::Underline1Click);
  bind(Properties1, &TForm1::Properties1Click);
  bind(bulletedlist1, &TForm1::bulletedlist1Click);
  bind(numberedlist1, &TForm1::numberedlist1Click);
  bind(forselectionbackground1, &TForm1::forselectionbackground1Click);
  bind(forfont1, &TForm1::forfont1Click);
  bind(forwholepage1, &TForm1::forwholepage1Click);
  bind(forbackground1, &TForm1::forbackground1Click);
  bind(forfont2, &TForm1::forfont2Click);
  bind(Table2, &TForm1::Table2Click);
  bind(Insertrow1, &TForm1::Insertrow1Click);
  bind(Insertcolumn1, &TForm1::Insertcolumn1Click);
  bind(Deleterow1, &TForm1::Deleterow1Click);
  bind(Deletecolumn1, &TForm1::Deletecolumn1Click);
  bind(Toothertopic1, &TForm1::Toothertopic1Click);
  bind(Toexternalpage1, &TForm1::Toexternalpage1Click);
  bind(inserttoothertopic1, &TForm1::inserttoothertopic1Click);
  bind(createfromselectiontoexternalpage1, &TForm1::createfromselectiontoexternalpage1Click);
  bind(remove1, &TForm1::remove1Click);
  bind(Picture1, &TForm1::Picture1Click);
  bind(Undo1, &TForm1::Undo1Click);
  bind(Redo1, &TForm1::Redo1Click);
  bind(Findtext1, &TForm1::Findtext1Click);
  bind(Copy1, &TForm1::Copy1Click);
  bind(Cut1, &TForm1::Cut1Click);
  bind(Paste1, &TForm1::Paste1Click);
  bind(Selectall1, &TForm1::Selectall1Click);
  bind(Delete1, &TForm1::Delete1Click);
  bind(Showdetails1, &TForm1::Showdetails1Click);
  bind(Showborders1, &TForm1::Showborders1Click);
  bind(Snaptogrid1, &TForm1::Snaptogrid1Click);
  for (QAction* option : {Showdetails1, Showborders1, Snaptogrid1}) option->setChecked(false);

  connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
  connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
  connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
  // The alignment buttons are plain buttons: they never stay down.
  for (QToolButton* b : {SpeedButton4, SpeedButton5, SpeedButton6}) b->setCheckable(false);
  // Every change of a box's text sends its command.
  connect(ComboBox1, &QComboBox::currentTextChanged, this, &TForm1::ComboBox1Change);
  connect(ComboBox2, &QComboBox::currentTextChanged, this, &TForm1::ComboBox2Change);
  connect(DHTMLEdit1, &TDHTMLEdit::OnDisplayChanged, this, &TForm1::DHTMLEdit1DisplayChanged);

  // Menus prepare their items as they open.
  connect(Edit1, &QMenu::aboutToShow, this, &TForm1::Edit1Click);
  connect(Insert1, &QMenu::aboutToShow, this, &TForm1::Insert1Click);
  connect(Table1, &QMenu::aboutToShow, this, &TForm1::Table1Click);
  connect(Toggle1, &QMenu::aboutToShow, this, &TForm1::Toggle1Click);
  connect(Link1, &QMenu::aboutToShow, this, &TForm1::Link1Click);
  connect(Link2, &QMenu::aboutToShow, this, &TForm1::Link2Click);
}
