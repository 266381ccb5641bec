// Writing a page as an author does in the real window and editor: a table
// typed into with Tab, headings from the paragraph style box and its keys,
// the default style sheet's headings, pages stored clean, pasted HTML
// cleaned of what would not work.
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>

#include <QPushButton>

#include "editor/number_edit.h"
#include "editor/table_dialog.h"
#include "editor_commands_fixture.h"
#include "formats/project/page_template.h"
#include "tests/gui/window_parts.h"

namespace {

class AuthoringEditor : public EditorCommandsFixture {
 protected:
  QAction* Action(const char* objectName) { return form->findChild<QAction*>(objectName); }
  QWidget* Named(const QString& accessibleName) {
    for (QWidget* w : form->findChildren<QWidget*>())
      if (w->accessibleName() == accessibleName) return w;
    return nullptr;
  }
  // The page has the keyboard, as after the user clicked into it (a page
  // shown anew has a view of its own that takes the keys).
  void TakeKeyboard() {
    if (QApplication::activeWindow() != form.get()) {
      form->activateWindow();
      QTest::qWaitForWindowActive(form.get());
    }
    WaitEditorIdle(Editor());
    QWidget* focus = QApplication::focusWidget();
    if (!focus || !Editor()->isAncestorOf(focus)) FocusEditor();
    ProcessEventsUntil(
        [this] {
          QWidget* now = QApplication::focusWidget();
          return now && Editor()->isAncestorOf(now);
        },
        3000);
    // The page's own process learns of the focus after the window does; a
    // key sent before is dropped.
    ProcessEventsUntil([this] { return Js("document.hasFocus()").toBool(); }, 3000);
  }
  // Keys and text typed into the page, where the keyboard is.
  void Type(const QString& text) {
    TakeKeyboard();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && Editor()->isAncestorOf(focus));
    QTest::keyClicks(focus, text);
    WaitEditorIdle(Editor());
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    TakeKeyboard();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && Editor()->isAncestorOf(focus));
    QTest::keyClick(focus, key, modifiers);
    WaitEditorIdle(Editor());
  }
  // Waits until the page shows what the keys sent did: a key still on its
  // way to the page's process is not in the page that is stored.
  void PageShows(const QString& condition) {
    EXPECT_TRUE(ProcessEventsUntil([&] { return Js(condition).toBool(); }, 3000)) << condition.toStdString();
  }
  // Writes the first topic's page file and opens it in the editor.
  void OpenFile(const QByteArray& page) {
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
    WaitEditorIdle(Editor());
    PutFile(Path("Proj01.htm"), page);
    Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
    WaitEditorIdle(Editor());
  }
  QString CellTexts() {
    return Js("Array.from(document.querySelectorAll('td')).map((c) => c.textContent.trim()).join('|')")
        .toString();
  }
};

TEST_F(AuthoringEditor, ATableIsTypedIntoWithTabAndTakesItsWidth) {
  OpenPage("<P id=p>Before</P>");
  Select("#p", 6, 6);
  OnNextDialog<TableDialog>([](TableDialog* d) {
    d->columnsBox->setText("2");
    d->rowsBox->setText("2");
    d->okButton->click();
  });
  Action("insertTableAction")->trigger();
  WaitEditorIdle(Editor());
  FocusEditor();
  EXPECT_TRUE(Html().contains("<TABLE border=\"1\" width=\"100%\">")) << Html().toStdString();
  // Typing starts in the first cell (once the page has the keyboard); Tab
  // goes on, and past the last cell a row comes.
  TakeKeyboard();
  EXPECT_TRUE(ProcessEventsUntil(
      [this] {
        return Js("(() => { const n = getSelection().anchorNode;"
                  " const e = n && (n.nodeType === 1 ? n : n.parentElement);"
                  " return !!e && e.closest('td') === document.querySelector('td'); })()")
            .toBool();
      },
      3000));
  Type("a");
  for (const char* value : {"b", "c", "d", "e"}) {
    Key(Qt::Key_Tab);
    Type(value);
  }
  EXPECT_TRUE(ProcessEventsUntil([this] { return CellTexts() == "a|b|c|d|e|"; }, 3000))
      << CellTexts().toStdString() << Html().toStdString();
  Key(Qt::Key_Tab, Qt::ShiftModifier);
  PageShows("getSelection().toString() === 'd'");
  Type("D");
  EXPECT_TRUE(ProcessEventsUntil([this] { return CellTexts() == "a|b|c|D|e|"; }, 3000))
      << CellTexts().toStdString();
  EXPECT_EQ(Html().count("<TR>"), 3);
}

