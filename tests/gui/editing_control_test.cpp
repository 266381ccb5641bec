// The editing control on the real WebEngine: loading and reading back pages,
// commands and their status, text ranges, pictures through the base folder.
#include <gtest/gtest.h>

#include "editor_script.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTemporaryDir>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <memory>

#include "editor/editing_control.h"
#include "editor/page_scheme.h"
#include "platform/text_file.h"

namespace {

const QString kHead = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
    "<HTML>\r\n<HEAD>\r\n"
    "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\r\n"
    "<TITLE>Getting &amp; started</TITLE>\r\n"
    "<LINK rel=\"stylesheet\" type=\"text/css\" href=\"Demo.css\">\r\n"
    "<OBJECT id=popup type=\"application/x-oleobject\" "
    "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\"><PARAM name=\"Command\" value=\"HH "
    "Version\"></OBJECT>\r\n"
    "<script language=javascript src=\"DemoP.js\"></script>\r\n"
    "</HEAD>\r\n");

QString Page(const QString& body) {
  return kHead + QStringLiteral("<BODY>\r\n") + body + QStringLiteral("\r\n</BODY>\r\n</HTML>\r\n");
}

// One control for the whole suite: starting WebEngine is the slow part.
class EditingControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    editor = new EditingControl;
    editor->resize(800, 600);
    editor->show();
  }
  static void TearDownTestSuite() {
    delete editor;
    editor = nullptr;
  }

  void Load(const QString& html) {
    editor->SetDocumentHTML(html);
    WaitEditorIdle(editor);
    ASSERT_FALSE(editor->Busy());
  }

  // Runs script in the editor's own world (where its helpers live).
  QVariant Js(const QString& script) { return EditorScript(editor, script); }
  static void Pause(int ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, ms);
    QThread::msleep(ms);
  }

  // Puts the caret into, or selects, the text of the first element matching
  // selector: from character start to end of its first text node.
  void Select(const QString& selector, int start, int end) { SelectInEditor(editor, selector, start, end); }

  // Drags data in from another program and drops it before character
  // `offset` of the first text of the element matching selector, on the
  // widget that draws the page (where the window system delivers drops).
  void DropAt(const QString& selector, int offset, const QMimeData& mime) {
    const QVariantList box =
        Js(QStringLiteral("(() => { const r = document.createRange();"
                          "r.setStart(document.querySelector('%1').firstChild, %2); r.collapse(true);"
                          "const b = r.getBoundingClientRect(); return [b.left, b.top + b.height / 2]; })()")
               .arg(selector)
               .arg(offset))
            .toList();
    ASSERT_EQ(box.size(), 2);
    QWidget* target = editor->View()->focusProxy();
    ASSERT_TRUE(target);
    const QPoint at =
        target->mapFrom(editor->View(), QPoint(qRound(box[0].toDouble()), qRound(box[1].toDouble())));
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    Pause(100);
    QDragMoveEvent move(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    Pause(200);
    QDropEvent drop(at, actions, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    Pause(300);
    WaitEditorIdle(editor);
  }

  // The page's body as it would be saved.
  QString Body() {
    const QString html = EditorHtml(editor);
    return html.mid(html.indexOf(QStringLiteral("<BODY>")));
  }

  static EditingControl* editor;
};
EditingControl* EditingControlTest::editor = nullptr;

}  // namespace

TEST_F(EditingControlTest, HeadAndDoctypeComeBackAsLoaded) {
  Load(Page(QStringLiteral("<P>Hello <B>world</B></P>")));
  const QString html = EditorHtml(editor);
  EXPECT_TRUE(html.startsWith(kHead + QStringLiteral("<BODY>"))) << html.left(600).toStdString();
  EXPECT_TRUE(html.endsWith(QStringLiteral("</BODY>\r\n</HTML>\r\n"))) << html.right(60).toStdString();
  // The head OBJECT is there once: the engine never saw the head.
  EXPECT_EQ(html.count(QStringLiteral("<OBJECT"), Qt::CaseInsensitive), 1);
  EXPECT_EQ(editor->DocumentTitle(), QStringLiteral("Getting & started"));
  // Reading back and loading again changes nothing more.
  Load(html);
  EXPECT_EQ(EditorHtml(editor), html);
}

