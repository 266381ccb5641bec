// The help viewer on a compiled file made by the real hhc: topics, links,
// pictures, the style sheet, contents, index, search, context numbers.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolBar>
#include <QTextStream>
#include <QTreeWidget>
#include <QWebEngineView>

#include "viewer/chm_document.h"
#include "viewer/html_help_viewer.h"
#include "app/view_command.h"
#include "viewer/viewer_window.h"
#include "editor/card_conversions.h"
#include "features/help_objects.h"
#include "features/popup_texts.h"
#include "gui_helpers.h"
#include "viewer_fixture.h"

using namespace viewer_test;

namespace {

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sample.Write();
    if (HasFatalFailure()) return;
    BeforeCompile();
    ASSERT_TRUE(sample.Compile());
    help = std::make_unique<HtmlHelpViewer>();
  }
  void TearDown() override {
    if (help) help->CloseAll();
    help.reset();
    QTest::qWait(50);
  }
  virtual void BeforeCompile() {}

  ViewerWindow* Display(const QString& file) {
    EXPECT_NE(help->ShowTopic(nullptr, file), nullptr);
    return help->Viewers().value(0);
  }

  SampleProject sample;
  std::unique_ptr<HtmlHelpViewer> help;
};

TEST_F(ViewerTest, DisplayTopicOpensTheDefaultTopic) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->windowTitle(), "Printer Guide");
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  EXPECT_TRUE(RunJs(viewer->topicView->page(), "document.body.innerText").toString().contains("One"));
}

TEST_F(ViewerTest, HelpContextOpensTheMappedTopic) {
  ViewerWindow* window = help->ShowContext(nullptr, sample.project.chmPath(), 101);
  ASSERT_NE(window, nullptr);
  ViewerWindow* viewer = help->Viewers().value(0);
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  // The same window is reused for the next context.
  EXPECT_EQ(help->ShowContext(nullptr, sample.project.chmPath(), 102), window);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
  EXPECT_EQ(help->Viewers().size(), 1);
}

TEST_F(ViewerTest, UnmappedContextShowsNothing) {
  EXPECT_EQ(help->ShowContext(nullptr, sample.project.chmPath(), 999), nullptr);
  QTest::qWait(50);
  EXPECT_TRUE(help->Viewers().isEmpty());
}

TEST_F(ViewerTest, TopicAfterDoubleColonIsShown) {
  help->ShowTopic(nullptr, sample.project.chmPath() + "::/My_Guide03.htm");
  ViewerWindow* viewer = help->Viewers().value(0);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
}

TEST_F(ViewerTest, MissingOrBrokenFilesShowNothing) {
  EXPECT_EQ(help->ShowTopic(nullptr, sample.project.folder + "/none.chm"), nullptr);
  const QString broken = sample.project.folder + "/broken.chm";
  orvex_test::writeBytes(broken, "this is no compiled help file");
  EXPECT_EQ(help->ShowTopic(nullptr, broken), nullptr);
  EXPECT_TRUE(help->Viewers().isEmpty());
  // A refused file says why; a missing one is simply not there.
  EXPECT_TRUE(help->LastError().contains("too short for a compiled help file"))
      << help->LastError().toStdString();
  EXPECT_TRUE(help->LastError().contains("broken.chm"));
  // A damaged copy of a sound file: its directory cut short.
  const QByteArray sound = orvex_test::readBytes(sample.project.chmPath());
  orvex_test::writeBytes(broken, sound.left(0x100));
  EXPECT_EQ(help->ShowTopic(nullptr, broken), nullptr);
  EXPECT_TRUE(help->LastError().contains("does not fit")) << help->LastError().toStdString();
  EXPECT_EQ(help->ShowTopic(nullptr, sample.project.folder + "/none.chm"), nullptr);
  EXPECT_TRUE(help->LastError().isEmpty());
}

TEST_F(ViewerTest, StyleSheetIsServedAsCssAndApplied) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWebEnginePage* page = viewer->topicView->page();
  ASSERT_TRUE(WaitUntil(
      [&] { return RunJs(page, "getComputedStyle(document.body).color").toString() == "rgb(1, 2, 3)"; },
      10000))
      << RunJs(page, "getComputedStyle(document.body).color").toString().toStdString();
  bool cssSeen = false;
  for (const auto& [path, type] : viewer->RequestLog()) {
    if (path.compare("/My Guide.css", Qt::CaseInsensitive) == 0) {
      cssSeen = true;
      EXPECT_TRUE(type.startsWith("text/css")) << type.toStdString();
    }
    if (path.compare("/My_Guide01.htm", Qt::CaseInsensitive) == 0) {
      EXPECT_TRUE(type.startsWith("text/html")) << type.toStdString();
    }
  }
  EXPECT_TRUE(cssSeen);
}

