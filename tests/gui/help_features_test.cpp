// Pop-up texts, splash screens, training cards and the style sheet, through
// the real main window, its dialogs and the real editor.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>

#include "editor/number_edit.h"
#include "features/text_edit_dialog.h"
#include "features/popup_texts.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "help_features_fixture.h"
#include "panes/topic_editing.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

int Count(const QString& text, const QString& what) { return int(text.count(what, Qt::CaseInsensitive)); }

using PopupTexts = HelpFeaturesFixture;

TEST_F(PopupTexts, SelectionBecomesTheLinkAndTheHeadGetsTheObject) {
  OpenPage("<P id=p>Press here now</P>");
  QGuiApplication::clipboard()->setText("kept on the clipboard");
  Select("#p", 6, 10);
  QString caption, prompt;
  InsertPopup("Shown when pressed", &caption, &prompt);
  EXPECT_EQ(caption, "Text pop-up");
  EXPECT_EQ(prompt, "Text");
  EXPECT_EQ(FileBytes(Path("ProjP.js")), "popfont=\"Courier,10\"\r\nP1=\"Shown when pressed\"\r\n");
  const QString html = Html();
  EXPECT_TRUE(html.contains("<A href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">here</A>",
                            Qt::CaseInsensitive))
      << html.toStdString();
  EXPECT_TRUE(html.contains(PopupHeadObject() + PopupScriptTag("ProjP.js") + "</HEAD>"))
      << html.toStdString();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard");
  // The page was stored with the link: leaving the topic keeps it.
  EXPECT_TRUE(QString::fromLatin1(FileBytes(Path("Proj01.htm"))).contains("popup.textpopup(P1,"));
}

TEST_F(PopupTexts, NextAfterTwelveIsP13AndInsertingTwiceAddsTheHeadOnce) {
  QByteArray script = "popfont=\"Courier,10\"\r\n";
  for (int i = 1; i <= 12; ++i) script += QStringLiteral("P%1=\"t%1\"\r\n").arg(i).toLatin1();
  PutFile(Path("ProjP.js"), script);
  OpenPage("<P id=a>first word</P><P id=b>second word</P>");
  Select("#a", 0, 5);
  InsertPopup("one");
  Select("#b", 0, 6);
  InsertPopup("two");
  const QStringList lines = ScriptLines();
  ASSERT_EQ(lines.size(), 15);
  EXPECT_EQ(lines.at(13), "P13=\"one\"");
  EXPECT_EQ(lines.at(14), "P14=\"two\"");
  const QString html = Html();
  EXPECT_EQ(Count(html, "<OBJECT id=popup"), 1) << html.toStdString();
  EXPECT_EQ(Count(html, "src=\"ProjP.js\""), 1) << html.toStdString();
  EXPECT_TRUE(html.contains("textpopup(P14,popfont", Qt::CaseInsensitive));
}

TEST_F(PopupTexts, APageFileWithoutAHeadGetsTheObjectOnceBeforeItsBody) {
  // The editing control gives such a page back with a head of its own, so
  // the object goes before that head's end (a text with no head end at all
  // gets it in front: see the PopupHead unit tests).
  OpenPageText("<HTML>\r\n<P id=p>bare page</P>\r\n<P id=q>more</P>\r\n</HTML>\r\n");
  Select("#p", 0, 4);
  InsertPopup("x");
  Select("#q", 0, 4);
  InsertPopup("y");
  const QString html = Html();
  EXPECT_TRUE(html.contains(PopupHeadObject() + PopupScriptTag("ProjP.js") + "</HEAD>"))
      << html.toStdString();
  EXPECT_EQ(Count(html, "<OBJECT id=popup"), 1);
  EXPECT_LT(html.indexOf("<OBJECT id=popup"), html.indexOf("<BODY", 0, Qt::CaseInsensitive));
  const QString stored = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_EQ(Count(stored, "<OBJECT id=popup"), 1) << stored.toStdString();
  EXPECT_TRUE(stored.contains("textpopup(P1,popfont"));
  // The second link is an ordinary edit, stored when the topic is left.
  EXPECT_TRUE(Controller<TopicEditing>(*form)->PageHasUnsavedEdits());
}

