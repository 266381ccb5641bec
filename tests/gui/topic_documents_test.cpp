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

#include "app/program_window.h"
#include "editor_script.h"
#include "editor/editing_control.h"
#include "gui_helpers.h"
#include "tree_items.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

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
    form = NewProgramWindow();
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    PutFile(dir.filePath("Proj.hhp"), "[OPTIONS]\r\nTitle=Proj\r\n");
    ASSERT_TRUE(ProjectOf(*form).Open(dir.filePath("Proj.hhp")).Ok());
    EnableProjectCommands(*form);
    first = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), nullptr, "Cards",
                            std::make_unique<TopicData>(TopicData{"Proj01.htm"}));
    second = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), nullptr, "Second",
                             std::make_unique<TopicData>(TopicData{"Proj02.htm"}));
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> form;
  TreeItem first = nullptr;
  TreeItem second = nullptr;
};

TEST_F(TopicDocumentsTest, ACardBecomesAButtonInTheEditorAndAFreshObjectWhenStored) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  // The editor holds a button; the source view the file as stored.
  const QString html = EditorHtml(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(html.contains("Next step"));
  EXPECT_FALSE(html.contains("<OBJECT id=tcard", Qt::CaseInsensitive));
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("<OBJECT id=tcard7"));
  EXPECT_FALSE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));

  // An edit elsewhere in the page.
  Widget<EditingControl>(*form, "editor")->setFocus();
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::SelectAll);
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Bold);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_TRUE(CommandEnabled(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo));

  // Moving to the other topic stores the page: the card comes back as the
  // six-line object, numbered by its place, without its extra parameter.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
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
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("Second"));
}

TEST_F(TopicDocumentsTest, AnUnchangedPageIsNotWrittenOnSelectionChange) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
}

TEST_F(TopicDocumentsTest, TheTitleShowsAStarAsSoonAsThePageChanges) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ProjectOf(*form).SetModified(false);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_FALSE(form->windowTitle().startsWith('*'));  // moving on is no change
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "P", 6, 6);
  EditorScript(Widget<EditingControl>(*form, "editor"), "document.execCommand('insertText', false, 'typed')");
  EXPECT_TRUE(ProcessEventsUntil([&] { return form->windowTitle().startsWith('*'); }));
  // In the source view too.
  ProjectOf(*form).SetModified(false);
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ProjectOf(*form).SetModified(false);
  QTest::keyClicks(Widget<QPlainTextEdit>(*form, "sourceView"), "x");
  EXPECT_TRUE(form->windowTitle().startsWith('*'));
}

TEST_F(TopicDocumentsTest, SwitchingToSourceAndBackMovesThePage) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  // Editor -> Source (unchanged editor): nothing written, the memo shows the file as it is.
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
  EXPECT_EQ(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText(),
            QString(kCardPage).replace("\r\n", "\n"));
  // Back and forth unchanged, the file keeps its bytes.
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(0);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")), QByteArray(kCardPage));
  // Source -> Editor: the memo's text replaces the file and the editor's page.
  Widget<QPlainTextEdit>(*form, "sourceView")
      ->setPlainText("<HTML><BODY><P>Typed in source</P></BODY></HTML>");
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(0);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")),
            QByteArray("<HTML><BODY><P>Typed in source</P></BODY></HTML>"));
  EXPECT_TRUE(EditorHtml(Widget<EditingControl>(*form, "editor")).contains("Typed in source"));
}

TEST_F(TopicDocumentsTest, OnTheSourceTabOnlyAChangedMemoIsStored) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QByteArray before = ReadBytes(dir.filePath("Proj02.htm"));
  // Not modified: nothing is written, even though the editor's copy differs.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj02.htm")), before);
  // Typed into the source view: written as typed when the selection moves.
  Widget<QPlainTextEdit>(*form, "sourceView")->setPlainText("<HTML><BODY><P>From source</P></BODY></HTML>");
  Widget<QPlainTextEdit>(*form, "sourceView")->document()->setModified(true);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
  EXPECT_EQ(ReadBytes(dir.filePath("Proj01.htm")),
            QByteArray("<HTML><BODY><P>From source</P></BODY></HTML>"));
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("Second"));
}

TEST_F(TopicDocumentsTest, AHeadingShowsAnEmptyPageAndNoNumber) {
  const TreeItem heading = AddContentsNode(Widget<QTreeView>(*form, "contentsTree"), nullptr, "Heading",
                                           std::make_unique<TopicData>(TopicData{""}));
  ProjectOf(*form).AddContextEntries("Proj01.htm");  // IDH_Proj01=Proj01.htm, #define IDH_Proj01  101
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  EXPECT_EQ(Widget<QLabel>(*form, "contextLabel")->text(), "Context=101");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(heading);
  EXPECT_EQ(Widget<QLabel>(*form, "contextLabel")->text(), "Context=");
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().isEmpty());
  EXPECT_FALSE(EditorHtml(Widget<EditingControl>(*form, "editor")).contains("Next step"));
  // The copy button puts the label's number, here nothing, on the clipboard.
  QGuiApplication::clipboard()->setText("old");
  Widget<QPushButton>(*form, "copyContextButton")->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
}

TEST_F(TopicDocumentsTest, AStoreThatFailsKeepsTheTopicSelectedAndSaysWhy) {
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(first);
  Widget<EditingControl>(*form, "editor")->setFocus();
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::SelectAll);
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Italic);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
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
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(second);
  delete timer;
  EXPECT_TRUE(sawError);
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")), first);
}

}  // namespace
