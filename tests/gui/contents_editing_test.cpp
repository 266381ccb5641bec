// Contents editing with the real main window and editor: renaming in place,
// deleting a topic with its subtopics, moving topics by dragging, appending
// links to subtopics, and saving the result.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QToolButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTabWidget>
#include <optional>

#include "editor_script.h"
#include "gui_helpers.h"
#include "model/project_reader.h"
#include "model/project_saver.h"
#include "tree_editing_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

// Captions of the Index tree, with each entry's page: "a=x.htm,b(c=y.htm)".
QString Shape(const std::vector<IndexNode>& level) {
  QStringList parts;
  for (const IndexNode& n : level) {
    QString part = n.caption;
    if (n.children.empty() && n.data) part += "=" + n.data->fileName;
    if (!n.children.empty()) part += "(" + Shape(n.children) + ")";
    parts << part;
  }
  return parts.join(',');
}

class ContentsEditingTest : public OwnTrashFixture {
 protected:
  void SetUp() override {
    OwnTrashFixture::SetUp();
    start = AddTopic(nullptr, "Start", 1);
    basics = AddTopic(start, "Basics", 2);
    details = AddTopic(start, "Details", 3);
    deeper = AddTopic(basics, "Deeper", 4);
    last = AddTopic(nullptr, "Last", 5);
  }
  QString Trashed(const QString& file) const { return dir.filePath("data/Trash/files/" + file); }

  TreeItem start = nullptr;
  TreeItem basics = nullptr;
  TreeItem details = nullptr;
  TreeItem deeper = nullptr;
  TreeItem last = nullptr;
};

using RenameTopicTest = ContentsEditingTest;
using DeleteTopicTest = ContentsEditingTest;
using MoveTopicTest = ContentsEditingTest;

TEST_F(RenameTopicTest, RenamingChangesCaptionTitleAndHeadingButNotAThirdOccurrence) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  ASSERT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Start");
  ProjectOf(*form).SetModified(false);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, "Overview");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(start->text(0), "Overview");
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  const QString page = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(page.contains("<TITLE>Overview</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>Overview</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("Start is where it begins.")) << page.toStdString();
  EXPECT_EQ(page.count("Start"), 1);
  EXPECT_TRUE(page.endsWith("\r\n"));
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Overview");
  // The record stays with the node.
  EXPECT_EQ(ContentsRecord(start)->fileName, "Proj01.htm");
}

TEST_F(RenameTopicTest, TitlesAreEscapedInThePageAndBlankOnesAreRefused) {
  const QString title = "Tips & Tricks <v2> \"quoted\"";
  const QString escaped = "Tips &amp; Tricks &lt;v2&gt; &quot;quoted&quot;";
  // Rename in place.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, title);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  QString page = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(page.contains("<TITLE>" + escaped + "</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>" + escaped + "</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), title);
  // A blank caption is refused with a message; the caption and page stay.
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, "  ");
  EXPECT_TRUE(ProcessEventsUntil([&] { return seen->shown; }));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(start->text(0), title);
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
  // A new topic: its page from the template holds the title escaped; a blank one is refused.
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("A <b> & c"));
  page = QString::fromLatin1(FileBytes(Path("Proj06.htm")));
  EXPECT_TRUE(page.contains("<TITLE>A &lt;b&gt; &amp; c</TITLE>")) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>A &lt;b&gt; &amp; c</H1>")) << page.toStdString();
  const int topics = TopLevelCount(Widget<QTreeView>(*form, "contentsTree"));
  seen = AnswerNextMessageBox(QMessageBox::Ok);
  EXPECT_FALSE(Controller<ContentsPane>(*form)->CreateTopic(""));
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), topics);
  EXPECT_FALSE(QFileInfo::exists(Path("Proj07.htm")));
}

TEST_F(RenameTopicTest, APageThatLostItsTitleTakesTheNewOneIntoTitleAndHeading) {
  PutFile(Path("Proj05.htm"),
          "<HTML><HEAD><TITLE></TITLE></HEAD><BODY><H1></H1><P>Last</P></BODY></HTML>\r\n");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), last, "Back again");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString page = QString::fromLatin1(FileBytes(Path("Proj05.htm")));
  EXPECT_TRUE(page.contains("<TITLE>Back again</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>Back again</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<P>Last</P>", Qt::CaseInsensitive)) << page.toStdString();
}

