// Contents editing with the real main window and editor: renaming in place,
// deleting a topic with its subtopics, moving topics by dragging, appending
// links to subtopics, and saving the result.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>

#include "gui_helpers.h"
#include "model/project_reader.h"
#include "project/project_saver.h"
#include "tree_editing_fixture.h"

namespace {

// Captions of a tree, with children in brackets: "A(B,C),D".
QString Shape(const std::vector<ContentsNode>& level) {
  QStringList parts;
  for (const ContentsNode& n : level)
    parts << n.Caption + (n.Children.empty() ? QString() : "(" + Shape(n.Children) + ")");
  return parts.join(',');
}
QString Shape(const std::vector<IndexNode>& level) {
  QStringList parts;
  for (const IndexNode& n : level) {
    QString part = n.Caption;
    if (n.Children.empty() && n.Data) part += "=" + n.Data->FileName;
    if (!n.Children.empty()) part += "(" + Shape(n.Children) + ")";
    parts << part;
  }
  return parts.join(',');
}

class ContentsEditingTest : public TreeEditingFixture {
 protected:
  void SetUp() override {
    TreeEditingFixture::SetUp();
    start = AddTopic(nullptr, "Start", 1);
    basics = AddTopic(start, "Basics", 2);
    details = AddTopic(start, "Details", 3);
    deeper = AddTopic(basics, "Deeper", 4);
    last = AddTopic(nullptr, "Last", 5);
  }
  QString ContentsShape() const { return Shape(ContentsForest(form->TreeView1)); }

