// Index editing with the real main window: text dropped from the editor onto
// the Index tree, "Delete" with folding, "Properties", caption edits.
#include <QAction>
#include <QMessageBox>

#include "gui_helpers.h"
#include "panes/index_pane.h"
#include "model/index_rules.h"
#include "tree_editing_fixture.h"
#include "tests/gui/window_parts.h"

namespace {

TreeItem ChildNamed(TreeItem parent, const QString& caption) {
  for (int i = 0; i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == caption) return parent->child(i);
  return nullptr;
}

class IndexEditingTest : public TwoTopicsFixture {
 protected:
  void SetUp() override {
    TwoTopicsFixture::SetUp();
    FocusEditor();
  }
};

TEST_F(IndexEditingTest, DropsBuildAKeywordThenKeywordsUnderIt) {
  QTreeView* index = Widget<QTreeView>(*form, "indexTree");
  ASSERT_EQ(TopLevelCount(index), 0);
  // printing on the empty tree: a keyword leading to the selected topic.
  const DropResult first = DropText(BelowItems(index), "printing");
  EXPECT_TRUE(first.enterAccepted);
  EXPECT_TRUE(first.dropAccepted);
  EXPECT_EQ(first.action, Qt::CopyAction);
  ASSERT_EQ(TopLevelCount(index), 1);
  TreeItem printing = TopLevel(index, 0);
  EXPECT_EQ(printing->text(0), "printing");
  const IndexEntryData* record = IndexRecord(printing);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->keyword, "printing");
  EXPECT_EQ(record->fileName, "Proj01.htm");
  EXPECT_EQ(record->topicCaption, "Printer setup");
  EXPECT_TRUE(ProjectOf(*form).IsModified());

  // paper on printing, with the other topic selected: a keyword under
  // printing, which keeps its own topic.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(paper);
  FocusEditor();
  DropText(OnLabel(index, printing), "paper");
  ASSERT_EQ(TopLevelCount(index), 1);
  ASSERT_EQ(printing->childCount(), 1);
  TreeItem added = ChildNamed(printing, "paper");
  ASSERT_TRUE(added);
  EXPECT_EQ(IndexRecord(added)->fileName, "Proj02.htm");
  EXPECT_EQ(IndexRecord(added)->topicCaption, "Paper sizes");
  EXPECT_EQ(IndexRecord(printing), record);
  EXPECT_EQ(record->fileName, "Proj01.htm");

  // Text on a child entry joins that keyword, without its blanks and line break.
  DropText(OnLabel(index, added), "  toner \r\n");
  ASSERT_EQ(TopLevelCount(index), 1);
  ASSERT_EQ(printing->childCount(), 2);
  TreeItem toner = ChildNamed(printing, "toner");
  ASSERT_NE(toner, nullptr);
  EXPECT_EQ(IndexRecord(toner)->keyword, "toner");
  EXPECT_EQ(IndexRecord(toner)->fileName, "Proj02.htm");
  // Sorted by caption.
  EXPECT_EQ(printing->child(1), toner);
}

TEST_F(IndexEditingTest, IndentationAndRightOfLabelAddSiblingsAtTheirLevel) {
  QTreeView* index = Widget<QTreeView>(*form, "indexTree");
  TreeItem keyword = AddIndexNode(nullptr, "margins", "Proj02.htm", "Paper sizes");
  TreeItem child = AddIndexNode(keyword, "left", "Proj02.htm", "Paper sizes");
  AddIndexNode(keyword, "right", "Proj01.htm", "Printer setup");
  Widget<QTreeView>(*form, "indexTree")->expand(keyword);
  Show(index);
  const QRect childLabel = ItemLabelRect(index, child);
  // The first indentation slot of the child's row: not its keyword's button.
  DropText(QPoint(childLabel.left() - 2 * index->indentation() + 3, childLabel.center().y()), "centre");
  EXPECT_EQ(keyword->childCount(), 3);
  EXPECT_NE(ChildNamed(keyword, "centre"), nullptr);
  // Right of a keyword's label: a new keyword.
  const QRect keyLabel = ItemLabelRect(index, keyword);
  ASSERT_LT(keyLabel.right() + 20, index->viewport()->width());
  DropText(QPoint(keyLabel.right() + 20, keyLabel.center().y()), "zoom");
  EXPECT_EQ(TopLevelCount(index), 2);
  EXPECT_EQ(TopLevel(index, 1)->text(0), "zoom");
  EXPECT_EQ(TopLevel(index, 1)->childCount(), 0);
  // On the keyword's expand button: nothing is added, yet the project counts as changed.
  ProjectOf(*form).SetModified(false);
  DropText(QPoint(keyLabel.left() - index->indentation() / 2, keyLabel.center().y()), "button");
  EXPECT_EQ(TopLevelCount(index), 2);
  EXPECT_EQ(keyword->childCount(), 3);
  EXPECT_TRUE(ProjectOf(*form).IsModified());
}

TEST_F(IndexEditingTest, LongTextGivesAKeywordOf255Characters) {
  DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), QString(300, QChar('w')));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)->text(0).size(), 255);
  EXPECT_EQ(IndexRecord(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0))->keyword,
            QString(255, QChar('w')));
}