TEST_F(EditingControlTest, UndoFollowsRealEditsOnly) {
  Load(Page(QStringLiteral("<P id=p>Hello world</P>")));
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::Undo));
  Select(QStringLiteral("#p"), 6, 11);
  ASSERT_TRUE(CommandEnabled(editor, EditorCommand::Bold));
  SendAndWait(editor, EditorCommand::Bold);
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Undo));
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(CommandOn(editor, EditorCommand::Bold));
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("<B>world</B>")));
  // A new page starts unchanged, also after an edited one.
  Load(Page(QStringLiteral("<P>Other</P>")));
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::Undo));
  editor->NewDocument();
  WaitEditorIdle(editor);
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::Undo));
  // Changing the page colour through the DOM is a change too.
  editor->SetBodyBgColor(QStringLiteral("#0000FF"));
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Undo));
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("<BODY bgcolor=\"#0000FF\">")));
}

TEST_F(EditingControlTest, CardButtonKeepsItsStoredShape) {
  Load(Page(
      QStringLiteral("<P>Go <INPUT type=button name=\"tcard\" Value=\"Next step\" Alt=\"5, 0\"> on</P>")));
  const QString html = EditorHtml(editor);
  const QRegularExpression card(
      QStringLiteral("<INPUT type=button name=\"tcard\" value=\"Next step\" alt=\"5, 0\">"),
      QRegularExpression::CaseInsensitiveOption);
  EXPECT_TRUE(card.match(html).hasMatch()) << html.toStdString();
  EXPECT_TRUE(html.toUpper().contains(QStringLiteral("TYPE=BUTTON")));
}

TEST_F(EditingControlTest, TextKeepsEntitiesAndCharacters) {
  Load(Page(QStringLiteral("<P>a &amp; b &lt;c&gt; caf\u00e9&nbsp;x</P>\r\n<PRE>\r\n\r\nline</PRE>")));
  const QString html = EditorHtml(editor);
  EXPECT_TRUE(html.contains(QStringLiteral("<P>a &amp; b &lt;c&gt; caf\u00e9&nbsp;x</P>")))
      << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("<PRE>\r\n\r\nline</PRE>"))) << html.toStdString();
}

TEST_F(EditingControlTest, PageScriptsDontRunAndViewOptionsStayOutOfThePage) {
  const QString body = QStringLiteral(
      "<P id=p>Text</P><SCRIPT>document.body.setAttribute('data-ran', 'yes')</SCRIPT>"
      "<TABLE><TR><TD>cell</TD></TR></TABLE><!-- a note -->");
  editor->SetShowBorders(true);
  editor->SetShowDetails(true);
  Load(Page(body));
  // A comment shows a marker in the editor, and stays a plain comment in the page.
  EXPECT_EQ(Js(QStringLiteral("document.querySelectorAll('.__orvex_marker').length")).toInt(), 1);
  const QString html = EditorHtml(editor);
  EXPECT_TRUE(html.contains(QStringLiteral("</TABLE>\r\n<!-- a note -->"))) << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("__orvex")));
  EXPECT_FALSE(html.contains(QStringLiteral("<BODY data-ran")));
  EXPECT_TRUE(
      html.contains(QStringLiteral("<SCRIPT>document.body.setAttribute('data-ran', 'yes')</SCRIPT>")));
  EXPECT_TRUE(html.contains(
      QStringLiteral("<TABLE>\r\n<TBODY>\r\n<TR>\r\n<TD>cell</TD>\r\n</TR>\r\n</TBODY>\r\n</TABLE>")))
      << html.toStdString();
  EXPECT_FALSE(html.contains(QStringLiteral("outline")));
  // The options live in the editor's page only, and survive a new load.
  EXPECT_TRUE(Js(QStringLiteral("document.getElementById('__orvex_view').textContent"))
                  .toString()
                  .contains(QStringLiteral("dashed")));
  // A page without a BODY tag is read back whole: the view style stays out of it too.
  Load(QStringLiteral("<HTML><HEAD><TITLE>t</TITLE><P>Only a paragraph</P></HTML>"));
  EXPECT_FALSE(EditorHtml(editor).contains(QStringLiteral("__orvex"))) << EditorHtml(editor).toStdString();
  editor->SetShowBorders(false);
  editor->SetShowDetails(false);
  EXPECT_FALSE(editor->ShowBorders());
  Load(Page(body));
  EXPECT_FALSE(Js(QStringLiteral("document.getElementById('__orvex_view').textContent"))
                   .toString()
                   .contains(QStringLiteral("dashed #808080")));
  EXPECT_EQ(Js(QStringLiteral("document.querySelectorAll('.__orvex_marker').length")).toInt(), 0);
  // Moving the caret is reported.
  QSignalSpy changed(editor, &EditingControl::OnDisplayChanged);
  Select(QStringLiteral("#p"), 2, 2);
  EXPECT_TRUE(changed.count() > 0 || changed.wait(3000));
}

