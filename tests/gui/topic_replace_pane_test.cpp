// Edit > Find in all topics on a real window: Replace all across three
// topics in code page 932, the page being edited shown replaced, and one
// Undo putting every page back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

#include "app/program_window.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "platform/codepage.h"
#include "project/project_commands.h"
#include "tests/unit/test_files.h"
#include "tests/gui/window_parts.h"

namespace {

constexpr int kJapanese = 932;

QString Page(const QString& word, const QString& rest) {
  return "<HTML><BODY>\r\n<P TITLE=\"日本語\">" + word + rest + "</P>\r\n</BODY></HTML>\r\n";
}

QPushButton* Button(QWidget* pane, const QString& caption) {
  for (QPushButton* button : pane->findChildren<QPushButton*>())
    if (button->text().remove('&') == caption) return button;
  return nullptr;
}

TEST(TopicReplacePane, ReplaceAllChangesThreeTopicsAndTheEditedPageAndOneUndoPutsThemBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("J.hhp");
  PutText(path,
          "[OPTIONS]\r\nContents file=J.hhc\r\nIndex file=J.hhk\r\nLanguage=0x411 Japanese\r\nTitle=J\r\n\r\n"
          "[FILES]\r\none.htm\r\ntwo.htm\r\nthree.htm\r\n",
          kJapanese);
  QString items;
  const QStringList pages{"one.htm", "two.htm", "three.htm"};
  const QStringList rests{"の本", "を話す", "です"};
  for (int i = 0; i < 3; ++i)
    items += "<LI> <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + QString::number(i + 1) +
             "\"><param name=\"Local\" value=\"" + pages[i] + "\"></OBJECT>\r\n";
  PutText(dir.filePath("J.hhc"), "<UL>\r\n" + items + "</UL>\r\n", kJapanese);
  PutText(dir.filePath("J.hhk"), "<UL>\r\n</UL>\r\n", kJapanese);
  QList<QByteArray> before;
  for (int i = 0; i < 3; ++i) {
    before.append(EncodeCodePage(Page("日本語", rests[i]), kJapanese));
    PutFile(dir.filePath(pages[i]), before.last());
  }

  const auto formWindow = NewProgramWindow();
  QMainWindow& form = *formWindow;
  Controller<ProjectCommands>(form)->SetSettingsFile(dir.filePath("orvex.ini"));
  CreateProgramDialogs(form);
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  // A message box would stop the test: it is answered, and fails it.
  const auto box = AnswerNextMessageBox(QMessageBox::Ok, 5000);
  Controller<ProjectCommands>(form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(form).ProjectFile(), path);
  auto* contentsTree = form.findChild<QTreeView*>("contentsTree");
  auto* source = form.findChild<QPlainTextEdit*>("sourceView");
  contentsTree->setCurrentIndex(contentsTree->model()->index(0, 0));
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  ASSERT_TRUE(source->toPlainText().contains("日本語の本"));
  EXPECT_FALSE(box->shown) << box->text.toStdString();

  contentsTree->setFocus();
  QTest::keyClick(contentsTree, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
  auto* dock = form.findChild<QDockWidget*>("allTopicsDock");
  ASSERT_TRUE(dock->isVisible());
  auto* phrase = dock->findChild<QLineEdit*>("allTopicsPhrase");
  EXPECT_TRUE(phrase->hasFocus());
  phrase->setText("日本語");
  dock->findChild<QLineEdit*>("allTopicsReplacement")->setText("ニホンゴ");
  QTest::keyClick(phrase, Qt::Key_Return);
  auto* matches = dock->findChild<QTreeWidget*>("allTopicsMatches");
  ASSERT_EQ(matches->topLevelItemCount(), 3);  // the text only: never the TITLE attribute
  EXPECT_EQ(matches->topLevelItem(1)->text(0), "2 (two.htm)");
  EXPECT_EQ(matches->topLevelItem(1)->child(0)->text(1), "<P TITLE=\"日本語\">日本語を話す</P>");

  Button(dock, "Replace all")->click();
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(BytesOf(dir.filePath(pages[i])), EncodeCodePage(Page("ニホンゴ", rests[i]), kJapanese)) << i;
  EXPECT_TRUE(source->toPlainText().contains("<P TITLE=\"日本語\">ニホンゴの本</P>"))
      << source->toPlainText().toStdString();
  EXPECT_EQ(matches->topLevelItemCount(), 0);

  QPushButton* undo = Button(dock, "Undo replace");
  ASSERT_TRUE(undo->isEnabled());
  undo->click();
  WaitEditorIdle(Widget<EditingControl>(form, "editor"));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(BytesOf(dir.filePath(pages[i])), before[i]) << i;
  EXPECT_TRUE(source->toPlainText().contains("日本語の本"));
  EXPECT_FALSE(undo->isEnabled());
  ProjectOf(form).SetModified(false);
}

}  // namespace
