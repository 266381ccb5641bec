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

bool MainWindow::EditorIsActiveControl() const {
  const QWidget* focus = focusWidget();
  return focus && (focus == editor || editor->isAncestorOf(focus));
}

bool MainWindow::MemoIsActiveControl() const { return focusWidget() == sourceView; }

void MainWindow::UndoCommand() {
  CmdArg = 0;
  if (CurrentTab == 0) {
    editor->ExecCommand(decmd::Undo, decmd::Default, CmdArg);
    WaitEditorIdle(editor);
  } else if (CurrentTab == 1) {
    sourceView->undo();
  }
}

void MainWindow::RedoCommand() {
  CmdArg = 0;
  if (CurrentTab != 0) return;
  editor->ExecCommand(decmd::Redo, decmd::Default, CmdArg);
  WaitEditorIdle(editor);
}

void MainWindow::FindTextCommand() {
  CmdArg = 0;
  if (CurrentTab == 0) EditorCommand(decmd::FindText, decmd::Default);
}

void MainWindow::CopyCommand() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    EditorCommand(decmd::Copy, decmd::Default);
    WaitEditorIdle(editor);
  } else if (MemoIsActiveControl()) {
    sourceView->copy();
  }
}

void MainWindow::CutCommand() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    EditorCommand(decmd::Cut, decmd::Default);
    WaitEditorIdle(editor);
  } else if (MemoIsActiveControl()) {
    sourceView->cut();
  }
}

void MainWindow::PasteCommand() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    editor->ExecCommand(decmd::Paste, decmd::Default, CmdArg);
    WaitEditorIdle(editor);
  } else if (MemoIsActiveControl()) {
    sourceView->paste();
  }
}

void MainWindow::SelectAllCommand() {
  CmdArg = 0;
  if (EditorIsActiveControl()) {
    editor->ExecCommand(decmd::SelectAll, decmd::Default, CmdArg);
  } else if (MemoIsActiveControl()) {
    sourceView->selectAll();
  }
}

void MainWindow::DeleteCommand() {
  CmdArg = 0;
  editor->ExecCommand(decmd::Delete, decmd::Default, CmdArg);
}

void MainWindow::ToggleShowDetails() {
  const bool on = !editor->ShowDetails();
  editor->SetShowDetails(on);
  showDetailsAction->setChecked(editor->ShowDetails());
}

void MainWindow::ToggleShowBorders() {
  const bool on = !editor->ShowBorders();
  editor->SetShowBorders(on);
  showBordersAction->setChecked(editor->ShowBorders());
}

void MainWindow::ToggleSnapToGrid() {
  const bool on = !editor->SnapToGrid();
  editor->SetSnapToGrid(on);
  snapToGridAction->setChecked(editor->SnapToGrid());
}

void MainWindow::PrepareEditMenu() {
  if (CurrentTab == 0) {
    undoAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Undo)));
    redoAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Redo)));
    copyAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Copy)));
    cutAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Cut)));
    colorMenu->menuAction()->setEnabled(true);
    fontMenu->menuAction()->setEnabled(true);
    tableMenu->menuAction()->setEnabled(true);
  } else if (CurrentTab == 1) {
    redoAction->setEnabled(false);
    colorMenu->menuAction()->setEnabled(false);
    fontMenu->menuAction()->setEnabled(false);
    tableMenu->menuAction()->setEnabled(false);
  }
}

void MainWindow::PrepareInsertMenu() {
  // "Pop-up" needs selected text to become the pop-up's link.
  insertPopupAction->setEnabled(StatusEnabled(editor->QueryStatus(decmd::Cut)));
}

