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

namespace {

// Captions of the Index tree, with each entry's page: "a=x.htm,b(c=y.htm)".
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
  form->contentsTree->setCurrentIndex(start);
  ASSERT_EQ(form->editor->DocumentTitle(), "Start");
  form->project.SetModified(false);
  EditCaption(form->contentsTree, start, "Overview");
  WaitEditorIdle(form->editor);
  EXPECT_EQ(start->text(0), "Overview");
  EXPECT_TRUE(form->project.IsModified());
  const QString page = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(page.contains("<TITLE>Overview</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>Overview</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("Start is where it begins.")) << page.toStdString();
  EXPECT_EQ(page.count("Start"), 1);
  EXPECT_TRUE(page.endsWith("\r\n"));
  EXPECT_EQ(form->editor->DocumentTitle(), "Overview");
  // The record stays with the node.
  EXPECT_EQ(ContentsRecord(start)->FileName, "Proj01.htm");
}

TEST_F(RenameTopicTest, TitlesAreEscapedInThePageAndBlankOnesAreRefused) {
  const QString title = "Tips & Tricks <v2> \"quoted\"";
  const QString escaped = "Tips &amp; Tricks &lt;v2&gt; &quot;quoted&quot;";
  // Rename in place.
  form->contentsTree->setCurrentIndex(start);
  EditCaption(form->contentsTree, start, title);
  WaitEditorIdle(form->editor);
  QString page = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(page.contains("<TITLE>" + escaped + "</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>" + escaped + "</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_EQ(form->editor->DocumentTitle(), title);
  // A blank caption is refused with a message; the caption and page stay.
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  EditCaption(form->contentsTree, start, "  ");
  EXPECT_TRUE(ProcessEventsUntil([&] { return seen->shown; }));
  WaitEditorIdle(form->editor);
  EXPECT_EQ(start->text(0), title);
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
  // A new topic: its page from the template holds the title escaped; a blank one is refused.
  ASSERT_TRUE(form->contentsPane->CreateTopic("A <b> & c"));
  page = QString::fromLatin1(FileBytes(Path("Proj06.htm")));
  EXPECT_TRUE(page.contains("<TITLE>A &lt;b&gt; &amp; c</TITLE>")) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>A &lt;b&gt; &amp; c</H1>")) << page.toStdString();
  const int topics = TopLevelCount(form->contentsTree);
  seen = AnswerNextMessageBox(QMessageBox::Ok);
  EXPECT_FALSE(form->contentsPane->CreateTopic(""));
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(TopLevelCount(form->contentsTree), topics);
  EXPECT_FALSE(QFileInfo::exists(Path("Proj07.htm")));
}

TEST_F(RenameTopicTest, APageThatLostItsTitleTakesTheNewOneIntoTitleAndHeading) {
  PutFile(Path("Proj05.htm"),
          "<HTML><HEAD><TITLE></TITLE></HEAD><BODY><H1></H1><P>Last</P></BODY></HTML>\r\n");
  form->contentsTree->setCurrentIndex(last);
  EditCaption(form->contentsTree, last, "Back again");
  WaitEditorIdle(form->editor);
  const QString page = QString::fromLatin1(FileBytes(Path("Proj05.htm")));
  EXPECT_TRUE(page.contains("<TITLE>Back again</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<H1>Back again</H1>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<P>Last</P>", Qt::CaseInsensitive)) << page.toStdString();
}

TEST_F(RenameTopicTest, APageWithoutTheDocumentTitleChangesOnlyTheCaption) {
  const QByteArray untitled = "<HTML><BODY><P>Last</P></BODY></HTML>\r\n";
  PutFile(Path("Proj05.htm"), untitled);
  form->contentsTree->setCurrentIndex(last);
  form->project.SetModified(false);
  EditCaption(form->contentsTree, last, "Final");
  WaitEditorIdle(form->editor);
  EXPECT_EQ(last->text(0), "Final");
  EXPECT_TRUE(form->project.IsModified());
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), untitled);
}

TEST_F(RenameTopicTest, TheDocumentTitleIsReplacedNotTheOldCaption) {
  PutFile(Path("Proj05.htm"), "<HTML><HEAD><TITLE>Other</TITLE></HEAD><BODY><P>Last</P></BODY></HTML>\r\n");
  form->contentsTree->setCurrentIndex(last);
  EditCaption(form->contentsTree, last, "Final");
  WaitEditorIdle(form->editor);
  const QString page = QString::fromLatin1(FileBytes(Path("Proj05.htm")));
  EXPECT_TRUE(page.contains("<P>Last</P>", Qt::CaseInsensitive)) << page.toStdString();
  EXPECT_TRUE(page.contains("<TITLE>Final</TITLE>", Qt::CaseInsensitive)) << page.toStdString();
}

TEST_F(RenameTopicTest, ConfirmingTheSameCaptionIsNoRename) {
  form->contentsTree->setCurrentIndex(start);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  form->project.SetModified(false);
  // An edit that ends with the same caption is no rename.
  EditCaption(form->contentsTree, start, "Start");
  WaitEditorIdle(form->editor);
  EXPECT_FALSE(form->project.IsModified());
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
}

TEST_F(RenameTopicTest, OnTheSourceTabTheMemoTakesTheNewTextAndIsStoredLater) {
  form->contentsTree->setCurrentIndex(start);
  form->editorTabs->setCurrentIndex(1);
  WaitEditorIdle(form->editor);
  ASSERT_EQ(form->editorTabs->currentIndex(), 1);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  EditCaption(form->contentsTree, start, "Overview");
  WaitEditorIdle(form->editor);
  EXPECT_TRUE(form->sourceView->toPlainText().contains("<TITLE>Overview</TITLE>"));
  EXPECT_TRUE(form->sourceView->toPlainText().contains("<H1>Overview</H1>"));
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);
  // Moving on stores the renamed page.
  form->contentsTree->setCurrentIndex(last);
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
  form->contentsModel->Remove(deeper);
  deeper = nullptr;
  ASSERT_EQ(deeperParent->childCount(), 0);
  QFile::remove(Path("Proj04.htm"));

  form->contentsTree->setCurrentIndex(start);
  form->project.SetModified(false);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
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
  EXPECT_EQ(form->project.MapLines(), (QStringList{"#define IDH_Proj04  104", "#define IDH_Proj05  105"}));
  EXPECT_EQ(form->project.AliasLines(), (QStringList{"IDH_Proj04=Proj04.htm", "IDH_Proj05=Proj05.htm"}));
  // Index: alpha and both beta entries are gone; group keeps its entries to other pages.
  EXPECT_EQ(Shape(IndexForest(form->indexTree)), "group(deep=Proj04.htm,end=Proj05.htm),zeta=Proj05.htm");
  EXPECT_TRUE(form->project.IsModified());
  // The remaining topic is selected and shown.
  EXPECT_EQ(Current(form->contentsTree), last);
  EXPECT_EQ(form->editor->DocumentTitle(), "Last");
  ASSERT_TRUE(form->project.CurrentTopic().has_value());
  EXPECT_EQ(form->project.CurrentTopic()->FileName, ContentsRecord(last)->FileName);
}

TEST_F(DeleteTopicTest, FilesLinesAndIndexEntriesNamingThePagesOtherwiseGoToo) {
  // As a decompiled or hand-made project names its pages: "\", other case, anchors.
  PutFile(
      Path("Proj.hhp"),
      "[OPTIONS]\r\nTitle=Proj\r\n\r\n[FILES]\r\nProj01.htm\r\nPROJ02.HTM\r\n.\\Proj03.htm\r\nProj05.htm\r\n"
      "\r\n[INFOTYPES]\r\nProj02.htm\r\n");
  ASSERT_TRUE(form->project.Open(Path("Proj.hhp")).Ok());
  AddIndexNode(nullptr, "anchor", "Proj03.htm#part", "Details");
  AddIndexNode(nullptr, "case", "proj02.HTM", "Basics");
  AddIndexNode(nullptr, "other", "Proj05.htm", "Last");
  form->contentsTree->setCurrentIndex(start);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("2 index entries lead to its pages")) << seen->text.toStdString();
  EXPECT_EQ(Shape(IndexForest(form->indexTree)), "other=Proj05.htm");
  EXPECT_EQ(form->project.ProjectLines(), (QStringList{"[OPTIONS]", "Title=Proj", "", "[FILES]", "Proj05.htm",
                                                       "", "[INFOTYPES]", "Proj02.htm"}));
}

