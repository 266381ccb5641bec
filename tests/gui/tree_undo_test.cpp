// Undo and redo of the Contents and Index trees with the real main window:
// new, deleted (pages back from the trash), moved and renamed topics and
// keyword changes, from the Edit menu's items while a tree has the keyboard.
#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <optional>

#include "gui_helpers.h"
#include "panes/index_pane.h"
#include "tree_editing_fixture.h"
#include "tests/gui/window_parts.h"

namespace {

class TreeUndoTest : public OwnTrashFixture {
 protected:
  void SetUp() override {
    OwnTrashFixture::SetUp();
    start = AddTopic(nullptr, "Start", 1);
    basics = AddTopic(start, "Basics", 2);
    last = AddTopic(nullptr, "Last", 3);
    Widget<QTreeView>(*form, "contentsTree")->expandAll();
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }
  QAction* UndoItem() const { return form->findChild<QAction*>("treeUndoAction"); }
  QAction* RedoItem() const { return form->findChild<QAction*>("treeRedoAction"); }
  // Ctrl+Z or Ctrl+Y on a tree, once the editor has settled.
  void Press(QTreeView* tree, Qt::Key key) {
    PressIn(tree, key, Qt::ControlModifier);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    QApplication::processEvents();
  }

  TreeItem start = nullptr;
  TreeItem basics = nullptr;
  TreeItem last = nullptr;
};

TEST_F(TreeUndoTest, TheEditMenuSaysWhatItUndoesWhileATreeHasTheKeyboard) {
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Fresh"));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Show(Widget<QTreeView>(*form, "contentsTree"));
  form->activateWindow();
  Widget<QTreeView>(*form, "contentsTree")->setFocus();
  QApplication::processEvents();
  ASSERT_NE(UndoItem(), nullptr);
  EXPECT_TRUE(Menu(*form, "editMenu")->actions().contains(UndoItem()));
  EXPECT_TRUE(UndoItem()->isVisible());
  EXPECT_TRUE(UndoItem()->isEnabled());
  EXPECT_FALSE(Action(*form, "undoAction")->isVisible());
  EXPECT_TRUE(Menu(*form, "editMenu")->menuAction()->isEnabled());
  EXPECT_EQ(UndoItem()->text(), "&Undo New topic \"Fresh\"");
  // The editor keeps its own undo.
  FocusEditor();
  EXPECT_FALSE(UndoItem()->isVisible());
  EXPECT_TRUE(Action(*form, "undoAction")->isVisible());
}

TEST_F(TreeUndoTest, NewTopicIsUndoneWithItsPageAndLinesAndRedoneAlike) {
  const HelpProject::Lines linesBefore = ProjectOf(*form).AllLines();
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Fresh"));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString page = ContentsRecord(Current(Widget<QTreeView>(*form, "contentsTree")))->fileName;
  const QByteArray bytes = FileBytes(Path(page));
  ASSERT_FALSE(bytes.isEmpty());
  const HelpProject::Lines linesAfter = ProjectOf(*form).AllLines();
  EXPECT_EQ(ContentsShape(), "Start(Basics),Fresh,Last");

  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_FALSE(QFileInfo::exists(Path(page)));
  EXPECT_EQ(ProjectOf(*form).AllLines().map, linesBefore.map);
  EXPECT_EQ(ProjectOf(*form).AllLines().alias, linesBefore.alias);
  EXPECT_EQ(ProjectOf(*form).AllLines().project, linesBefore.project);

  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Fresh,Last");
  EXPECT_EQ(FileBytes(Path(page)), bytes);
  EXPECT_EQ(ProjectOf(*form).AllLines().map, linesAfter.map);
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree"))->text(0), "Fresh");
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Fresh");
}

TEST_F(TreeUndoTest, DeleteIsUndoneWithItsPagesFromTheTrashLinesAndIndexEntries) {
  AddIndexNode(nullptr, "basics", "Proj02.htm", "Basics");
  AddIndexNode(nullptr, "start", "Proj01.htm", "Start");
  ProjectOf(*form).RestoreLines({QStringList{"[FILES]", "Proj01.htm", "Proj02.htm", "Proj03.htm"},
                                 ProjectOf(*form).MapLines(), ProjectOf(*form).AliasLines()});
  const HelpProject::Lines linesBefore = ProjectOf(*form).AllLines();
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  // As "Delete topic" does once the question is answered, into the trash.
  Controller<ContentsPane>(*form)->DeleteTopic(start);
  EXPECT_EQ(ContentsShape(), "Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj01.htm")));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);

  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), TopicPage("Start"));
  EXPECT_EQ(FileBytes(Path("Proj02.htm")), TopicPage("Basics"));
  // The trash lets them go, notes and all.
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("data/Trash/files/Proj01.htm")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("data/Trash/info/Proj01.htm.trashinfo")));
  EXPECT_EQ(ProjectOf(*form).AllLines().project, linesBefore.project);
  EXPECT_EQ(ProjectOf(*form).AllLines().map, linesBefore.map);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 2);
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree"))->text(0), "Start");

  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj02.htm")));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  EXPECT_FALSE(ProjectOf(*form).AllLines().project.contains("Proj01.htm"));
}

TEST_F(TreeUndoTest, MovesAndRenamesAreUndoneInTurn) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(basics);
  PressIn(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(ContentsShape(), "Start,Basics,Last");
  PressIn(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(ContentsShape(), "Start,Last,Basics");
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), basics, "Basic ideas");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Basic ideas");

  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Z);
  EXPECT_EQ(basics->text(0), "Basics");
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Basics");
  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start,Basics,Last");
  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree"))->text(0), "Basics");
  // Redone in the same order.
  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Y);
  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Y);
  Press(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Start,Last,Basic ideas");
  EXPECT_FALSE(RedoItem()->isEnabled());
}

TEST_F(TreeUndoTest, KeywordChangesAreUndoneOnTheSameStack) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_TRUE(Controller<IndexPane>(*form)->AddKeywordForTopic("printing"));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0));
  Controller<IndexPane>(*form)->AddTopicToKeyword();
  auto* index = static_cast<IndexModel*>(Widget<QTreeView>(*form, "indexTree")->model());
  ASSERT_EQ(index->TopicsAt(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)).size(), 2u);
  Show(Widget<QTreeView>(*form, "indexTree"));
  EXPECT_EQ(UndoItem()->text(), "&Undo Add topic to keyword \"printing\"");

  Press(Widget<QTreeView>(*form, "indexTree"), Qt::Key_Z);
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(index->TopicsAt(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)).size(), 1u);
  Press(Widget<QTreeView>(*form, "indexTree"), Qt::Key_Z);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  Press(Widget<QTreeView>(*form, "indexTree"), Qt::Key_Y);
  Press(Widget<QTreeView>(*form, "indexTree"), Qt::Key_Y);
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(index->TopicsAt(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)).size(), 2u);
}

}  // namespace