TEST_F(RenameTopicTest, APageWithoutTheDocumentTitleChangesOnlyTheCaption) {
  const QByteArray untitled = "<HTML><BODY><P>Last</P></BODY></HTML>\r\n";
  PutFile(Path("Proj05.htm"), untitled);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  ProjectOf(*form).SetModified(false);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), last, "Final");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(last->text(0), "Final");
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), untitled);
}

TEST_F(RenameTopicTest, TheDocumentTitleIsReplacedNotTheOldCaption) {
  PutFile(Path("Proj05.htm"), "<HTML><HEAD><TITLE>Other</TITLE></HEAD><BODY><P>Last</P></BODY></HTML>\r\n");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), last, "Final");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString page = QString::fromLatin1(FileBytes(Path("Proj05.htm")));
  EXPECT_TRUE(page.contains("<P>Last</P>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<TITLE>Final</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
}

TEST_F(RenameTopicTest, ConfirmingTheSameCaptionIsNoRename) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  ProjectOf(*form).SetModified(false);
  // An edit that ends with the same caption is no rename.
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, "Start");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
}

TEST_F(RenameTopicTest, OnTheSourceTabTheMemoTakesTheNewTextAndIsStoredLater) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, "Overview");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("<TITLE>Overview</TITLE>"));
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("<H1>Overview</H1>"));
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
  // Moving on stores the renamed page.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  EXPECT_TRUE(FileBytes(Path("Proj01.htm")).contains("<TITLE>Overview</TITLE>"));
}

TEST_F(DeleteTopicTest, ATopicGoesWithItsSubtopicsPagesIndexEntriesAndContextLines) {
  // Index entries to the deleted pages: a keyword, a group with two adjacent
  // entries to one page, and a group that keeps one entry to another page.
  AddIndexNode(nullptr, "alpha", "Proj01.htm", "Start");
  TreeItem beta = AddIndexNode(nullptr, "beta", "", "");
  AddIndexNode(beta, "beta", "Proj03.htm", "Details");
  AddIndexNode(beta, "beta", "Proj03.htm", "Details");
  TreeItem group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "deep", "Proj04.htm", "Deeper");
  AddIndexNode(group, "end", "Proj05.htm", "Last");
  AddIndexNode(nullptr, "zeta", "Proj05.htm", "Last");

  // Two subtopics under one topic: a topic with two subtopics and nothing deeper.
  TreeItem deeperParent = deeper->parent();
  ContentsModelOf(*form)->Remove(deeper);
  deeper = nullptr;
  ASSERT_EQ(deeperParent->childCount(), 0);
  QFile::remove(Path("Proj04.htm"));

  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  ProjectOf(*form).SetModified(false);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(
      seen->text,
      "Delete topic Start and its 2 subtopics?\n\n3 index entries lead to its pages and will be removed.\n\n"
      "3 page files will be moved to the trash.");

  EXPECT_EQ(ContentsShape(), "Last");
  // The pages are in the trash, whole, with the notes that bring them back.
  for (const char* gone : {"Proj01.htm", "Proj02.htm", "Proj03.htm"}) {
    EXPECT_FALSE(QFileInfo::exists(Path(gone))) << gone;
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QString("data/Trash/info/%1.trashinfo").arg(gone)))) << gone;
  }
  EXPECT_EQ(FileBytes(Trashed("Proj01.htm")), TopicPage("Start"));
  EXPECT_EQ(FileBytes(Trashed("Proj03.htm")), TopicPage("Details"));
  EXPECT_TRUE(QFileInfo::exists(Path("Proj05.htm")));
  // Six lines gone; the map and alias lines of the others stay.
  EXPECT_EQ(ProjectOf(*form).MapLines(), (QStringList{"#define IDH_Proj04  104", "#define IDH_Proj05  105"}));
  EXPECT_EQ(ProjectOf(*form).AliasLines(), (QStringList{"IDH_Proj04=Proj04.htm", "IDH_Proj05=Proj05.htm"}));
  // Index: alpha and both beta entries are gone; group keeps its entries to other pages.
  EXPECT_EQ(Shape(IndexForest(Widget<QTreeView>(*form, "indexTree"))),
            "group(deep=Proj04.htm,end=Proj05.htm),zeta=Proj05.htm");
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  // The remaining topic is selected and shown.
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")), last);
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Last");
  ASSERT_TRUE(ProjectOf(*form).CurrentTopic().has_value());
  EXPECT_EQ(ProjectOf(*form).CurrentTopic()->fileName, ContentsRecord(last)->fileName);
}

