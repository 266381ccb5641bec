// Links, pictures, clipboard, undo, find and menu preparation on the real
// editor in a main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "editor/control_dialogs.h"
#include "editor/link_dialog.h"
#include "editor_commands_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

class LinkCommands : public EditorCommandsFixture {
 protected:
  // Answers "Select topic" by choosing the topic with this caption.
  static void ChooseTopic(const QString& caption) {
    OnNextDialog<LinkDialog>([caption](LinkDialog* d) {
      const auto found = d->topicTree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
      if (!found.isEmpty()) d->topicTree->setCurrentItem(found.first());
      d->okButton->click();
      if (d->isVisible()) d->cancelButton->click();
    });
  }
};
class PictureCommands : public EditorCommandsFixture {};
class ClipboardCommands : public EditorCommandsFixture {};

TEST_F(LinkCommands, TheSelectedWordBecomesTheLinkAndTheClipboardComesBack) {
  OpenPage("<P id=p>See Intro here</P>");
  QGuiApplication::clipboard()->setText("kept on the clipboard");
  Select("#p", 4, 9);
  ChooseTopic("Details");
  Action(*form, "linkToTopicAction")->trigger();
  const QString html = Html();
  // The blanks beside the replaced word stay plain blanks.
  EXPECT_TRUE(html.contains("See <A href=\"Proj02.htm\">Intro</A> here")) << html.toStdString();
  EXPECT_EQ(Html().count("<A "), 1);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("kept on the clipboard"));
  // One undo takes the link back out.
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Undo);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_FALSE(Html().contains("<A ")) << Html().toStdString();
  EXPECT_EQ(Js("document.querySelector('#p').textContent.replace(/\\u00a0/g, ' ')").toString(),
            QString("See Intro here"));
}

TEST_F(LinkCommands, WithoutASelectionTheEscapedTitleIsTheLinkText) {
  ContentsModelOf(*form)->setData(details, "Q&A <new>");
  OpenPage("<P id=p>Go: </P>");
  QGuiApplication::clipboard()->setText("untouched");
  Select("#p", 4, 4);
  ChooseTopic("Q&A <new>");
  Action(*form, "editorLinkToTopicAction")->trigger();
  EXPECT_TRUE(Html().contains("<A href=\"Proj02.htm\">Q&amp;A &lt;new&gt;</A>")) << Html().toStdString();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("untouched"));
}

TEST_F(LinkCommands, ARichClipboardComesBackInAllItsFormats) {
  OpenPage("<P id=p>Linked words</P>");
  auto* mime = new QMimeData;
  mime->setData("application/x-orvex-test", "rich bytes");
  QGuiApplication::clipboard()->setMimeData(mime);
  Select("#p", 0, 6);
  ChooseTopic("Details");
  Action(*form, "linkToTopicAction")->trigger();
  EXPECT_TRUE(Html().contains("<A href=\"Proj02.htm\">Linked</A>")) << Html().toStdString();
  const QMimeData* now = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->data("application/x-orvex-test"), QByteArray("rich bytes"));
  EXPECT_FALSE(now->hasText());
}

TEST_F(LinkCommands, TheTopicPickerClosesOnlyWithAChoiceOrCancel) {
  LinkDialog* d = ProgramDialogs(*form).linkDialog;
  d->SetContents(ContentsModelOf(*form));
  d->show();
  EXPECT_EQ(d->windowTitle(), QString("Select topic"));
  ASSERT_EQ(d->topicTree->topLevelItemCount(), 2);
  EXPECT_EQ(d->topicTree->topLevelItem(1)->text(0), QString("Details"));
  d->topicTree->setCurrentItem(nullptr);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  d->Confirm();
  EXPECT_TRUE(seen->shown);  // says why it stays open
  EXPECT_EQ(seen->text, "Choose the topic the link leads to.");
  EXPECT_TRUE(d->isVisible());
  EXPECT_FALSE(d->allowClose);
  EXPECT_FALSE(d->close());
  d->topicTree->setCurrentItem(d->topicTree->topLevelItem(0));
  d->okButton->click();
  EXPECT_FALSE(d->isVisible());
  EXPECT_EQ(d->chosenFile, QString("Proj01.htm"));
  EXPECT_EQ(d->chosenCaption, QString("Start"));
  // Shown again: the choice is cleared; Cancel closes.
  d->show();
  EXPECT_EQ(d->chosenFile, QString());
  d->cancelButton->click();
  EXPECT_FALSE(d->isVisible());
}

