// Pages travelling between their files, the real editor and the source view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/main_window.h"
#include "editor_script.h"
#include "editor/editing_control.h"
#include "gui_helpers.h"
#include "tree_items.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"

namespace {

const char* const kCardPage =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
    "<HTML><HEAD><TITLE>Cards</TITLE>\r\n"
    "<LINK rel=\"stylesheet\" type=\"text/css\" href=\"Proj.css\">\r\n"
    "</HEAD>\r\n<BODY>\r\n<P>Some words here</P>\r\n"
    "<OBJECT id=tcard7\r\ntype=\"application/x-oleobject\"\r\n"
    "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
    "<PARAM name=\"Command\" value=\"TCard\">\r\n"
    "<PARAM name=\"Button\" value=\"Next step\">\r\n"
    "<PARAM name=\"Item2\" value=\"x\">\r\n"
    "<param name=\"Item1\" value=\"5, 0\"></OBJECT>\r\n"
    "</BODY></HTML>\r\n";

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

class TopicDocumentsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    PutFile(dir.filePath("Proj01.htm"), kCardPage);
    PutFile(dir.filePath("Proj02.htm"), "<HTML><BODY><P>Second</P></BODY></HTML>\r\n");
    form = std::make_unique<MainWindow>();
    form->CreateDialogs();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    PutFile(dir.filePath("Proj.hhp"), "[OPTIONS]\r\nTitle=Proj\r\n");
    ASSERT_TRUE(form->project.Open(dir.filePath("Proj.hhp")).Ok());
    form->EnableProjectCommands();
    first = AddContentsNode(form->contentsTree, nullptr, "Cards",
                            std::make_unique<TopicData>(TopicData{"Proj01.htm"}));
    second = AddContentsNode(form->contentsTree, nullptr, "Second",
                             std::make_unique<TopicData>(TopicData{"Proj02.htm"}));
  }
  void TearDown() override {
    form->project.SetModified(false);
    form->hide();
  }
  QTemporaryDir dir;
  std::unique_ptr<MainWindow> form;
  TreeItem first = nullptr;
  TreeItem second = nullptr;
};

TEST_F(TopicDocumentsTest, ACardBecomesAButtonInTheEditorAndAFreshObjectWhenStored) {
  form->contentsTree->setCurrentIndex(first);
  // The editor holds a button; the source view the file as stored.
  const QString html = EditorHtml(form->editor);
  EXPECT_TRUE(html.contains("Next step"));
  EXPECT_FALSE(html.contains("<OBJECT id=tcard", Qt::CaseInsensitive));
  EXPECT_TRUE(form->sourceView->toPlainText().contains("<OBJECT id=tcard7"));
  EXPECT_FALSE(CommandEnabled(form->editor, EditorCommand::Undo));

  // An edit elsewhere in the page.
  form->editor->setFocus();
  SendAndWait(form->editor, EditorCommand::SelectAll);
  SendAndWait(form->editor, EditorCommand::Bold);
  WaitEditorIdle(form->editor);
  ASSERT_TRUE(CommandEnabled(form->editor, EditorCommand::Undo));

  // Moving to the other topic stores the page: the card comes back as the
  // six-line object, numbered by its place, without its extra parameter.
  form->contentsTree->setCurrentIndex(second);
  const QByteArray stored = ReadBytes(dir.filePath("Proj01.htm"));
  EXPECT_TRUE(
      stored.contains("<OBJECT id=tcard1\r\ntype=\"application/x-oleobject\"\r\n"
                      "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
                      "<PARAM name=\"Command\" value=\"TCard\">\r\n"
                      "<PARAM name=\"Button\" value=\"Next step\">\r\n"
                      "<param name=\"Item1\" value=\"5, 0\"></OBJECT>"))
      << stored.toStdString();
  EXPECT_FALSE(stored.contains("Item2"));
  EXPECT_TRUE(stored.startsWith("<!DOCTYPE HTML PUBLIC"));
  EXPECT_TRUE(stored.endsWith("\r\n"));
  EXPECT_FALSE(stored.contains("\n\n"));
  EXPECT_TRUE(form->sourceView->toPlainText().contains("Second"));
}

TEST_F(TopicDocumentsTest, AnUnchangedPageIsNotWrittenOnSelectionChange) {
  form->contentsTree->setCurrentIndex(first);
  form->contentsTree->setCurrentIndex(second);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
}