TEST_F(DeleteTopicTest, FilesLinesAndIndexEntriesNamingThePagesOtherwiseGoToo) {
  // As a decompiled or hand-made project names its pages: "\", other case, anchors.
  PutFile(
      Path("Proj.hhp"),
      "[OPTIONS]\r\nTitle=Proj\r\n\r\n[FILES]\r\nProj01.htm\r\nPROJ02.HTM\r\n.\\Proj03.htm\r\nProj05.htm\r\n"
      "\r\n[INFOTYPES]\r\nProj02.htm\r\n");
  ASSERT_TRUE(ProjectOf(*form).Open(Path("Proj.hhp")).Ok());
  AddIndexNode(nullptr, "anchor", "Proj03.htm#part", "Details");
  AddIndexNode(nullptr, "case", "proj02.HTM", "Basics");
  AddIndexNode(nullptr, "other", "Proj05.htm", "Last");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("2 index entries lead to its pages")) << seen->text.toStdString();
  EXPECT_EQ(Shape(IndexForest(Widget<QTreeView>(*form, "indexTree"))), "other=Proj05.htm");
  EXPECT_EQ(ProjectOf(*form).ProjectLines(), (QStringList{"[OPTIONS]", "Title=Proj", "", "[FILES]",
                                                          "Proj05.htm", "", "[INFOTYPES]", "Proj02.htm"}));
}

TEST_F(DeleteTopicTest, DeletingFoldsAGroupLeftWithOneEntry) {
  TreeItem group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "a", "Proj05.htm", "Last");
  AddIndexNode(group, "b", "Proj04.htm", "Deeper");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  EXPECT_EQ(Shape(IndexForest(Widget<QTreeView>(*form, "indexTree"))), "group=Proj05.htm");
  EXPECT_EQ(ContentsShape(), "Start(Basics,Details),Last");
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree"))
                ? Current(Widget<QTreeView>(*form, "contentsTree"))->text(0)
                : QString(),
            "Basics");
}

TEST_F(DeleteTopicTest, NoKeepsEverything) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(basics);
  auto seen = AnswerNextMessageBox(QMessageBox::No);
  Action(*form, "deleteTopicAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text,
            "Delete topic Basics and its 1 subtopics?\n\n2 page files will be moved to the trash.");
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj02.htm")));
  EXPECT_TRUE(QFileInfo::exists(Path("Proj04.htm")));
  EXPECT_EQ(ProjectOf(*form).MapLines().size(), 5);
  EXPECT_FALSE(ProjectOf(*form).IsModified());
}

TEST_F(DeleteTopicTest, WithoutATrashTheQuestionSaysThePagesAreDeletedForGood) {
  // The trash's folder cannot be made: its parent is a file.
  PutFile(dir.filePath("not-a-folder"), "x");
  qputenv("XDG_DATA_HOME", dir.filePath("not-a-folder/data").toLocal8Bit());
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(deeper);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text,
            "Delete topic Deeper and its 0 subtopics?\n\n"
            "1 page file will be deleted for good: there is no trash to move them to.");
  EXPECT_EQ(ContentsShape(), "Start(Basics,Details),Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj04.htm")));
  EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files/Proj04.htm")));
  // A topic whose page is shown by another one asks about no page file.
  const TreeItem twin = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), start, "Twin",
                                        std::make_unique<TopicData>(TopicData{"Proj05.htm"}));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(twin);
  seen = AnswerNextMessageBox(QMessageBox::No);
  Action(*form, "deleteTopicAction")->trigger();
  EXPECT_EQ(seen->text, "Delete topic Twin and its 0 subtopics?");
}