TEST_F(PopupTexts, QuotesAndBackslashesCannotBreakTheScriptOrTheLink) {
  OpenPage("<P id=p>word</P>");
  Select("#p", 0, 4);
  InsertPopup("say \"hi\" <b> C:\\x");
  EXPECT_EQ(ScriptLines().value(1), "P1=\"say \\\"hi\\\" <b> C:\\\\x\"");
  // Without a selection the typed text is the link's text, escaped.
  Select("#p", 0, 0);
  Controller<EditorCommands>(*form)->PrepareInsertMenu();
  EXPECT_FALSE(Action(*form, "insertPopupAction")->isEnabled());
  ExpectWritten(Controller<HelpFeatureCommands>(*form)->InsertPopup("a <b> & \"c\""));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString html = Html();
  EXPECT_TRUE(html.contains("(P2,popfont,10,10,0,-1)\">a &lt;b&gt; &amp; \"c\"</A>", Qt::CaseInsensitive))
      << html.toStdString();
  EXPECT_EQ(Count(html, "<B>"), 0);
}

TEST_F(PopupTexts, AMissingScriptFileStopsWithTheFileError) {
  OpenPage("<P id=p>word</P>");
  QFile::remove(Path("ProjP.js"));
  Select("#p", 0, 4);
  auto box = AnswerNextMessageBox(QMessageBox::Ok);
  InsertPopup("x");
  ProcessEventsUntil([&] { return box->shown; }, 5000);
  EXPECT_TRUE(box->text.startsWith("Cannot open file")) << box->text.toStdString();
  EXPECT_FALSE(Html().contains("textpopup", Qt::CaseInsensitive));
  EXPECT_FALSE(QFileInfo::exists(Path("ProjP.js")));
}

TEST_F(PopupTexts, APageTheEditorCannotGiveBackIsReportedWithTheScriptFile) {
  OpenPage("<P id=p>word</P>");
  Select("#p", 0, 4);
  Js("__orvex.snapshot = () => null; true");  // the page stops answering
  auto box = AnswerNextMessageBox(QMessageBox::Ok);
  InsertPopup("x");
  ProcessEventsUntil([&] { return box->shown; }, 5000);
  ASSERT_TRUE(box->shown);
  EXPECT_TRUE(box->text.contains(QDir::toNativeSeparators(Path("ProjP.js")))) << box->text.toStdString();
  EXPECT_TRUE(box->text.contains("P1")) << box->text.toStdString();
}

TEST_F(PopupTexts, PopupTextsEditsTheFileInTheTextDialog) {
  PutFile(Path("ProjP.js"), "popfont=\"Courier,10\"\r\nP1=\"old\"\r\n");
  QString caption, shown;
  OnNextDialog<TextEditDialog>([&](TextEditDialog* d) {
    caption = d->windowTitle();
    shown = d->textBox->toPlainText();
    d->textBox->selectAll();
    d->textBox->insertPlainText("popfont=\"Arial,12\"\nP1=\"new\"");
    d->okButton->click();
  });
  Action(*form, "popupTextsAction")->trigger();
  EXPECT_EQ(caption, "Pop-up texts");
  EXPECT_EQ(shown, "popfont=\"Courier,10\"\nP1=\"old\"");
  EXPECT_EQ(ProgramDialogs(*form).textEditDialog->property("HelpContext").toInt(), 10010);
  EXPECT_EQ(FileBytes(Path("ProjP.js")), "popfont=\"Arial,12\"\r\nP1=\"new\"\r\n");

  // Cancel, or OK without a change, writes nothing.
  PutFile(Path("ProjP.js"), "P1=\"x\"");
  OnNextDialog<TextEditDialog>([](TextEditDialog* d) { d->okButton->click(); });
  Action(*form, "popupTextsAction")->trigger();
  EXPECT_EQ(FileBytes(Path("ProjP.js")), "P1=\"x\"");
  OnNextDialog<TextEditDialog>([](TextEditDialog* d) {
    d->textBox->insertPlainText("changed");
    d->cancelButton->click();
  });
  Action(*form, "popupTextsAction")->trigger();
  EXPECT_EQ(FileBytes(Path("ProjP.js")), "P1=\"x\"");

  // A missing file: the error, and no dialog.
  QFile::remove(Path("ProjP.js"));
  bool dialogShown = false;
  OnNextDialog<TextEditDialog>(
      [&](TextEditDialog* d) {
        dialogShown = true;
        d->reject();
      },
      1500);
  auto box = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "popupTextsAction")->trigger();
  ProcessEventsUntil([&] { return box->shown; }, 5000);
  EXPECT_TRUE(box->text.startsWith("Cannot open file"));
  ProcessEventsUntil([] { return false; }, 1600);
  EXPECT_FALSE(dialogShown);
}