  QTreeWidgetItem* start = nullptr;
  QTreeWidgetItem* basics = nullptr;
  QTreeWidgetItem* details = nullptr;
  QTreeWidgetItem* deeper = nullptr;
  QTreeWidgetItem* last = nullptr;
};

using RenameTopicTest = ContentsEditingTest;
using DeleteTopicTest = ContentsEditingTest;
using MoveTopicTest = ContentsEditingTest;

TEST_F(RenameTopicTest, RenamingChangesCaptionTitleAndHeadingButNotAThirdOccurrence) {
  form->TreeView1->setCurrentItem(start);
  ASSERT_EQ(form->DHTMLEdit1->DocumentTitle(), "Start");
  form->Modified = false;
  EditCaption(form->TreeView1, start, "Overview");
  EXPECT_EQ(start->text(0), "Overview");
  EXPECT_TRUE(form->Modified);
  const QString page = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(page.contains("<TITLE>Overview</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>Overview</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("Start is where it begins.")) << page.toStdString();
  EXPECT_EQ(page.count("Start"), 1);
  EXPECT_TRUE(page.endsWith("\r\n"));
  EXPECT_EQ(form->DHTMLEdit1->DocumentTitle(), "Overview");
  // The record stays with the node.
  EXPECT_EQ(ContentsRecord(start)->FileName, "Proj01.htm");
}

TEST_F(RenameTopicTest, APageWithoutTheDocumentTitleChangesOnlyTheCaption) {
  const QByteArray untitled = "<HTML><BODY><P>Last</P></BODY></HTML>\r\n";
  WriteFileBytes(Path("Proj05.htm"), untitled);
  form->TreeView1->setCurrentItem(last);
  form->Modified = false;
  EditCaption(form->TreeView1, last, "Final");
  EXPECT_EQ(last->text(0), "Final");
  EXPECT_TRUE(form->Modified);
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), untitled);
}

TEST_F(RenameTopicTest, TheDocumentTitleIsReplacedNotTheOldCaption) {
  WriteFileBytes(Path("Proj05.htm"),
                 "<HTML><HEAD><TITLE>Other</TITLE></HEAD><BODY><P>Last</P></BODY></HTML>\r\n");
  form->TreeView1->setCurrentItem(last);
  EditCaption(form->TreeView1, last, "Final");
  const QString page = QString::fromLatin1(FileBytes(Path("Proj05.htm")));
  EXPECT_TRUE(page.contains("<P>Last</P>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<TITLE>Final</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
}

TEST_F(RenameTopicTest, ConfirmingTheSameCaptionIsNoRename) {
  form->TreeView1->setCurrentItem(start);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  form->Modified = false;
  // An edit that ends with the same caption is no rename.
  EditCaption(form->TreeView1, start, "Start");
  EXPECT_FALSE(form->Modified);
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
}

TEST_F(RenameTopicTest, OnTheSourceTabTheMemoTakesTheNewTextAndIsStoredLater) {
  form->TreeView1->setCurrentItem(start);
  form->PageControl1->setCurrentIndex(1);
  ASSERT_EQ(form->PageControl1->currentIndex(), 1);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  EditCaption(form->TreeView1, start, "Overview");
  EXPECT_TRUE(form->Memo1->toPlainText().contains("<TITLE>Overview</TITLE>"));
  EXPECT_TRUE(form->Memo1->toPlainText().contains("<H1>Overview</H1>"));
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
  // Moving on stores the renamed page.
  form->TreeView1->setCurrentItem(last);
  EXPECT_TRUE(FileBytes(Path("Proj01.htm")).contains("<TITLE>Overview</TITLE>"));
}

TEST_F(DeleteTopicTest, ATopicGoesWithItsSubtopicsPagesIndexEntriesAndContextLines) {
  // Index entries to the deleted pages: a keyword, a group with two adjacent
  // entries to one page, and a group that keeps one entry to another page.
  AddIndexNode(nullptr, "alpha", "Proj01.htm", "Start");
  QTreeWidgetItem* beta = AddIndexNode(nullptr, "beta", "", "");
  AddIndexNode(beta, "beta", "Proj03.htm", "Details");
  AddIndexNode(beta, "beta", "Proj03.htm", "Details");
  QTreeWidgetItem* group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "deep", "Proj04.htm", "Deeper");
  AddIndexNode(group, "end", "Proj05.htm", "Last");
  AddIndexNode(nullptr, "zeta", "Proj05.htm", "Last");

  // Two subtopics under one topic: a topic with two subtopics and nothing deeper.
  QTreeWidgetItem* deeperParent = deeper->parent();
  delete deeper;
  deeper = nullptr;
  ASSERT_EQ(deeperParent->childCount(), 0);
  QFile::remove(Path("Proj04.htm"));

  form->TreeView1->setCurrentItem(start);
  form->Modified = false;
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  form->Deletetopic1->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, "Delete topic Start and its 2 subtopics?");

  EXPECT_EQ(ContentsShape(), "Last");
  for (const char* gone : {"Proj01.htm", "Proj02.htm", "Proj03.htm"})
    EXPECT_FALSE(QFileInfo::exists(Path(gone))) << gone;
  EXPECT_TRUE(QFileInfo::exists(Path("Proj05.htm")));
  // Six lines gone; the map and alias lines of the others stay.
  EXPECT_EQ(form->MapLines, (QStringList{"#define IDH_Proj04  104", "#define IDH_Proj05  105"}));
  EXPECT_EQ(form->AliasLines, (QStringList{"IDH_Proj04=Proj04.htm", "IDH_Proj05=Proj05.htm"}));
  // Index: alpha and both beta entries are gone; group keeps its entries to other pages.
  EXPECT_EQ(Shape(IndexForest(form->TreeView2)), "group(deep=Proj04.htm,end=Proj05.htm),zeta=Proj05.htm");
  EXPECT_TRUE(form->Modified);
  // The remaining topic is selected and shown.
  EXPECT_EQ(form->TreeView1->currentItem(), last);
  EXPECT_EQ(form->DHTMLEdit1->DocumentTitle(), "Last");
  EXPECT_EQ(form->CurTopic, ContentsRecord(last));
}

TEST_F(DeleteTopicTest, DeletingFoldsAGroupLeftWithOneEntry) {
  QTreeWidgetItem* group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "a", "Proj05.htm", "Last");
  AddIndexNode(group, "b", "Proj04.htm", "Deeper");
  form->TreeView1->setCurrentItem(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->Deletetopic1->trigger();
  EXPECT_EQ(Shape(IndexForest(form->TreeView2)), "group=Proj05.htm");
  EXPECT_EQ(ContentsShape(), "Start(Basics,Details),Last");
  EXPECT_EQ(form->TreeView1->currentItem() ? form->TreeView1->currentItem()->text(0) : QString(), "Basics");
}

TEST_F(DeleteTopicTest, NoKeepsEverything) {
  form->TreeView1->setCurrentItem(basics);
  auto seen = AnswerNextMessageBox(QMessageBox::No);
  form->Deletetopic1->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, "Delete topic Basics and its 1 subtopics?");
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj02.htm")));
  EXPECT_TRUE(QFileInfo::exists(Path("Proj04.htm")));
  EXPECT_EQ(form->MapLines.size(), 5);
  EXPECT_FALSE(form->Modified);
}