void MainWindow::ConnectEditorCommands() {
  colorDialog = new QColorDialog(this);
  colorDialog->setObjectName("colorDialog");
  controlDialogs = new ControlDialogs(editor, this);

  // Menu items and buttons; a disabled item does nothing.
  const auto bind = [this](QAction* item, void (MainWindow::*handler)()) {
    connect(item, &QAction::triggered, this, handler);
  };
  bind(boldAction, &MainWindow::ToggleBold);
  bind(italicAction, &MainWindow::ToggleItalic);
  bind(underlineAction, &MainWindow::ToggleUnderline);
  bind(fontPropertiesAction, &MainWindow::FontProperties);
  bind(bulletedListAction, &MainWindow::ToggleBulletedList);
  bind(numberedListAction, &MainWindow::ToggleNumberedList);
  bind(selectionBackgroundAction, &MainWindow::ColorSelectionBackground);
  bind(fontColorAction, &MainWindow::ColorFont);
  bind(pageBackgroundAction, &MainWindow::ColorWholePage);
  bind(editorBackgroundAction, &MainWindow::EditorColorBackground);
  bind(editorFontColorAction, &MainWindow::EditorColorFont);
  bind(insertTableAction, &MainWindow::InsertTable);
  bind(insertRowAction, &MainWindow::InsertRow);
  bind(insertColumnAction, &MainWindow::InsertColumn);
  bind(deleteRowAction, &MainWindow::DeleteRow);
  bind(deleteColumnAction, &MainWindow::DeleteColumn);
  bind(linkToTopicAction, &MainWindow::LinkToTopic);
  bind(linkToPageAction, &MainWindow::LinkToExternalPage);
  bind(editorLinkToTopicAction, &MainWindow::EditorLinkToTopic);
  bind(editorLinkToPageAction, &MainWindow::EditorLinkToExternalPage);
  bind(removeLinkAction, &MainWindow::RemoveLink);
  bind(insertPictureAction, &MainWindow::InsertPicture);
  bind(undoAction, &MainWindow::UndoCommand);
  bind(redoAction, &MainWindow::RedoCommand);
  bind(findAction, &MainWindow::FindTextCommand);
  bind(copyAction, &MainWindow::CopyCommand);
  bind(cutAction, &MainWindow::CutCommand);
  bind(pasteAction, &MainWindow::PasteCommand);
  bind(selectAllAction, &MainWindow::SelectAllCommand);
  bind(deleteAction, &MainWindow::DeleteCommand);
  bind(showDetailsAction, &MainWindow::ToggleShowDetails);
  bind(showBordersAction, &MainWindow::ToggleShowBorders);
  bind(snapToGridAction, &MainWindow::ToggleSnapToGrid);
  for (QAction* option : {showDetailsAction, showBordersAction, snapToGridAction}) option->setChecked(false);

  connect(boldButton, &QToolButton::clicked, this, &MainWindow::BoldButtonClick);
  connect(italicButton, &QToolButton::clicked, this, &MainWindow::ItalicButtonClick);
  connect(underlineButton, &QToolButton::clicked, this, &MainWindow::UnderlineButtonClick);
  connect(alignLeftButton, &QToolButton::clicked, this, &MainWindow::AlignLeftButtonClick);
  connect(centerButton, &QToolButton::clicked, this, &MainWindow::CenterButtonClick);
  connect(alignRightButton, &QToolButton::clicked, this, &MainWindow::AlignRightButtonClick);
  // The alignment buttons are plain buttons: they never stay down.
  for (QToolButton* b : {alignLeftButton, centerButton, alignRightButton}) b->setCheckable(false);
  // Every change of a box's text sends its command.
  connect(fontNameBox, &QComboBox::currentTextChanged, this, &MainWindow::FontNameChanged);
  connect(fontSizeBox, &QComboBox::currentTextChanged, this, &MainWindow::FontSizeChanged);
  connect(editor, &EditingControl::OnDisplayChanged, this, &MainWindow::EditorDisplayChanged);

  // Menus prepare their items as they open.
  connect(editMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareEditMenu);
  connect(insertMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareInsertMenu);
  connect(tableMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareTableMenu);
  connect(toggleMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareToggleMenu);
  connect(linkMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareLinkMenu);
  connect(editorLinkMenu, &QMenu::aboutToShow, this, &MainWindow::PrepareEditorLinkMenu);
}
