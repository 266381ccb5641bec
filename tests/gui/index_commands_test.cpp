// The keyword commands with the real main window: "New keyword", "Add topic
// to keyword" and "Remove topic from keyword" from the Index menu, the Index
// pop-up and their keys; drops on a keyword; a keyword with several topics
// as one line, saved as one item; a click on the selected item, then Del.
#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

#include "formats/sitemap/sitemap_writer.h"
#include "gui_helpers.h"
#include "panes/index_pane.h"
#include "tree_editing_fixture.h"
#include "tests/gui/window_parts.h"

namespace {

class IndexCommandsTest : public TwoTopicsFixture {
 protected:
  IndexModel* Index() const {
    return static_cast<IndexModel*>(Widget<QTreeView>(*form, "indexTree")->model());
  }
  // The files of a keyword's topics, in order.
  QStringList TopicFiles(const QModelIndex& keyword) const {
    QStringList files;
    for (const IndexEntryData* topic : Index()->TopicsAt(keyword)) files << topic->fileName;
    return files;
  }
  QAction* Item(const char* name) const { return form->findChild<QAction*>(name); }
  // The item of that name in a menu of the menu bar, by its caption.
  QAction* MenuBarItem(const QString& menuCaption, const QString& itemName) const {
    for (QAction* top : form->menuBar()->actions())
      if (top->text() == menuCaption && top->menu())
        for (QAction* item : top->menu()->actions())
          if (item->objectName() == itemName) return item;
    return nullptr;
  }
  void AnswerKeyword(const QString& keyword) {
    OnNextDialog<QInputDialog>([keyword](QInputDialog* d) {
      d->setTextValue(keyword);
      d->accept();
    });
  }
};

TEST_F(IndexCommandsTest, NewKeywordByKeyAskedForTheTopicJoinsAKeywordOfTheSameText) {
  AnswerKeyword("  printing ");
  PressIn(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_K, Qt::ControlModifier);
  ASSERT_TRUE(ProcessEventsUntil([&] { return TopLevelCount(Widget<QTreeView>(*form, "indexTree")) == 1; }));
  const TreeItem printing = TopLevel(Widget<QTreeView>(*form, "indexTree"), 0);
  EXPECT_EQ(printing->text(0), "printing");
  EXPECT_EQ(TopicFiles(printing), QStringList{"Proj01.htm"});
  EXPECT_TRUE(ProjectOf(*form).IsModified());

  // The same keyword for the other topic, from the Index menu: still one line.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(paper);
  QAction* newKeyword = MenuBarItem("&Index", "newKeywordAction");
  ASSERT_NE(newKeyword, nullptr);
  AnswerKeyword("printing");
  newKeyword->trigger();
  ASSERT_TRUE(ProcessEventsUntil([&] { return TopicFiles(printing).size() == 2; }));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(printing->childCount(), 0);
  EXPECT_EQ(TopicFiles(printing), (QStringList{"Proj01.htm", "Proj02.htm"}));
  const QString tip = QModelIndex(printing).data(Qt::ToolTipRole).toString();
  EXPECT_TRUE(tip.contains("Printer setup") && tip.contains("Paper sizes")) << tip.toStdString();

  // Written as one item with two name/local pairs.
  const QString hhk = IndexFileText(IndexForest(Widget<QTreeView>(*form, "indexTree")));
  EXPECT_EQ(hhk.count("<OBJECT type=\"text/sitemap\">"), 1) << hhk.toStdString();
  EXPECT_EQ(hhk.count("<param name=\"Keyword\" value=\"printing\">"), 1);
  EXPECT_TRUE(
      hhk.contains("<param name=\"Name\" value=\"Printer setup\">\r\n<param name=\"Local\" "
                   "value=\"Proj01.htm\">\r\n<param name=\"Name\" value=\"Paper sizes\">\r\n"
                   "<param name=\"Local\" value=\"Proj02.htm\">\r\n</OBJECT>"))
      << hhk.toStdString();

  // A blank keyword is refused with a message.
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  EXPECT_FALSE(Controller<IndexPane>(*form)->AddKeywordForTopic(" \r\n"));
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
}

TEST_F(IndexCommandsTest, ADropOnAKeywordOfTheSameTextAddsItsTopicNotASubEntry) {
  const TreeItem widget = AddIndexNode(nullptr, "widget", "Proj01.htm", "Printer setup");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(paper);
  FocusEditor();
  DropText(OnLabel(Widget<QTreeView>(*form, "indexTree"), widget), "Widget ");
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_EQ(widget->childCount(), 0);
  EXPECT_EQ(TopicFiles(widget), (QStringList{"Proj01.htm", "Proj02.htm"}));
  // The same topic again adds nothing.
  FocusEditor();
  DropText(OnLabel(Widget<QTreeView>(*form, "indexTree"), widget), "widget");
  EXPECT_EQ(TopicFiles(widget), (QStringList{"Proj01.htm", "Proj02.htm"}));
  // Other text on the keyword is a keyword under it; the keyword keeps its topics.
  FocusEditor();
  DropText(OnLabel(Widget<QTreeView>(*form, "indexTree"), widget), "sizes");
  ASSERT_EQ(widget->childCount(), 1);
  EXPECT_EQ(widget->child(0)->text(0), "sizes");
  EXPECT_EQ(TopicFiles(widget), (QStringList{"Proj01.htm", "Proj02.htm"}));
}

TEST_F(IndexCommandsTest, AddAndRemoveTopicFromTheSelectedKeywordByPopupAndKeys) {
  const TreeItem printing = AddIndexNode(nullptr, "printing", "Proj01.htm", "Printer setup");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(paper);
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(printing);
  auto* popup = form->findChild<QMenu*>("indexMenu");
  ASSERT_NE(popup, nullptr);
  ASSERT_TRUE(popup->actions().contains(Item("addTopicToKeywordAction")));
  ASSERT_TRUE(popup->actions().contains(Item("removeTopicFromKeywordAction")));
  Controller<IndexPane>(*form)->PrepareMenu();
  ASSERT_TRUE(Item("addTopicToKeywordAction")->isEnabled());
  Item("addTopicToKeywordAction")->trigger();
  EXPECT_EQ(TopicFiles(printing), (QStringList{"Proj01.htm", "Proj02.htm"}));
  // It leads there now: nothing more to add.
  EXPECT_FALSE(Item("addTopicToKeywordAction")->isEnabled());
  const QString properties = IndexPropertiesText(IndexRecord(printing));
  EXPECT_TRUE(properties.contains("File name: Proj01.htm") && properties.contains("File name: Proj02.htm"));

  // Ctrl+Alt+K on the Index tree: the topic being edited leaves the keyword.
  PressIn(Widget<QTreeView>(*form, "indexTree"), Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(TopicFiles(printing), QStringList{"Proj01.htm"});
  // Its only topic: the keyword goes.
  Item("removeTopicFromKeywordAction")->trigger();
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  EXPECT_FALSE(Item("removeTopicFromKeywordAction")->isEnabled());
}

TEST_F(IndexCommandsTest, AnIndexFileWithDuplicateLinesOpensAsOneKeywordAndKeepsEveryTopic) {
  const QByteArray hhk =
      "<HTML><BODY><UL>\r\n"
      "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"widget\">"
      "<param name=\"Name\" value=\"Printer setup\"><param name=\"Local\" value=\"Proj01.htm\"></OBJECT>\r\n"
      "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Keyword\" value=\"widget\">"
      "<param name=\"Name\" value=\"Paper sizes\"><param name=\"Local\" value=\"Proj02.htm\"></OBJECT>\r\n"
      "</UL></BODY></HTML>\r\n";
  PutFile(Path("Proj.hhk"), hhk);
  PutFile(Path("Proj.hhp"), "[OPTIONS]\r\nIndex file=Proj.hhk\r\nTitle=Proj\r\n");
  ProjectOf(*form).SetModified(false);
  Controller<ProjectCommands>(*form)->OpenByName(Path("Proj.hhp"));
  ASSERT_TRUE(ProcessEventsUntil([&] { return TopLevelCount(Widget<QTreeView>(*form, "indexTree")) == 1; }));
  const TreeItem widget = TopLevel(Widget<QTreeView>(*form, "indexTree"), 0);
  EXPECT_EQ(widget->childCount(), 0);
  EXPECT_EQ(TopicFiles(widget), (QStringList{"Proj01.htm", "Proj02.htm"}));
  // Saved unchanged, the file keeps both items as they were.
  const QString written = IndexFileText(IndexForest(Widget<QTreeView>(*form, "indexTree")));
  EXPECT_TRUE(written.contains("Proj01.htm") && written.contains("Proj02.htm"));
  EXPECT_EQ(written.count("value=\"widget\""), 2);
}

TEST_F(IndexCommandsTest, AClickOnTheSelectedTopicStartsNoRenameAndDelAsksToDeleteIt) {
  Show(Widget<QTreeView>(*form, "contentsTree"));
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  Widget<QTreeView>(*form, "contentsTree")->setFocus();
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(paper);
  QTest::mouseClick(Widget<QTreeView>(*form, "contentsTree")->viewport(), Qt::LeftButton, {},
                    OnLabel(Widget<QTreeView>(*form, "contentsTree"), paper));
  // Past the double-click time, when a rename on click would have started.
  QTest::qWait(QApplication::doubleClickInterval() + 200);
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->viewport()->findChild<QLineEdit*>(), nullptr);
  auto seen = AnswerNextMessageBox(QMessageBox::No);
  QTest::keyClick(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_Delete);
  EXPECT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.startsWith("Delete topic Paper sizes")) << seen->text.toStdString();
  EXPECT_EQ(paper->text(0), "Paper sizes");
  // F2 still renames.
  QTest::keyClick(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_F2);
  EXPECT_NE(Widget<QTreeView>(*form, "contentsTree")->viewport()->findChild<QLineEdit*>(), nullptr);
}

}  // namespace