TEST_F(LinkCommands, MenusOfferLinksAtACaretAndRemoveOnlyOnALink) {
  OpenPage("<P id=p>Text <A id=a href=\"x.htm\">link</A></P>");
  Select("#p", 1, 1);
  Controller<EditorCommands>(*form)->PrepareLinkMenu();
  EXPECT_TRUE(Action(*form, "linkToTopicAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "linkToPageAction")->isEnabled());
  Controller<EditorCommands>(*form)->PrepareEditorLinkMenu();
  EXPECT_FALSE(Action(*form, "removeLinkAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "editorLinkToTopicAction")->isEnabled());
  Select("#a", 0, 4);
  Controller<EditorCommands>(*form)->PrepareEditorLinkMenu();
  EXPECT_TRUE(Action(*form, "removeLinkAction")->isEnabled());
  Action(*form, "removeLinkAction")->trigger();
  EXPECT_FALSE(Html().contains("x.htm")) << Html().toStdString();
}

TEST_F(LinkCommands, RemoveLinkAtACaretRemovesThatWholeLinkAndKeepsItsText) {
  OpenPage("<P id=p>Text <A id=a href=\"x.htm\">link <B>bold</B></A> and <A href=\"y.htm\">other</A></P>");
  Select("#a", 2, 2);
  Controller<EditorCommands>(*form)->PrepareEditorLinkMenu();
  ASSERT_TRUE(Action(*form, "removeLinkAction")->isEnabled());
  Action(*form, "removeLinkAction")->trigger();
  const QString html = Html();
  EXPECT_FALSE(html.contains("x.htm")) << html.toStdString();
  EXPECT_TRUE(html.contains("link <B>bold</B> and <A href=\"y.htm\">other</A>")) << html.toStdString();
  // The caret stays where it was, with nothing selected.
  EXPECT_EQ(Js("(() => { const s = getSelection(); const r = document.createRange();"
               "r.setStart(document.querySelector('#p'), 0); r.setEnd(s.anchorNode, s.anchorOffset);"
               "return s.isCollapsed + ':' + r.toString(); })()")
                .toString(),
            QString("true:Text li"));
  // One undo brings the link back.
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_TRUE(Html().contains("Text <A href=\"x.htm\">link <B>bold</B></A> and")) << Html().toStdString();
}

TEST_F(LinkCommands, AnExternalLinkAsksForItsAddress) {
  OpenPage("<P id=p>Visit us</P>");
  Select("#p", 6, 8);
  OnNextDialog<QInputDialog>([](QInputDialog* d) {
    d->setTextValue("http://example.com/");
    d->accept();
  });
  Action(*form, "linkToPageAction")->trigger();
  EXPECT_TRUE(Html().contains("<A href=\"http://example.com/\">us</A>")) << Html().toStdString();
}

class PictureFiles {
 public:
  static void WritePng(const QString& path, const QColor& color) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path, "PNG"));
  }
};

TEST_F(PictureCommands, APictureFromAnotherFolderIsCopiedAndReferencedByItsBareName) {
  QTemporaryDir other;
  ASSERT_TRUE(other.isValid());
  PictureFiles::WritePng(other.filePath("logo.png"), Qt::red);
  PutFile(Path("logo.png"), "an older picture");
  OpenPage("<P id=p>Picture: </P>");
  Select("#p", 9, 9);
  AnswerNextFileDialog(other.filePath("logo.png"));
  Action(*form, "insertPictureAction")->trigger();
  const QString html = Html();
  EXPECT_TRUE(html.contains("<IMG src=\"logo.png\">")) << html.toStdString();
  EXPECT_FALSE(html.contains(other.path())) << html.toStdString();
  EXPECT_EQ(FileBytes(Path("logo.png")), FileBytes(other.filePath("logo.png")));
  EXPECT_EQ(html.count("<IMG"), 1);
}

TEST_F(PictureCommands, APictureThatCannotBeCopiedIsReportedAndTakenOut) {
  QTemporaryDir other;
  ASSERT_TRUE(other.isValid());
  PictureFiles::WritePng(other.filePath("logo.png"), Qt::red);
  ASSERT_TRUE(QDir(dir.path()).mkdir("logo.png"));  // a folder stands where the copy would go
  OpenPage("<P id=p>Picture: </P>");
  Select("#p", 9, 9);
  AnswerNextFileDialog(other.filePath("logo.png"));
  auto box = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "insertPictureAction")->trigger();
  ProcessEventsUntil([&] { return box->shown; }, 5000);
  ASSERT_TRUE(box->shown);
  EXPECT_TRUE(box->text.contains(QDir::toNativeSeparators(other.filePath("logo.png"))))
      << box->text.toStdString();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  const QString html = Html();
  EXPECT_FALSE(html.contains(other.path())) << html.toStdString();
  EXPECT_FALSE(html.contains("<IMG", Qt::CaseInsensitive)) << html.toStdString();
}

