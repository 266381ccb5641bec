// Formatting, tables and view options on the real editor in a main window.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QMenu>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDialog>
#include <QMessageBox>
#include <QTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>

#include "editor/number_edit.h"
#include "editor/table_dialog.h"
#include "editor_commands_fixture.h"
#include "tests/gui/window_parts.h"

namespace {

class FormatCommands : public EditorCommandsFixture {};
class TableCommands : public EditorCommandsFixture {};
class ViewOptions : public EditorCommandsFixture {};

TEST_F(FormatCommands, BoldItalicUnderlineButtonsFollowTheCaret) {
  OpenPage("<P id=p>plain <B id=b>bold</B> <I id=i>slant</I> <U id=u>under</U></P>");
  const auto buttons = [this] {
    return QString("%1%2%3")
        .arg(Widget<QToolButton>(*form, "boldButton")->isChecked() ? "B" : "-")
        .arg(Widget<QToolButton>(*form, "italicButton")->isChecked() ? "I" : "-")
        .arg(Widget<QToolButton>(*form, "underlineButton")->isChecked() ? "U" : "-");
  };
  Select("#b", 2, 2);
  EXPECT_TRUE(ProcessEventsUntil([&] { return buttons() == "B--"; }, 5000)) << buttons().toStdString();
  Select("#i", 1, 1);
  EXPECT_TRUE(ProcessEventsUntil([&] { return buttons() == "-I-"; }, 5000)) << buttons().toStdString();
  Select("#u", 3, 3);
  EXPECT_TRUE(ProcessEventsUntil([&] { return buttons() == "--U"; }, 5000)) << buttons().toStdString();
  Select("#p", 2, 2);
  EXPECT_TRUE(ProcessEventsUntil([&] { return buttons() == "---"; }, 5000)) << buttons().toStdString();
  // Following the caret changes nothing in the page.
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(FormatCommands, TheBoldButtonMakesTheSelectionBoldAndStaysDown) {
  OpenPage("<P id=p>Hello world</P>");
  Select("#p", 6, 11);
  Widget<QToolButton>(*form, "boldButton")->click();
  EXPECT_TRUE(Html().contains("Hello <B>world</B>")) << Html().toStdString();
  EXPECT_TRUE(
      ProcessEventsUntil([&] { return Widget<QToolButton>(*form, "boldButton")->isChecked(); }, 5000));
  // With nothing to format the button doesn't stay down.
  Editor()->NewDocument();
  WaitEditorIdle(Editor());
  ChangeSelectionInEditor(Editor(), "getSelection().removeAllRanges()");
  Widget<QToolButton>(*form, "italicButton")->click();
  EXPECT_FALSE(Widget<QToolButton>(*form, "italicButton")->isChecked());
  OpenPage("<P id=p>Hello <B>world</B></P>");
  // The alignment buttons are plain buttons; the caret is in the paragraph.
  Select("#p", 0, 0);
  Widget<QToolButton>(*form, "centerButton")->click();
  EXPECT_FALSE(Widget<QToolButton>(*form, "centerButton")->isChecked());
  // The editor applies the command on its own time (slower builds see that).
  EXPECT_TRUE(ProcessEventsUntil([&] { return Html().contains("center", Qt::CaseInsensitive); }, 5000))
      << Html().toStdString();
}

TEST_F(FormatCommands, AMixedFontSelectionLeavesTheFontBoxUnchanged) {
  OpenPage("<P><FONT id=a face=\"Courier New\">one</FONT> <FONT id=b face=\"Arial\">two</FONT></P>");
  Select("#a", 1, 1);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Widget<QComboBox>(*form, "fontNameBox")->currentText() == "Courier New"; }, 5000))
      << Widget<QComboBox>(*form, "fontNameBox")->currentText().toStdString();
  // The size box shows when the event has run; both fonts have the same size.
  {
    const QSignalBlocker quiet(Widget<QComboBox>(*form, "fontSizeBox"));
    Widget<QComboBox>(*form, "fontSizeBox")->setEditText("9");
  }
  SelectAcross("#a", "#b");
  EXPECT_TRUE(
      ProcessEventsUntil([&] { return Widget<QComboBox>(*form, "fontSizeBox")->currentText() == "3"; }, 5000))
      << Widget<QComboBox>(*form, "fontSizeBox")->currentText().toStdString();
  SettleDisplay();
  EXPECT_EQ(Widget<QComboBox>(*form, "fontNameBox")->currentText(), QString("Courier New"));
  // Filling the boxes sent no formatting command.
  EXPECT_FALSE(CommandEnabled(Editor(), EditorCommand::Undo));
}