TEST_F(EditingControlTest, FocusAndContextMenuAreReported) {
  Load(Page(QStringLiteral("<P id=p>Some text to click on</P>")));
  QWidget other;
  other.setFocusPolicy(Qt::StrongFocus);
  other.show();
  QSignalSpy entered(editor, &EditingControl::FocusEntered);
  QSignalSpy exited(editor, &EditingControl::FocusExited);
  QSignalSpy menu(editor, &EditingControl::OnShowContextMenu);
  editor->activateWindow();
  QWidget* proxy = editor->View()->focusProxy();
  ASSERT_NE(proxy, nullptr);
  proxy->setFocus();
  EXPECT_TRUE(entered.count() > 0 || entered.wait(2000));
  QTest::mouseClick(proxy, Qt::RightButton, {}, QPoint(20, 12));
  EXPECT_TRUE(menu.count() > 0 || menu.wait(3000));
  other.activateWindow();
  other.setFocus();
  EXPECT_TRUE(exited.count() > 0 || exited.wait(2000));
}

TEST_F(EditingControlTest, FontNameAndSizeAtCaretAndMixed) {
  Load(
      Page(QStringLiteral("<P><FONT id=a face=\"Courier New\" size=5>Alpha</FONT>"
                          "<FONT id=b face=Arial size=2>Beta</FONT></P>")));
  Select(QStringLiteral("#a"), 2, 2);
  WaitEditorIdle(editor);
  EXPECT_EQ(editor->State().fontName.toString(), QStringLiteral("Courier New"));
  EXPECT_EQ(editor->State().fontSize.toInt(), 5);
  // A selection over both fonts answers Null for both.
  Js(
      QStringLiteral("(() => { const r = document.createRange();"
                     "r.setStart(document.querySelector('#a').firstChild, 1);"
                     "r.setEnd(document.querySelector('#b').firstChild, 2);"
                     "getSelection().removeAllRanges(); getSelection().addRange(r); return 1; })()"));
  WaitEditorIdle(editor);
  EXPECT_TRUE(editor->State().fontEnabled);
  EXPECT_TRUE(editor->State().fontName.isNull());
  EXPECT_TRUE(editor->State().fontSize.isNull());
}

