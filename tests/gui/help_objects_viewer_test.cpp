// End to end: a new project gets a pop-up link, a splash screen and a
// training card through the real editor and dialogs, compiles with the real
// tools, and its topic works in the help viewer: the link shows its text,
// the splash its picture, and the pressed card reaches the program.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QPushButton>
#include <QTreeView>
#include <QWebEngineScript>

#include "app/program_window.h"
#include "tree_items.h"
#include "panes/contents_pane.h"
#include "editor/editor_commands.h"
#include "project/project_commands.h"
#include "chm/compiler.h"
#include "viewer/html_help_viewer.h"
#include "editor/editing_control.h"
#include "editor/number_edit.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "project/new_project_dialog.h"
#include "viewer_fixture.h"
#include "tests/gui/window_parts.h"

using namespace viewer_test;

namespace {

class HelpObjectsInTheViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(pictures.isValid());
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void TearDown() override {
    if (!form) return;
    if (Controller<HtmlHelpViewer>(*form)) Controller<HtmlHelpViewer>(*form)->CloseAll();
    ProjectOf(*form).SetModified(false);
    form->hide();
    QTest::qWait(50);
  }

  QVariant EditorJs(const QString& script) {
    return EditorScript(Widget<EditingControl>(*form, "editor"), script);
  }
  void Select(const QString& selector, int from, int to) {
    SelectInEditor(Widget<EditingControl>(*form, "editor"), selector, from, to);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }

  // A real click in the middle of the first element matching selector.
  void Click(ViewerWindow* viewer, const QString& selector) {
    const QVariantList box = RunJs(viewer->topicView->page(),
                                   QStringLiteral("(function(){ const r = document.querySelector('%1')"
                                                  ".getBoundingClientRect(); return [r.left + r.width / 2,"
                                                  " r.top + r.height / 2]; })()")
                                       .arg(selector))
                                 .toList();
    ASSERT_EQ(box.size(), 2) << selector.toStdString();
    QWidget* surface = viewer->topicView->focusProxy();
    ASSERT_NE(surface, nullptr);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(box[0].toInt(), box[1].toInt()));
  }

  QTemporaryDir dir;
  QTemporaryDir pictures;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(HelpObjectsInTheViewer, PopupSplashAndTrainingCardWorkInTheCompiledTopic) {
  // A new project with one topic whose page has three paragraphs to work on.
  const QString project = dir.filePath("My Guide.hhp");
  AnswerNextFileDialog(project);
  OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) {
    d->titleEdit->setText("Guide");
    d->languageBox->setEditText("0x0409 English (United States)");
    d->accept();
  });
  Action(*form, "newAction")->trigger();
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), project);
  ASSERT_EQ(LinesOf(dir.filePath("My GuideP.js"), 1252), QStringList{"popfont=\"Courier,10\""});
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Start"));
  const QString page = dir.filePath("My_Guide01.htm");
  PutFile(page,
          "<HTML><HEAD><TITLE>Start</TITLE><LINK rel=\"stylesheet\" href=\"My Guide.css\"></HEAD>\r\n"
          "<BODY>\r\n<P id=p>Read this word</P>\r\n<P id=s>Splash:</P>\r\n<P "
          "id=c>Card:</P>\r\n</BODY></HTML>\r\n");
  TreeItem topic = Current(Widget<QTreeView>(*form, "contentsTree"));
  ASSERT_NE(topic, nullptr);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(QModelIndex());
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(topic);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  form->activateWindow();
  Widget<EditingControl>(*form, "editor")->setFocus();

  // The pop-up on "word": the first of the project, so P1 and two lines.
  const QString popupText = "Shown in a \"pop-up\" \\ window";
  Select("#p", 10, 14);
  OnNextDialog<QInputDialog>([popupText](QInputDialog* d) {
    d->setTextValue(popupText);
    d->accept();
  });
  Controller<EditorCommands>(*form)->PrepareInsertMenu();
  ASSERT_TRUE(Action(*form, "insertPopupAction")->isEnabled());
  Action(*form, "insertPopupAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(LinesOf(dir.filePath("My GuideP.js"), 1252).size(), 2);

  // The splash: a picture from another folder, shown for 2 seconds.
  const QString picture = pictures.filePath("splash.bmp");
  QImage image(9, 7, QImage::Format_RGB32);
  image.fill(Qt::green);
  ASSERT_TRUE(image.save(picture, "BMP"));
  EditorJs(
      "(() => { const t = document.querySelector('#s').firstChild; const r = document.createRange();"
      " r.setStart(t, t.data.length); r.collapse(true); getSelection().removeAllRanges();"
      " getSelection().addRange(r); return true; })()");
  OnNextDialog<SplashDialog>([picture](SplashDialog* d) {
    AnswerNextFileDialog(picture);
    d->browseButton->click();
    d->secondsBox->setText("2");
    d->okButton->click();
  });
  Action(*form, "insertSplashAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("splash.bmp")));

  // The training card: wParam 7, lParam 3.
  EditorJs(
      "(() => { const t = document.querySelector('#c').firstChild; const r = document.createRange();"
      " r.setStart(t, t.data.length); r.collapse(true); getSelection().removeAllRanges();"
      " getSelection().addRange(r); return true; })()");
  OnNextDialog<TrainingCardDialog>([](TrainingCardDialog* d) {
    d->buttonTextEdit->setText("Press me");
    d->wParamEdit->setText("7");
    d->lParamEdit->setText("3");
    d->okButton->click();
  });
  Action(*form, "insertTrainingCardAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));

  // Saved: the page holds the objects; compiled with the real tools.
  Action(*form, "saveAction")->trigger();
  ASSERT_FALSE(ProjectOf(*form).IsModified());
  const QString stored = QString::fromLatin1(BytesOf(page));
  EXPECT_TRUE(stored.contains("<PARAM name=\"Command\" value=\"TCard\">")) << stored.toStdString();
  EXPECT_TRUE(stored.contains("value=\"2000\"", Qt::CaseInsensitive)) << stored.toStdString();
  EXPECT_TRUE(stored.contains("src=\"My GuideP.js\""));
  const orvex::CompileResult compiled = orvex::CompileProject(project);
  ASSERT_TRUE(compiled.success) << compiled.messages.join('\n').toStdString();

  // The viewer, as "View compiled help file" opens it.
  QSignalSpy cards(Controller<HtmlHelpViewer>(*form), &HtmlHelpViewer::TrainingCardMessage);
  ASSERT_NE(
      Controller<HtmlHelpViewer>(*form)->ShowTopic(form.get(), compiled.compiledFile + "::/My_Guide01.htm"),
      nullptr);
  ASSERT_EQ(Controller<HtmlHelpViewer>(*form)->Viewers().size(), 1);
  ViewerWindow* viewer = Controller<HtmlHelpViewer>(*form)->Viewers().first();
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWebEnginePage* topicPage = viewer->topicView->page();

  // The splash shows its picture, then goes after its time.
  const auto splashState = [&] {
    return RunJs(topicPage,
                 "(() => { const c = document.getElementById('orvex-splash'); if (!c) return 'none';"
                 " const i = c.querySelector('img'); return i.complete + ':' + i.naturalWidth; })()")
        .toString();
  };
  EXPECT_TRUE(WaitUntil([&] { return splashState() == "true:9"; }, 5000)) << splashState().toStdString();
  EXPECT_TRUE(WaitUntil([&] { return splashState() == "none"; }, 6000));

  // The pop-up link shows its text, in the pop-up font, near the link.
  Click(viewer, "a[href^=\"Javascript:popup\" i]");
  const auto popupState = [&] {
    return RunJs(topicPage,
                 "(() => { const p = document.getElementById('orvex-text-popup'); if (!p) return [];"
                 " const a = document.querySelector('a').getBoundingClientRect(); const r = "
                 "p.getBoundingClientRect();"
                 " return [p.textContent, getComputedStyle(p).fontFamily, getComputedStyle(p).fontSize,"
                 " Math.abs(r.top - a.bottom) < 60]; })()")
        .toList();
  };
  ASSERT_TRUE(WaitUntil([&] { return !popupState().isEmpty(); }, 5000));
  const QVariantList popup = popupState();
  EXPECT_EQ(popup.value(0).toString(), popupText);
  EXPECT_TRUE(popup.value(1).toString().contains("Courier")) << popup.value(1).toString().toStdString();
  EXPECT_EQ(popup.value(2).toString(), "13.3333px");  // 10 pt
  EXPECT_TRUE(popup.value(3).toBool());
  // The next click closes it.
  Click(viewer, "#s");
  EXPECT_TRUE(WaitUntil([&] { return popupState().isEmpty(); }, 5000));

  // The card is a button with its caption; pressing it sends wParam and
  // lParam to the program, which shows them.
  EXPECT_EQ(RunJs(topicPage, "document.querySelector('button.orvex-tcard').textContent").toString(),
            "Press me");
  auto box = AnswerNextMessageBox(QMessageBox::Ok, 15000);
  Click(viewer, "button.orvex-tcard");
  ASSERT_TRUE(WaitUntil([&] { return cards.count() >= 1; }, 10000));
  EXPECT_EQ(cards.at(0).at(0).toInt(), 7);
  EXPECT_EQ(cards.at(0).at(1).toInt(), 3);
  ASSERT_TRUE(WaitUntil([&] { return box->shown; }, 10000));
  EXPECT_TRUE(box->text.contains("wParam=7")) << box->text.toStdString();
  EXPECT_TRUE(box->text.contains("lParam=3")) << box->text.toStdString();
  EXPECT_EQ(viewer->CurrentEntry(), "/My_Guide01.htm");
}

}  // namespace