TEST_F(DeleteTopicTest, DeletingFoldsAGroupLeftWithOneEntry) {
  TreeItem group = AddIndexNode(nullptr, "group", "", "");
  AddIndexNode(group, "a", "Proj05.htm", "Last");
  AddIndexNode(group, "b", "Proj04.htm", "Deeper");
  form->contentsTree->setCurrentIndex(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
  EXPECT_EQ(Shape(IndexForest(form->indexTree)), "group=Proj05.htm");
  EXPECT_EQ(ContentsShape(), "Start(Basics,Details),Last");
  EXPECT_EQ(Current(form->contentsTree) ? Current(form->contentsTree)->text(0) : QString(), "Basics");
}

TEST_F(DeleteTopicTest, NoKeepsEverything) {
  form->contentsTree->setCurrentIndex(basics);
  auto seen = AnswerNextMessageBox(QMessageBox::No);
  form->deleteTopicAction->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text,
            "Delete topic Basics and its 1 subtopics?\n\n2 page files will be moved to the trash.");
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj02.htm")));
  EXPECT_TRUE(QFileInfo::exists(Path("Proj04.htm")));
  EXPECT_EQ(form->project.MapLines().size(), 5);
  EXPECT_FALSE(form->project.IsModified());
}

TEST_F(DeleteTopicTest, WithoutATrashTheQuestionSaysThePagesAreDeletedForGood) {
  // The trash's folder cannot be made: its parent is a file.
  PutFile(dir.filePath("not-a-folder"), "x");
  qputenv("XDG_DATA_HOME", dir.filePath("not-a-folder/data").toLocal8Bit());
  form->contentsTree->setCurrentIndex(deeper);
  auto seen = AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text,
            "Delete topic Deeper and its 0 subtopics?\n\n"
            "1 page file will be deleted for good: there is no trash to move them to.");
  EXPECT_EQ(ContentsShape(), "Start(Basics,Details),Last");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj04.htm")));
  EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("files/Proj04.htm")));
  // A topic whose page is shown by another one asks about no page file.
  const TreeItem twin = AddContentsNode(form->contentsTree, start, "Twin",
                                        std::make_unique<TopicData>(TopicData{"Proj05.htm"}));
  form->contentsTree->setCurrentIndex(twin);
  seen = AnswerNextMessageBox(QMessageBox::No);
  form->deleteTopicAction->trigger();
  EXPECT_EQ(seen->text, "Delete topic Twin and its 0 subtopics?");
}