TEST_F(DeleteTopicTest, AfterTheLastTopicIsDeletedTheEditorTakesNoTyping) {
  // Whether the engine takes key presses in the page.
  const auto editable = [this] {
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    return EditorScript(Widget<EditingControl>(*form, "editor"), "document.designMode").toString() == "on";
  };
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  ASSERT_TRUE(editable());
  for (TreeItem topic : {last, start}) {
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(topic);
    AnswerNextMessageBox(QMessageBox::Yes);
    Action(*form, "deleteTopicAction")->trigger();
  }
  ASSERT_EQ(ContentsShape(), "");
  EXPECT_FALSE(editable());
  EXPECT_FALSE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Bold));
  QTest::keyClicks(Widget<QPlainTextEdit>(*form, "sourceView"), "lost");
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().isEmpty());
  // A new topic's page takes typing again.
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Again"));
  EXPECT_TRUE(editable());
  EXPECT_FALSE(Widget<QPlainTextEdit>(*form, "sourceView")->isReadOnly());
}

TEST_F(DeleteTopicTest, APageStillShownByAnotherTopicStays) {
  const TreeItem twin = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), start, "Twin",
                                        std::make_unique<TopicData>(TopicData{"Proj05.htm"}));
  AddIndexNode(nullptr, "last", "Proj05.htm", "Last");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(twin);
  AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj05.htm")));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_TRUE(ProjectOf(*form).AliasLines().contains("IDH_Proj05=Proj05.htm"));
}

TEST_F(DeleteTopicTest, AHeadingWithoutAPageTouchesNoOtherLines) {
  const TreeItem heading = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), nullptr, "Heading",
                                           std::make_unique<TopicData>());
  AddIndexNode(nullptr, "blank", "", "");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(heading);
  AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_EQ(ProjectOf(*form).MapLines().size(), 5);
  EXPECT_EQ(ProjectOf(*form).AliasLines().size(), 5);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 1);
  EXPECT_TRUE(QFileInfo::exists(dir.path()));
}

TEST_F(MoveTopicTest, DroppingOnItsOwnSubtopicChangesNothing) {
  Widget<QTreeView>(*form, "contentsTree")->expand(start);
  Widget<QTreeView>(*form, "contentsTree")->expand(basics);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  ProjectOf(*form).SetModified(false);
  const DropResult result = DragTopicTo(OnLabel(Widget<QTreeView>(*form, "contentsTree"), deeper));
  EXPECT_TRUE(result.dropAccepted);
  EXPECT_NE(result.action, Qt::MoveAction);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  // Onto itself, likewise.
  DragTopicTo(OnLabel(Widget<QTreeView>(*form, "contentsTree"), start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
}

TEST_F(MoveTopicTest, DroppingBelowTheItemsMovesTheSubtreeToTheEnd) {
  Widget<QTreeView>(*form, "contentsTree")->expand(start);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(basics);
  const DropResult result = DragTopicTo(BelowItems(Widget<QTreeView>(*form, "contentsTree")));
  EXPECT_TRUE(result.dropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Details),Last,Basics(Deeper)");
  EXPECT_EQ(ContentsRecord(basics)->fileName, "Proj02.htm");
  EXPECT_EQ(ContentsRecord(basics->child(0))->fileName, "Proj04.htm");
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")), basics);
  EXPECT_TRUE(ProjectOf(*form).IsModified());
}

TEST_F(MoveTopicTest, OnAnItemBecomesItsLastChildInItsIndentationGoesBeforeIt) {
  Widget<QTreeView>(*form, "contentsTree")->expand(start);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  DragTopicTo(OnLabel(Widget<QTreeView>(*form, "contentsTree"), details));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details(Last))");
  EXPECT_TRUE(Widget<QTreeView>(*form, "contentsTree")->isExpanded(details));
  // Into the indentation of Basics: before it, at its level.
  const QRect label = ItemLabelRect(Widget<QTreeView>(*form, "contentsTree"), basics);
  DragTopicTo(
      QPoint(label.left() - Widget<QTreeView>(*form, "contentsTree")->indentation() - 5, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Last,Basics(Deeper),Details)");
  // Right of a label: before that item too.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  const QRect startLabel = ItemLabelRect(Widget<QTreeView>(*form, "contentsTree"), start);
  DragTopicTo(QPoint(startLabel.right() + 30, startLabel.center().y()));
  EXPECT_EQ(ContentsShape(), "Details,Start(Last,Basics(Deeper))");
}

TEST_F(MoveTopicTest, AnExpandButtonOrAForeignDragChangesNothing) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  ProjectOf(*form).SetModified(false);
  const QRect label = ItemLabelRect(Widget<QTreeView>(*form, "contentsTree"), start);
  DragTopicTo(
      QPoint(label.left() - Widget<QTreeView>(*form, "contentsTree")->indentation() / 2, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  // Text from elsewhere is no topic.
  QMimeData text;
  text.setText("Start");
  const DropResult foreign = SendDrop(Widget<QTreeView>(*form, "contentsTree")->viewport(),
                                      BelowItems(Widget<QTreeView>(*form, "contentsTree")), &text);
  EXPECT_FALSE(foreign.enterAccepted);
  EXPECT_FALSE(foreign.dropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(ProjectOf(*form).IsModified());
}

TEST_F(MoveTopicTest, AMoveNeitherStoresNorLoadsAPage) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  FocusEditor();
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::SelectAll);
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Bold);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_TRUE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));
  const QByteArray before = FileBytes(Path("Proj05.htm"));
  DragTopicTo(OnLabel(Widget<QTreeView>(*form, "contentsTree"), start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details,Last)");
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), before);
  EXPECT_TRUE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")), last);
}