TEST_F(PictureCommands, APictureInTheProjectFolderIsNotCopiedButNamedRelatively) {
  PictureFiles::WritePng(Path("inside.png"), Qt::green);
  const QStringList before = QDir(dir.path()).entryList(QDir::Files);
  OpenPage("<P id=p>Here</P>");
  Select("#p", 4, 4);
  AnswerNextFileDialog(Path("inside.png"));
  Action(*form, "insertPictureAction")->trigger();
  EXPECT_TRUE(Html().contains("<IMG src=\"inside.png\">")) << Html().toStdString();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
}

TEST_F(PictureCommands, ACancelledPictureDialogLeavesThePageAsItWas) {
  OpenPage("<P id=p><B>Bold</B> end</P>");
  Select("#p", 0, 0);
  Js("(() => { const t = document.querySelector('#p b').firstChild; const r = document.createRange();"
     "r.setStart(t, 4); r.setEnd(t, 4); const s = getSelection(); s.removeAllRanges(); s.addRange(r); })()");
  const QString before = Html();
  OnNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); });
  Action(*form, "insertPictureAction")->trigger();
  EXPECT_EQ(Html(), before);
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(ClipboardCommands, UndoOnTheSourceTabUndoesTheMemoOnly) {
  OpenPage("<P id=p>Hello world</P>");
  Select("#p", 6, 11);
  Action(*form, "boldAction")->trigger();
  ASSERT_TRUE(CommandEnabled(Editor(), EditorCommand::Undo));
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  Widget<QPlainTextEdit>(*form, "sourceView")->setFocus();
  QApplication::processEvents();
  const QString memoBefore = Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText();
  Widget<QPlainTextEdit>(*form, "sourceView")->moveCursor(QTextCursor::End);
  Widget<QPlainTextEdit>(*form, "sourceView")->insertPlainText("<!-- typed -->");
  ASSERT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains("typed"));
  ASSERT_TRUE(Action(*form, "undoAction")->isEnabled());
  Action(*form, "undoAction")->trigger();
  EXPECT_EQ(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText(), memoBefore);
  // The editor keeps its own change.
  EXPECT_TRUE(CommandEnabled(Editor(), EditorCommand::Undo));
  EXPECT_TRUE(Html().contains("<B>world</B>"));
  // Redo there does nothing and is offered disabled.
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  EXPECT_FALSE(Action(*form, "redoAction")->isEnabled());
  EXPECT_FALSE(Menu(*form, "tableMenu")->menuAction()->isEnabled());
}

TEST_F(ClipboardCommands, UndoAndRedoInTheEditor) {
  OpenPage("<P id=p>Hello world</P>");
  Select("#p", 0, 5);
  Action(*form, "boldAction")->trigger();
  ASSERT_TRUE(Html().contains("<B>Hello</B>"));
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_FALSE(Html().contains("<B>")) << Html().toStdString();
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  EXPECT_TRUE(Action(*form, "redoAction")->isEnabled());
  Controller<EditorCommands>(*form)->RedoCommand();
  EXPECT_TRUE(Html().contains("<B>Hello</B>")) << Html().toStdString();
}