TEST_F(DeleteTopicTest, AfterTheLastTopicIsDeletedTheEditorTakesNoTyping) {
  // Whether the engine takes key presses in the page.
  const auto editable = [this] {
    WaitEditorIdle(form->editor);
    return EditorScript(form->editor, "document.designMode").toString() == "on";
  };
  form->contentsTree->setCurrentIndex(last);
  ASSERT_TRUE(editable());
  for (TreeItem topic : {last, start}) {
    form->contentsTree->setCurrentIndex(topic);
    AnswerNextMessageBox(QMessageBox::Yes);
    form->deleteTopicAction->trigger();
  }
  ASSERT_EQ(ContentsShape(), "");
  EXPECT_FALSE(editable());
  EXPECT_FALSE(CommandEnabled(form->editor, EditorCommand::Bold));
  QTest::keyClicks(form->sourceView, "lost");
  EXPECT_TRUE(form->sourceView->toPlainText().isEmpty());
  // A new topic's page takes typing again.
  ASSERT_TRUE(form->contentsPane->CreateTopic("Again"));
  EXPECT_TRUE(editable());
  EXPECT_FALSE(form->sourceView->isReadOnly());
}

TEST_F(DeleteTopicTest, APageStillShownByAnotherTopicStays) {
  const TreeItem twin = AddContentsNode(form->contentsTree, start, "Twin",
                                        std::make_unique<TopicData>(TopicData{"Proj05.htm"}));
  AddIndexNode(nullptr, "last", "Proj05.htm", "Last");
  form->contentsTree->setCurrentIndex(twin);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(QFileInfo::exists(Path("Proj05.htm")));
  EXPECT_EQ(TopLevelCount(form->indexTree), 1);
  EXPECT_TRUE(form->project.AliasLines().contains("IDH_Proj05=Proj05.htm"));
}

