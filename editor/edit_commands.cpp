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
#include "widgets/action_registry.h"

bool EditorCommands::EditorIsActiveControl() const {
  const QWidget* focus = w.window->focusWidget();
  return focus && (focus == w.editor || w.editor->isAncestorOf(focus));
}

bool EditorCommands::SourceViewIsActiveControl() const { return w.window->focusWidget() == w.sourceView; }

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
  } else if (SourceViewIsActiveControl()) {
    w.sourceView->copy();
  }
}

void EditorCommands::CutCommand() {
  if (EditorIsActiveControl()) {
    SendCommand(EditorCommand::Cut);
  } else if (SourceViewIsActiveControl()) {
    w.sourceView->cut();
  }
}

void EditorCommands::PasteCommand() {
  if (EditorIsActiveControl()) {
    w.editor->Exec(EditorCommand::Paste);
  } else if (SourceViewIsActiveControl()) {
    w.sourceView->paste();
  }
}

void EditorCommands::PastePlainTextCommand() {
  if (EditorIsActiveControl()) {
    w.editor->PastePlainText();
  } else if (SourceViewIsActiveControl()) {
    w.sourceView->paste();  // the source view only ever takes text
  }
}

void EditorCommands::SelectAllCommand() {
  if (EditorIsActiveControl()) {
    w.editor->Exec(EditorCommand::SelectAll);
  } else if (SourceViewIsActiveControl()) {
    w.sourceView->selectAll();
  }
}

void EditorCommands::DeleteCommand() { w.editor->Exec(EditorCommand::Delete); }

void EditorCommands::ToggleShowDetails() {
  const bool on = !w.editor->ShowDetails();
  w.editor->SetShowDetails(on);
  items.showDetailsAction->setChecked(w.editor->ShowDetails());
}

void EditorCommands::ToggleShowBorders() {
  const bool on = !w.editor->ShowBorders();
  w.editor->SetShowBorders(on);
  items.showBordersAction->setChecked(w.editor->ShowBorders());
}

void EditorCommands::ToggleSnapToGrid() {
  const bool on = !w.editor->SnapToGrid();
  w.editor->SetSnapToGrid(on);
  items.snapToGridAction->setChecked(w.editor->SnapToGrid());
}

void EditorCommands::PrepareEditMenu() {
  if (!m_project.sourceInUse()) {
    items.undoAction->setEnabled(w.editor->Enabled(EditorCommand::Undo));
    items.redoAction->setEnabled(w.editor->Enabled(EditorCommand::Redo));
    items.copyAction->setEnabled(w.editor->Enabled(EditorCommand::Copy));
    items.cutAction->setEnabled(w.editor->Enabled(EditorCommand::Cut));
    items.colorMenu->menuAction()->setEnabled(true);
    items.fontMenu->menuAction()->setEnabled(true);
    items.tableMenu->menuAction()->setEnabled(true);
  } else {
    items.redoAction->setEnabled(false);
    items.colorMenu->menuAction()->setEnabled(false);
    items.fontMenu->menuAction()->setEnabled(false);
    items.tableMenu->menuAction()->setEnabled(false);
  }
}

void EditorCommands::PrepareInsertMenu() {
  // "Pop-up" needs selected text to become the pop-up's link.
  if (QAction* popup = registry ? registry->Action("insertPopupAction") : nullptr)
    popup->setEnabled(w.editor->Enabled(EditorCommand::Cut));
}

