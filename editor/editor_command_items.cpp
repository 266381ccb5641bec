// The editor's menu items and submenus: made and registered here under
// their ids, placed in the window's menus by the window.
#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include "editor/editor_commands.h"
#include "widgets/action_registry.h"

namespace {

// A submenu's item: where the command keeps it, its id and caption; an
// empty one is a separator.
struct Item {
  QAction** slot = nullptr;
  const char* id = nullptr;
  const char* caption = nullptr;
};

QMenu* AddSubmenu(ActionRegistry& registry, const char* id, const QString& caption,
                  std::initializer_list<Item> entries) {
  QMenu* menu = registry.AddMenu(id, caption);
  for (const Item& entry : entries) {
    if (!entry.slot) {
      menu->addSeparator();
      continue;
    }
    *entry.slot = registry.Add(entry.id, entry.caption);
    menu->addAction(*entry.slot);
  }
  return menu;
}

}  // namespace

void EditorCommands::RegisterCommands(ActionRegistry& registry) {
  EditorCommandItems& i = items;
  i.undoAction = registry.Add("undoAction", "&Undo");
  i.redoAction = registry.Add("redoAction", "&Redo");
  i.findAction = registry.Add("findAction", "&Find text");
  i.findAction->setShortcut(QKeySequence("Ctrl+F"));
  i.findAgainAction = registry.Add("findAgainAction", "Find a&gain");
  i.findAgainAction->setShortcut(QKeySequence(Qt::Key_F3));
  i.replaceAction = registry.Add("replaceAction", "R&eplace...");
  i.replaceAction->setShortcut(QKeySequence("Ctrl+H"));

  i.fontMenu = AddSubmenu(registry, "fontMenu", "Set F&ont",
                          {{&i.fontPropertiesAction, "fontPropertiesAction", "&Properties"},
                           {},
                           {&i.boldAction, "boldAction", "&Bold"},
                           {&i.italicAction, "italicAction", "&Italic"},
                           {&i.underlineAction, "underlineAction", "&Underline"}});
  i.colorMenu =
      AddSubmenu(registry, "colorMenu", "Set co&lor",
                 {{&i.selectionBackgroundAction, "selectionBackgroundAction", "for selection &background"},
                  {&i.fontColorAction, "fontColorAction", "for &font"},
                  {&i.pageBackgroundAction, "pageBackgroundAction", "for &whole page"}});
  i.tableMenu = AddSubmenu(registry, "tableMenu", "&Table ...",
                           {{&i.insertRowAction, "insertRowAction", "Insert &row"},
                            {&i.insertColumnAction, "insertColumnAction", "Insert &column"},
                            {&i.deleteRowAction, "deleteRowAction", "&Delete row"},
                            {&i.deleteColumnAction, "deleteColumnAction", "D&elete column"}});
  i.toggleMenu = AddSubmenu(registry, "toggleMenu", "To&ggle",
                            {{&i.bulletedListAction, "bulletedListAction", "&bulleted list"},
                             {&i.numberedListAction, "numberedListAction", "&numbered list"}});
  i.optionsMenu = AddSubmenu(registry, "optionsMenu", "O&ptions",
                             {{&i.showDetailsAction, "showDetailsAction", "Show &details"},
                              {&i.showBordersAction, "showBordersAction", "Show b&orders"},
                              {&i.snapToGridAction, "snapToGridAction", "&Snap to grid"}});
  for (QAction* option : {i.showDetailsAction, i.showBordersAction, i.snapToGridAction})
    option->setCheckable(true);

  i.copyAction = registry.Add("copyAction", "&Copy");
  i.cutAction = registry.Add("cutAction", "Cu&t");
  i.pasteAction = registry.Add("pasteAction", "&Paste");
  i.pastePlainAction = registry.Add("pastePlainAction", "Paste as plain te&xt");
  i.pastePlainAction->setShortcut(QKeySequence("Ctrl+Shift+V"));
  i.selectAllAction = registry.Add("selectAllAction", "Select &all");
  i.selectAllAction->setShortcut(QKeySequence("Ctrl+A"));
  i.selectAllAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);

  i.insertTableAction = registry.Add("insertTableAction", "&Table");
  i.insertTableAction->setProperty("HelpContext", 10007);
  i.insertPictureAction = registry.Add("insertPictureAction", "&Picture");
  i.insertPictureAction->setProperty("HelpContext", 10009);
  i.linkMenu = AddSubmenu(registry, "linkMenu", "&Link ...",
                          {{&i.linkToTopicAction, "linkToTopicAction", "To &other topic"},
                           {&i.linkToPageAction, "linkToPageAction", "To &external page"}});
  i.linkMenu->menuAction()->setProperty("HelpContext", 10008);

  // The editor's context menu.
  i.deleteAction = registry.Add("deleteAction", "Delete");
  i.deleteAction->setVisible(false);
  i.editorColorMenu = AddSubmenu(registry, "editorColorMenu", "Color",
                                 {{&i.editorBackgroundAction, "editorBackgroundAction", "for background"},
                                  {&i.editorFontColorAction, "editorFontColorAction", "for font"}});
  i.editorLinkMenu = AddSubmenu(
      registry, "editorLinkMenu", "Link ...",
      {{&i.removeLinkAction, "removeLinkAction", "remove"},
       {&i.editorLinkToTopicAction, "editorLinkToTopicAction", "insert to other topic"},
       {&i.editorLinkToPageAction, "editorLinkToPageAction", "create from selection to external page"}});
}
