// Find, Find again and Replace in the page, through the Edit menu and its
// keys, on the real editor in a main window.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>

#include "editor/control_dialogs.h"
#include "editor_commands_fixture.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

class FindReplace : public EditorCommandsFixture {
 protected:
  // A key pressed in the page. After a dialog the window gets the focus
  // back, as the window manager gives it, and the user clicks into the page.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() != form.get()) {
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    Widget<EditingControl>(*form, "editor")->setFocus();
    QApplication::processEvents();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_TRUE(focus && Widget<EditingControl>(*form, "editor")->isAncestorOf(focus));
    QTest::keyClick(focus, Qt::Key(key), modifiers);
  }
  // A button of the dialog whose answer is a message: the page answers the
  // search a moment later, and the message comes then.
  static void ClickForMessage(QPushButton* button, const std::shared_ptr<SeenBox>& seen) {
    button->click();
    ProcessEventsUntil([&] { return seen->shown; }, 5000);
  }
  // "Replace all" from Edit > Replace...; the message it ends with.
  QString ReplaceAll(const QString& text, const QString& with, bool wholeWord, bool matchCase) {
    std::shared_ptr<SeenBox> seen;
    OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
      d->findWhatEdit->setText(text);
      d->replaceWithEdit->setText(with);
      d->wholeWordBox->setChecked(wholeWord);
      d->matchCaseBox->setChecked(matchCase);
      seen = AnswerNextMessageBox(QMessageBox::Ok);
      ClickForMessage(d->replaceAllButton, seen);
      d->reject();
    });
    Action(*form, "replaceAction")->trigger();
    return seen && seen->shown ? seen->text : QString("(no message)");
  }
  QString PageText() { return Js("document.body.textContent.replace(/\\u00a0/g, ' ').trim()").toString(); }
};

TEST_F(FindReplace, FindAndFindAgainSayWhenTheTextIsNotThere) {
  OpenPage("<P id=p>alpha beta</P>");
  Select("#p", 6, 10);
  std::shared_ptr<SeenBox> seen;
  OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
    EXPECT_EQ(d->windowTitle(), QString("Find"));
    EXPECT_FALSE(d->replaceWithEdit->isVisible());
    d->findWhatEdit->setText("gamma");
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    ClickForMessage(d->findNextButton, seen);
    d->reject();
  });
  Key(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, QString("The search text was not found."));
  // F3 looks again, says so again and leaves the selection alone.
  seen = AnswerNextMessageBox(QMessageBox::Ok);
  Key(Qt::Key_F3);
  EXPECT_TRUE(ProcessEventsUntil([&] { return seen->shown; }, 5000));
  EXPECT_EQ(seen->text, QString("The search text was not found."));
  EXPECT_EQ(SelectedText(), QString("beta"));
}

TEST_F(FindReplace, ASelectedPhraseIsWhatTheDialogsLookFor) {
  OpenPage("<P id=p>alpha beta</P><P id=q>gamma</P>");
  // What the dialog offers to find when it opens.
  const auto offered = [&](int key) {
    QString text = "(not opened)";
    OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
      text = d->findWhatEdit->text();
      d->reject();
    });
    Key(key, Qt::ControlModifier);
    return text;
  };
  Select("#p", 6, 10);
  EXPECT_EQ(offered(Qt::Key_F), QString("beta"));
  Select("#q", 0, 3);
  EXPECT_EQ(offered(Qt::Key_H), QString("gam"));
  // A selection over two paragraphs leaves the last text searched for.
  SelectAcross("#p", "#q");
  EXPECT_EQ(offered(Qt::Key_F), QString("gam"));
  // In the source view, its own selection.
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QPlainTextEdit>(*form, "sourceView")->setFocus();
  QTextCursor cursor = Widget<QPlainTextEdit>(*form, "sourceView")->document()->find("alpha");
  ASSERT_FALSE(cursor.isNull());
  Widget<QPlainTextEdit>(*form, "sourceView")->setTextCursor(cursor);
  OnNextDialog<FindTextDialog>([](FindTextDialog* d) {
    EXPECT_EQ(d->findWhatEdit->text(), QString("alpha"));
    d->reject();
  });
  Action(*form, "findAction")->trigger();
}