TEST_F(ViewerTest, PicturesAreShown) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWebEnginePage* page = viewer->topicView->page();
  EXPECT_TRUE(WaitUntil(
      [&] {
        return RunJs(page, "document.images.length ? document.images[0].naturalWidth : -1").toInt() == 7;
      },
      10000));
}

TEST_F(ViewerTest, LinksLeadBetweenTopicsWithBackAndForward) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  EXPECT_FALSE(viewer->backAction->isEnabled());
  // A real click on the link (the history keeps pages left by the user's own clicks).
  const QVariantList box = RunJs(viewer->topicView->page(),
                                 "(function(){ const r = document.querySelector('a').getBoundingClientRect();"
                                 " return [r.left + r.width / 2, r.top + r.height / 2]; })()")
                               .toList();
  ASSERT_EQ(box.size(), 2);
  QWidget* surface = viewer->topicView->focusProxy();
  ASSERT_NE(surface, nullptr);
  QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(box[0].toInt(), box[1].toInt()));
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
  ASSERT_TRUE(WaitUntil([&] { return viewer->backAction->isEnabled(); }));
  // Alt+Left and Alt+Right with the topic focused, as a reader goes back and forth.
  QTest::keyClick(surface, Qt::Key_Left, Qt::AltModifier);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  ASSERT_TRUE(WaitUntil([&] { return viewer->forwardAction->isEnabled(); }));
  QTest::keyClick(surface, Qt::Key_Right, Qt::AltModifier);
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
}

TEST_F(ViewerTest, ReaderZoomsFindsPrintsAndOpensAnotherFile) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWidget* surface = viewer->topicView->focusProxy();
  ASSERT_NE(surface, nullptr);
  viewer->activateWindow();
  surface->setFocus();

  QTest::keyClick(surface, Qt::Key_Plus, Qt::ControlModifier);
  EXPECT_GT(viewer->topicView->zoomFactor(), 1.0);
  QTest::keyClick(surface, Qt::Key_0, Qt::ControlModifier);
  QTest::keyClick(surface, Qt::Key_Minus, Qt::ControlModifier);
  EXPECT_LT(viewer->topicView->zoomFactor(), 1.0);

  // "t" is in "été" and in the link "two".
  QTest::keyClick(surface, Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(viewer->findBar->isVisible());
  EXPECT_TRUE(viewer->findEdit->hasFocus());
  QTest::keyClicks(viewer->findEdit, "t");
  EXPECT_TRUE(WaitUntil([&] { return viewer->findStatus->text() == "1 of 2"; }))
      << viewer->findStatus->text().toStdString();
  QTest::keyClick(viewer->findEdit, Qt::Key_Return);
  EXPECT_TRUE(WaitUntil([&] { return viewer->findStatus->text() == "2 of 2"; }))
      << viewer->findStatus->text().toStdString();
  QTest::keyClicks(viewer->findEdit, "zebra");
  EXPECT_TRUE(WaitUntil([&] { return viewer->findStatus->text() == "Not found"; }));
  QTest::keyClick(viewer->findEdit, Qt::Key_Escape);
  EXPECT_FALSE(viewer->findBar->isVisible());

  // Printed through the print dialog, here into a PDF file.
  const QString pdf = sample.dir.filePath("topic.pdf");
  QSignalSpy printed(viewer, &ViewerWindow::PrintFinished);
  OnNextDialog<QPrintDialog>([&](QPrintDialog* dialog) {
    dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
    dialog->printer()->setOutputFileName(pdf);
    if (auto* name = dialog->findChild<QLineEdit*>("filename")) name->setText(pdf);
    dialog->accept();
  });
  viewer->printAction->trigger();
  ASSERT_TRUE(WaitUntil([&] { return printed.count() == 1; }));
  EXPECT_TRUE(printed.at(0).at(0).toBool());
  EXPECT_GT(QFileInfo(pdf).size(), 0);

  // File > Open shows any compiled file in a window of its own.
  const QString other = sample.dir.filePath("Other.chm");
  ASSERT_TRUE(QFile::copy(sample.project.chmPath(), other));
  AnswerNextFileDialog(other);
  viewer->openAction->trigger();
  ASSERT_EQ(help->Viewers().size(), 2);
  EXPECT_EQ(help->Viewers().at(1)->FilePath(), QFileInfo(other).absoluteFilePath());
  EXPECT_TRUE(WaitForTopic(help->Viewers().at(1), "/My_Guide01.htm"));
}

