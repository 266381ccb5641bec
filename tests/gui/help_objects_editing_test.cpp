// Pop-up links made from a double-clicked word, and help objects (splash
// screens, training cards) as the author sees and edits them in the real
// editor of the real main window.
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "editor/card_conversions.h"
#include "editor/spin_edit.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "help_features_fixture.h"
#include "panes/topic_editing.h"
#include "tests/unit/test_files.h"

namespace {

class HelpObjectsEditing : public HelpFeaturesFixture {
 protected:
  QWidget* Surface() const { return form->editor->View()->focusProxy(); }

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

  // A real mouse click, or two in quick succession (QTest spaces its own
  // clicks apart so that they never make a double-click).
  void Click(const QPoint& at, int count = 1) {
    static ulong stamp = 1u << 30;
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
    WaitEditorIdle(form->editor);
  }

  QString SelectedText() { return Js("getSelection().toString()").toString(); }

  // Types text into the page and waits until the page holds it.
  void Type(const QString& text) {
    const QString before = Js("document.body.textContent").toString();
    QTest::keyClicks(Surface(), text);
    ProcessEventsUntil(
        [&] { return Js("document.body.textContent").toString().size() >= before.size() + text.size(); },
        5000);
    WaitEditorIdle(form->editor);
  }

  QString StoredPage() const { return QString::fromLatin1(FileBytes(Path("Proj01.htm"))); }
};

// ---- pop-ups from a word ------------------------------------------------------

using WordPopups = HelpObjectsEditing;

TEST_F(WordPopups, ADoubleClickedWordKeepsTheBlanksAroundItAndTheClipboardIsLeftAlone) {
  OpenPage("<P id=a>delta echo</P>\r\n<P id=b>alpha bravo charlie</P>");
  QGuiApplication::clipboard()->setText("kept on the clipboard");
  // A double-click selects the word the way the engine's smart delete knows.
  Click(PointIn("#a", 7, 8), 2);
  ASSERT_EQ(SelectedText(), "echo");
  InsertPopup("Echo explained");
  Click(PointIn("#b", 8, 9), 2);
  ASSERT_EQ(SelectedText(), "bravo");
  InsertPopup("Bravo explained");
  ExpectWritten(form->topicEditing->StoreEditorPage(Path("Proj01.htm")));
  const QString stored = StoredPage();
  EXPECT_TRUE(
      stored.contains("delta <A href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">echo</A></P>"))
      << stored.toStdString();
  EXPECT_TRUE(stored.contains(
      "alpha <A href=\"Javascript:popup.textpopup(P2,popfont,10,10,0,-1)\">bravo</A> charlie</P>"))
      << stored.toStdString();
  EXPECT_EQ(ScriptLines(),
            QStringList({"popfont=\"Courier,10\"", "P1=\"Echo explained\"", "P2=\"Bravo explained\""}));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard");
}

}  // namespace
