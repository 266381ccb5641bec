// The main menu, the project toolbar and the three context menus.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QTreeView>

#include "app/main_window.h"
#include "spelling/editor_spelling.h"
#include "editor/editing_control.h"
#include "panes/index_pane.h"
#include "panes/contents_pane.h"

namespace {

QAction* AddItem(QMenu* menu, const QString& objectName, const QString& caption) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(objectName);
  return action;
}

QMenu* AddSubmenu(QMenu* parent, const QString& objectName, const QString& caption) {
  QMenu* menu = parent->addMenu(caption);
  menu->setObjectName(objectName);
  menu->menuAction()->setObjectName(objectName);
  return menu;
}

QMenu* AddTopMenu(QMenuBar* bar, const QString& objectName, const QString& caption) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(objectName);
  menu->menuAction()->setObjectName(objectName);
  return menu;
}

// Del and F2 in a tree delete and rename its current item, as the context
// menu's items do; only while the tree itself has the focus, so an
// in-place caption editor keeps its own keys.
void AddTreeKeys(QTreeView* tree, QAction* deleteItem, QAction* renameItem) {
  deleteItem->setShortcut(QKeySequence(QKeySequence::Delete));
  renameItem->setShortcut(QKeySequence(Qt::Key_F2));
  for (QAction* item : {deleteItem, renameItem}) {
    item->setShortcutContext(Qt::WidgetShortcut);
    tree->addAction(item);
  }
  QObject::connect(renameItem, &QAction::triggered, tree, [tree] {
    if (tree->currentIndex().isValid()) tree->edit(tree->currentIndex());
  });
}

}  // namespace