// ---- splash screens ----------------------------------------------------------

using SplashScreens = SplashPictureFixture;

TEST_F(SplashScreens, FiveSecondsGiveItem2Of5000AndThePictureIsCopied) {
  OpenPage("<P id=p>before</P>");
  Select("#p", 6, 6);
  InsertSplash(picture, "5");
  EXPECT_EQ(ProgramDialogs(*form).splashDialog->fileNameEdit->text(), "logo.bmp");
  EXPECT_EQ(FileBytes(Path("logo.bmp")), FileBytes(picture));
  const QString html = Html();
  EXPECT_TRUE(html.contains("<PARAM name=\"Command\" value=\"Splash\">", Qt::CaseInsensitive))
      << html.toStdString();
  EXPECT_TRUE(html.contains("<PARAM name=\"Item1\" value=\"logo.bmp\">", Qt::CaseInsensitive));
  EXPECT_TRUE(html.contains("<PARAM name=\"Item2\" value=\"5000\">", Qt::CaseInsensitive));
  EXPECT_EQ(Count(html, "<OBJECT"), 1);
}

TEST_F(SplashScreens, TimeAboveTheRangeConfirmedAtOnceIsUsedAndAnEmptyNameKeepsTheDialogOpen) {
  OpenPage("<P id=p>text</P>");
  Select("#p", 4, 4);
  bool stayedOpen = false;
  OnNextDialog<SplashDialog>([&](SplashDialog* d) {
    d->okButton->click();  // no picture yet: nothing happens
    stayedOpen = d->isVisible() && !d->allowClose;
    AnswerNextFileDialog(picture);
    d->browseButton->click();
    d->secondsBox->setFocus();
    d->secondsBox->setText("90");
    QTest::keyClick(d->secondsBox, Qt::Key_Return);  // Enter while the box has the focus
  });
  Action(*form, "insertSplashAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(Html().contains("value=\"90000\"", Qt::CaseInsensitive)) << Html().toStdString();
}

