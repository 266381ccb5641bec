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

namespace {

class TreeUndoTest : public OwnTrashFixture {
 protected:
  void SetUp() override {
    OwnTrashFixture::SetUp();
    start = AddTopic(nullptr, "Start", 1);
    basics = AddTopic(start, "Basics", 2);
    last = AddTopic(nullptr, "Last", 3);
    form->contentsTree->expandAll();
    form->contentsTree->setCurrentIndex(start);
    WaitEditorIdle(form->editor);
  }
  QAction* UndoItem() const { return form->findChild<QAction*>("treeUndoAction"); }
  QAction* RedoItem() const { return form->findChild<QAction*>("treeRedoAction"); }
  // Ctrl+Z or Ctrl+Y on a tree, once the editor has settled.
  void Press(QTreeView* tree, Qt::Key key) {
    PressIn(tree, key, Qt::ControlModifier);
    WaitEditorIdle(form->editor);
    QApplication::processEvents();
  }

  TreeItem start = nullptr;
  TreeItem basics = nullptr;
  TreeItem last = nullptr;
};

TEST_F(TreeUndoTest, TheEditMenuSaysWhatItUndoesWhileATreeHasTheKeyboard) {
  ASSERT_TRUE(form->contentsPane->CreateTopic("Fresh"));
  WaitEditorIdle(form->editor);
  Show(form->contentsTree);
  form->activateWindow();
  form->contentsTree->setFocus();
  QApplication::processEvents();
  ASSERT_NE(UndoItem(), nullptr);
  EXPECT_TRUE(form->editMenu->actions().contains(UndoItem()));
  EXPECT_TRUE(UndoItem()->isVisible());
  EXPECT_TRUE(UndoItem()->isEnabled());
  EXPECT_FALSE(form->undoAction->isVisible());
  EXPECT_TRUE(form->editMenu->menuAction()->isEnabled());
  EXPECT_EQ(UndoItem()->text(), "&Undo New topic \"Fresh\"");
  // The editor keeps its own undo.
  FocusEditor();
  EXPECT_FALSE(UndoItem()->isVisible());
  EXPECT_TRUE(form->undoAction->isVisible());
}

TEST_F(TreeUndoTest, NewTopicIsUndoneWithItsPageAndLinesAndRedoneAlike) {
  const HelpProject::Lines linesBefore = form->project.AllLines();
  ASSERT_TRUE(form->contentsPane->CreateTopic("Fresh"));
  WaitEditorIdle(form->editor);
  const QString page = ContentsRecord(Current(form->contentsTree))->FileName;
  const QByteArray bytes = FileBytes(Path(page));
  ASSERT_FALSE(bytes.isEmpty());
  const HelpProject::Lines linesAfter = form->project.AllLines();
  EXPECT_EQ(ContentsShape(), "Start(Basics),Fresh,Last");

  Press(form->contentsTree, Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_FALSE(QFileInfo::exists(Path(page)));
  EXPECT_EQ(form->project.AllLines().Map, linesBefore.Map);
  EXPECT_EQ(form->project.AllLines().Alias, linesBefore.Alias);
  EXPECT_EQ(form->project.AllLines().Project, linesBefore.Project);

  Press(form->contentsTree, Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Fresh,Last");
  EXPECT_EQ(FileBytes(Path(page)), bytes);
  EXPECT_EQ(form->project.AllLines().Map, linesAfter.Map);
  EXPECT_EQ(Current(form->contentsTree)->text(0), "Fresh");
  EXPECT_EQ(form->editor->DocumentTitle(), "Fresh");
}

TEST_F(TreeUndoTest, DeleteIsUndoneWithItsPagesFromTheTrashLinesAndIndexEntries) {
  AddIndexNode(nullptr, "basics", "Proj02.htm", "Basics");
  AddIndexNode(nullptr, "start", "Proj01.htm", "Start");
  form->project.RestoreLines({QStringList{"[FILES]", "Proj01.htm", "Proj02.htm", "Proj03.htm"},
                              form->project.MapLines(), form->project.AliasLines()});
  const HelpProject::Lines linesBefore = form->project.AllLines();
  form->contentsTree->setCurrentIndex(start);
  // As "Delete topic" does once the question is answered, into the trash.
  form->contentsPane->DeleteTopic(start);
  EXPECT_EQ(ContentsShape(), "Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj01.htm")));
  EXPECT_EQ(TopLevelCount(form->indexTree), 0);

  Press(form->contentsTree, Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), TopicPage("Start"));
  EXPECT_EQ(FileBytes(Path("Proj02.htm")), TopicPage("Basics"));
  // The trash lets them go, notes and all.
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("data/Trash/files/Proj01.htm")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("data/Trash/info/Proj01.htm.trashinfo")));
  EXPECT_EQ(form->project.AllLines().Project, linesBefore.Project);
  EXPECT_EQ(form->project.AllLines().Map, linesBefore.Map);
  EXPECT_EQ(TopLevelCount(form->indexTree), 2);
  EXPECT_EQ(Current(form->contentsTree)->text(0), "Start");

  Press(form->contentsTree, Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj02.htm")));
  EXPECT_EQ(TopLevelCount(form->indexTree), 0);
  EXPECT_FALSE(form->project.AllLines().Project.contains("Proj01.htm"));
}

