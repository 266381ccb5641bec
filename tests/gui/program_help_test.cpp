// The program's own help (Orvex.chm built beside the program), F1, the
// About box and training-card messages, through the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QUrlQuery>

#include "app/program_window.h"
#include "app/about_box.h"
#include "viewer/chm_document.h"
#include "app/program_help.h"
#include "viewer/html_help_viewer.h"
#include "viewer/viewer_window.h"
#include "editor/editing_control.h"
#include "features/training_card_dialog.h"
#include "gui_helpers.h"
#include "viewer_fixture.h"
#include "tests/gui/window_parts.h"

namespace {

const QString kHelpFile = QStringLiteral(ORVEX_BIN_DIR "/Orvex.chm");

class ProgramHelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = NewProgramWindow();
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_NE(Controller<ProgramHelp>(*form), nullptr);
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  // The viewer of the program's help, once it shows `entry`.
  ViewerWindow* HelpShowing(const QString& entry) {
    ViewerWindow* shown = nullptr;
    viewer_test::WaitUntil([&] {
      for (ViewerWindow* v : Controller<HtmlHelpViewer>(*form)->Viewers())
        if (QFileInfo(v->FilePath()).canonicalFilePath() == QFileInfo(kHelpFile).canonicalFilePath())
          shown = v;
      return shown != nullptr;
    });
    if (shown && !viewer_test::WaitForTopic(shown, entry)) return nullptr;
    return shown;
  }
  std::unique_ptr<QMainWindow> form;
};

}  // namespace

TEST_F(ProgramHelpTest, HelpFileIsBuiltBesideTheProgram) {
  ASSERT_TRUE(QFileInfo(kHelpFile).isFile());
  EXPECT_EQ(Controller<ProgramHelp>(*form)->HelpFile(), "Orvex.chm");
  EXPECT_EQ(QFileInfo(Controller<ProgramHelp>(*form)->HelpPath()).canonicalFilePath(),
            QFileInfo(kHelpFile).canonicalFilePath());
}

TEST_F(ProgramHelpTest, EveryContextOfTheProgramHasATopic) {
  ChmDocument help;
  ASSERT_TRUE(help.Open(kHelpFile));
  for (quint32 context :
       {10001u, 10004u, 10006u, 10007u, 10008u, 10009u, 10010u, 10011u, 10012u, 10014u, 10015u, 10019u})
    EXPECT_TRUE(help.ContextTopicUrl(context).isValid()) << context;
  EXPECT_FALSE(help.ContextTopicUrl(10002).isValid());
}

TEST_F(ProgramHelpTest, ContentsOpensTheHelpAtItsFirstTopic) {
  Action(*form, "helpContentsAction")->trigger();
  ViewerWindow* viewer = HelpShowing("/topics/welcome.htm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->windowTitle(), "Orvex Help");
}

TEST_F(ProgramHelpTest, Context10011OpensTheContentsTreeTopic) {
  Controller<ProgramHelp>(*form)->ShowContextHelp(10011);
  ViewerWindow* viewer = HelpShowing("/topics/contents_tree.htm");
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer_test::RunJs(viewer->topicView->page(), "document.body.innerText")
                  .toString()
                  .contains("New subtopic"));
}

TEST_F(ProgramHelpTest, F1OnTheContentsTreeAsksForItsContext) {
  QSignalSpy asked(Controller<ProgramHelp>(*form), &ProgramHelp::HelpRequested);
  Widget<QTreeView>(*form, "contentsTree")->setFocus();
  QTest::keyClick(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_F1);
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.first().first().toInt(), 10011);
  EXPECT_NE(HelpShowing("/topics/contents_tree.htm"), nullptr);
}

TEST_F(ProgramHelpTest, F1OnAControlWithoutContextTakesTheWindows) {
  QSignalSpy asked(Controller<ProgramHelp>(*form), &ProgramHelp::HelpRequested);
  QTest::keyClick(Widget<QPushButton>(*form, "copyContextButton"), Qt::Key_F1);
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.first().first().toInt(), 10001);
  // Shift+F1 and Ctrl+F1 are not the help key.
  QTest::keyClick(Widget<QPushButton>(*form, "copyContextButton"), Qt::Key_F1, Qt::ShiftModifier);
  EXPECT_EQ(asked.count(), 1);
}

