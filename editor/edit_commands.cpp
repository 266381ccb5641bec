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

#include "editor/editor_commands.h"
#include "editor/control_dialogs.h"
#include "editor/editing_control.h"
#include "editor/link_dialog.h"
#include "editor/table_dialog.h"

bool EditorCommands::EditorIsActiveControl() const {
  const QWidget* focus = w.window->focusWidget();
  return focus && (focus == w.editor || w.editor->isAncestorOf(focus));
}

bool EditorCommands::MemoIsActiveControl() const { return w.window->focusWidget() == w.sourceView; }

void EditorCommands::UndoCommand() {
  if (!m_project.sourceInUse()) {
    w.editor->Exec(EditorCommand::Undo);
  } else {
    w.sourceView->undo();
  }
}

void EditorCommands::RedoCommand() {
  if (m_project.sourceInUse()) return;
  w.editor->Exec(EditorCommand::Redo);
}

// Find and replace work in the view in use: the editing control's own
// dialog, or the same dialog on the source view's text.
void EditorCommands::FindTextCommand() {
  if (m_project.sourceInUse())
    m_controlDialogs->FindText();
  else
    SendCommand(EditorCommand::FindText);
}

void EditorCommands::FindAgainCommand() { m_controlDialogs->FindAgain(); }

void EditorCommands::ReplaceTextCommand() {
  // The editor takes it while it takes commands (not while read-only).
  if (m_project.sourceInUse() || w.editor->Enabled(EditorCommand::FindText)) m_controlDialogs->ReplaceText();
}

void EditorCommands::CopyCommand() {
  if (EditorIsActiveControl()) {
    SendCommand(EditorCommand::Copy);
  } else if (MemoIsActiveControl()) {
    w.sourceView->copy();
  }
}

void EditorCommands::CutCommand() {
  if (EditorIsActiveControl()) {
    SendCommand(EditorCommand::Cut);
  } else if (MemoIsActiveControl()) {
    w.sourceView->cut();
  }
}

void EditorCommands::PasteCommand() {
  if (EditorIsActiveControl()) {
    w.editor->Exec(EditorCommand::Paste);
  } else if (MemoIsActiveControl()) {
    w.sourceView->paste();
  }
}

void EditorCommands::PastePlainTextCommand() {
  if (EditorIsActiveControl()) {
    w.editor->PastePlainText();
  } else if (MemoIsActiveControl()) {
    w.sourceView->paste();  // the source view only ever takes text
  }
}

void EditorCommands::SelectAllCommand() {
  if (EditorIsActiveControl()) {
    w.editor->Exec(EditorCommand::SelectAll);
  } else if (MemoIsActiveControl()) {
    w.sourceView->selectAll();
  }
}

void EditorCommands::DeleteCommand() { w.editor->Exec(EditorCommand::Delete); }

void EditorCommands::ToggleShowDetails() {
  const bool on = !w.editor->ShowDetails();
  w.editor->SetShowDetails(on);
  w.showDetailsAction->setChecked(w.editor->ShowDetails());
}

void EditorCommands::ToggleShowBorders() {
  const bool on = !w.editor->ShowBorders();
  w.editor->SetShowBorders(on);
  w.showBordersAction->setChecked(w.editor->ShowBorders());
}

void EditorCommands::ToggleSnapToGrid() {
  const bool on = !w.editor->SnapToGrid();
  w.editor->SetSnapToGrid(on);
  w.snapToGridAction->setChecked(w.editor->SnapToGrid());
}

void EditorCommands::PrepareEditMenu() {
  if (!m_project.sourceInUse()) {
    w.undoAction->setEnabled(w.editor->Enabled(EditorCommand::Undo));
    w.redoAction->setEnabled(w.editor->Enabled(EditorCommand::Redo));
    w.copyAction->setEnabled(w.editor->Enabled(EditorCommand::Copy));
    w.cutAction->setEnabled(w.editor->Enabled(EditorCommand::Cut));
    w.colorMenu->menuAction()->setEnabled(true);
    w.fontMenu->menuAction()->setEnabled(true);
    w.tableMenu->menuAction()->setEnabled(true);
  } else {
    w.redoAction->setEnabled(false);
    w.colorMenu->menuAction()->setEnabled(false);
    w.fontMenu->menuAction()->setEnabled(false);
    w.tableMenu->menuAction()->setEnabled(false);
  }
}

void EditorCommands::PrepareInsertMenu() {
  // "Pop-up" needs selected text to become the pop-up's link.
  w.insertPopupAction->setEnabled(w.editor->Enabled(EditorCommand::Cut));
}

EditorCommands::EditorCommands(const EditorCommandWidgets& widgets, EditorCommandProject project)
    : QObject(widgets.window), w(widgets), m_project(std::move(project)) {
  m_colorDialog = new QColorDialog(w.window);
  m_colorDialog->setObjectName("colorDialog");
  m_controlDialogs = new ControlDialogs(w.editor, w.window);
  m_controlDialogs->SetSourceView(w.sourceView, m_project.sourceInUse);
  Bind();
}