TEST_F(DeleteTopicTest, AHeadingWithoutAPageTouchesNoOtherLines) {
  const TreeItem heading =
      AddContentsNode(form->contentsTree, nullptr, "Heading", std::make_unique<TopicData>());
  AddIndexNode(nullptr, "blank", "", "");
  form->contentsTree->setCurrentIndex(heading);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_EQ(form->project.MapLines().size(), 5);
  EXPECT_EQ(form->project.AliasLines().size(), 5);
  EXPECT_EQ(TopLevelCount(form->indexTree), 1);
  EXPECT_TRUE(QFileInfo::exists(dir.path()));
}

TEST_F(MoveTopicTest, DroppingOnItsOwnSubtopicChangesNothing) {
  form->contentsTree->expand(start);
  form->contentsTree->expand(basics);
  form->contentsTree->setCurrentIndex(start);
  form->project.SetModified(false);
  const DropResult result = DragTopicTo(OnLabel(form->contentsTree, deeper));
  EXPECT_TRUE(result.DropAccepted);
  EXPECT_NE(result.Action, Qt::MoveAction);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_TRUE(form->project.IsModified());
  // Onto itself, likewise.
  DragTopicTo(OnLabel(form->contentsTree, start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
}

TEST_F(MoveTopicTest, DroppingBelowTheItemsMovesTheSubtreeToTheEnd) {
  form->contentsTree->expand(start);
  form->contentsTree->setCurrentIndex(basics);
  const DropResult result = DragTopicTo(BelowItems(form->contentsTree));
  EXPECT_TRUE(result.DropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Details),Last,Basics(Deeper)");
  EXPECT_EQ(ContentsRecord(basics)->FileName, "Proj02.htm");
  EXPECT_EQ(ContentsRecord(basics->child(0))->FileName, "Proj04.htm");
  EXPECT_EQ(Current(form->contentsTree), basics);
  EXPECT_TRUE(form->project.IsModified());
}

TEST_F(MoveTopicTest, OnAnItemBecomesItsLastChildInItsIndentationGoesBeforeIt) {
  form->contentsTree->expand(start);
  form->contentsTree->setCurrentIndex(last);
  DragTopicTo(OnLabel(form->contentsTree, details));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details(Last))");
  EXPECT_TRUE(form->contentsTree->isExpanded(details));
  // Into the indentation of Basics: before it, at its level.
  const QRect label = ItemLabelRect(form->contentsTree, basics);
  DragTopicTo(QPoint(label.left() - form->contentsTree->indentation() - 5, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Last,Basics(Deeper),Details)");
  // Right of a label: before that item too.
  form->contentsTree->setCurrentIndex(details);
  const QRect startLabel = ItemLabelRect(form->contentsTree, start);
  DragTopicTo(QPoint(startLabel.right() + 30, startLabel.center().y()));
  EXPECT_EQ(ContentsShape(), "Details,Start(Last,Basics(Deeper))");
}

TEST_F(MoveTopicTest, AnExpandButtonOrAForeignDragChangesNothing) {
  form->contentsTree->setCurrentIndex(last);
  form->project.SetModified(false);
  const QRect label = ItemLabelRect(form->contentsTree, start);
  DragTopicTo(QPoint(label.left() - form->contentsTree->indentation() / 2, label.center().y()));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(form->project.IsModified());
  // Text from elsewhere is no topic.
  QMimeData text;
  text.setText("Start");
  const DropResult foreign = SendDrop(form->contentsTree->viewport(), BelowItems(form->contentsTree), &text);
  EXPECT_FALSE(foreign.EnterAccepted);
  EXPECT_FALSE(foreign.DropAccepted);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details),Last");
  EXPECT_FALSE(form->project.IsModified());
}

TEST_F(MoveTopicTest, AMoveNeitherStoresNorLoadsAPage) {
  form->contentsTree->setCurrentIndex(last);
  FocusEditor();
  SendAndWait(form->editor, EditorCommand::SelectAll);
  SendAndWait(form->editor, EditorCommand::Bold);
  WaitEditorIdle(form->editor);
  ASSERT_TRUE(CommandEnabled(form->editor, EditorCommand::Undo));
  const QByteArray before = FileBytes(Path("Proj05.htm"));
  DragTopicTo(OnLabel(form->contentsTree, start));
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),Details,Last)");
  EXPECT_EQ(FileBytes(Path("Proj05.htm")), before);
  EXPECT_TRUE(CommandEnabled(form->editor, EditorCommand::Undo));
  EXPECT_EQ(Current(form->contentsTree), last);
}