void MainWindow::BuildMainMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mainMenu");

  fileMenu = AddTopMenu(bar, "fileMenu", "&File");
  newAction = AddItem(fileMenu, "newAction", "&New");
  newAction->setProperty("HelpContext", 10004);
  newAction->setShortcut(QKeySequence("Ctrl+N"));
  openAction = AddItem(fileMenu, "openAction", "&Open");
  openAction->setShortcut(QKeySequence("Ctrl+O"));
  reopenMenu = AddSubmenu(fileMenu, "reopenMenu", "&Reopen");
  reopenMenu->menuAction()->setEnabled(false);
  saveAction = AddItem(fileMenu, "saveAction", "&Save");
  saveAction->setShortcut(QKeySequence("Ctrl+S"));
  fileMenu->addSeparator();
  compileAction = AddItem(fileMenu, "compileAction", "&Compile");
  compileAction->setProperty("HelpContext", 10014);
  viewHelpFileAction = AddItem(fileMenu, "viewHelpFileAction", "&View compiled help file");
  viewMessagesAction = AddItem(fileMenu, "viewMessagesAction", "View compiler &messages");
  decompileAction = AddItem(fileMenu, "decompileAction", "&Decompile CHM file");
  fileMenu->addSeparator();
  exitAction = AddItem(fileMenu, "exitAction", "E&xit");
  connect(exitAction, &QAction::triggered, this, &MainWindow::ExitCommand);

  editMenu = AddTopMenu(bar, "editMenu", "&Edit");
  undoAction = AddItem(editMenu, "undoAction", "&Undo");
  redoAction = AddItem(editMenu, "redoAction", "&Redo");
  findAction = AddItem(editMenu, "findAction", "&Find text");
  findAction->setShortcut(QKeySequence("Ctrl+F"));
  findAgainAction = AddItem(editMenu, "findAgainAction", "Find a&gain");
  findAgainAction->setShortcut(QKeySequence(Qt::Key_F3));
  replaceAction = AddItem(editMenu, "replaceAction", "R&eplace...");
  replaceAction->setShortcut(QKeySequence("Ctrl+H"));
  findInTopicsAction = AddItem(editMenu, "findInTopicsAction", "Find in all &topics...");
  findInTopicsAction->setShortcut(QKeySequence("Ctrl+Shift+F"));
  editMenu->addSeparator();
  projectFilesMenu = AddSubmenu(editMenu, "projectFilesMenu", "&Edit");
  styleSheetAction = AddItem(projectFilesMenu, "styleSheetAction", "&Style sheet");
  styleSheetAction->setProperty("HelpContext", 10015);
  popupTextsAction = AddItem(projectFilesMenu, "popupTextsAction", "&Pop-up texts");
  popupTextsAction->setProperty("HelpContext", 10010);
  editMenu->addSeparator();
  fontMenu = AddSubmenu(editMenu, "fontMenu", "Set F&ont");
  fontPropertiesAction = AddItem(fontMenu, "fontPropertiesAction", "&Properties");
  fontMenu->addSeparator();
  boldAction = AddItem(fontMenu, "boldAction", "&Bold");
  italicAction = AddItem(fontMenu, "italicAction", "&Italic");
  underlineAction = AddItem(fontMenu, "underlineAction", "&Underline");
  colorMenu = AddSubmenu(editMenu, "colorMenu", "Set co&lor");
  selectionBackgroundAction = AddItem(colorMenu, "selectionBackgroundAction", "for selection &background");
  fontColorAction = AddItem(colorMenu, "fontColorAction", "for &font");
  pageBackgroundAction = AddItem(colorMenu, "pageBackgroundAction", "for &whole page");
  tableMenu = AddSubmenu(editMenu, "tableMenu", "&Table ...");
  insertRowAction = AddItem(tableMenu, "insertRowAction", "Insert &row");
  insertColumnAction = AddItem(tableMenu, "insertColumnAction", "Insert &column");
  deleteRowAction = AddItem(tableMenu, "deleteRowAction", "&Delete row");
  deleteColumnAction = AddItem(tableMenu, "deleteColumnAction", "D&elete column");
  toggleMenu = AddSubmenu(editMenu, "toggleMenu", "To&ggle");
  bulletedListAction = AddItem(toggleMenu, "bulletedListAction", "&bulleted list");
  numberedListAction = AddItem(toggleMenu, "numberedListAction", "&numbered list");
  editMenu->addSeparator();
  optionsMenu = AddSubmenu(editMenu, "optionsMenu", "O&ptions");
  showDetailsAction = AddItem(optionsMenu, "showDetailsAction", "Show &details");
  showBordersAction = AddItem(optionsMenu, "showBordersAction", "Show b&orders");
  snapToGridAction = AddItem(optionsMenu, "snapToGridAction", "&Snap to grid");
  for (QAction* option : {showDetailsAction, showBordersAction, snapToGridAction}) option->setCheckable(true);
  editMenu->addSeparator();
  copyAction = AddItem(editMenu, "copyAction", "&Copy");
  cutAction = AddItem(editMenu, "cutAction", "Cu&t");
  pasteAction = AddItem(editMenu, "pasteAction", "&Paste");
  pastePlainAction = AddItem(editMenu, "pastePlainAction", "Paste as plain te&xt");
  pastePlainAction->setShortcut(QKeySequence("Ctrl+Shift+V"));
  selectAllAction = AddItem(editMenu, "selectAllAction", "Select &all");
  selectAllAction->setShortcut(QKeySequence("Ctrl+A"));
  selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);

  insertMenu = AddTopMenu(bar, "insertMenu", "&Insert");
  insertTableAction = AddItem(insertMenu, "insertTableAction", "&Table");
  insertTableAction->setProperty("HelpContext", 10007);
  insertPictureAction = AddItem(insertMenu, "insertPictureAction", "&Picture");
  insertPictureAction->setProperty("HelpContext", 10009);
  linkMenu = AddSubmenu(insertMenu, "linkMenu", "&Link ...");
  linkMenu->menuAction()->setProperty("HelpContext", 10008);
  linkToTopicAction = AddItem(linkMenu, "linkToTopicAction", "To &other topic");
  linkToPageAction = AddItem(linkMenu, "linkToPageAction", "To &external page");
  insertPopupAction = AddItem(insertMenu, "insertPopupAction", "P&op-up");
  insertPopupAction->setProperty("HelpContext", 10010);
  insertSplashAction = AddItem(insertMenu, "insertSplashAction", "&Splash");
  insertTrainingCardAction = AddItem(insertMenu, "insertTrainingCardAction", "T&raining card");

  toolsMenu = AddTopMenu(bar, "toolsMenu", "&Tools");
  addinsMenu = AddSubmenu(toolsMenu, "addinsMenu", "&Add-ins");
  checkProjectAction = AddItem(toolsMenu, "checkProjectAction", "&Check project");

  helpMenu = AddTopMenu(bar, "helpMenu", "&Help");
  helpContentsAction = AddItem(helpMenu, "helpContentsAction", "&Contents");
  aboutAction = AddItem(helpMenu, "aboutAction", "&About ...");

  // The project toolbar performs menu items; a disabled item does nothing.
  const auto perform = [](QAction* item) {
    return [item] {
      if (item->isEnabled()) item->trigger();
    };
  };
  connect(newButton, &QToolButton::clicked, this, perform(newAction));
  connect(openButton, &QToolButton::clicked, this, perform(openAction));
  connect(saveButton, &QToolButton::clicked, this, perform(saveAction));
  connect(compileButton, &QToolButton::clicked, this, perform(compileAction));
  connect(viewButton, &QToolButton::clicked, this, perform(viewHelpFileAction));
}