TEST_F(EditingControlTest, ThePagePushesItsStateAsTheCaretMoves) {
  Load(
      Page(QStringLiteral("<P><B><FONT id=a face=\"Courier New\" size=5>Alpha</FONT></B>"
                          "<FONT id=b face=Arial size=2>Beta</FONT></P>")));
  // Only the page moves the caret here: the state comes without being asked.
  QSignalSpy pushed(editor, &EditingControl::OnDisplayChanged);
  Select(QStringLiteral("#a"), 2, 2);
  ASSERT_TRUE(pushed.count() > 0 || pushed.wait(5000));
  ProcessEventsUntil([] { return editor->State().fontSize.toInt() == 5; }, 5000);
  EXPECT_TRUE(editor->On(EditorCommand::Bold));
  EXPECT_FALSE(editor->On(EditorCommand::Italic));
  EXPECT_TRUE(editor->Enabled(EditorCommand::Bold));
  EXPECT_EQ(editor->State().fontName.toString(), QStringLiteral("Courier New"));
  Select(QStringLiteral("#b"), 2, 2);
  ProcessEventsUntil([] { return editor->State().fontSize.toInt() == 2; }, 5000);
  EXPECT_FALSE(editor->On(EditorCommand::Bold));
  EXPECT_EQ(editor->State().fontName.toString(), QStringLiteral("Arial"));
  // A read-only page enables nothing, whatever it pushed.
  editor->SetReadOnly(true);
  EXPECT_FALSE(editor->Enabled(EditorCommand::Bold));
  editor->SetReadOnly(false);
}

TEST_F(EditingControlTest, ThePageKnowsTheCommandsByTheirNames) {
  Load(Page(QStringLiteral("<P>Text</P>")));
  // The page's script and the C++ names come from one table.
  EXPECT_EQ(Js(QStringLiteral("__orvexCommandTable.commands.Undo")).toString(),
            EditorCommandName(EditorCommand::Undo));
  EXPECT_EQ(Js(QStringLiteral("__orvexCommandTable.commands.InsertTable")).toString(),
            QStringLiteral("InsertTable"));
  EXPECT_EQ(EditorCommandNamed(QStringLiteral("InsertTable")), EditorCommand::InsertTable);
  EXPECT_FALSE(EditorCommandNamed(QStringLiteral("NoSuchCommand")).has_value());
  EXPECT_EQ(Js(QStringLiteral("Object.keys(__orvexCommandTable.commands).length")).toInt(), 52);
}

TEST_F(EditingControlTest, TableCommandsOnlyInsideATable) {
  Load(Page(QStringLiteral("<P id=out>Outside</P><TABLE><TR><TD id=c>one</TD><TD>two</TD></TR></TABLE>")));
  Select(QStringLiteral("#out"), 1, 1);
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::InsertRow));
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::DeleteCols));
  Select(QStringLiteral("#c"), 1, 1);
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::InsertRow));
  SendAndWait(editor, EditorCommand::InsertRow);
  SendAndWait(editor, EditorCommand::InsertCol);
  EXPECT_EQ(Js(QStringLiteral("document.querySelectorAll('tr').length")).toInt(), 2);
  EXPECT_EQ(Js(QStringLiteral("document.querySelectorAll('td').length")).toInt(), 6);
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Undo));
}

TEST_F(EditingControlTest, RangeAtTheEndAppendsHtml) {
  Load(Page(QStringLiteral("<P>First words here</P>")));
  TextRange range = editor->SelectionRange();
  ASSERT_TRUE(range.IsValid());
  range.moveEnd(QStringLiteral("word"), 99999);
  range.Collapse(false);
  range.pasteHTML(
      QStringLiteral("<P>Added <A href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">pop</A></P>"));
  const QString html = EditorHtml(editor);
  const qsizetype first = html.indexOf(QStringLiteral("First words here"));
  const qsizetype added = html.indexOf(
      QStringLiteral("<P>Added <A href=\"Javascript:popup.textpopup(P1,popfont,10,10,0,-1)\">pop</A></P>"));
  EXPECT_GE(first, 0);
  EXPECT_GT(added, first) << html.toStdString();
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Undo));
}