TEST_F(MoveTopicTest, AltArrowKeysMoveTheSelectedTopicAndKeepItSelected) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QByteArray page = FileBytes(Path("Proj03.htm"));
  ProjectOf(*form).SetModified(false);
  const std::pair<Qt::Key, const char*> steps[] = {
      {Qt::Key_Right, "Start(Basics(Deeper,Details)),Last"},
      {Qt::Key_Left, "Start(Basics(Deeper),Details),Last"},
      {Qt::Key_Up, "Start(Details,Basics(Deeper)),Last"},
      {Qt::Key_Up, "Start(Details,Basics(Deeper)),Last"},
      {Qt::Key_Left, "Start(Basics(Deeper)),Details,Last"},
      {Qt::Key_Down, "Start(Basics(Deeper)),Last,Details"},
      {Qt::Key_Down, "Start(Basics(Deeper)),Last,Details"},
  };
  for (const auto& [key, shape] : steps) {
    PressIn(Widget<QTreeView>(*form, "contentsTree"), key, Qt::AltModifier);
    EXPECT_EQ(ContentsShape(), shape);
    EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->currentIndex().data().toString(), "Details");
  }
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  EXPECT_EQ(Widget<EditingControl>(*form, "editor")->DocumentTitle(), "Details");
  EXPECT_EQ(FileBytes(Path("Proj03.htm")), page);
}

TEST_F(ContentsEditingTest, NewTopicGoesAfterTheSelectedOneByKeyButtonAndMenu) {
  const auto answerTitle = [](const QString& title) {
    OnNextDialog<QInputDialog>([title](QInputDialog* d) {
      d->setTextValue(title);
      d->accept();
    });
  };
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(basics);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  answerTitle("By key");
  PressIn(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(ProcessEventsUntil([&] { return ContentsShape().contains("By key"); }));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),By key,Details),Last");
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->currentIndex().data().toString(), "By key");
  answerTitle("By button");
  QTest::mouseClick(Widget<QToolButton>(*form, "newTopicButton"), Qt::LeftButton);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),By key,By button,Details),Last");
  // The main menu's "Contents" holds "New subtopic" (Ctrl+Shift+T).
  QAction* subtopicItem = nullptr;
  for (QAction* top : form->menuBar()->actions())
    if (top->text() == "&Contents")
      for (QAction* item : top->menu()->actions())
        if (item->text() == "New subtopic") subtopicItem = item;
  ASSERT_NE(subtopicItem, nullptr);
  EXPECT_EQ(subtopicItem->shortcut(), QKeySequence("Ctrl+Shift+T"));
  answerTitle("Below");
  subtopicItem->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),By key,By button(Below),Details),Last");
}