TEST_F(FindReplace, ReplaceChangesTheSelectedMatchAndSelectsTheNext) {
  OpenPage("<P id=p>cat dog c<I>a</I>t <B>cat</B>s</P>");
  Select("#p", 0, 0);
  std::shared_ptr<SeenBox> seen;
  OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
    EXPECT_EQ(d->windowTitle(), QString("Replace"));
    EXPECT_TRUE(d->replaceWithEdit->isVisible());
    d->findWhatEdit->setText("cat");
    d->replaceWithEdit->setText("cow");
    d->wholeWordBox->setChecked(true);
    // Nothing is selected yet: the first press only finds.
    d->replaceButton->click();
    EXPECT_EQ(SelectedText(), QString("cat"));
    EXPECT_EQ(PageText(), QString("cat dog cat cats"));
    d->replaceButton->click();
    EXPECT_EQ(PageText(), QString("cow dog cat cats"));
    EXPECT_EQ(SelectedText(), QString("cat"));
    // The match across the italic letter goes, the element stays; "cats"
    // is no whole word, so the search ends.
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    ClickForMessage(d->replaceButton, seen);
    d->reject();
  });
  Key(Qt::Key_H, Qt::ControlModifier);
  ASSERT_TRUE(seen);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, QString("The search text was not found."));
  EXPECT_TRUE(Html().contains("<P id=\"p\">cow dog cow<I></I> <B>cat</B>s</P>")) << Html().toStdString();
  // Each replacement is one undo step.
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_TRUE(Html().contains("<P id=\"p\">cow dog c<I>a</I>t <B>cat</B>s</P>")) << Html().toStdString();
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_TRUE(Html().contains("<P id=\"p\">cat dog c<I>a</I>t <B>cat</B>s</P>")) << Html().toStdString();
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(FindReplace, ReplaceAllChangesTextOnlyAsOneUndoableChangeThatIsStored) {
  const QString body =
      "<P id=p>Red, red and RED.</P>\r\n<P id=q>re<B>d</B> wine, <A href=\"red.htm\">red link</A> "
      "<IMG alt=\"red\" src=\"red.png\"> reddish</P>";
  OpenPage(body);
  const QString before = Html();
  Select("#p", 0, 0);
  EXPECT_EQ(ReplaceAll("red", "blue", true, false), QString("5 occurrences replaced."));
  // Across the bold tag the replacement stands where the match began; the
  // markup, the link's address and the picture's text stay.
  const QString html = Html();
  EXPECT_TRUE(html.contains("<P id=\"p\">blue, blue and blue.</P>")) << html.toStdString();
  EXPECT_TRUE(
      html.contains("<P id=\"q\">blue<B></B> wine, <A href=\"red.htm\">blue link</A> "
                    "<IMG alt=\"red\" src=\"red.png\"> reddish</P>"))
      << html.toStdString();
  // The page counts as changed; one undo takes it all back, redo again.
  EXPECT_TRUE(CommandEnabled(Editor(), EditorCommand::Undo));
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_EQ(Html(), before);
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
  Controller<EditorCommands>(*form)->PrepareEditMenu();
  ASSERT_TRUE(Action(*form, "redoAction")->isEnabled());
  Controller<EditorCommands>(*form)->RedoCommand();
  EXPECT_EQ(Html(), html);

  // Matching case finds only the exact word; typing afterwards keeps the
  // replacement as a change even when the typing is undone.
  EXPECT_EQ(ReplaceAll("blue", "Green", false, true), QString("5 occurrences replaced."));
  Select("#p", 0, 0);
  Key(Qt::Key_X);
  ASSERT_TRUE(ProcessEventsUntil([&] { return PageText().startsWith("xGreen"); }, 3000))
      << PageText().toStdString();
  Controller<EditorCommands>(*form)->UndoCommand();
  EXPECT_TRUE(PageText().startsWith("Green, Green and Green.")) << PageText().toStdString();
  EXPECT_TRUE(CommandEnabled(Editor(), EditorCommand::Undo));

  // Going to another topic stores the page with the replacements.
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(details);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(FileBytes(Path("Proj01.htm")).contains("Green, Green and Green."))
      << FileBytes(Path("Proj01.htm")).toStdString();
}

TEST_F(FindReplace, ReplaceAllWithNothingToReplaceSaysSoAndChangesNothing) {
  OpenPage("<P id=p>nothing here</P>");
  EXPECT_EQ(ReplaceAll("zebra", "horse", false, false), QString("The search text was not found."));
  EXPECT_TRUE(Html().contains("nothing here"));
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(FindReplace, InTheSourceViewFindAndReplaceWorkOnTheSourceText) {
  OpenPage("<P id=p>one two one</P>");
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<QPlainTextEdit>(*form, "sourceView")->setFocus();
  QApplication::processEvents();
  Widget<QPlainTextEdit>(*form, "sourceView")->moveCursor(QTextCursor::Start);
  ASSERT_TRUE(Action(*form, "replaceAction")->isEnabled());
  EXPECT_EQ(ReplaceAll("one", "three", true, true), QString("2 occurrences replaced."));
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains(">three two three</P>"))
      << Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().toStdString();
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->document()->isModified());
  // One undo of the source view takes both back.
  Action(*form, "undoAction")->trigger();
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains(">one two one</P>"));
  // Find selects in the source; Replace replaces the selected match.
  std::shared_ptr<SeenBox> seen;
  OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
    d->findWhatEdit->setText("TWO");
    d->replaceWithEdit->setText("2");
    d->wholeWordBox->setChecked(false);
    d->matchCaseBox->setChecked(false);
    d->findNextButton->click();
    EXPECT_EQ(Widget<QPlainTextEdit>(*form, "sourceView")->textCursor().selectedText(), QString("two"));
    // The only match goes, and the search says there is no other.
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    ClickForMessage(d->replaceButton, seen);
    d->reject();
  });
  Action(*form, "replaceAction")->trigger();
  EXPECT_TRUE(seen && seen->shown);
  EXPECT_TRUE(Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().contains(">one 2 one</P>"))
      << Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().toStdString();
}

}  // namespace
