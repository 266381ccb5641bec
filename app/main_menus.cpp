// The main menu, the project toolbar and the three context menus, assembled
// from the commands the controllers registered.
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
#include "widgets/action_registry.h"

namespace {

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

QAction* MainWindow::Command(const QString& id) const {
  QAction* item = registry->Action(id);
  if (!item) qFatal("No command is registered as \"%s\"", qPrintable(id));
  return item;
}

QMenu* MainWindow::CommandMenu(const QString& id) const {
  QMenu* menu = registry->Menu(id);
  if (!menu) qFatal("No menu is registered as \"%s\"", qPrintable(id));
  return menu;
}

void MainWindow::RegisterWindowCommands() {
  connect(registry->Add("exitAction", "E&xit"), &QAction::triggered, this, &MainWindow::ExitCommand);
}

void MainWindow::BuildMainMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("mainMenu");
  const auto addMenu = [&](const QString& id, const QString& caption, const QStringList& items) {
    QMenu* menu = registry->AddMenu(id, caption);
    bar->addMenu(menu);
    registry->Fill(menu, items);
  };
  addMenu("fileMenu", "&File",
          {"newAction", "openAction", "reopenMenu", "saveAction", "-", "compileAction", "viewHelpFileAction",
           "viewMessagesAction", "decompileAction", "-", "exitAction"});
  addMenu("editMenu", "&Edit",
          {"undoAction",
           "redoAction",
           "findAction",
           "findAgainAction",
           "replaceAction",
           "findInTopicsAction",
           "-",
           "projectFilesMenu",
           "-",
           "fontMenu",
           "colorMenu",
           "tableMenu",
           "toggleMenu",
           "-",
           "optionsMenu",
           "-",
           "copyAction",
           "cutAction",
           "pasteAction",
           "pastePlainAction",
           "selectAllAction"});
  addMenu("insertMenu", "&Insert",
          {"insertTableAction", "insertPictureAction", "linkMenu", "insertPopupAction", "insertSplashAction",
           "insertTrainingCardAction"});
  addMenu("topicsMenu", "&Contents", {"newTopicAction", "newSubtopicAction"});
  bar->addMenu(CommandMenu("keywordMenu"));  // "Index": the Index pane's keyword commands
  addMenu("toolsMenu", "&Tools", {"addinsMenu", "checkProjectAction"});
  addMenu("helpMenu", "&Help", {"helpContentsAction", "aboutAction"});

  // The project toolbar performs menu items; a disabled item does nothing.
  const auto perform = [this](QToolButton* button, const QString& id) {
    QAction* item = Command(id);
    connect(button, &QToolButton::clicked, this, [item] {
      if (item->isEnabled()) item->trigger();
    });
  };
  perform(newButton, "newAction");
  perform(openButton, "openAction");
  perform(saveButton, "saveAction");
  perform(compileButton, "compileAction");
  perform(viewButton, "viewHelpFileAction");
  perform(newTopicButton, "newTopicAction");
  perform(newSubtopicButton, "newSubtopicAction");
}

void MainWindow::BuildContextMenus() {
  QMenu* contentsMenu = registry->AddMenu("contentsMenu", QString());
  registry->Fill(contentsMenu, {"newTopicAction", "newSubtopicAction", "deleteTopicAction",
                                "renameTopicAction", "appendLinksAction"});
  AddTreeKeys(contentsTree, Command("deleteTopicAction"), Command("renameTopicAction"));
  connect(contentsTree, &QWidget::customContextMenuRequested, this, [this, contentsMenu](const QPoint& pos) {
    contentsPane->PrepareMenu();
    contentsMenu->popup(contentsTree->viewport()->mapToGlobal(pos));
  });

  QMenu* indexMenu = registry->AddMenu("indexMenu", QString());
  registry->Fill(indexMenu, {"deleteIndexEntryAction", "renameIndexEntryAction", "indexPropertiesAction", "-",
                             "newKeywordAction", "addTopicToKeywordAction", "removeTopicFromKeywordAction"});
  AddTreeKeys(indexTree, Command("deleteIndexEntryAction"), Command("renameIndexEntryAction"));
  const auto showIndexMenu = [this, indexMenu](QWidget* on, const QPoint& pos) {
    indexPane->PrepareMenu();
    indexMenu->popup(on->mapToGlobal(pos));
  };
  connect(treeTabs, &QWidget::customContextMenuRequested, this,
          [this, showIndexMenu](const QPoint& pos) { showIndexMenu(treeTabs, pos); });
  indexTree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(indexTree, &QWidget::customContextMenuRequested, this,
          [this, showIndexMenu](const QPoint& pos) { showIndexMenu(indexTree->viewport(), pos); });

  QMenu* editorMenu = registry->AddMenu("editorMenu", QString());
  registry->Fill(editorMenu, {"deleteAction", "editorColorMenu", "editorLinkMenu"});
  connect(editor, &EditingControl::OnShowContextMenu, this, [this, editorMenu](const QPoint& at) {
    // The menu opens at the mouse, with the spelling of the word clicked on first.
    PrepareEditorMenu();
    const QPoint mouse = QCursor::pos();
    editorSpelling->PrepareMenu(editorMenu, at, [editorMenu, mouse] { editorMenu->popup(mouse); });
  });
}

void MainWindow::PrepareEditorMenu() {
  const bool open = project.IsOpen();
  for (const char* id : {"deleteAction", "editorColorMenu", "editorLinkMenu"}) Command(id)->setEnabled(open);
}