TEST_F(IndexEditingTest, WithoutASelectedTopicTheDropAddsNothingAndSaysWhy) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(QModelIndex());
  Widget<QTreeView>(*form, "contentsTree")->clearSelection();
  ASSERT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")), nullptr);
  FocusEditor();
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), "orphan");
  ASSERT_TRUE(QTest::qWaitFor([&] { return seen->shown; }, 5000));
  EXPECT_TRUE(seen->text.contains("select the topic")) << seen->text.toStdString();
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  EXPECT_FALSE(ProjectOf(*form).IsModified());
}

TEST_F(IndexEditingTest, TextNotFromTheEditorAndTreeNodesAreRefused) {
  // The source view has the focus: the text does not come from the editor.
  Widget<QPlainTextEdit>(*form, "sourceView")->setFocus();
  QApplication::processEvents();
  EXPECT_FALSE(DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), "memo text").dropAccepted);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  // A tree node dragged onto the Index tree carries no text.
  FocusEditor();
  QMimeData nodes;
  nodes.setData("application/x-qabstractitemmodeldatalist", QByteArray("x"));
  EXPECT_FALSE(SendDrop(Widget<QTreeView>(*form, "indexTree")->viewport(),
                        BelowItems(Widget<QTreeView>(*form, "indexTree")), &nodes)
                   .dropAccepted);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  EXPECT_FALSE(ProjectOf(*form).IsModified());
}

TEST_F(IndexEditingTest, DeletingOneOfTwoChildrenFoldsTheOther) {
  TreeItem printing = AddIndexNode(nullptr, "printing", "Proj01.htm", "Printer setup");
  AddIndexNode(printing, "printing", "Proj01.htm", "Printer setup");
  TreeItem child = AddIndexNode(printing, "paper", "Proj02.htm", "Paper sizes");
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(child);
  Controller<IndexPane>(*form)->PrepareMenu();
  ASSERT_TRUE(Action(*form, "deleteIndexEntryAction")->isEnabled());
  Action(*form, "deleteIndexEntryAction")->trigger();
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(printing->childCount(), 0);
  EXPECT_EQ(printing->text(0), "printing");
  EXPECT_EQ(IndexRecord(printing)->fileName, "Proj01.htm");
  EXPECT_EQ(IndexRecord(printing)->topicCaption, "Printer setup");
  EXPECT_TRUE(ProjectOf(*form).IsModified());

  // The other way round: the remaining child's topic moves up to a pure group keyword.
  TreeItem group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "first", "Proj01.htm", "Printer setup");
  TreeItem second = AddIndexNode(group, "second", "Proj02.htm", "Paper sizes");
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(ChildNamed(group, "first"));
  Action(*form, "deleteIndexEntryAction")->trigger();
  EXPECT_EQ(group->childCount(), 0);
  (void)second;
  EXPECT_EQ(IndexRecord(group)->keyword, "group");
  EXPECT_EQ(IndexRecord(group)->fileName, "Proj02.htm");
  EXPECT_EQ(IndexRecord(group)->topicCaption, "Paper sizes");
}

TEST_F(IndexEditingTest, DeletingAKeywordTakesItsChildren) {
  TreeItem keyword = AddIndexNode(nullptr, "k", "", "");
  AddIndexNode(keyword, "a", "Proj01.htm", "Printer setup");
  AddIndexNode(keyword, "b", "Proj02.htm", "Paper sizes");
  AddIndexNode(nullptr, "other", "Proj02.htm", "Paper sizes");
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(keyword);
  Action(*form, "deleteIndexEntryAction")->trigger();
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)->text(0), "other");
}

TEST_F(IndexEditingTest, PropertiesShowTheFieldsThatAreSet) {
  TreeItem group = AddIndexNode(nullptr, "printing", "", "");
  TreeItem entry = AddIndexNode(group, "paper", "Proj02.htm", "Paper sizes");
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(group);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "indexPropertiesAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, "Index item properties \r\nKeyword: printing\r\n");
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(entry);
  seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "indexPropertiesAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(
      seen->text,
      "Index item properties \r\nKeyword: paper\r\nTopic caption: Paper sizes\r\nFile name: Proj02.htm\r\n");
}

TEST_F(IndexEditingTest, CaptionEditChangesOnlyTheCaption) {
  TreeItem node = AddIndexNode(nullptr, "printing", "Proj01.htm", "Printer setup");
  ProjectOf(*form).SetModified(false);
  EditCaption(Widget<QTreeView>(*form, "indexTree"), node, "printers");
  EXPECT_EQ(node->text(0), "printers");
  EXPECT_EQ(IndexRecord(node)->keyword, "printing");
  EXPECT_EQ(IndexRecord(node)->fileName, "Proj01.htm");
  // A rename is a change to save.
  EXPECT_TRUE(ProjectOf(*form).IsModified());
}

TEST_F(IndexEditingTest, TheDropTargetIsRegisteredOnceOnShow) {
  EXPECT_TRUE(Controller<IndexPane>(*form)->DropTargetSet());
  ASSERT_NE(Controller<IndexPane>(*form)->DropTarget(), nullptr);
  form->hide();
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  // A second registration would add the entry twice.
  FocusEditor();
  DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), "once");
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
}

}  // namespace
