// The main menu, the project toolbar and the three context menus.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QTreeWidget>

#include "app/main_window.h"
#include "editor/editing_control.h"

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

}  // namespace

void TForm1::BuildMainMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");

  File1 = AddTopMenu(bar, "File1", "&File");
  New1 = AddItem(File1, "New1", "&New");
  New1->setProperty("HelpContext", 10004);
  Open1 = AddItem(File1, "Open1", "&Open");
  Reopen1 = AddSubmenu(File1, "Reopen1", "&Reopen");
  Reopen1->menuAction()->setEnabled(false);
  Save1 = AddItem(File1, "Save1", "&Save");
  File1->addSeparator();
  Compile1 = AddItem(File1, "Compile1", "&Compile");
  Compile1->setProperty("HelpContext", 10014);
  Viewcompiledhelpfile1 = AddItem(File1, "Viewcompiledhelpfile1", "&View compiled help file");
  Viewcompilermessages1 = AddItem(File1, "Viewcompilermessages1", "View compiler &messages");
  DecompileCHMfile1 = AddItem(File1, "DecompileCHMfile1", "&Decompile CHM file");
  File1->addSeparator();
  Exit1 = AddItem(File1, "Exit1", "E&xit");
  connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

  Edit1 = AddTopMenu(bar, "Edit1", "&Edit");
  Undo1 = AddItem(Edit1, "Undo1", "&Undo");
  Redo1 = AddItem(Edit1, "Redo1", "&Redo");
  Findtext1 = AddItem(Edit1, "Findtext1", "&Find text");
  Edit1->addSeparator();
  Edit2 = AddSubmenu(Edit1, "Edit2", "&Edit");
  Stylesheet1 = AddItem(Edit2, "Stylesheet1", "&Style sheet");
  Stylesheet1->setProperty("HelpContext", 10015);
  Popuptexts1 = AddItem(Edit2, "Popuptexts1", "&Pop-up texts");
  Popuptexts1->setProperty("HelpContext", 10010);
  Edit1->addSeparator();
  SetFont1 = AddSubmenu(Edit1, "SetFont1", "Set F&ont");
  Properties1 = AddItem(SetFont1, "Properties1", "&Properties");
  SetFont1->addSeparator();
  Bold1 = AddItem(SetFont1, "Bold1", "&Bold");
  Italic1 = AddItem(SetFont1, "Italic1", "&Italic");
  Underline1 = AddItem(SetFont1, "Underline1", "&Underline");
  Setcolor1 = AddSubmenu(Edit1, "Setcolor1", "Set co&lor");
  forselectionbackground1 = AddItem(Setcolor1, "forselectionbackground1", "for selection &background");
  forfont1 = AddItem(Setcolor1, "forfont1", "for &font");
  forwholepage1 = AddItem(Setcolor1, "forwholepage1", "for &whole page");
  Table1 = AddSubmenu(Edit1, "Table1", "&Table ...");
  Insertrow1 = AddItem(Table1, "Insertrow1", "Insert &row");
  Insertcolumn1 = AddItem(Table1, "Insertcolumn1", "Insert &column");
  Deleterow1 = AddItem(Table1, "Deleterow1", "&Delete row");
  Deletecolumn1 = AddItem(Table1, "Deletecolumn1", "D&elete column");
  Toggle1 = AddSubmenu(Edit1, "Toggle1", "To&ggle ");
  bulletedlist1 = AddItem(Toggle1, "bulletedlist1", "&bulleted list");
  numberedlist1 = AddItem(Toggle1, "numberedlist1", "&numbered list");
  Edit1->addSeparator();
  Options1 = AddSubmenu(Edit1, "Options1", "O&ptions");
  Showdetails1 = AddItem(Options1, "Showdetails1", "Show &details");
  Showborders1 = AddItem(Options1, "Showborders1", "Show b&orders");
  Snaptogrid1 = AddItem(Options1, "Snaptogrid1", "&Snap to grid");
  for (QAction* option : {Showdetails1, Showborders1, Snaptogrid1}) option->setCheckable(true);
  Edit1->addSeparator();
  Copy1 = AddItem(Edit1, "Copy1", "&Copy");
  Cut1 = AddItem(Edit1, "Cut1", "Cu&t");
  Paste1 = AddItem(Edit1, "Paste1", "&Paste");
  Selectall1 = AddItem(Edit1, "Selectall1", "Select &all");
  Selectall1->setShortcut(QKeySequence("Ctrl+A"));
  Selectall1->setShortcutContext(Qt::WidgetWithChildrenShortcut);

  Insert1 = AddTopMenu(bar, "Insert1", "&Insert");
  Table2 = AddItem(Insert1, "Table2", "&Table");
  Table2->setProperty("HelpContext", 10007);
  Picture1 = AddItem(Insert1, "Picture1", "&Picture");
  Picture1->setProperty("HelpContext", 10009);
  Link1 = AddSubmenu(Insert1, "Link1", "&Link ...");
  Link1->menuAction()->setProperty("HelpContext", 10008);
  Toothertopic1 = AddItem(Link1, "Toothertopic1", "To &other topic");
  Toexternalpage1 = AddItem(Link1, "Toexternalpage1", "To &external page");
  Popup1 = AddItem(Insert1, "Popup1", "P&op-up");
  Popup1->setProperty("HelpContext", 10010);
  Splash1 = AddItem(Insert1, "Splash1", "&Splash");
  Trainingcad1 = AddItem(Insert1, "Trainingcad1", "T&raining cad");

  Tools1 = AddTopMenu(bar, "Tools1", "&Tools");
  Addins1 = AddSubmenu(Tools1, "Addins1", "&Add-ins");

  Help1 = AddTopMenu(bar, "Help1", "&Help");
  Contents1 = AddItem(Help1, "Contents1", "&Contents");
  About1 = AddItem(Help1, "About1", "&About ...");

  // The project toolbar performs menu items; a disabled item does nothing.
  const auto perform = [](QAction* item) {
    return [item] {
      if (item->isEnabled()) item->trigger();
    };
  };
  connect(SpeedButton7, &QToolButton::clicked, this, perform(New1));
  connect(SpeedButton8, &QToolButton::clicked, this, perform(Open1));
  connect(SpeedButton9, &QToolButton::clicked, this, perform(Save1));
  connect(SpeedButton10, &QToolButton::clicked, this, perform(Compile1));
  connect(SpeedButton11, &QToolButton::clicked, this, perform(Viewcompiledhelpfile1));
}

