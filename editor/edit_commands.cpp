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
  const QWidget* focus = widgets.window->focusWidget();
  return focus && (focus == widgets.editor || widgets.editor->isAncestorOf(focus));
}

bool EditorCommands::SourceViewIsActiveControl() const {
  return widgets.window->focusWidget() == widgets.sourceView;
}

void EditorCommands::UndoCommand() {
  if (!project.sourceInUse()) {
    widgets.editor->Exec(EditorCommand::Undo);
  } else {
    widgets.sourceView->undo();
  }
}

void EditorCommands::RedoCommand() {
  if (project.sourceInUse()) return;
  widgets.editor->Exec(EditorCommand::Redo);
}

// Find and replace work in the view in use: the editing control's own
// dialog, or the same dialog on the source view's text.
void EditorCommands::FindTextCommand() {
  if (project.sourceInUse())
    controlDialogs->FindText();
  else
    SendCommand(EditorCommand::FindText);
}

void EditorCommands::FindAgainCommand() { controlDialogs->FindAgain(); }

void EditorCommands::ReplaceTextCommand() {
  // The editor takes it while it takes commands (not while read-only).
  if (project.sourceInUse() || widgets.editor->Enabled(EditorCommand::FindText))
    controlDialogs->ReplaceText();
}

void EditorCommands::CopyCommand() {
  if (EditorIsActiveControl()) {
    SendCommand(EditorCommand::Copy);
  } else if (SourceViewIsActiveControl()) {
    widgets.sourceView->copy();
  }
}

void EditorCommands::CutCommand() {
  if (EditorIsActiveControl()) {
    SendCommand(EditorCommand::Cut);
  } else if (SourceViewIsActiveControl()) {
    widgets.sourceView->cut();
  }
}

void EditorCommands::PasteCommand() {
  if (EditorIsActiveControl()) {
    widgets.editor->Exec(EditorCommand::Paste);
  } else if (SourceViewIsActiveControl()) {
    widgets.sourceView->paste();
  }
}

void EditorCommands::PastePlainTextCommand() {
  if (EditorIsActiveControl()) {
    widgets.editor->PastePlainText();
  } else if (SourceViewIsActiveControl()) {
    widgets.sourceView->paste();  // the source view only ever takes text
  }
}

void EditorCommands::SelectAllCommand() {
  if (EditorIsActiveControl()) {
    widgets.editor->Exec(EditorCommand::SelectAll);
  } else if (SourceViewIsActiveControl()) {
    widgets.sourceView->selectAll();
  }
}

void EditorCommands::DeleteCommand() { widgets.editor->Exec(EditorCommand::Delete); }

void EditorCommands::ToggleShowDetails() {
  const bool on = !widgets.editor->ShowDetails();
  widgets.editor->SetShowDetails(on);
  items.showDetailsAction->setChecked(widgets.editor->ShowDetails());
}

void EditorCommands::ToggleShowBorders() {
  const bool on = !widgets.editor->ShowBorders();
  widgets.editor->SetShowBorders(on);
  items.showBordersAction->setChecked(widgets.editor->ShowBorders());
}

void EditorCommands::ToggleSnapToGrid() {
  const bool on = !widgets.editor->SnapToGrid();
  widgets.editor->SetSnapToGrid(on);
  items.snapToGridAction->setChecked(widgets.editor->SnapToGrid());
}

void EditorCommands::PrepareEditMenu() {
  if (!project.sourceInUse()) {
    items.undoAction->setEnabled(widgets.editor->Enabled(EditorCommand::Undo));
    items.redoAction->setEnabled(widgets.editor->Enabled(EditorCommand::Redo));
    items.copyAction->setEnabled(widgets.editor->Enabled(EditorCommand::Copy));
    items.cutAction->setEnabled(widgets.editor->Enabled(EditorCommand::Cut));
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
    popup->setEnabled(widgets.editor->Enabled(EditorCommand::Cut));
}

EditorCommands::EditorCommands(const EditorCommandWidgets& parts, ActionRegistry& commands,
                               EditorCommandProject needs)
    : QObject(parts.window), widgets(parts), registry(&commands), project(std::move(needs)) {
  RegisterCommands(commands);
  colorDialog = new QColorDialog(widgets.window);
  colorDialog->setObjectName("colorDialog");
  controlDialogs = new ControlDialogs(widgets.editor, widgets.window);
  controlDialogs->SetSourceView(widgets.sourceView, project.sourceInUse);
  Bind();
}

void EditorCommands::SetDialogs(TableDialog* table, LinkDialog* link) {
  tableDialog = table;
  linkDialog = link;
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

  connect(widgets.boldButton, &QToolButton::clicked, this, &EditorCommands::ToggleBoldByButton);
  connect(widgets.italicButton, &QToolButton::clicked, this, &EditorCommands::ToggleItalicByButton);
  connect(widgets.underlineButton, &QToolButton::clicked, this, &EditorCommands::ToggleUnderlineByButton);
  connect(widgets.alignLeftButton, &QToolButton::clicked, this, &EditorCommands::AlignLeft);
  connect(widgets.centerButton, &QToolButton::clicked, this, &EditorCommands::Center);
  connect(widgets.alignRightButton, &QToolButton::clicked, this, &EditorCommands::AlignRight);
  // The alignment buttons are plain buttons: they never stay down.
  for (QToolButton* b : {widgets.alignLeftButton, widgets.centerButton, widgets.alignRightButton})
    b->setCheckable(false);
  // Every change of a box's text sends its command.
  connect(widgets.fontNameBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontNameChanged);
  connect(widgets.fontSizeBox, &QComboBox::currentTextChanged, this, &EditorCommands::FontSizeChanged);
  connect(widgets.editor, &EditingControl::OnDisplayChanged, this, &EditorCommands::EditorDisplayChanged);

  // Menus prepare their items as they open ("Edit" and "Insert": the window's).
  connect(items.tableMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareTableMenu);
  connect(items.toggleMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareToggleMenu);
  connect(items.linkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareLinkMenu);
  connect(items.editorLinkMenu, &QMenu::aboutToShow, this, &EditorCommands::PrepareEditorLinkMenu);
}