TEST_F(TopicDocumentsTest, TheTitleShowsAStarAsSoonAsThePageChanges) {
  form->contentsTree->setCurrentIndex(first);
  WaitEditorIdle(form->editor);
  form->project.SetModified(false);
  form->contentsTree->setCurrentIndex(second);
  WaitEditorIdle(form->editor);
  EXPECT_FALSE(form->windowTitle().startsWith('*'));  // moving on is no change
  SelectInEditor(form->editor, "P", 6, 6);
  EditorScript(form->editor, "document.execCommand('insertText', false, 'typed')");
  EXPECT_TRUE(ProcessEventsUntil([&] { return form->windowTitle().startsWith('*'); }));
  // In the source view too.
  form->project.SetModified(false);
  form->editorTabs->setCurrentIndex(1);
  WaitEditorIdle(form->editor);
  form->project.SetModified(false);
  QTest::keyClicks(form->sourceView, "x");
  EXPECT_TRUE(form->windowTitle().startsWith('*'));
}

TEST_F(TopicDocumentsTest, SwitchingToSourceAndBackMovesThePage) {
  form->contentsTree->setCurrentIndex(first);
  // Editor -> Source (unchanged editor): nothing written, the memo shows the file as it is.
  form->editorTabs->setCurrentIndex(1);
  WaitEditorIdle(form->editor);
  EXPECT_EQ(form->editorTabs->currentIndex(), 1);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
  EXPECT_EQ(form->sourceView->toPlainText(), QString(kCardPage).replace("\r\n", "\n"));
  // Back and forth unchanged, the file keeps its bytes.
  form->editorTabs->setCurrentIndex(0);
  WaitEditorIdle(form->editor);
  form->editorTabs->setCurrentIndex(1);
  WaitEditorIdle(form->editor);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
  // Source -> Editor: the memo's text replaces the file and the editor's page.
  form->sourceView->setPlainText("<HTML><BODY><P>Typed in source</P></BODY></HTML>");
  form->editorTabs->setCurrentIndex(0);
  WaitEditorIdle(form->editor);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")),
            QByteArray("<HTML><BODY><P>Typed in source</P></BODY></HTML>"));
  EXPECT_TRUE(EditorHtml(form->editor).contains("Typed in source"));
}

TEST_F(TopicDocumentsTest, OnTheSourceTabOnlyAChangedMemoIsStored) {
  form->contentsTree->setCurrentIndex(first);
  form->editorTabs->setCurrentIndex(1);
  WaitEditorIdle(form->editor);
  const QByteArray before = ReadBytes(dir.filePath("Proj02.htm"));
  // Not modified: nothing is written, even though the editor's copy differs.
  form->contentsTree->setCurrentIndex(second);
  form->contentsTree->setCurrentIndex(first);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj02.htm")), before);
  // Typed into the source view: written as typed when the selection moves.
  form->sourceView->setPlainText("<HTML><BODY><P>From source</P></BODY></HTML>");
  form->sourceView->document()->setModified(true);
  form->contentsTree->setCurrentIndex(second);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")),
            QByteArray("<HTML><BODY><P>From source</P></BODY></HTML>"));
  EXPECT_TRUE(form->sourceView->toPlainText().contains("Second"));
}

TEST_F(TopicDocumentsTest, AHeadingShowsAnEmptyPageAndNoNumber) {
  const TreeItem heading =
      AddContentsNode(form->contentsTree, nullptr, "Heading", std::make_unique<TopicData>(TopicData{""}));
  form->project.AddContextEntries("Proj01.htm");  // IDH_Proj01=Proj01.htm, #define IDH_Proj01  101
  form->contentsTree->setCurrentIndex(first);
  EXPECT_EQ(form->contextLabel->text(), "Context=101");
  form->contentsTree->setCurrentIndex(heading);
  EXPECT_EQ(form->contextLabel->text(), "Context=");
  EXPECT_TRUE(form->sourceView->toPlainText().isEmpty());
  EXPECT_FALSE(EditorHtml(form->editor).contains("Next step"));
  // The copy button puts the label's number, here nothing, on the clipboard.
  QGuiApplication::clipboard()->setText("old");
  form->copyContextButton->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST_F(TopicDocumentsTest, AStoreThatFailsKeepsTheTopicSelectedAndSaysWhy) {
  form->contentsTree->setCurrentIndex(first);
  form->editor->setFocus();
  SendAndWait(form->editor, EditorCommand::SelectAll);
  SendAndWait(form->editor, EditorCommand::Italic);
  WaitEditorIdle(form->editor);
  // The page's file can no longer be written: its path is now a folder.
  QFile::remove(dir.filePath("Proj01.htm"));
  QDir(dir.path()).mkdir("Proj01.htm");
  // The error box is answered by the test.
  bool sawError = false;
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      sawError = box->text().contains("Proj01.htm");
      box->accept();
    }
  });
  timer->start(20);
  form->contentsTree->setCurrentIndex(second);
  delete timer;
  EXPECT_TRUE(sawError);
  EXPECT_EQ(Current(form->contentsTree), first);
}

}  // namespace