TEST_F(EditingControlTest, RangeCoversThePictureBeforeTheCaret) {
  Load(Page(QStringLiteral("<P id=p>Text</P>")));
  Select(QStringLiteral("#p"), 4, 4);
  SendAndWait(editor, EditorCommand::Image, QStringLiteral("/pictures/shot.png"));
  TextRange range = editor->SelectionRange();
  range.moveStart(QStringLiteral("character"), -1);
  const RangeContents before = ReadRange(range);
  EXPECT_TRUE(before.html.contains(QStringLiteral("SRC=\"/pictures/shot.png\""), Qt::CaseInsensitive))
      << before.html.toStdString();
  EXPECT_EQ(before.parentTag, QStringLiteral("P"));
}

TEST_F(EditingControlTest, CopyAndPasteGoThroughTheClipboard) {
  Load(Page(QStringLiteral("<P id=p>Copy this</P><P id=q>Here:</P>")));
  Select(QStringLiteral("#p"), 5, 9);
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Copy));
  SendAndWait(editor, EditorCommand::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("this"));
  Select(QStringLiteral("#q"), 5, 5);
  SendAndWait(editor, EditorCommand::Paste);
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("Here:this"))) << EditorHtml(editor).toStdString();
  Select(QStringLiteral("#p"), 0, 5);
  SendAndWait(editor, EditorCommand::Cut);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Copy "));
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("<P id=\"p\">this</P>")));
}

// Pictures and the style sheet resolve in the base folder; a big page loads whole.
class EditingControlFiles : public EditingControlTest {};

TEST_F(EditingControlFiles, RelativePictureLoadsFromBaseFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QImage img(17, 9, QImage::Format_RGB32);
  img.fill(Qt::red);
  ASSERT_TRUE(img.save(dir.filePath(QStringLiteral("pic.png"))));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Images")));
  ASSERT_TRUE(img.scaled(5, 3).save(dir.filePath(QStringLiteral("Images/Logo.png"))));
  // The base folder comes after the page, as topic loading does it. The
  // second picture is named as a page written on Windows names it.
  editor->SetDocumentHTML(
      Page(QStringLiteral("<P><IMG id=i src=\"pic.png\"><IMG id=w src=\"images\\LOGO.PNG\"></P>")));
  editor->SetBaseURL(dir.path() + QLatin1Char('/'));
  WaitEditorIdle(editor);
  const auto widthOf = [&](const char* id) {
    const QString script =
        QStringLiteral("document.getElementById('%1').naturalWidth").arg(QLatin1String(id));
    int width = 0;
    for (int i = 0; i < 100 && width == 0; ++i) {
      width = Js(script).toInt();
      if (width == 0) Pause(20);
    }
    return width;
  };
  EXPECT_EQ(widthOf("i"), 17);
  EXPECT_EQ(widthOf("w"), 5);
  EXPECT_TRUE(editor->RequestLog().contains(QDir(dir.path()).filePath(QStringLiteral("pic.png"))));
  EXPECT_EQ(editor->BaseURL(), dir.path() + QLatin1Char('/'));
  // The page keeps the name as the author wrote it.
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("images\\LOGO.PNG")))
      << EditorHtml(editor).toStdString();
}

TEST_F(EditingControlFiles, FiveMegabytePageReadsBackWhole) {
  QString body;
  const QString para =
      QStringLiteral("<P>Paragraph %1 with some text &amp; more text to fill the page up.</P>\r\n");
  for (int i = 0; body.size() < 5 * 1024 * 1024; ++i) body += para.arg(i);
  body.chop(2);  // a clean page: what the editor gives back is the same
  Load(Page(body));
  const QString html = EditorHtml(editor);
  EXPECT_EQ(html.size(), Page(body).size());
  EXPECT_TRUE(html == Page(body));
  EXPECT_TRUE(html.endsWith(QStringLiteral("</BODY>\r\n</HTML>\r\n")));
}

