// Pop-up links made from a double-clicked word, and help objects (splash
// screens, training cards) as the author sees and edits them in the real
// editor of the real main window.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "editor/card_conversions.h"
#include "features/training_card_dialog.h"
#include "help_features_fixture.h"
#include "panes/topic_editing.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

class HelpObjectsEditing : public SplashPictureFixture {
 protected:
  QWidget* Surface() const { return Widget<EditingControl>(*form, "editor")->View()->focusProxy(); }

  // The middle of characters from..to of the first text node of the element
  // matching selector, or of the whole element when from is negative.
  QPoint PointIn(const QString& selector, int from = -1, int to = -1) {
    const QVariantList box =
        Js(QStringLiteral(
               "(() => { const e = document.querySelector('%1'); let b = e.getBoundingClientRect();"
               "if (%2 >= 0) { const r = document.createRange(); r.setStart(e.firstChild, %2);"
               "r.setEnd(e.firstChild, %3); b = r.getBoundingClientRect(); }"
               "return [b.left + b.width / 2, b.top + b.height / 2]; })()")
               .arg(selector)
               .arg(from)
               .arg(to))
            .toList();
    return box.size() == 2 ? QPoint(box[0].toInt(), box[1].toInt()) : QPoint(-1, -1);
  }

  // A real mouse click, or two 20 ms apart that make a double-click (QTest
  // stamps its own clicks too far apart for that). Each call starts well
  // after the last one, so separate calls never add up. Returns once the
  // page has seen the clicks.
  void Click(const QPoint& at, int count = 1) {
    const QString released = QStringLiteral(
        "(() => { if (!window.testMouseUps) { window.testMouseUps = {count: 0};"
        "document.addEventListener('mouseup', () => ++window.testMouseUps.count, true); }"
        "return window.testMouseUps.count; })()");
    const int before = Js(released).toInt();
    stamp += 10000;
    for (int i = 0; i < count; ++i) {
      for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, QPointF(at), Surface()->mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                          Qt::NoModifier);
        event.setTimestamp(stamp += 20);
        QCoreApplication::sendEvent(Surface(), &event);
      }
    }
    ProcessEventsUntil([&] { return Js(released).toInt() >= before + count; }, 5000);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }

  QString SelectedText() { return Js("getSelection().toString()").toString(); }

  // Types text into the page and waits until the page holds it.
  void Type(const QString& text) {
    const QString before = Js("document.body.textContent").toString();
    QTest::keyClicks(Surface(), text);
    ProcessEventsUntil(
        [&] { return Js("document.body.textContent").toString().size() >= before.size() + text.size(); },
        5000);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }

  QString StoredPage() const { return QString::fromLatin1(FileBytes(Path("Proj01.htm"))); }

  ulong stamp = 1u << 30;  // the time of the last mouse event sent
};

// ---- pop-ups from a word ------------------------------------------------------

using WordPopups = HelpObjectsEditing;