TEST_F(MoveTopicTest, AltArrowKeysMoveTheSelectedTopicAndKeepItSelected) {
  form->contentsTree->setCurrentIndex(details);
  WaitEditorIdle(form->editor);
  const QByteArray page = FileBytes(Path("Proj03.htm"));
  form->project.SetModified(false);
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
    PressIn(form->contentsTree, key, Qt::AltModifier);
    EXPECT_EQ(ContentsShape(), shape);
    EXPECT_EQ(form->contentsTree->currentIndex().data().toString(), "Details");
  }
  EXPECT_TRUE(form->project.IsModified());
  EXPECT_EQ(form->editor->DocumentTitle(), "Details");
  EXPECT_EQ(FileBytes(Path("Proj03.htm")), page);
}

TEST_F(ContentsEditingTest, NewTopicGoesAfterTheSelectedOneByKeyButtonAndMenu) {
  const auto answerTitle = [](const QString& title) {
    OnNextDialog<QInputDialog>([title](QInputDialog* d) {
      d->setTextValue(title);
      d->accept();
    });
  };
  form->contentsTree->setCurrentIndex(basics);
  WaitEditorIdle(form->editor);
  answerTitle("By key");
  PressIn(form->contentsTree, Qt::Key_T, Qt::ControlModifier);
  EXPECT_TRUE(ProcessEventsUntil([&] { return ContentsShape().contains("By key"); }));
  WaitEditorIdle(form->editor);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),By key,Details),Last");
  EXPECT_EQ(form->contentsTree->currentIndex().data().toString(), "By key");
  answerTitle("By button");
  QTest::mouseClick(form->newTopicButton, Qt::LeftButton);
  WaitEditorIdle(form->editor);
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
  WaitEditorIdle(form->editor);
  EXPECT_EQ(ContentsShape(), "Start(Basics(Deeper),By key,By button(Below),Details),Last");
}