TEST_F(FormatCommands, TheFontBoxesSendNameAndSizeIndex) {
  OpenPage("<P id=p>Some words here</P>");
  Select("#p", 5, 10);
  Widget<QComboBox>(*form, "fontSizeBox")->setCurrentIndex(5);
  EXPECT_TRUE(Html().contains("<FONT size=\"5\">words</FONT>")) << Html().toStdString();
  Select("#p", 0, 4);
  Widget<QComboBox>(*form, "fontNameBox")->setEditText("Arial");
  EXPECT_TRUE(Html().contains("face=\"Arial\"")) << Html().toStdString();
  // A size text that names no entry sends nothing.
  Select("#p", 0, 4);
  const QString before = Html();
  Widget<QComboBox>(*form, "fontSizeBox")->setEditText("12");
  EXPECT_EQ(Html(), before);
}

TEST_F(FormatCommands, FontPropertiesApplyWhatTheUserChanged) {
  OpenPage("<P id=p>Make this heavy</P>");
  Select("#p", 10, 15);
  bool shown = false;
  OnNextDialog<QFontDialog>([&](QFontDialog* d) {
    shown = true;
    QFont f = d->currentFont();
    f.setBold(true);
    // The dialog picks its style by name.
    f.setStyleName("Bold");
    d->setCurrentFont(f);
    d->accept();
  });
  Action(*form, "fontPropertiesAction")->trigger();
  EXPECT_TRUE(shown);
  EXPECT_TRUE(Html().contains("<B>heavy</B>")) << Html().toStdString();
  EXPECT_FALSE(Html().contains("<I>"));
  // Cancelled: nothing changes.
  const QString before = Html();
  OnNextDialog<QFontDialog>([](QFontDialog* d) { d->reject(); });
  Action(*form, "fontPropertiesAction")->trigger();
  EXPECT_EQ(Html(), before);
}

TEST_F(FormatCommands, ColoursForFontAndWholePage) {
  OpenPage("<P id=p>Colour me</P>");
  Select("#p", 0, 6);
  OnNextDialog<QColorDialog>([](QColorDialog* d) {
    d->setCurrentColor(QColor(255, 0, 0));
    d->accept();
  });
  Action(*form, "fontColorAction")->trigger();
  EXPECT_TRUE(Html().contains("color=\"#ff0000\"", Qt::CaseInsensitive)) << Html().toStdString();
  OnNextDialog<QColorDialog>([](QColorDialog* d) {
    d->setCurrentColor(QColor(0, 0, 255));
    d->accept();
  });
  Action(*form, "pageBackgroundAction")->trigger();
  EXPECT_TRUE(Html().contains("<BODY bgcolor=\"#0000FF\">")) << Html().toStdString();
  // The context menu's background colour marks the selection.
  Select("#p", 7, 9);
  OnNextDialog<QColorDialog>([](QColorDialog* d) {
    d->setCurrentColor(QColor(255, 255, 0));
    d->accept();
  });
  Action(*form, "editorBackgroundAction")->trigger();
  EXPECT_TRUE(Html().contains("255, 255, 0")) << Html().toStdString();
  // Cancelled: nothing happens.
  const QString before = Html();
  OnNextDialog<QColorDialog>([](QColorDialog* d) { d->reject(); });
  Action(*form, "pageBackgroundAction")->trigger();
  EXPECT_EQ(Html(), before);
}