TEST_F(WordPopups, ADoubleClickedWordKeepsTheBlanksAroundItTheCaretAndTheClipboard) {
  OpenPage("<P id=a>delta echo</P>\r\n<P id=b>alpha bravo charlie</P>");
  QGuiApplication::clipboard()->setText("kept on the clipboard");
  // A double-click selects the word the way the engine's smart delete knows.
  Click(PointIn("#a", 7, 8), 2);
  ASSERT_EQ(SelectedText(), "echo");
  InsertPopup("Echo explained");
  // The first pop-up of a page shows the page anew; what is typed next goes
  // after the link all the same.
  Js("document.execCommand('insertText', false, '!')");
  Click(PointIn("#b", 8, 9), 2);
  ASSERT_EQ(SelectedText(), "bravo");
  InsertPopup("Bravo explained");
  ExpectWritten(Controller<TopicEditing>(*form)->StoreEditorPage(Path("Proj01.htm")));
  const QString stored = StoredPage();
  EXPECT_TRUE(
      stored.contains("delta <A href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">echo</A>!</P>"))
      << stored.toStdString();
  EXPECT_TRUE(stored.contains(
      "alpha <A href=\"Javascript:popup.textpopup(P2,popfont,10,10,0,-1)\">bravo</A> charlie</P>"))
      << stored.toStdString();
  EXPECT_EQ(ScriptLines(),
            QStringList({"popfont=\"Courier,10\"", "P1=\"Echo explained\"", "P2=\"Bravo explained\""}));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard");
}

// ---- objects in the editor -----------------------------------------------------

// The splash object as the page file holds it once the editor has stored it.
QString StoredSplash(const QString& picture, int milliseconds) {
  return QStringLiteral(
             "<OBJECT id=\"splash\" type=\"application/x-oleobject\" "
             "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
             "<PARAM name=\"Command\" value=\"Splash\">\r\n<PARAM name=\"Item1\" value=\"%1\">\r\n"
             "<PARAM name=\"Item2\" value=\"%2\">\r\n</OBJECT>")
      .arg(picture)
      .arg(milliseconds);
}

class ObjectPlaceholders : public HelpObjectsEditing {
 protected:
  void InsertCard(const QString& caption) {
    OnNextDialog<TrainingCardDialog>([caption](TrainingCardDialog* d) {
      d->buttonTextEdit->setText(caption);
      d->wParamEdit->setText("7");
      d->lParamEdit->setText("8");
      d->okButton->click();
    });
    Action(*form, "insertTrainingCardAction")->trigger();
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  }

  // What the author sees of each object of the page: the box on screen that
  // holds it (its own, or the one the editor shows it in) with its size and
  // the text it shows.
  struct Shown {
    int width = 0;
    int height = 0;
    QString label;
  };
  QList<Shown> ShownObjects() {
    const QVariantList all =
        Js("Array.from(document.querySelectorAll('object')).map((o) => {" + kShownBox +
           "const r = box.getBoundingClientRect(); const before = getComputedStyle(box, '::before').content;"
           "return [r.width, r.height, before && before !== 'none' ? JSON.parse(before) : box.innerText]; })")
            .toList();
    QList<Shown> shown;
    for (const QVariant& one : all) {
      const QVariantList v = one.toList();
      shown.append({v.value(0).toInt(), v.value(1).toInt(), v.value(2).toString()});
    }
    return shown;
  }
  // Near the right end of the first object's box.
  QPoint RightEndOfFirstObject() {
    const QVariantList at =
        Js("(() => { const o = document.querySelector('object');" + kShownBox +
           "const r = box.getBoundingClientRect(); return [r.right - 2, r.top + r.height / 2]; })()")
            .toList();
    return at.size() == 2 ? QPoint(at[0].toInt(), at[1].toInt()) : QPoint(-1, -1);
  }
  static inline const QString kShownBox = QStringLiteral(
      "let box = o; while (box.parentElement && !box.getClientRects().length) box = box.parentElement;");

  // Editor -> Source -> Editor, as the tabs do it.
  void ThroughTheSourceView() {
    Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(0);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    FocusEditor();
  }
};

TEST_F(ObjectPlaceholders, ASplashShowsAsANamedBoxAndACardClickedNextToItGoesThere) {
  OpenPage("<H1>Start</H1>\r\n<P id=p>Intro</P>");
  Click(PointIn("#p", 4, 5) + QPoint(40, 0));  // after the paragraph's text
  InsertSplash(picture, "5");
  Type("ab");
  QList<Shown> shown = ShownObjects();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].label, "Splash: logo.bmp");
  EXPECT_GT(shown[0].width, 0);
  EXPECT_GT(shown[0].height, 0);
  EXPECT_LT(shown[0].height, 60);  // a line's box, not an empty plug-in area

  // Shown again from its file (the caret starts in the heading), the box
  // is still there; a click on it puts the caret beside it, and the card
  // goes there.
  ThroughTheSourceView();
  shown = ShownObjects();
  ASSERT_EQ(shown.size(), 1);
  EXPECT_EQ(shown[0].label, "Splash: logo.bmp");
  Click(RightEndOfFirstObject());
  InsertCard("Button text");
  Type("cd");

  ExpectWritten(Controller<TopicEditing>(*form)->StoreEditorPage(Path("Proj01.htm")));
  const QString stored = StoredPage();
  EXPECT_TRUE(stored.contains("<BODY>\r\n<H1>Start</H1>\r\n<P id=\"p\">Intro" +
                              StoredSplash("logo.bmp", 5000) + TrainingCardObject(1, "Button text", "7, 8") +
                              "cdab</P>\r\n</BODY>"))
      << stored.toStdString();
}

TEST_F(ObjectPlaceholders, TheBoxesAreTheEditorsOwnThroughTheSourceViewDeleteAndUndo) {
  const QString popupControl = QStringLiteral(
      "<OBJECT id=\"popup\" type=\"application/x-oleobject\" "
      "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">"
      "<PARAM name=\"Command\" value=\"HH Version\"></OBJECT>");
  // Another command of the same control, written by hand.
  const QString closeButton = QStringLiteral(
      "<OBJECT id=\"close\" type=\"application/x-oleobject\" "
      "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">"
      "\r\n<PARAM name=\"Command\" value=\"Close\"></OBJECT>");
  const QString page = "<HTML><HEAD><TITLE>Start</TITLE>\r\n" + popupControl +
                       "\r\n</HEAD>\r\n<BODY>\r\n<P id=\"p\">Show " + StoredSplash("logo.bmp", 3000) +
                       " then " + TrainingCardObject(1, "Go", "5, 6") + " and " + popupControl + closeButton +
                       "</P>\r\n</BODY></HTML>\r\n";
  OpenPageText(page.toLatin1());
  const std::string labels = "Splash: logo.bmp | Pop-up control | Object: Close";
  auto shownLabels = [&] {
    QStringList all;
    for (const Shown& one : ShownObjects()) all << (one.width > 0 && one.height > 0 ? one.label : "(hidden)");
    return all.join(" | ").toStdString();
  };
  EXPECT_EQ(shownLabels(), labels);

  // The source view and the file hold the objects as they were.
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(Controller<TopicEditing>(*form)->SourceText().toStdString(), page.toStdString());
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(0);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  FocusEditor();
  EXPECT_EQ(shownLabels(), labels);

  // Backspace after the splash takes it as one piece; Undo brings it back
  // as it was.
  Click(RightEndOfFirstObject());
  QTest::keyClick(Surface(), Qt::Key_Backspace);
  ProcessEventsUntil([&] { return ShownObjects().size() == 2; }, 3000);
  EXPECT_EQ(shownLabels(), "Pop-up control | Object: Close");
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  ASSERT_TRUE(Action(*form, "undoAction")->isEnabled());
  Action(*form, "undoAction")->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(shownLabels(), labels);
  ExpectWritten(Controller<TopicEditing>(*form)->StoreEditorPage(Path("Proj01.htm")));
  EXPECT_EQ(StoredPage().toStdString(), page.toStdString());
}

}  // namespace