TEST_F(ClipboardCommands, CopyCutPasteAndSelectAllInTheEditorAndTheMemo) {
  OpenPage("<P id=p>alpha beta</P>");
  Select("#p", 0, 5);
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  EXPECT_TRUE(Action(*form, "copyAction")->isEnabled());
  // The page hands over what it copies a moment later.
  Controller<EditorCommands>(*form)->CopyCommand();
  EXPECT_TRUE(ProcessEventsUntil([] { return QGuiApplication::clipboard()->text() == "alpha"; }, 3000))
      << QGuiApplication::clipboard()->text().toStdString();
  Select("#p", 6, 10);
  Controller<EditorCommands>(*form)->CutCommand();
  EXPECT_TRUE(ProcessEventsUntil([] { return QGuiApplication::clipboard()->text() == "beta"; }, 3000))
      << QGuiApplication::clipboard()->text().toStdString();
  EXPECT_FALSE(Html().contains("beta"));
  Select("#p", 0, 0);
  Controller<EditorCommands>(*form)->PasteCommand();
  EXPECT_TRUE(Html().contains("betaalpha")) << Html().toStdString();
  Controller<EditorCommands>(*form)->SelectAllCommand();
  EXPECT_TRUE(SelectedText().contains("betaalpha"));
  // Without a selection Copy and Cut are offered disabled.
  Select("#p", 1, 1);
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  EXPECT_FALSE(Action(*form, "copyAction")->isEnabled());
  EXPECT_FALSE(Action(*form, "cutAction")->isEnabled());
  // The memo's own clipboard commands once it had the focus.
  Widget<QPlainTextEdit>(*form, "sourceView")->setPlainText("memo text");
  Widget<QPlainTextEdit>(*form, "sourceView")->setFocus();
  QApplication::processEvents();
  Controller<EditorCommands>(*form)->SelectAllCommand();
  Controller<EditorCommands>(*form)->CopyCommand();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("memo text"));
}