TEST_F(AuthoringEditor, TheParagraphStyleBoxFollowsTheCaretAndSetsHeadingsWithKeys) {
  OpenPage("<P id=p>Plain words</P><H2 id=h>Second</H2><UL><LI id=l>item</LI></UL>");
  auto* box = qobject_cast<QComboBox*>(Named("Paragraph style"));
  ASSERT_NE(box, nullptr);
  Select("#h", 2, 2);
  SettleDisplay();
  EXPECT_EQ(box->currentText(), "Heading 2");
  Select("#l", 1, 1);
  SettleDisplay();
  EXPECT_EQ(box->currentIndex(), -1);  // a list item is none of the styles
  Select("#p", 3, 3);
  SettleDisplay();
  EXPECT_EQ(box->currentText(), "Paragraph");
  FocusEditor();
  Key(Qt::Key_1, Qt::ControlModifier);
  SettleDisplay();
  EXPECT_TRUE(Html().contains("<H1 id=\"p\">Plain words</H1>") || Html().contains("<H1>Plain words</H1>"))
      << Html().toStdString();
  EXPECT_EQ(box->currentText(), "Heading 1");
  Key(Qt::Key_3, Qt::ControlModifier);
  EXPECT_TRUE(Html().contains(">Plain words</H3>")) << Html().toStdString();
  Key(Qt::Key_0, Qt::ControlModifier);
  EXPECT_TRUE(Html().contains(">Plain words</P>")) << Html().toStdString();
  // The box itself: Preformatted.
  box->activated(box->findText("Preformatted"));
  EXPECT_TRUE(Html().contains(">Plain words</PRE>")) << Html().toStdString();
}

TEST_F(AuthoringEditor, TheDefaultStyleSheetShowsHeadingsSmallerByLevel) {
  PutText(Path("Proj.css"), DefaultStyleSheet(), 1252);
  OpenFile(
      "<HTML><HEAD><LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"Proj.css\"></HEAD>\r\n<BODY>"
      "<H1 id=a>One</H1><H2 id=b>Two</H2><H3 id=c>Three</H3><P id=d>Text</P></BODY></HTML>");
  const QString sizes =
      "['a','b','c','d'].map((id) => parseFloat(getComputedStyle(document.getElementById(id)).fontSize))"
      ".join(',')";
  // The style sheet makes the body's text smaller than the engine's 16 pixels.
  ASSERT_TRUE(ProcessEventsUntil(
      [&] { return Js("getComputedStyle(document.body).fontSize").toString() != "16px"; }, 5000));
  const QStringList px = Js(sizes).toString().split(',');
  ASSERT_EQ(px.size(), 4);
  EXPECT_GT(px[0].toDouble(), px[1].toDouble()) << Js(sizes).toString().toStdString();
  EXPECT_GT(px[1].toDouble(), px[2].toDouble());
  EXPECT_GT(px[2].toDouble(), px[3].toDouble());
}