void MainWindow::BuildContextMenus() {
  contentsMenu = new QMenu(this);
  contentsMenu->setObjectName("contentsMenu");
  newTopicAction = AddItem(contentsMenu, "newTopicAction", "New topic");
  newSubtopicAction = AddItem(contentsMenu, "newSubtopicAction", "New subtopic");
  deleteTopicAction = AddItem(contentsMenu, "deleteTopicAction", "Delete topic");
  renameTopicAction = AddItem(contentsMenu, "renameTopicAction", "Rename topic");
  newTopicAction->setShortcut(QKeySequence("Ctrl+T"));
  newSubtopicAction->setShortcut(QKeySequence("Ctrl+Shift+T"));
  // The main menu's "Contents" holds the same items, and the project
  // toolbar's button makes a topic.
  QMenu* topicsMenu = new QMenu("&Contents", this);
  topicsMenu->setObjectName("topicsMenu");
  topicsMenu->menuAction()->setObjectName("topicsMenu");
  menuBar()->insertMenu(toolsMenu->menuAction(), topicsMenu);
  topicsMenu->addAction(newTopicAction);
  topicsMenu->addAction(newSubtopicAction);
  connect(newTopicButton, &QToolButton::clicked, this, [this] {
    if (newTopicAction->isEnabled()) newTopicAction->trigger();
  });
  AddTreeKeys(contentsTree, deleteTopicAction, renameTopicAction);
  appendLinksAction = AddItem(contentsMenu, "appendLinksAction", "Append links to subtopics");
  connect(contentsTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    contentsPane->PrepareMenu();
    contentsMenu->popup(contentsTree->viewport()->mapToGlobal(pos));
  });

  indexMenu = new QMenu(this);
  indexMenu->setObjectName("indexMenu");
  deleteIndexEntryAction = AddItem(indexMenu, "deleteIndexEntryAction", "Delete");
  renameIndexEntryAction = AddItem(indexMenu, "renameIndexEntryAction", "Rename");
  indexPropertiesAction = AddItem(indexMenu, "indexPropertiesAction", "Properties");
  AddTreeKeys(indexTree, deleteIndexEntryAction, renameIndexEntryAction);
  connect(treeTabs, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    indexPane->PrepareMenu();
    indexMenu->popup(treeTabs->mapToGlobal(pos));
  });
  indexTree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(indexTree, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    indexPane->PrepareMenu();
    indexMenu->popup(indexTree->viewport()->mapToGlobal(pos));
  });

  editorMenu = new QMenu(this);
  editorMenu->setObjectName("editorMenu");
  deleteAction = AddItem(editorMenu, "deleteAction", "Delete");
  deleteAction->setVisible(false);
  editorColorMenu = AddSubmenu(editorMenu, "editorColorMenu", "Color");
  editorBackgroundAction = AddItem(editorColorMenu, "editorBackgroundAction", "for background");
  editorFontColorAction = AddItem(editorColorMenu, "editorFontColorAction", "for font");
  editorLinkMenu = AddSubmenu(editorMenu, "editorLinkMenu", "Link ...");
  removeLinkAction = AddItem(editorLinkMenu, "removeLinkAction", "remove");
  editorLinkToTopicAction = AddItem(editorLinkMenu, "editorLinkToTopicAction", "insert to other topic");
  editorLinkToPageAction =
      AddItem(editorLinkMenu, "editorLinkToPageAction", "create from selection to external page");
  connect(editor, &EditingControl::OnShowContextMenu, this, [this](const QPoint& at) {
    // The menu opens at the mouse, with the spelling of the word clicked on first.
    PrepareEditorMenu();
    const QPoint mouse = QCursor::pos();
    editorSpelling->PrepareMenu(editorMenu, at, [this, mouse] { editorMenu->popup(mouse); });
  });
}

void MainWindow::PrepareEditorMenu() {
  const bool open = project.IsOpen();
  deleteAction->setEnabled(open);
  editorColorMenu->menuAction()->setEnabled(open);
  editorLinkMenu->menuAction()->setEnabled(open);
}