TEST_F(ContentsEditingTest, TheNewSubtopicButtonAddsUnderTheSelectedTopic) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  OnNextDialog<QInputDialog>([](QInputDialog* d) {
    d->setTextValue("Inside");
    d->accept();
  });
  QTest::mouseClick(Widget<QToolButton>(*form, "newSubtopicButton"), Qt::LeftButton);
  EXPECT_TRUE(ProcessEventsUntil([&] { return ContentsShape().contains("Inside"); }));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details(Inside)),Last");
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->currentIndex().data().toString(), "Inside");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj06.htm")));
}

TEST_F(ContentsEditingTest, AppendLinksAddsABreakAndOneLinkPerDirectChild) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  Controller<ContentsPane>(*form)->PrepareMenu();
  ASSERT_TRUE(Action(*form, "appendLinksAction")->isEnabled());
  ProjectOf(*form).SetModified(false);
  Action(*form, "appendLinksAction")->trigger();
  const QString html = EditorHtml(Widget<EditingControl>(*form, "editor"));
  const QRegularExpression links(
      "Start is where it begins\\.</P>\\s*<BR>\\s*<A href=\"Proj02\\.htm\">Basics</A>\\s*<BR>\\s*"
      "<A href=\"Proj03\\.htm\">Details</A>\\s*<BR>",
      QRegularExpression::CaseInsensitiveOption);
  EXPECT_TRUE(links.match(html).hasMatch()) << html.toStdString();
  EXPECT_FALSE(html.contains("Proj04.htm"));  // no link to a deeper descendant
  // A change of the page: undoable, and the title's star comes as it does for typing.
  EXPECT_TRUE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));
  EXPECT_TRUE(ProcessEventsUntil([&] { return ProjectOf(*form).IsModified(); }, 3000));
}

TEST_F(ContentsEditingTest, AppendLinksEscapesCaptionsAndFileNames) {
  const TreeItem odd = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), last, "Fish & <Chips>",
                                       std::make_unique<TopicData>(TopicData{"a\"b.htm"}));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  Action(*form, "appendLinksAction")->trigger();
  const QString html = EditorHtml(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(html.contains("Fish &amp; &lt;Chips&gt;</A>", Qt::CaseInsensitive)) << html.toStdString();
  EXPECT_FALSE(html.contains("<Chips>", Qt::CaseInsensitive));
}

TEST_F(ContentsEditingTest, EditedTreesAreSavedAndReadBackAlike) {
  // A rename, a move, a deletion and index entries.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  EditCaption(Widget<QTreeView>(*form, "contentsTree"), start, "Overview");
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QTreeView>(*form, "contentsTree")->expand(start);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  DragTopicTo(BelowItems(Widget<QTreeView>(*form, "contentsTree")));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(last);
  FocusEditor();
  DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), "printing");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  FocusEditor();
  DropText(OnLabel(Widget<QTreeView>(*form, "indexTree"), TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)),
           "paper");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(basics);
  FocusEditor();
  DropText(BelowItems(Widget<QTreeView>(*form, "indexTree")), "basics");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  Action(*form, "deleteTopicAction")->trigger();

  const QString contents = ContentsShape();
  const QString index = Shape(IndexForest(Widget<QTreeView>(*form, "indexTree")));
  EXPECT_EQ(contents, "Overview(Basics),Last,Details");
  EXPECT_EQ(index, "basics=Proj02.htm,printing(paper=Proj03.htm)");

  QStringList projectLines = ProjectOf(*form).ProjectLines();
  EXPECT_TRUE(SaveProjectFiles(
                  {ProjectOf(*form).ProjectFile(), ContentsForest(Widget<QTreeView>(*form, "contentsTree")),
                   IndexForest(Widget<QTreeView>(*form, "indexTree")), ProjectOf(*form).MapLines(),
                   ProjectOf(*form).AliasLines()},
                  projectLines)
                  .Ok());
  const ProjectFiles read = ProjectOnDisk(ProjectOf(*form).ProjectFile());
  EXPECT_EQ(Shape(read.contents), contents);
  EXPECT_EQ(Shape(read.index), index);
  EXPECT_EQ(read.mapLines, ProjectOf(*form).MapLines());
  EXPECT_EQ(read.aliasLines, ProjectOf(*form).AliasLines());
}

}  // namespace