void EditorCommands::SetDialogs(TableDialog* tableDialog, LinkDialog* linkDialog) {
  m_tableDialog = tableDialog;
  m_linkDialog = linkDialog;
}

void EditorCommands::Bind() {
  // Menu items and buttons; a disabled item does nothing.
  const auto bind = [this](QAction* item, void (EditorCommands::*handler)()) {
    connect(item, &QAction::triggered, this, handler);
  };
  bind(w.boldAction, &EditorCommands::ToggleBold);
  bind(w.italicAction, &EditorCommands::ToggleItalic);
  bind(w.underlineAction, &EditorCommands::ToggleUnderline);
  bind(w.fontPropertiesAction, &EditorCommands::FontProperties);
  bind(w.bulletedListAction, &EditorCommands::ToggleBulletedList);
  bind(w.numberedListAction, &EditorCommands::ToggleNumberedList);
  bind(w.selectionBackgroundAction, &EditorCommands::ColorSelectionBackground);
  bind(w.fontColorAction, &EditorCommands::ColorFont);
  bind(w.pageBackgroundAction, &EditorCommands::ColorWholePage);
  bind(w.editorBackgroundAction, &EditorCommands::ColorSelectionBackground);
  bind(w.editorFontColorAction, &EditorCommands::ColorFont);
  bind(w.insertTableAction, &EditorCommands::InsertTable);
  bind(w.insertRowAction, &EditorCommands::InsertRow);
  bind(w.insertColumnAction, &EditorCommands::InsertColumn);
  bind(w.deleteRowAction, &EditorCommands::DeleteRow);
  bind(w.deleteColumnAction, &EditorCommands::DeleteColumn);
  bind(w.linkToTopicAction, &EditorCommands::LinkToTopic);
  bind(w.linkToPageAction, &EditorCommands::LinkToExternalPage);
  bind(w.editorLinkToTopicAction, &EditorCommands::LinkToTopic);
  bind(w.editorLinkToPageAction, &EditorCommands::LinkToExternalPage);
  bind(w.removeLinkAction, &EditorCommands::RemoveLink);
  bind(w.insertPictureAction, &EditorCommands::InsertPicture);
  bind(w.undoAction, &EditorCommands::UndoCommand);
  bind(w.redoAction, &EditorCommands::RedoCommand);
  bind(w.findAction, &EditorCommands::FindTextCommand);
  bind(w.findAgainAction, &EditorCommands::FindAgainCommand);
  bind(w.replaceAction, &EditorCommands::ReplaceTextCommand);
  bind(w.copyAction, &EditorCommands::CopyCommand);
  bind(w.cutAction, &EditorCommands::CutCommand);
  bind(w.pasteAction, &EditorCommands::PasteCommand);
  bind(w.pastePlainAction, &EditorCommands::PastePlainTextCommand);
  bind(w.selectAllAction, &EditorCommands::SelectAllCommand);
  bind(w.deleteAction, &EditorCommands::DeleteCommand);
  bind(w.showDetailsAction, &EditorCommands::ToggleShowDetails);
  bind(w.showBordersAction, &EditorCommands::ToggleShowBorders);
  bind(w.snapToGridAction, &EditorCommands::ToggleSnapToGrid);
  for (QAction* option : {w.showDetailsAction, w.showBordersAction, w.snapToGridAction})
    option->setChecked(false);

  connect(w.boldButton, &QToolButton::clicked, this, &EditorCommands::BoldButtonClick);
  connect(w.italicButton, &QToolButton::clicked, this, &EditorCommands::ItalicButtonClick);
  connect(w.underlineButton, &QToolButton::clicked, this, &EditorCommands::UnderlineButtonClick);
  connect(w.alignLeftButton, &QToolButton::clicked, this, &EditorCommands::AlignLeftButtonClick);
  connect(w.centerButton, &QToolButton::clicked, this, &EditorCommands::CenterButtonClick);
  connect(w.alignRightButton, &QToolButton::clicked, this, &EditorCommands::AlignRightButtonClick);
  // The alignment buttons are plain buttons: they never stay down.
  for (QToolButton* b : {w.alignLeftButton, w.centerButton, w.alignRightButton}) b->setCheckable(false);
  // Every change of a box's text sends its command.
  connect(w.fontNameBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontNameChanged);
  connect(w.fontSizeBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontSizeChanged);
  connect(w.editor, &EditingControl::OnDisplayChanged, this, &EditorCommands::EditorDisplayChanged);

  // Menus prepare their items as they open.
  connect(w.editMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareEditMenu);
  connect(w.insertMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareInsertMenu);
  connect(w.tableMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareTableMenu);
  connect(w.toggleMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareToggleMenu);
  connect(w.linkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareLinkMenu);
  connect(w.editorLinkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareEditorLinkMenu);
}