TEST_F(SplashScreens, APictureThatIsGoneInsertsNothing) {
  OpenPage("<P id=p>text</P>");
  Select("#p", 4, 4);
  InsertSplash(picture, "3");
  ASSERT_TRUE(Html().contains("value=\"3000\"", Qt::CaseInsensitive));
  QFile::remove(picture);
  QFile::remove(Path("logo.bmp"));  // the copy in the project folder too
  // OK with a typed name that is nowhere says so and keeps the dialog open.
  auto seen = std::make_shared<SeenBox>();
  bool stayedOpen = false;
  OnNextDialog<SplashDialog>([&](SplashDialog* d) {
    EXPECT_TRUE(d->fileNameEdit->text().isEmpty());  // emptied on every showing
    d->fileNameEdit->setText("logo.bmp");
    d->secondsBox->setText("7");
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    d->okButton->click();
    stayedOpen = d->isVisible();
    d->cancelButton->click();
  });
  Action(*form, "insertSplashAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.startsWith("File not found: ") && seen->text.endsWith("logo.bmp"))
      << seen->text.toStdString();
  EXPECT_TRUE(stayedOpen);
  EXPECT_FALSE(Html().contains("value=\"7000\"", Qt::CaseInsensitive));
  EXPECT_EQ(ProgramDialogs(*form).splashDialog->secondsBox->text(), "7");  // kept for the next use
}

TEST_F(SplashScreens, APictureThatCannotBeCopiedIsReportedAndInsertsNothing) {
  ASSERT_TRUE(QDir(dir.path()).mkdir("logo.bmp"));  // a folder stands where the copy would go
  OpenPage("<P id=p>text</P>");
  Select("#p", 4, 4);
  auto box = AnswerNextMessageBox(QMessageBox::Ok);
  InsertSplash(picture, "3");
  ProcessEventsUntil([&] { return box->shown; }, 5000);
  ASSERT_TRUE(box->shown);
  EXPECT_TRUE(box->text.contains(QDir::toNativeSeparators(picture))) << box->text.toStdString();
  EXPECT_TRUE(box->text.contains("is a folder")) << box->text.toStdString();
  EXPECT_FALSE(Html().contains("Splash", Qt::CaseInsensitive)) << Html().toStdString();
}

// ---- training cards ------------------------------------------------------------

using TrainingCards = HelpFeaturesFixture;

TEST_F(TrainingCards, SevenWithAnEmptyLParamGivesAltSevenCommaBlank) {
  OpenPage("<P id=p>text</P>");
  Select("#p", 4, 4);
  OnNextDialog<TrainingCardDialog>([](TrainingCardDialog* d) {
    d->buttonTextEdit->setText("Try it");
    d->wParamEdit->setText(" 7 ");
    d->lParamEdit->setText("");
    d->okButton->click();
  });
  Action(*form, "insertTrainingCardAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString html = Html();
  EXPECT_TRUE(
      html.contains("<INPUT type=button name=\"tcard\" value=\"Try it\" alt=\" 7 , \">", Qt::CaseInsensitive))
      << html.toStdString();
  // Stored, it is the training-card object with the same values.
  ExpectWritten(Controller<TopicEditing>(*form)->StoreEditorPage(Path("Proj01.htm")));
  const QString stored = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(stored.contains(
      "<PARAM name=\"Button\" value=\"Try it\">\r\n<param name=\"Item1\" value=\" 7 , \"></OBJECT>"))
      << stored.toStdString();
}

TEST_F(TrainingCards, WParamChecksKeepTheDialogOpenWithTheirMessages) {
  TrainingCardDialog* dialog = ProgramDialogs(*form).trainingCardDialog;
  EXPECT_EQ(dialog->windowTitle(), "Training card");
  EXPECT_EQ(dialog->wParamEdit->maxLength(), 5);
  QStringList messages;
  bool openAfterEmpty = false, openAfterText = false;
  OnNextDialog<TrainingCardDialog>([&](TrainingCardDialog* d) {
    d->wParamEdit->setText("  ");
    auto empty = AnswerNextMessageBox(QMessageBox::Ok);
    d->okButton->click();
    messages << empty->text;
    openAfterEmpty = d->isVisible();
    d->wParamEdit->setText("12x");
    auto text = AnswerNextMessageBox(QMessageBox::Ok);
    d->okButton->click();
    messages << text->text;
    openAfterText = d->isVisible() && !d->allowClose;
    d->cancelButton->click();
  });
  Action(*form, "insertTrainingCardAction")->trigger();
  EXPECT_EQ(messages, QStringList({" wPARAM value is empty! ", "wPARAM should be number!"}));
  EXPECT_TRUE(openAfterEmpty);
  EXPECT_TRUE(openAfterText);
}

TEST_F(TrainingCards, LeavingAWrongWParamForAnotherFieldSaysSoAndComesBack) {
  std::shared_ptr<SeenBox> seen;
  bool backInField = false;
  OnNextDialog<TrainingCardDialog>([&](TrainingCardDialog* d) {
    // Leaving a field is a focus change inside the active window.
    d->activateWindow();
    // A busy machine may not hand the activation over in time: then it is set here.
    if (!QTest::qWaitForWindowActive(d)) QApplication::setActiveWindow(d);
    d->wParamEdit->setFocus();
    d->wParamEdit->clear();
    QTest::keyClicks(d->wParamEdit, "abc");
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    d->lParamEdit->setFocus();
    ProcessEventsUntil([&] { return seen->shown; }, 5000);
    // The field is the dialog's focus again (whether or not the offscreen
    // window is the active one).
    ProcessEventsUntil([d] { return d->focusWidget() == d->wParamEdit; }, 2000);
    backInField = d->focusWidget() == d->wParamEdit;
    d->cancelButton->click();
  });
  Action(*form, "insertTrainingCardAction")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, "wPARAM should be number!");
  EXPECT_TRUE(backInField);
}

// ---- style sheet ----------------------------------------------------------------

class StyleSheetEditing : public HelpFeaturesFixture {
 protected:
  static QByteArray CardPage() {
    return "<HTML><HEAD><TITLE>Start</TITLE><LINK rel=\"stylesheet\" href=\"Proj.css\"></HEAD>\r\n<BODY>\r\n"
           "<P id=p>Styled text</P>\r\n<OBJECT id=tcard1\r\ntype=\"application/x-oleobject\"\r\n"
           "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n<PARAM name=\"Command\" "
           "value=\"TCard\">\r\n"
           "<PARAM name=\"Button\" value=\"Go\">\r\n<param name=\"Item1\" value=\"5, 6\"></OBJECT>\r\n"
           "</BODY></HTML>\r\n";
  }
  void EditStyleSheet(const QString& text, QString* caption = nullptr) {
    auto seen = std::make_shared<QString>();
    OnNextDialog<TextEditDialog>([text, seen](TextEditDialog* d) {
      *seen = d->windowTitle();
      d->textBox->selectAll();
      d->textBox->insertPlainText(text);
      d->okButton->click();
    });
    Action(*form, "styleSheetAction")->trigger();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    if (caption) *caption = *seen;
  }
  QString TextColour() {
    QString colour;
    ProcessEventsUntil(
        [&] {
          colour = Js("getComputedStyle(document.getElementById('p')).color").toString();
          return colour == "rgb(1, 2, 3)";
        },
        5000);
    return colour;
  }
};

TEST_F(StyleSheetEditing, RefreshShowsTheNewStylesAndKeepsCardObjectsInTheFile) {
  OpenPageText(CardPage());
  ASSERT_TRUE(Html().contains("<INPUT type=button", Qt::CaseInsensitive));
  QString caption;
  EditStyleSheet("P { color: rgb(1, 2, 3); }", &caption);
  EXPECT_EQ(caption, "Style sheet");
  EXPECT_EQ(ProgramDialogs(*form).textEditDialog->property("HelpContext").toInt(), 10015);
  EXPECT_EQ(FileBytes(Path("Proj.css")), "P { color: rgb(1, 2, 3); }\r\n");
  EXPECT_EQ(TextColour(), "rgb(1, 2, 3)");
  const QString stored = QString::fromLatin1(FileBytes(Path("Proj01.htm")));
  EXPECT_TRUE(stored.contains("<PARAM name=\"Command\" value=\"TCard\">")) << stored.toStdString();
  EXPECT_TRUE(stored.contains("<OBJECT id=tcard1\r\n"));
  EXPECT_FALSE(stored.contains("<INPUT", Qt::CaseInsensitive));
  const QString html = Html();
  EXPECT_TRUE(
      html.contains("<INPUT type=button name=\"tcard\" value=\"Go\" alt=\"5, 6\">", Qt::CaseInsensitive))
      << html.toStdString();
  EXPECT_FALSE(html.contains("TCard\">", Qt::CaseInsensitive));
}

TEST_F(StyleSheetEditing, OnTheSourceTabOrWithoutATopicOnlyTheStyleSheetIsWritten) {
  OpenPageText(CardPage());
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  const QByteArray before = FileBytes(Path("Proj01.htm"));
  EditStyleSheet("P { color: red; }");
  EXPECT_EQ(FileBytes(Path("Proj.css")), "P { color: red; }\r\n");
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), before);

  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(0);

  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(QModelIndex());
  QFile::remove(Path("Proj01.htm"));
  EditStyleSheet("P { color: blue; }");
  EXPECT_EQ(FileBytes(Path("Proj.css")), "P { color: blue; }\r\n");
  EXPECT_FALSE(QFileInfo::exists(Path("Proj01.htm")));
}

}  // namespace