TEST_F(EditingControlFiles, SaveAndLoadDocumentKeepTheText) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("page.htm"));
  Load(Page(QStringLiteral("<P>Gr\u00fc\u00dfe \u20ac</P>")));
  ASSERT_TRUE(WriteTextFile(path, EditorHtml(editor), editor->CodePage()).Ok());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(
      bytes.contains("<P>Gr\xfc\xdf"
                     "e \x80</P>"))
      << bytes.toStdString();
  ASSERT_TRUE(editor->LoadDocument(path));
  WaitEditorIdle(editor);
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("<P>Gr\u00fc\u00dfe \u20ac</P>")));
  EXPECT_FALSE(editor->LoadDocument(dir.filePath(QStringLiteral("missing.htm"))));
}

TEST_F(EditingControlTest, PastedHelpElementsKeepTheirText) {
  Load(Page(QStringLiteral("<P id=p>Start</P>")));
  Select(QStringLiteral("#p"), 5, 5);
  editor->SelectionRange().pasteHTML(
      QStringLiteral("<INPUT type=button name=\"tcard\" Value=\"Go on\" Alt=\"1, 2\">"));
  editor->SelectionRange().pasteHTML(QStringLiteral(
      "<OBJECT id=splash "
      "type=\"application/x-oleobject\"\r\nclassid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
      "<PARAM name=\"Command\" value=\"Splash\">\r\n<PARAM name=\"Item1\" value=\"logo.bmp\">\r\n"
      "<PARAM name=\"Item2\" value=\"3000\">\r\n</OBJECT>"));
  const QString html = EditorHtml(editor);
  EXPECT_TRUE(
      html.contains(QStringLiteral("<INPUT type=button name=\"tcard\" value=\"Go on\" alt=\"1, 2\">")))
      << html.toStdString();
  EXPECT_TRUE(html.contains(QStringLiteral("<PARAM name=\"Command\" value=\"Splash\">")));
  EXPECT_TRUE(html.contains(QStringLiteral("<PARAM name=\"Item2\" value=\"3000\">\r\n</OBJECT>")));
  EXPECT_EQ(html.indexOf(QStringLiteral("Start")) < html.indexOf(QStringLiteral("tcard")), true);
}

TEST_F(EditingControlTest, LinksTablesAndUndo) {
  Load(Page(QStringLiteral("<P id=p>Link me please</P>")));
  Select(QStringLiteral("#p"), 0, 4);
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::Unlink));
  SendAndWait(editor, EditorCommand::Hyperlink, QStringLiteral("Proj02.htm"));
  EXPECT_TRUE(EditorHtml(editor).contains(QStringLiteral("<A href=\"Proj02.htm\">Link</A>")));
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Unlink));
  // The engine's undo takes the link back, and with it the changed state.
  SendAndWait(editor, EditorCommand::Undo);
  EXPECT_FALSE(EditorHtml(editor).contains(QStringLiteral("<A ")));
  EXPECT_FALSE(CommandEnabled(editor, EditorCommand::Undo));
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Redo));

  // Prompting commands go to the dialog handler, not the page.
  std::optional<EditorCommand> asked;
  editor->SetDialogHandler([&](EditorCommand command, QVariant&) {
    asked = command;
    return true;
  });
  SendAndWait(editor, EditorCommand::InsertTable);
  EXPECT_EQ(asked, EditorCommand::InsertTable);
  editor->SetDialogHandler(nullptr);

  Select(QStringLiteral("#p"), 14, 14);
  QVariant table = QVariantMap{{QStringLiteral("NumRows"), 2},
                               {QStringLiteral("NumCols"), 3},
                               {QStringLiteral("TableAttrs"), QStringLiteral("border=\"1\" ")},
                               {QStringLiteral("CellAttrs"), QStringLiteral(" nowrap")},
                               {QStringLiteral("Caption"), QString()}};
  ASSERT_TRUE(CommandEnabled(editor, EditorCommand::InsertTable));
  editor->Exec(EditorCommand::InsertTable, table);
  const QString html = EditorHtml(editor);
  EXPECT_TRUE(html.contains(QStringLiteral("<TABLE border=\"1\">"))) << html.toStdString();
  EXPECT_EQ(html.count(QStringLiteral("<TD nowrap>&nbsp;</TD>")), 6);
}

