// The editor's commands: formatting (the toolbar above the editor, "Set
// Font", "Set color", "Toggle "), tables, links and pictures, clipboard,
// undo, find and view options, and the preparation of their menus as they
// open. Works on the view in use, the editing control or the source view.
#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>
#include <functional>

#include "editor/command_table.h"
#include "platform/result.h"

class ActionRegistry;
class ContentsModel;
class ControlDialogs;
class EditingControl;
class LinkDialog;
class QAction;
class QColorDialog;
class QComboBox;
class QMenu;
class QPlainTextEdit;
class QToolButton;
class QWidget;
class TableDialog;

// The widgets the commands drive, all from the main window.
struct EditorCommandWidgets {
  QWidget* window = nullptr;  // its focus tells which view is active
  EditingControl* editor = nullptr;
  QPlainTextEdit* sourceView = nullptr;
  const ContentsModel* contents = nullptr;  // the topics a link can lead to
  QComboBox* fontNameBox = nullptr;
  QComboBox* fontSizeBox = nullptr;
  QToolButton* boldButton = nullptr;
  QToolButton* italicButton = nullptr;
  QToolButton* underlineButton = nullptr;
  QToolButton* alignLeftButton = nullptr;
  QToolButton* centerButton = nullptr;
  QToolButton* alignRightButton = nullptr;
};

// The menu items and submenus the commands make and register (their ids
// are the names below); the window places them in its menus.
struct EditorCommandItems {
  QMenu* colorMenu = nullptr;
  QMenu* fontMenu = nullptr;
  QMenu* tableMenu = nullptr;
  QMenu* toggleMenu = nullptr;
  QMenu* linkMenu = nullptr;
  QMenu* editorLinkMenu = nullptr;
  QAction* boldAction = nullptr;
  QAction* italicAction = nullptr;
  QAction* underlineAction = nullptr;
  QAction* fontPropertiesAction = nullptr;
  QAction* bulletedListAction = nullptr;
  QAction* numberedListAction = nullptr;
  QAction* selectionBackgroundAction = nullptr;
  QAction* fontColorAction = nullptr;
  QAction* pageBackgroundAction = nullptr;
  QAction* editorBackgroundAction = nullptr;
  QAction* editorFontColorAction = nullptr;
  QAction* insertTableAction = nullptr;
  QAction* insertRowAction = nullptr;
  QAction* insertColumnAction = nullptr;
  QAction* deleteRowAction = nullptr;
  QAction* deleteColumnAction = nullptr;
  QAction* linkToTopicAction = nullptr;
  QAction* linkToPageAction = nullptr;
  QAction* editorLinkToTopicAction = nullptr;
  QAction* editorLinkToPageAction = nullptr;
  QAction* removeLinkAction = nullptr;
  QAction* insertPictureAction = nullptr;
  QAction* undoAction = nullptr;
  QAction* redoAction = nullptr;
  QAction* findAction = nullptr;
  QAction* findAgainAction = nullptr;
  QAction* replaceAction = nullptr;
  QAction* copyAction = nullptr;
  QAction* cutAction = nullptr;
  QAction* pasteAction = nullptr;
  QAction* pastePlainAction = nullptr;
  QAction* selectAllAction = nullptr;
  QAction* deleteAction = nullptr;
  QMenu* optionsMenu = nullptr;
  QMenu* editorColorMenu = nullptr;
  QAction* showDetailsAction = nullptr;
  QAction* showBordersAction = nullptr;
  QAction* snapToGridAction = nullptr;
};

// What the commands need of the open project.
struct EditorCommandProject {
  // The project folder with its trailing separator: pictures are kept there.
  std::function<QString()> projectFolder;
  // The Source tab is the view in use.
  std::function<bool()> sourceInUse;
  // Shows a failure in an error box; false when the status is one.
  std::function<bool(const Status& status)> reportFailure;
};

class EditorCommands : public QObject {
  Q_OBJECT
 public:
  // Registers the commands' items and submenus (EditorCommandItems) and
  // binds them, the buttons and the boxes of `parts` to the commands.
  EditorCommands(const EditorCommandWidgets& parts, ActionRegistry& commands, EditorCommandProject needs);
  // The "New table" and "Select topic" dialogs, made with the other dialogs.
  void SetDialogs(TableDialog* tableDialog, LinkDialog* linkDialog);

  // Sends the command with the value only when the editor's state enables
  // it; false when it was skipped.
  bool SendCommand(EditorCommand command, const QVariant& value = {}, bool prompt = false);
  // The editing control, or the source view, had the focus last in the window.
  bool EditorIsActiveControl() const;
  bool SourceViewIsActiveControl() const;

  // Formatting.
  void ToggleBoldByButton();
  void ToggleItalicByButton();
  void ToggleUnderlineByButton();
  void AlignLeft();
  void Center();
  void AlignRight();
  void ToggleBold();
  void ToggleItalic();
  void ToggleUnderline();
  void FontProperties();
  void ToggleBulletedList();
  void ToggleNumberedList();
  void PrepareToggleMenu();
  void FontNameChanged();
  void FontSizeChanged();
  // The toolbar follows the formatting at the caret.
  void EditorDisplayChanged();
  // Shows the colour dialog; false when cancelled. value: red in the lowest byte.
  bool ChooseColor(int& value);
  void ColorSelectionBackground();
  void ColorFont();
  void ColorWholePage();
  // Tables.
  void InsertTable();       // Insert > Table
  void PrepareTableMenu();  // Edit > Table ... opening
  void InsertRow();
  void InsertColumn();
  void DeleteRow();
  void DeleteColumn();
  // Links and pictures.
  void LinkToTopic();
  void LinkToExternalPage();
  void RemoveLink();
  void InsertPicture();
  void PrepareLinkMenu();        // Insert > Link ... opening
  void PrepareEditorLinkMenu();  // context menu Link ... opening
  // Clipboard, undo, find, view options, menu preparation.
  void UndoCommand();
  void RedoCommand();
  void FindTextCommand();
  void FindAgainCommand();  // F3
  void ReplaceTextCommand();
  void CopyCommand();
  void CutCommand();
  void PasteCommand();
  void PastePlainTextCommand();
  void SelectAllCommand();
  void DeleteCommand();
  void ToggleShowDetails();
  void ToggleShowBorders();
  void ToggleSnapToGrid();
  void PrepareEditMenu();
  void PrepareInsertMenu();

 private:
  void RegisterCommands(ActionRegistry& registry);
  void Bind();

  EditorCommandWidgets widgets;
  EditorCommandItems items;
  // Finds the help features' "Pop-up" item, which follows the selection.
  QPointer<ActionRegistry> registry;
  EditorCommandProject project;
  QPointer<TableDialog> tableDialog;
  QPointer<LinkDialog> linkDialog;
  // The colour dialog of the colour commands; keeps the last colour.
  QColorDialog* colorDialog = nullptr;
  // The editing control's own dialogs (find, font, link to a page, picture).
  ControlDialogs* controlDialogs = nullptr;
  // While the font boxes are filled from the caret they send nothing.
  bool fillingFontBoxes = false;
};