TEST_F(TreeUndoTest, MovesAndRenamesAreUndoneInTurn) {
  form->contentsTree->setCurrentIndex(basics);
  PressIn(form->contentsTree, Qt::Key_Left, Qt::AltModifier);
  EXPECT_EQ(ContentsShape(), "Start,Basics,Last");
  PressIn(form->contentsTree, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(ContentsShape(), "Start,Last,Basics");
  EditCaption(form->contentsTree, basics, "Basic ideas");
  WaitEditorIdle(form->editor);
  EXPECT_EQ(form->editor->DocumentTitle(), "Basic ideas");

  Press(form->contentsTree, Qt::Key_Z);
  EXPECT_EQ(basics->text(0), "Basics");
  EXPECT_EQ(form->editor->DocumentTitle(), "Basics");
  Press(form->contentsTree, Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start,Basics,Last");
  Press(form->contentsTree, Qt::Key_Z);
  EXPECT_EQ(ContentsShape(), "Start(Basics),Last");
  EXPECT_EQ(Current(form->contentsTree)->text(0), "Basics");
  // Redone in the same order.
  Press(form->contentsTree, Qt::Key_Y);
  Press(form->contentsTree, Qt::Key_Y);
  Press(form->contentsTree, Qt::Key_Y);
  EXPECT_EQ(ContentsShape(), "Start,Last,Basic ideas");
  EXPECT_FALSE(RedoItem()->isEnabled());
}

TEST_F(TreeUndoTest, KeywordChangesAreUndoneOnTheSameStack) {
  form->contentsTree->setCurrentIndex(last);
  WaitEditorIdle(form->editor);
  ASSERT_TRUE(form->indexPane->AddKeywordForTopic("printing"));
  form->contentsTree->setCurrentIndex(start);
  WaitEditorIdle(form->editor);
  form->indexTree->setCurrentIndex(TopLevel(form->indexTree, 0));
  form->indexPane->AddTopicToKeyword();
  auto* index = static_cast<IndexModel*>(form->indexTree->model());
  ASSERT_EQ(index->TopicsAt(TopLevel(form->indexTree, 0)).size(), 2u);
  Show(form->indexTree);
  EXPECT_EQ(UndoItem()->text(), "&Undo Add topic to keyword \"printing\"");

  Press(form->indexTree, Qt::Key_Z);
  ASSERT_EQ(TopLevelCount(form->indexTree), 1);
  EXPECT_EQ(index->TopicsAt(TopLevel(form->indexTree, 0)).size(), 1u);
  Press(form->indexTree, Qt::Key_Z);
  EXPECT_EQ(TopLevelCount(form->indexTree), 0);
  Press(form->indexTree, Qt::Key_Y);
  Press(form->indexTree, Qt::Key_Y);
  ASSERT_EQ(TopLevelCount(form->indexTree), 1);
  EXPECT_EQ(index->TopicsAt(TopLevel(form->indexTree, 0)).size(), 2u);
}

}  // namespace