TEST_F(DeleteTopicTest, APageStillShownByAnotherTopicStays) {
  auto* twin = new TContentsItem("Twin", std::make_unique<TName>(TName{"Proj05.htm"}));
  start->addChild(twin);
  AddIndexNode(nullptr, "last", "Proj05.htm", "Last");
  form->TreeView1->setCurrentItem(twin);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->Deletetopic1->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj05.htm")));
  EXPECT_EQ(form->TreeView2->topLevelItemCount(), 1);
  EXPECT_TRUE(form->AliasLines.contains("IDH_Proj05=Proj05.htm"));
}

TEST_F(DeleteTopicTest, AHeadingWithoutAPageTouchesNoOtherLines) {
  auto* heading = new TContentsItem("Heading", std::make_unique<TName>());
  form->TreeView1->addTopLevelItem(heading);
  AddIndexNode(nullptr, "blank", "", "");
  form->TreeView1->setCurrentItem(heading);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->Deletetopic1->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_EQ(form->MapLines.size(), 5);
  EXPECT_EQ(form->AliasLines.size(), 5);
  EXPECT_EQ(form->TreeView2->topLevelItemCount(), 1);
  EXPECT_TRUE(QFileInfo::exists(dir.path()));
}

TEST_F(MoveTopicTest, DroppingOnItsOwnSubtopicChangesNothing) {
  start->setExpanded(true);
  basics->setExpanded(true);
  form->TreeView1->setCurrentItem(start);
  form->Modified = false;
  const DropResult result = DragTopicTo(OnLabel(form->TreeView1, deeper));
  EXPECT_TRUE(result.DropAccepted);
  EXPECT_NE(result.Action, Qt::MoveAction);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(form->Modified);
  // Onto itself, likewise.
  DragTopicTo(OnLabel(form->TreeView1, start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
}

TEST_F(MoveTopicTest, DroppingBelowTheItemsMovesTheSubtreeToTheEnd) {
  start->setExpanded(true);
  form->TreeView1->setCurrentItem(basics);
  const DropResult result = DragTopicTo(BelowItems(form->TreeView1));
  EXPECT_TRUE(result.DropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Details),Last,Basics(Deeper)");
  EXPECT_EQ(ContentsRecord(basics)->FileName, "Proj02.htm");
  EXPECT_EQ(ContentsRecord(basics->child(0))->FileName, "Proj04.htm");
  EXPECT_EQ(form->TreeView1->currentItem(), basics);
  EXPECT_TRUE(form->Modified);
}

TEST_F(MoveTopicTest, OnAnItemBecomesItsLastChildInItsIndentationGoesBeforeIt) {
  start->setExpanded(true);
  form->TreeView1->setCurrentItem(last);
  DragTopicTo(OnLabel(form->TreeView1, details));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details(Last))");
  EXPECT_TRUE(details->isExpanded());
  // Into the indentation of Basics: before it, at its level.
  const QRect label = ItemLabelRect(form->TreeView1, basics);
  DragTopicTo(QPoint(label.left() - form->TreeView1->indentation() - 5, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Last,Basics(Deeper),Details)");
  // Right of a label: before that item too.
  form->TreeView1->setCurrentItem(details);
  const QRect startLabel = ItemLabelRect(form->TreeView1, start);
  DragTopicTo(QPoint(startLabel.right() + 30, startLabel.center().y()));
  EXPECT_EQ(ContentsShape(), "Details,Start(Last,Basics(Deeper))");
}

TEST_F(MoveTopicTest, AnExpandButtonOrAForeignDragChangesNothing) {
  form->TreeView1->setCurrentItem(last);
  form->Modified = false;
  const QRect label = ItemLabelRect(form->TreeView1, start);
  DragTopicTo(QPoint(label.left() - form->TreeView1->indentation() / 2, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(form->Modified);
  // Text from elsewhere is no topic.
  QMimeData text;
  text.setText("Start");
  const DropResult foreign = SendDrop(form->TreeView1->viewport(), BelowItems(form->TreeView1), &text);
  EXPECT_FALSE(foreign.EnterAccepted);
  EXPECT_FALSE(foreign.DropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(form->Modified);
}

TEST_F(MoveTopicTest, AMoveNeitherStoresNorLoadsAPage) {
  form->TreeView1->setCurrentItem(last);
  FocusEditor();
  QVariant arg = 0;
  form->DHTMLEdit1->ExecCommand(decmd::SelectAll, decmd::Default, arg);
  form->DHTMLEdit1->ExecCommand(decmd::Bold, decmd::Default, arg);
  WaitEditorIdle(form->DHTMLEdit1);
  ASSERT_TRUE(StatusEnabled(form->DHTMLEdit1->QueryStatus(decmd::Undo)));
  const QByteArray before = FileBytes(Path("Proj05.htm"));
  DragTopicTo(OnLabel(form->TreeView1, start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details,Last)");
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), before);
  EXPECT_TRUE(StatusEnabled(form->DHTMLEdit1->QueryStatus(decmd::Undo)));
  EXPECT_EQ(form->TreeView1->currentItem(), last);
}

TEST_F(ContentsEditingTest, AppendLinksAddsABreakAndOneLinkPerDirectChild) {
  form->TreeView1->setCurrentItem(start);
  form->PopupMenu1Popup();
  ASSERT_TRUE(form->Appendlinkstosubtopics1->isEnabled());
  form->Modified = false;
  form->Appendlinkstosubtopics1->trigger();
  const QString html = form->DHTMLEdit1->DocumentHTML();
  const QRegularExpression links(
      "Start is where it begins\\.</P>\\s*<BR>\\s*<A href=\"Proj02\\.htm\">Basics</A>\\s*<BR>\\s*"
      "<A href=\"Proj03\\.htm\">Details</A>\\s*<BR>",
      QRegularExpression::CaseInsensitiveOption);
  EXPECT_TRUE(links.match(html).hasMatch()) << html.toStdString();
  EXPECT_FALSE(html.contains("Proj04.htm"));  // no link to a deeper descendant
  EXPECT_FALSE(form->Modified);
  EXPECT_TRUE(StatusEnabled(form->DHTMLEdit1->QueryStatus(decmd::Undo)));
}

TEST_F(ContentsEditingTest, AppendLinksEscapesCaptionsAndFileNames) {
  auto* odd = new TContentsItem("Fish & <Chips>", std::make_unique<TName>(TName{"a\"b.htm"}));
  last->addChild(odd);
  form->TreeView1->setCurrentItem(last);
  form->Appendlinkstosubtopics1->trigger();
  const QString html = form->DHTMLEdit1->DocumentHTML();
  EXPECT_TRUE(html.contains("Fish &amp; &lt;Chips&gt;</A>", Qt::CaseInsensitive)) << html.toStdString();
  EXPECT_FALSE(html.contains("<Chips>", Qt::CaseInsensitive));
}

TEST_F(ContentsEditingTest, EditedTreesAreSavedAndReadBackAlike) {
  // A rename, a move, a deletion and index entries.
  form->TreeView1->setCurrentItem(start);
  EditCaption(form->TreeView1, start, "Overview");
  start->setExpanded(true);
  form->TreeView1->setCurrentItem(details);
  DragTopicTo(BelowItems(form->TreeView1));
  form->TreeView1->setCurrentItem(last);
  FocusEditor();
  DropText(BelowItems(form->TreeView2), "printing");
  form->TreeView1->setCurrentItem(details);
  FocusEditor();
  DropText(OnLabel(form->TreeView2, form->TreeView2->topLevelItem(0)), "paper");
  form->TreeView1->setCurrentItem(basics);
  FocusEditor();
  DropText(BelowItems(form->TreeView2), "basics");
  form->TreeView1->setCurrentItem(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->Deletetopic1->trigger();

  const QString contents = ContentsShape();
  const QString index = Shape(IndexForest(form->TreeView2));
  EXPECT_EQ(contents, "Overview(Basics),Last,Details");
  EXPECT_EQ(index, "basics=Proj02.htm,printing(paper=Proj03.htm,printing=Proj05.htm)");

  QStringList projectLines = form->ProjectLines;
  EXPECT_TRUE(SaveProjectFiles({form->ProjectFile, ContentsForest(form->TreeView1),
                                IndexForest(form->TreeView2), form->MapLines, form->AliasLines},
                               projectLines, form->SettingsPath)
                  .Ok());
  const ProjectFiles read = ReadProjectFiles(form->ProjectFile);
  EXPECT_EQ(Shape(read.Contents), contents);
  EXPECT_EQ(Shape(read.Index), index);
  EXPECT_EQ(read.MapLines, form->MapLines);
  EXPECT_EQ(read.AliasLines, form->AliasLines);
}

}  // namespace