TEST(EditingScheme, PathsAndTypes) {
  EXPECT_EQ(EditorSchemeUrl(QStringLiteral("/home/me/proj/pic 1.png")).toEncoded(),
            QByteArray("orvexpage:/home/me/proj/pic%201.png"));
  const QUrl drive = EditorSchemeUrl(QStringLiteral("C:\\Help\\Demo.css"));
  EXPECT_EQ(drive.path(), QStringLiteral("/C:/Help/Demo.css"));
  EXPECT_EQ(EditorSchemePath(drive), QStringLiteral("C:/Help/Demo.css"));
  EXPECT_EQ(EditorSchemePath(EditorSchemeUrl(QStringLiteral("/a/b.htm"))), QStringLiteral("/a/b.htm"));
  EXPECT_EQ(EditorMimeType(QStringLiteral("x/Demo.CSS")), QByteArray("text/css"));
  EXPECT_EQ(EditorMimeType(QStringLiteral("pic.JPG")), QByteArray("image/jpeg"));
  EXPECT_EQ(EditorMimeType(QStringLiteral("pic.bmp")), QByteArray("image/bmp"));
  EXPECT_EQ(EditorMimeType(QStringLiteral("DemoP.js")), QByteArray("text/javascript"));
}

TEST_F(EditingControlTest, HtmlDroppedFromAnotherProgramLandsCleanedWhereItFell) {
  QMimeData word;
  word.setHtml(QStringLiteral(
      "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head>"
      "<meta name=Generator content=\"Microsoft Word 15\">"
      "<style>p.MsoNormal {mso-style-parent:\"\"; color:green}</style></head><body><!--StartFragment-->"
      "<p class=MsoNormal style='mso-line-height-alt:12pt' onclick=\"steal()\">"
      "Dropped <b style='mso-bidi-font-weight:normal'>words</b><o:p></o:p></p>"
      "<script>document.title='taken'</script>"
      "<a href=\"javascript:steal()\" onmouseover=\"steal()\">click</a><!--EndFragment--></body></html>"));
  word.setText(QStringLiteral("Dropped words click"));
  Load(Page(QStringLiteral("<P id=p>Before after</P>")));
  DropAt(QStringLiteral("#p"), 6, word);
  QString body = Body();
  const QRegularExpression landed(QStringLiteral("Before.*Dropped.*<B>words</B>.*>click</A>.*after"),
                                  QRegularExpression::DotMatchesEverythingOption);
  EXPECT_TRUE(landed.match(body).hasMatch()) << body.toStdString();
  EXPECT_EQ(body.count(QStringLiteral("Dropped")), 1) << body.toStdString();
  for (const char* gone :
       {"<SCRIPT", "taken", "steal", "javascript", "onclick", "mso", "o:p", "green", "<STYLE"})
    EXPECT_FALSE(body.contains(QLatin1String(gone), Qt::CaseInsensitive))
        << gone << ": " << body.toStdString();
  EXPECT_TRUE(CommandEnabled(editor, EditorCommand::Undo));

  // Plain text is dropped as it is.
  QMimeData text;
  text.setText(QStringLiteral("plain words"));
  Load(Page(QStringLiteral("<P id=p>Before after</P>")));
  DropAt(QStringLiteral("#p"), 7, text);
  ProcessEventsUntil([&] { return Body().contains(QStringLiteral("plain words")); }, 3000);
  EXPECT_TRUE(Body().contains(QStringLiteral("Before plain words"))) << Body().toStdString();

  // A read-only page takes no drop.
  Load(Page(QStringLiteral("<P id=p>Before after</P>")));
  editor->SetReadOnly(true);
  DropAt(QStringLiteral("#p"), 6, word);
  body = Body();
  editor->SetReadOnly(false);
  EXPECT_TRUE(body.contains(QStringLiteral("<P id=\"p\">Before after</P>"))) << body.toStdString();
  EXPECT_FALSE(body.contains(QStringLiteral("Dropped"))) << body.toStdString();
}