EditorCommands::EditorCommands(const EditorCommandWidgets& widgets, ActionRegistry& registry,
                               EditorCommandProject project)
    : QObject(widgets.window), w(widgets), registry(&registry), m_project(std::move(project)) {
  RegisterCommands(registry);
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
  bind(items.boldAction, &EditorCommands::ToggleBold);
  bind(items.italicAction, &EditorCommands::ToggleItalic);
  bind(items.underlineAction, &EditorCommands::ToggleUnderline);
  bind(items.fontPropertiesAction, &EditorCommands::FontProperties);
  bind(items.bulletedListAction, &EditorCommands::ToggleBulletedList);
  bind(items.numberedListAction, &EditorCommands::ToggleNumberedList);
  bind(items.selectionBackgroundAction, &EditorCommands::ColorSelectionBackground);
  bind(items.fontColorAction, &EditorCommands::ColorFont);
  bind(items.pageBackgroundAction, &EditorCommands::ColorWholePage);
  bind(items.editorBackgroundAction, &EditorCommands::ColorSelectionBackground);
  bind(items.editorFontColorAction, &EditorCommands::ColorFont);
  bind(items.insertTableAction, &EditorCommands::InsertTable);
  bind(items.insertRowAction, &EditorCommands::InsertRow);
  bind(items.insertColumnAction, &EditorCommands::InsertColumn);
  bind(items.deleteRowAction, &EditorCommands::DeleteRow);
  bind(items.deleteColumnAction, &EditorCommands::DeleteColumn);
  bind(items.linkToTopicAction, &EditorCommands::LinkToTopic);
  bind(items.linkToPageAction, &EditorCommands::LinkToExternalPage);
  bind(items.editorLinkToTopicAction, &EditorCommands::LinkToTopic);
  bind(items.editorLinkToPageAction, &EditorCommands::LinkToExternalPage);
  bind(items.removeLinkAction, &EditorCommands::RemoveLink);
  bind(items.insertPictureAction, &EditorCommands::InsertPicture);
  bind(items.undoAction, &EditorCommands::UndoCommand);
  bind(items.redoAction, &EditorCommands::RedoCommand);
  bind(items.findAction, &EditorCommands::FindTextCommand);
  bind(items.findAgainAction, &EditorCommands::FindAgainCommand);
  bind(items.replaceAction, &EditorCommands::ReplaceTextCommand);
  bind(items.copyAction, &EditorCommands::CopyCommand);
  bind(items.cutAction, &EditorCommands::CutCommand);
  bind(items.pasteAction, &EditorCommands::PasteCommand);
  bind(items.pastePlainAction, &EditorCommands::PastePlainTextCommand);
  bind(items.selectAllAction, &EditorCommands::SelectAllCommand);
  bind(items.deleteAction, &EditorCommands::DeleteCommand);
  bind(items.showDetailsAction, &EditorCommands::ToggleShowDetails);
  bind(items.showBordersAction, &EditorCommands::ToggleShowBorders);
  bind(items.snapToGridAction, &EditorCommands::ToggleSnapToGrid);
  for (QAction* option : {items.showDetailsAction, items.showBordersAction, items.snapToGridAction})
    option->setChecked(false);

  connect(w.boldButton, &QToolButton::clicked, this, &EditorCommands::ToggleBoldByButton);
  connect(w.italicButton, &QToolButton::clicked, this, &EditorCommands::ToggleItalicByButton);
  connect(w.underlineButton, &QToolButton::clicked, this, &EditorCommands::ToggleUnderlineByButton);
  connect(w.alignLeftButton, &QToolButton::clicked, this, &EditorCommands::AlignLeft);
  connect(w.centerButton, &QToolButton::clicked, this, &EditorCommands::Center);
  connect(w.alignRightButton, &QToolButton::clicked, this, &EditorCommands::AlignRight);
  // The alignment buttons are plain buttons: they never stay down.
  for (QToolButton* b : {w.alignLeftButton, w.centerButton, w.alignRightButton}) b->setCheckable(false);
  // Every change of a box's text sends its command.
  connect(w.fontNameBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontNameChanged);
  connect(w.fontSizeBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontSizeChanged);
  connect(w.editor, &EditingControl::OnDisplayChanged, this, &EditorCommands::EditorDisplayChanged);

  // Menus prepare their items as they open ("Edit" and "Insert": the window's).
  connect(items.tableMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareTableMenu);
  connect(items.toggleMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareToggleMenu);
  connect(items.linkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareLinkMenu);
  connect(items.editorLinkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareEditorLinkMenu);
}