TEST_F(AuthoringEditor, PagesAreStoredCleanAndAnUnchangedPageKeepsItsBytes) {
  const QByteArray messy =
      "<HTML><HEAD><TITLE>Start</TITLE></HEAD>\r\n<BODY>\r\n<P id=p>Press&nbsp;<B>OK</B> now"
      "<UL><LI>one</LI></UL></P><H2 id=h>Head</H2><P id=q>tail <SPAN style=\"color: red\">own</SPAN></P>"
      "\r\n</BODY></HTML>\r\n";
  OpenFile(messy);
  // Looked at in both views and left unchanged, the page keeps its bytes.
  auto* tabs = form->findChild<QTabWidget*>("editorTabs");
  tabs->setCurrentIndex(1);
  WaitEditorIdle(Editor());
  tabs->setCurrentIndex(0);
  WaitEditorIdle(Editor());
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Editor());
  EXPECT_EQ(FileBytes(Path("Proj01.htm")), messy);

  // Changed, it is stored clean.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  WaitEditorIdle(Editor());
  FocusEditor();
  Select("#p", 0, 0);
  Type("X");
  PageShows("document.querySelector('#p').textContent.startsWith('X')");
  // Joining the paragraph to the heading makes the engine style the text it moves.
  Select("#q", 0, 0);
  Key(Qt::Key_Backspace);
  PageShows("!document.querySelector('#q')");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Editor());
  const std::string stored = FileBytes(Path("Proj01.htm")).toStdString();
  EXPECT_EQ(
      stored,
      "<HTML><HEAD><TITLE>Start</TITLE></HEAD>\r\n<BODY>\r\n<P id=\"p\">XPress <B>OK</B> now</P>\r\n<UL>\r\n"
      "<LI>one</LI>\r\n</UL>\r\n<H2 id=\"h\">Headtail <SPAN style=\"color: "
      "red;\">own</SPAN></H2>\r\n</BODY></HTML>\r\n");

  // Loaded again, changed and changed back, it is stored with the same bytes.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(start);
  WaitEditorIdle(Editor());
  FocusEditor();
  Select("#p", 0, 0);
  Type("Y");
  PageShows("document.querySelector('#p').textContent.startsWith('YX')");
  Key(Qt::Key_Backspace);
  PageShows("document.querySelector('#p').textContent.startsWith('XP')");
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Editor());
  EXPECT_EQ(FileBytes(Path("Proj01.htm")).toStdString(), stored);
}

TEST_F(AuthoringEditor, SourceViewWrapsLongLines) {
  OpenPage("<P>" + QString("word ").repeated(400) + "</P>");
  auto* tabs = form->findChild<QTabWidget*>("editorTabs");
  tabs->setCurrentIndex(1);
  WaitEditorIdle(Editor());
  auto* source = form->findChild<QPlainTextEdit*>("sourceView");
  ASSERT_NE(source, nullptr);
  QTextBlock longest;
  for (QTextBlock b = source->document()->begin(); b.isValid(); b = b.next())
    if (b.length() > longest.length()) longest = b;
  ASSERT_TRUE(longest.isValid());
  EXPECT_GT(longest.layout()->lineCount(), 1);
}

TEST_F(AuthoringEditor, PastingDropsEmptyLinksAndPicturesNotInTheProjectAndSaysSo) {
  PutFile(Path("here.png"), "png");
  OpenPage("<P id=p>Text</P>");
  Select("#p", 4, 4);
  auto* mime = new QMimeData;
  mime->setHtml(
      "<html><body><!--StartFragment--><a name=\"_Toc1\"></a><span style=\"font-family: Calibri\">"
      "pasted</span><img src=\"here.png\"><img src=\"missing.png\"><!--EndFragment--></body></html>");
  QGuiApplication::clipboard()->setMimeData(mime);
  Action("pasteAction")->trigger();
  WaitEditorIdle(Editor());
  const QString html = Html();
  EXPECT_TRUE(html.contains("Textpasted<IMG src=\"here.png\"></P>")) << html.toStdString();
  EXPECT_EQ(form->statusBar()->currentMessage(),
            "Pasting left out 1 empty link and 1 picture that is not in the project.");
}

}  // namespace