TEST_F(ViewerTest, OpensBesideItsOwnerAndRemembersItsSize) {
  help->SetSettingsFile(sample.dir.filePath("orvex.ini"));
  QMainWindow owner;
  owner.menuBar()->addMenu("&File");
  owner.setGeometry(0, 0, 400, 300);
  owner.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
  const QRect menuBar(owner.menuBar()->mapToGlobal(QPoint(0, 0)), owner.menuBar()->size());

  // No room beside the owner on this screen: the viewer keeps off its menu bar.
  ASSERT_NE(help->ShowTopic(&owner, sample.project.chmPath()), nullptr);
  QPointer<ViewerWindow> viewer = help->Viewers().value(0);
  ASSERT_FALSE(viewer.isNull());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.data()));
  EXPECT_FALSE(viewer->frameGeometry().intersects(menuBar)) << viewer->frameGeometry().y();
  viewer->resize(360, 280);
  viewer->close();
  ASSERT_TRUE(WaitUntil([&] { return viewer.isNull(); }));

  // The next window has the size the last one had, and beside a narrow owner there is room.
  owner.setGeometry(0, 0, 200, 300);
  ASSERT_NE(help->ShowTopic(&owner, sample.project.chmPath()), nullptr);
  viewer = help->Viewers().value(0);
  ASSERT_FALSE(viewer.isNull());
  EXPECT_EQ(viewer->size(), QSize(360, 280));
  EXPECT_GT(viewer->frameGeometry().left(), owner.frameGeometry().right());
}

TEST_F(ViewerTest, ContentsPaneListsTheTopicsAndOpensThem) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_EQ(viewer->contentsTree->topLevelItemCount(), 3);
  EXPECT_EQ(viewer->contentsTree->topLevelItem(0)->text(0), "One");
  EXPECT_EQ(viewer->contentsTree->topLevelItem(2)->text(0), "Three");
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  viewer->ShowContentsItem(viewer->contentsTree->topLevelItem(2));
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
  // Following a link selects the topic's contents item.
  viewer->ShowUrl(ChmEntryUrl("/My_Guide02.htm"));
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide02.htm"));
  EXPECT_EQ(viewer->contentsTree->currentItem(), viewer->contentsTree->topLevelItem(1));
}

TEST_F(ViewerTest, IndexKeywordSearchFindsAndOpensTheTopic) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_GE(viewer->indexTree->topLevelItemCount(), 1);
  viewer->FindKeyword("THR");
  ASSERT_NE(viewer->indexTree->currentItem(), nullptr);
  EXPECT_EQ(viewer->indexTree->currentItem()->text(0), "three");
  viewer->FindKeyword("zebra");  // nothing matches: the selection stays
  EXPECT_EQ(viewer->indexTree->currentItem()->text(0), "three");
  viewer->indexDisplay->click();
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
}

TEST_F(ViewerTest, FullTextSearchListsTopicsWithEveryWord) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  viewer->searchEdit->setText("only CONTENTS");
  viewer->searchButton->click();
  ASSERT_TRUE(WaitUntil([&] { return !viewer->SearchRunning(); }));
  ASSERT_EQ(viewer->searchResults->count(), 1);
  EXPECT_EQ(viewer->searchResults->item(0)->toolTip(), "My_Guide03.htm");
  viewer->searchDisplay->click();
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide03.htm"));
  // The words searched for are marked in the page, its text left as it was.
  const QString marks =
      "Array.from(document.querySelectorAll('.orvex-search-hit')).map(function (m) { return m.textContent; })"
      ".join('|')";
  EXPECT_TRUE(WaitUntil([&] {
    return RunJs(viewer->topicView->page(), marks).toString() == "only|contents";
  })) << RunJs(viewer->topicView->page(), marks).toString().toStdString();
  EXPECT_EQ(RunJs(viewer->topicView->page(), "document.body.textContent.trim()").toString(),
            "Three, only in the contents.");
  viewer->RunSearch("only nowhere");
  ASSERT_TRUE(WaitUntil([&] { return !viewer->SearchRunning(); }));
  EXPECT_EQ(viewer->searchResults->count(), 0);
  EXPECT_EQ(viewer->searchStatus->text(), "0 topics found.");
}

TEST_F(ViewerTest, CloseAllClosesTheViewers) {
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  QPointer<ViewerWindow> guard(viewer);
  help->CloseAll();
  EXPECT_TRUE(WaitUntil([&] { return guard.isNull(); }, 5000));
  EXPECT_TRUE(help->Viewers().isEmpty());
}