void TForm1::BuildContextMenus() {
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Newtopic1 = AddItem(PopupMenu1, "Newtopic1", "New topic");
  Newsubtopic1 = AddItem(PopupMenu1, "Newsubtopic1", "New subtopic");
  Deletetopic1 = AddItem(PopupMenu1, "Deletetopic1", "Delete topic");
  Appendlinkstosubtopics1 = AddItem(PopupMenu1, "Appendlinkstosubtopics1", "Append links to subtopics");
  connect(TreeView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    PopupMenu1Popup();
    PopupMenu1->popup(TreeView1->viewport()->mapToGlobal(pos));
  });

  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName("PopupMenu2");
  Delete2 = AddItem(PopupMenu2, "Delete2", "Delete");
  Properties2 = AddItem(PopupMenu2, "Properties2", "Properties");
  connect(PageControl2, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    PopupMenu2Popup();
    PopupMenu2->popup(PageControl2->mapToGlobal(pos));
  });
  TreeView2->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(TreeView2, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    PopupMenu2Popup();
    PopupMenu2->popup(TreeView2->viewport()->mapToGlobal(pos));
  });

  PopupMenu3 = new QMenu(this);
  PopupMenu3->setObjectName("PopupMenu3");
  Delete1 = AddItem(PopupMenu3, "Delete1", "Delete");
  Delete1->setVisible(false);
  Color1 = AddSubmenu(PopupMenu3, "Color1", "Color");
  forbackground1 = AddItem(Color1, "forbackground1", "for background");
  forfont2 = AddItem(Color1, "forfont2", "for font");
  Link2 = AddSubmenu(PopupMenu3, "Link2", "Link ...");
  remove1 = AddItem(Link2, "remove1", "remove");
  inserttoothertopic1 = AddItem(Link2, "inserttoothertopic1", "insert to other topic");
  createfromselectiontoexternalpage1 =
      AddItem(Link2, "createfromselectiontoexternalpage1", "create from selection to external page");
  connect(DHTMLEdit1, &TDHTMLEdit::OnShowContextMenu, this, [this](const QPoint&) {
    // The control's position is ignored: the menu opens at the mouse.
    PopupMenu3Popup();
    PopupMenu3->popup(QCursor::pos());
  });
}

void TForm1::PopupMenu1Popup() {
  QTreeWidgetItem* selected = TreeView1->currentItem();
  Appendlinkstosubtopics1->setEnabled(selected && selected->childCount() > 0);
}

void TForm1::PopupMenu2Popup() {
  Delete2->setEnabled(ProjectIsOpen() && TreeView2->currentItem() != nullptr);
  Properties2->setEnabled(true);
}

void TForm1::PopupMenu3Popup() {
  const bool open = ProjectIsOpen();
  Delete1->setEnabled(open);
  Color1->menuAction()->setEnabled(open);
  Link2->menuAction()->setEnabled(open);
}