TEST_F(ClipboardCommands, HtmlFromAnotherProgramArrivesWithoutScriptsOrOfficeMarkup) {
  OpenPage("<P id=p>Here: </P>");
  auto* mime = new QMimeData;
  mime->setHtml(
      "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\"><head>"
      "<meta name=Generator content=\"Microsoft Word 15\"><link rel=File-List href=\"clip_filelist.xml\">"
      "<!--[if gte mso 9]><xml><o:DocumentProperties><o:Author>me</o:Author></o:DocumentProperties></xml>"
      "<![endif]--><style>p.MsoNormal {mso-style-parent:\"\"; color:green}</style></head><body>"
      "<!--StartFragment--><p class=MsoNormal style='mso-line-height-alt:12pt' onclick=\"steal()\">"
      "Pasted <b style='mso-bidi-font-weight:normal'>words</b><o:p></o:p></p>"
      "<script>document.title='taken'</script>"
      "<a href=\"javascript:steal()\" onmouseover=\"steal()\">click</a><!--EndFragment--></body></html>");
  mime->setText("Pasted words click");
  QGuiApplication::clipboard()->setMimeData(mime);
  Select("#p", 6, 6);
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  ASSERT_TRUE(Action(*form, "pasteAction")->isEnabled());
  Action(*form, "pasteAction")->trigger();
  const QString html = Html();
  EXPECT_TRUE(html.contains("Pasted <B>words</B>")) << html.toStdString();
  EXPECT_TRUE(html.contains(">click</A>")) << html.toStdString();
  for (const char* gone : {"<SCRIPT", "taken", "steal", "javascript", "mso", "o:p", "[if", "<META", "<LINK",
                           "<STYLE", "green", "Author"})
    EXPECT_FALSE(html.contains(gone, Qt::CaseInsensitive)) << gone << ": " << html.toStdString();
  EXPECT_TRUE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(ClipboardCommands, WhatWasCopiedInTheEditorPastesAsItWasWritten) {
  const QString popupLink = "<A href=\"Javascript:popup.textpopup(t1,popfont,10,10,0,-1)\">note</A>";
  OpenPage("<P id=p>See " + popupLink + "</P><P id=q>Again: </P>");
  ChangeSelectionInEditor(Editor(),
                          "const r = document.createRange();"
                          " r.selectNodeContents(document.querySelector('#p'));"
                          " const s = getSelection(); s.removeAllRanges(); s.addRange(r)");
  Action(*form, "copyAction")->trigger();
  Select("#q", 7, 7);
  Action(*form, "pasteAction")->trigger();
  EXPECT_EQ(Html().count(popupLink), 2) << Html().toStdString();
}

TEST_F(ClipboardCommands, KeysInTheEditorGoThroughTheMenuItemsOnce) {
  OpenPage("<P id=p>one two</P>");
  Select("#p", 0, 3);
  QWidget* focus = QApplication::focusWidget();
  ASSERT_TRUE(focus && Widget<EditingControl>(*form, "editor")->isAncestorOf(focus));
  QTest::keyClick(focus, Qt::Key_C, Qt::ControlModifier);
  EXPECT_TRUE(ProcessEventsUntil([] { return QGuiApplication::clipboard()->text() == "one"; }, 3000))
      << QGuiApplication::clipboard()->text().toStdString();
  Select("#p", 3, 3);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
  ProcessEventsUntil([&] { return Html().contains("oneone"); }, 3000);
  EXPECT_TRUE(Html().contains("oneone two")) << Html().toStdString();
  EXPECT_FALSE(Html().contains("oneoneone")) << Html().toStdString();
  // Ctrl+C with the Contents tree in front doesn't reach the editor.
  QGuiApplication::clipboard()->setText("before");
  Widget<QTreeView>(*form, "contentsTree")->setFocus();
  QApplication::processEvents();
  Select("#p", 7, 10);
  QTest::keyClick(Widget<QTreeView>(*form, "contentsTree"), Qt::Key_C, Qt::ControlModifier);
  WaitEditorIdle(Editor());
  // (The tree copies its own item's text; the editor's selection stays out.)
  EXPECT_NE(QGuiApplication::clipboard()->text(), QString("two"));
}

TEST_F(ClipboardCommands, TheDeleteKeyDeletesInTheEditor) {
  OpenPage("<P id=p>keep drop keep</P>");
  Select("#p", 4, 9);
  QWidget* focus = QApplication::focusWidget();
  ASSERT_TRUE(focus && Widget<EditingControl>(*form, "editor")->isAncestorOf(focus));
  QTest::keyClick(focus, Qt::Key_Delete);
  EXPECT_EQ(Js("document.querySelector('#p').textContent.replace(/\\u00a0/g, ' ')").toString(),
            QString("keep keep"));
  // The hidden context-menu item does the same.
  Select("#p", 0, 5);
  Controller<EditorCommands>(*form)->DeleteCommand();
  EXPECT_EQ(Js("document.querySelector('#p').textContent.replace(/\\u00a0/g, ' ')").toString(),
            QString("keep"));
}

TEST_F(ClipboardCommands, InsertMenuOffersPopupOnlyWithASelection) {
  OpenPage("<P id=p>pick me</P>");
  Select("#p", 1, 1);
  Controller<EditorCommands>(*form)->PrepareInsertMenu();
  EXPECT_FALSE(Action(*form, "insertPopupAction")->isEnabled());
  Select("#p", 0, 4);
  Controller<EditorCommands>(*form)->PrepareInsertMenu();
  EXPECT_TRUE(Action(*form, "insertPopupAction")->isEnabled());
}

TEST_F(ClipboardCommands, FindSelectsTheTextInThePage) {
  OpenPage("<P id=p>hay hay needle hay Needles</P>");
  Select("#p", 0, 0);
  OnNextDialog<FindTextDialog>([](FindTextDialog* d) {
    d->findWhatEdit->setText("needle");
    d->matchCaseBox->setChecked(true);
    d->findNextButton->click();
    d->reject();
  });
  Controller<EditorCommands>(*form)->FindTextCommand();
  EXPECT_EQ(SelectedText(), QString("needle"));
  // Whole words only: "Needles" is no match, the search wraps to "needle".
  EXPECT_TRUE(FindInEditor(Editor(), "needle", {false, true, false}));
  EXPECT_EQ(SelectedText(), QString("needle"));
  EXPECT_FALSE(FindInEditor(Editor(), "haystack", {}));
  EXPECT_EQ(SelectedText(), QString("needle"));
}

}  // namespace