TEST_F(FormatCommands, ToggleMenuEnablesListsAtTheCaretAndMakesThem) {
  OpenPage("<P id=p>An item</P>");
  Action(*form, "bulletedListAction")->setEnabled(false);
  Select("#p", 1, 1);
  Controller<EditorCommands>(*form)->PrepareToggleMenu();
  EXPECT_TRUE(Action(*form, "bulletedListAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "numberedListAction")->isEnabled());
  Action(*form, "bulletedListAction")->trigger();
  EXPECT_TRUE(Html().contains("<UL>\r\n<LI>An item</LI>\r\n</UL>")) << Html().toStdString();
}

TEST_F(TableCommands, InitialValuesInsertATwoByTwoTableWithBorderAndNowrapCells) {
  OpenPage("<P id=p>Before</P>");
  Select("#p", 6, 6);
  OnNextDialog<TableDialog>([](TableDialog* d) {
    EXPECT_EQ(d->windowTitle(), QString("New table"));
    EXPECT_EQ(d->captionEdit->text(), QString());
    EXPECT_EQ(d->columnsBox->text(), QString("2"));
    EXPECT_EQ(d->rowsBox->text(), QString("2"));
    EXPECT_EQ(d->cellAttributesEdit->text(), QString(" nowrap"));
    EXPECT_EQ(d->borderBox->text(), QString("1"));
    EXPECT_EQ(d->widthBox->text(), QString("100"));
    d->okButton->click();
  });
  Action(*form, "insertTableAction")->trigger();
  const QString html = Html();
  EXPECT_EQ(html.count("<TABLE border=\"1\" width=\"100%\">"), 1) << html.toStdString();
  EXPECT_EQ(html.count("<TR>"), 2);
  EXPECT_EQ(html.count("<TD nowrap>"), 4);
  EXPECT_FALSE(html.contains("CAPTION"));
}

TEST_F(TableCommands, ColumnsWithALetterGivesThePositionAndTheDialogStaysOpen) {
  OpenPage("<P id=p>Before</P>");
  Select("#p", 6, 6);
  std::shared_ptr<SeenBox> seen;
  bool stayedOpen = false;
  OnNextDialog<TableDialog>([&](TableDialog* d) {
    d->columnsBox->setText("12a");
    seen = AnswerNextMessageBox(QMessageBox::Ok);
    d->okButton->click();
    stayedOpen = d->isVisible();
    // Mended, with a caption and other shape.
    d->columnsBox->setText("3");
    d->borderBox->setText("0");
    d->widthBox->setText("50");
    d->captionEdit->setText("Prices & <more>");
    d->okButton->click();
  });
  Action(*form, "insertTableAction")->trigger();
  ASSERT_TRUE(seen);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, QString("Error in columns count at position: 3"));
  EXPECT_TRUE(stayedOpen);
  const QString html = Html();
  EXPECT_TRUE(html.contains("<TABLE width=\"50%\">\r\n<CAPTION>Prices &amp; &lt;more&gt;</CAPTION>"))
      << html.toStdString();
  EXPECT_EQ(html.count("<TD nowrap>"), 6);
}

TEST_F(TableCommands, BothBadBoxesGiveTwoMessagesCancelAndCloseRules) {
  TableDialog* d = ProgramDialogs(*form).tableDialog;
  d->show();
  d->columnsBox->setText("x");
  d->rowsBox->setText("");
  // Every message box is answered and its text kept.
  QStringList texts;
  QTimer answer;
  answer.setInterval(20);
  QObject::connect(&answer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      texts << box->text();
      box->button(QMessageBox::Ok)->click();
    }
  });
  answer.start();
  d->Confirm();
  answer.stop();
  EXPECT_EQ(texts,
            QStringList({"Error in columns count at position: 1", "Error in rows count at position: 1"}));
  EXPECT_FALSE(d->allowClose);
  // The window's own close doesn't close it now; Cancel always does.
  EXPECT_FALSE(d->close());
  EXPECT_TRUE(d->isVisible());
  d->cancelButton->click();
  EXPECT_FALSE(d->isVisible());
  // The values stay for the next use.
  EXPECT_EQ(d->columnsBox->text(), QString("x"));
  d->columnsBox->setText("2");
  d->rowsBox->setText("2");
}