TEST_F(ProgramHelpTest, F1OnAHighlightedMenuItemTakesItsContext) {
  QSignalSpy asked(Controller<ProgramHelp>(*form), &ProgramHelp::HelpRequested);
  Menu(*form, "fileMenu")->popup(form->mapToGlobal(QPoint(10, 10)));
  ASSERT_TRUE(ProcessEventsUntil([&] { return Menu(*form, "fileMenu")->isVisible(); }, 5000));
  Menu(*form, "fileMenu")->setActiveAction(Action(*form, "newAction"));
  QTest::keyClick(Menu(*form, "fileMenu"), Qt::Key_F1);
  Menu(*form, "fileMenu")->hide();
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.first().first().toInt(), 10004);
}

TEST_F(ProgramHelpTest, TCardF1InTheTrainingCardDialogAsksFor10019) {
  TrainingCardDialog* dialog = ProgramDialogs(*form).trainingCardDialog;
  ASSERT_NE(dialog, nullptr);
  QSignalSpy asked(Controller<ProgramHelp>(*form), &ProgramHelp::HelpRequested);
  dialog->open();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
  QWidget* target = dialog->focusWidget() ? dialog->focusWidget() : dialog;
  QTest::keyClick(target, Qt::Key_F1);
  ASSERT_EQ(asked.count(), 1);
  EXPECT_EQ(asked.first().first().toInt(), 10019);
  ViewerWindow* viewer = HelpShowing("/topics/training_card.htm");
  ASSERT_NE(viewer, nullptr);
  // The help shows while the dialog that asked for it is open.
  EXPECT_TRUE(viewer->isVisible());
  dialog->reject();
}

TEST_F(ProgramHelpTest, AboutBoxReadsVersion11) {
  QString version, product, copyright, title;
  OnNextDialog<AboutBox>([&](AboutBox* box) {
    title = box->windowTitle();
    version = box->versionLabel->text();
    product = box->productNameLabel->text();
    copyright = box->copyrightLabel->text();
    box->okButton->click();
  });
  Action(*form, "aboutAction")->trigger();
  EXPECT_EQ(title, "About");
  EXPECT_EQ(version, "Version 1.1");
  EXPECT_EQ(product, "Orvex");
  EXPECT_TRUE(copyright.contains("Orvex"));
}

TEST_F(ProgramHelpTest, AboutBoxBeforeShowingHasItsInitialTexts) {
  const AboutBox* box = ProgramDialogs(*form).aboutBox;
  EXPECT_EQ(box->versionLabel->text(), "Version 1.0");
  EXPECT_EQ(box->descriptionLabel->text(), "HTMLHelp creation tool");
  EXPECT_EQ(box->okButton->text(), "OK");
  EXPECT_TRUE(box->okButton->isDefault());
}

TEST_F(ProgramHelpTest, TCardMessageShowsThreeLines) {
  QUrlQuery values;
  values.addQueryItem("wParam", "5");
  values.addQueryItem("lParam", "0");
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  emit Controller<HtmlHelpViewer>(*form)->PageCommand("tcard", values);
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, " TCard message: \r\nwParam=5\r\nlParam=0");
  EXPECT_EQ(seen->text.split("\r\n").size(), 3);
}

TEST_F(ProgramHelpTest, TCardMessageWithATextLParamShowsTheText) {
  QUrlQuery values;
  values.addQueryItem("wParam", "12");
  values.addQueryItem("lParam", "abc");
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  emit Controller<HtmlHelpViewer>(*form)->PageCommand("tcard", values);
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.endsWith("\r\nlParam=abc"));
}

TEST_F(ProgramHelpTest, OtherViewerCommandsShowNothing) {
  QSignalSpy cards(Controller<ProgramHelp>(*form), &ProgramHelp::TrainingCardMessageArrived);
  emit Controller<HtmlHelpViewer>(*form)->PageCommand("splash", QUrlQuery("item1=x"));
  EXPECT_EQ(cards.count(), 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(ProgramHelpTest, F1InTheEditorIsTheKeyboardHooksOnce) {
  QSignalSpy asked(Controller<ProgramHelp>(*form), &ProgramHelp::HelpRequested);
  form->activateWindow();
  Widget<EditingControl>(*form, "editor")->setFocus();
  if (!ProcessEventsUntil(
          [&] {
            QWidget* focus = QApplication::focusWidget();
            return focus &&
                   (focus == Widget<EditingControl>(*form, "editor") ||
                    Widget<EditingControl>(*form, "editor")->isAncestorOf(focus)) &&
                   QApplication::activeWindow() == form.get();
          },
          5000))
    GTEST_SKIP() << "the editor did not take the focus";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
  // The component leaves the key to the hook, which asks for the editor's topic.
  EXPECT_EQ(asked.count(), 0);
  EXPECT_NE(HelpShowing("/topics/editor.htm"), nullptr);
}