TEST_F(ViewerTest, ASessionThatEndsClosesEverything) {
  const HelpViewerSession session = help->BeginSession();
  EXPECT_TRUE(session.IsOpen());
  ASSERT_NE(Display(sample.project.chmPath()), nullptr);
  help->EndSession(session);
  EXPECT_TRUE(WaitUntil([&] { return help->Viewers().isEmpty(); }, 5000));
  EXPECT_EQ(help->ShowTopic(nullptr, sample.project.chmPath()), nullptr);
}

TEST_F(ViewerTest, PageScriptsReachTheViewerAsTrainingCardMessages) {
  // A page script stands in for a training-card button being pressed.
  help->AddPageScript("card",
                      "if (location.pathname.endsWith('My_Guide01.htm'))"
                      "  location.href = 'orvex-chm:/$orvex/tcard?wParam=5&lParam=-7';");
  QSignalSpy cards(help.get(), &HtmlHelpViewer::TrainingCardMessage);
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return cards.count() >= 1; }));
  EXPECT_EQ(cards.at(0).at(0).toInt(), 5);
  EXPECT_EQ(cards.at(0).at(1).toInt(), -7);
  // The command is no page: the topic stays.
  EXPECT_EQ(viewer->CurrentEntry(), "/My_Guide01.htm");
}

// The topic of `orvex --view` holds a pop-up link, a splash screen and a
// training card, as the program's own help features write them.
class StandAloneViewerTest : public ViewerTest {
 protected:
  void BeforeCompile() override {
    const QString page =
        "<html><head>" + PopupHeadObject() + PopupScriptTag("My GuideP.js") +
        "</head><body><p><a id=pop href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">"
        "word</a></p>" +
        SplashObject("pic.png", 20000) + CardButtonsToObjects(TrainingCardButtonFor("Next", "$1F", "3")) +
        "</body></html>";
    orvex_test::writeBytes(sample.project.folder + "/My_Guide01.htm", page.toLatin1());
    orvex_test::writeBytes(sample.project.folder + "/My GuideP.js",
                           "popfont=\"Courier,10\"\r\nP1=\"Shown on its own\"\r\n");
  }
};

TEST_F(StandAloneViewerTest, PopupSplashAndTrainingCardWorkInTheViewerOnItsOwn) {
  QString errors;
  QTextStream err(&errors);
  const std::unique_ptr<HtmlHelpViewer> standAlone = ShowViewCommand(sample.project.chmPath(), err);
  ASSERT_NE(standAlone, nullptr) << errors.toStdString();
  QSignalSpy cards(standAlone.get(), &HtmlHelpViewer::TrainingCardMessage);
  ViewerWindow* viewer = standAlone->Viewers().value(0);
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWebEnginePage* page = viewer->topicView->page();
  EXPECT_TRUE(
      WaitUntil([&] { return RunJs(page, "!!document.querySelector('#orvex-splash img')").toBool(); }));
  EXPECT_EQ(RunJs(page, "typeof popup.textpopup").toString(), "function");
  RunJs(page, "document.getElementById('pop').click(); true");
  EXPECT_TRUE(WaitUntil([&] {
    return RunJs(page, "(document.getElementById('orvex-text-popup') || {}).textContent").toString() ==
           "Shown on its own";
  }));
  ASSERT_EQ(RunJs(page, "document.querySelector('button.orvex-tcard').textContent").toString(), "Next");
  RunJs(page, "document.querySelector('button.orvex-tcard').click(); true");
  ASSERT_TRUE(WaitUntil([&] { return cards.count() == 1; }));
  // The card's hexadecimal wParam arrives as its value.
  EXPECT_EQ(cards.at(0).at(0).toInt(), 0x1F);
  EXPECT_EQ(cards.at(0).at(1).toInt(), 3);
}

class ViewerRussianTest : public ViewerTest {
 protected:
  void BeforeCompile() override { sample.SetLanguage("Language=0x0419 Russian (Russia)"); }
};

TEST_F(ViewerRussianTest, PagesAreReadInTheCodePageOfTheFilesLanguage) {
  ChmDocument doc;
  ASSERT_TRUE(doc.Open(sample.project.chmPath()));
  ASSERT_EQ(doc.Info().lcid, 0x0419u);
  ViewerWindow* viewer = Display(sample.project.chmPath());
  ASSERT_NE(viewer, nullptr);
  ASSERT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
  QWebEnginePage* page = viewer->topicView->page();
  EXPECT_EQ(RunJs(page, "document.characterSet").toString().toLower(), "windows-1251");
  // The bytes E9 74 E9 are "йtй" in code page 1251.
  EXPECT_TRUE(RunJs(page, "document.body.innerText").toString().contains(QString::fromUtf8("йtй")));
}

}  // namespace