TEST_F(TableCommands, SpinBoxesComeIntoRangeOnLeavingAndCountBadTextAsTheMinimum) {
  TableDialog* d = ProgramDialogs(*form).tableDialog;
  d->show();
  d->activateWindow();
  d->columnsBox->setText("500");
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(d->columnsBox, &leave);
  EXPECT_EQ(d->columnsBox->text(), QString("100"));
  // Text that is no number stays as typed.
  d->columnsBox->setText("12a");
  QApplication::sendEvent(d->columnsBox, &leave);
  EXPECT_EQ(d->columnsBox->text(), QString("12a"));
  EXPECT_EQ(d->columnsBox->Value(), 1);
  d->borderBox->setText("many");
  EXPECT_EQ(d->borderBox->Value(), 0);
  d->widthBox->setText("abc");
  EXPECT_EQ(d->Params().tableAttrs, QString("width=\"1%\""));
  d->widthBox->setText("99");
  d->borderBox->setText("2");
  EXPECT_EQ(d->Params().tableAttrs, QString("border=\"2\" width=\"99%\""));
  QTest::keyClick(d->borderBox, Qt::Key_Up);
  EXPECT_EQ(d->borderBox->text(), QString("3"));
  d->cancelButton->click();
  d->columnsBox->setText("2");
  d->borderBox->setText("1");
  d->widthBox->setText("100");
}

TEST_F(TableCommands, RowAndColumnCommandsOnlyInsideATable) {
  OpenPage("<P id=p>Outside</P><TABLE border=1><TR><TD id=c>a</TD><TD>b</TD></TR></TABLE>");
  Select("#p", 2, 2);
  Controller<EditorCommands>(*form)->PrepareTableMenu();
  EXPECT_FALSE(Action(*form, "deleteRowAction")->isEnabled());
  EXPECT_FALSE(Action(*form, "insertRowAction")->isEnabled());
  // Not enabled: nothing happens.
  Controller<EditorCommands>(*form)->InsertRow();
  EXPECT_EQ(Html().count("<TR>"), 1);
  Select("#c", 1, 1);
  Controller<EditorCommands>(*form)->PrepareTableMenu();
  EXPECT_TRUE(Action(*form, "deleteRowAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "insertRowAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "insertColumnAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "deleteColumnAction")->isEnabled());
  Action(*form, "insertRowAction")->trigger();
  EXPECT_EQ(Html().count("<TR>"), 2) << Html().toStdString();
  Select("#c", 1, 1);
  Action(*form, "deleteColumnAction")->trigger();
  EXPECT_FALSE(Html().contains(">a</TD>")) << Html().toStdString();
  EXPECT_EQ(Html().count("<TD"), 2);
}

TEST_F(ViewOptions, ShowBordersTwiceLeavesTheSettingAsItWas) {
  OpenPage("<TABLE><TR><TD>cell</TD></TR></TABLE>");
  const bool was = Editor()->ShowBorders();
  EXPECT_FALSE(Action(*form, "showBordersAction")->isChecked());
  Action(*form, "showBordersAction")->trigger();
  EXPECT_EQ(Editor()->ShowBorders(), !was);
  EXPECT_EQ(Action(*form, "showBordersAction")->isChecked(), !was);
  Action(*form, "showBordersAction")->trigger();
  EXPECT_EQ(Editor()->ShowBorders(), was);
  EXPECT_FALSE(Action(*form, "showBordersAction")->isChecked());
}

TEST_F(ViewOptions, DetailsAndGridFollowTheirItems) {
  OpenPage("<P>x</P>");
  Action(*form, "showDetailsAction")->trigger();
  EXPECT_TRUE(Editor()->ShowDetails());
  EXPECT_TRUE(Action(*form, "showDetailsAction")->isChecked());
  Action(*form, "snapToGridAction")->trigger();
  EXPECT_TRUE(Editor()->SnapToGrid());
  EXPECT_TRUE(Action(*form, "snapToGridAction")->isChecked());
  EXPECT_FALSE(Editor()->ShowBorders());
  Action(*form, "showDetailsAction")->trigger();
  Action(*form, "snapToGridAction")->trigger();
  EXPECT_FALSE(Editor()->ShowDetails());
  EXPECT_FALSE(Editor()->SnapToGrid());
  EXPECT_FALSE(Action(*form, "snapToGridAction")->isChecked());
}

}  // namespace