TEST_F(ContentsEditingTest, AppendLinksAddsABreakAndOneLinkPerDirectChild) {
  form->contentsTree->setCurrentIndex(start);
  form->contentsPane->PrepareMenu();
  ASSERT_TRUE(form->appendLinksAction->isEnabled());
  form->project.SetModified(false);
  form->appendLinksAction->trigger();
  const QString html = EditorHtml(form->editor);
  const QRegularExpression links(
      "Start is where it begins\\.</P>\\s*<BR>\\s*<A href=\"Proj02\\.htm\">Basics</A>\\s*<BR>\\s*"
      "<A href=\"Proj03\\.htm\">Details</A>\\s*<BR>",
      QRegularExpression::CaseInsensitiveOption);
  EXPECT_TRUE(links.match(html).hasMatch()) << html.toStdString();
  EXPECT_FALSE(html.contains("Proj04.htm"));  // no link to a deeper descendant
  // A change of the page: undoable, and the title's star comes as it does for typing.
  EXPECT_TRUE(CommandEnabled(form->editor, EditorCommand::Undo));
  EXPECT_TRUE(ProcessEventsUntil([&] { return form->project.IsModified(); }, 3000));
}

TEST_F(ContentsEditingTest, AppendLinksEscapesCaptionsAndFileNames) {
  const TreeItem odd = AddContentsNode(form->contentsTree, last, "Fish & <Chips>",
                                       std::make_unique<TopicData>(TopicData{"a\"b.htm"}));
  form->contentsTree->setCurrentIndex(last);
  form->appendLinksAction->trigger();
  const QString html = EditorHtml(form->editor);
  EXPECT_TRUE(html.contains("Fish &amp; &lt;Chips&gt;</A>", Qt::CaseInsensitive)) << html.toStdString();
  EXPECT_FALSE(html.contains("<Chips>", Qt::CaseInsensitive));
}

TEST_F(ContentsEditingTest, EditedTreesAreSavedAndReadBackAlike) {
  // A rename, a move, a deletion and index entries.
  form->contentsTree->setCurrentIndex(start);
  EditCaption(form->contentsTree, start, "Overview");
  WaitEditorIdle(form->editor);
  form->contentsTree->expand(start);
  form->contentsTree->setCurrentIndex(details);
  DragTopicTo(BelowItems(form->contentsTree));
  form->contentsTree->setCurrentIndex(last);
  FocusEditor();
  DropText(BelowItems(form->indexTree), "printing");
  form->contentsTree->setCurrentIndex(details);
  FocusEditor();
  DropText(OnLabel(form->indexTree, TopLevel(form->indexTree, 0)), "paper");
  form->contentsTree->setCurrentIndex(basics);
  FocusEditor();
  DropText(BelowItems(form->indexTree), "basics");
  form->contentsTree->setCurrentIndex(deeper);
  AnswerNextMessageBox(QMessageBox::Yes);
  form->deleteTopicAction->trigger();

  const QString contents = ContentsShape();
  const QString index = Shape(IndexForest(form->indexTree));
  EXPECT_EQ(contents, "Overview(Basics),Last,Details");
  EXPECT_EQ(index, "basics=Proj02.htm,printing(paper=Proj03.htm)");

  QStringList projectLines = form->project.ProjectLines();
  EXPECT_TRUE(
      SaveProjectFiles({form->project.ProjectFile(), ContentsForest(form->contentsTree),
                        IndexForest(form->indexTree), form->project.MapLines(), form->project.AliasLines()},
                       projectLines)
          .Ok());
  const ProjectFiles read = ProjectOnDisk(form->project.ProjectFile());
  EXPECT_EQ(Shape(read.Contents), contents);
  EXPECT_EQ(Shape(read.Index), index);
  EXPECT_EQ(read.MapLines, form->project.MapLines());
  EXPECT_EQ(read.AliasLines, form->project.AliasLines());
}

}  // namespace