namespace {

// The close box asks AllowClose: refused until OK or Cancel has allowed it.
TEST_F(TrainingCards, TheCloseBoxIsRefusedUntilCancelHasAllowedIt) {
  TrainingCardDialog* dialog = ProgramDialogs(*form).trainingCardDialog;
  ASSERT_FALSE(dialog->allowClose);
  bool refused = false;
  OnNextDialog<TrainingCardDialog>([&](TrainingCardDialog* d) {
    d->close();
    refused = d->isVisible();
    d->cancelButton->click();
  });
  EXPECT_EQ(dialog->exec(), QDialog::Rejected);
  EXPECT_TRUE(refused);
  // AllowClose is not reset on showing: now the close box closes it.
  bool closed = false;
  OnNextDialog<TrainingCardDialog>([&](TrainingCardDialog* d) {
    d->close();
    closed = !d->isVisible();
    if (!closed) d->cancelButton->click();
  });
  EXPECT_EQ(dialog->exec(), QDialog::Rejected);
  EXPECT_TRUE(closed);
}

TEST_F(SplashScreens, TheCloseBoxIsRefusedOnEveryShowingAndEscapeCancels) {
  SplashDialog* dialog = ProgramDialogs(*form).splashDialog;
  for (int round = 0; round < 2; ++round) {
    bool refused = false;
    OnNextDialog<SplashDialog>([&](SplashDialog* d) {
      d->close();
      refused = d->isVisible();
      QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog->exec(), QDialog::Rejected);
    EXPECT_TRUE(refused) << round;
  }
}

}  // namespace
