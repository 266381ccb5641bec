// The window as a keyboard user meets it: where the focus goes, the keys
// that move it between the panes, and Tab in the editor.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/main_window.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "project/project_commands.h"
#include "tests/unit/test_files.h"
#include "tree_items.h"

namespace {

QByteArray SitemapItem(const QString& name, const QString& local) {
  return ("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"" + name +
          "\">\r\n<param name=\"Local\" value=\"" + local + "\">\r\n</OBJECT>\r\n")
      .toLatin1();
}

class KeyboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    path = dir.filePath("My Guide.hhp");
    PutFile(path,
            "[OPTIONS]\r\nContents file=My Guide.hhc\r\nIndex file=My Guide.hhk\r\nTitle=My Guide\r\n\r\n"
            "[FILES]\r\nGuide01.htm\r\nGuide02.htm\r\n");
    PutFile(dir.filePath("My Guide.hhc"), "<HTML><BODY><UL>\r\n" + SitemapItem("Intro", "Guide01.htm") +
                                              SitemapItem("Tables", "Guide02.htm") +
                                              "</UL></BODY></HTML>\r\n");
    PutFile(dir.filePath("My Guide.hhk"),
            "<HTML><BODY><UL>\r\n" + SitemapItem("greeting", "Guide01.htm") + "</UL></BODY></HTML>\r\n");
    PutFile(dir.filePath("Guide01.htm"), "<HTML><BODY><P id=p>Hello world</P></BODY></HTML>\r\n");
    PutFile(dir.filePath("Guide02.htm"),
            "<HTML><BODY><TABLE border=1><TR><TD id=a>one</TD><TD id=b>two</TD></TR>"
            "<TR><TD id=c>three</TD><TD id=d>four</TD></TR></TABLE></BODY></HTML>\r\n");
    form = std::make_unique<MainWindow>();
    form->projectCommands->SetSettingsFile(dir.filePath("orvex.ini"));
    form->CreateDialogs();
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  void TearDown() override {
    form->project.SetModified(false);
    form->hide();
  }
  void Open() {
    form->projectCommands->OpenByName(path);
    ASSERT_EQ(form->project.ProjectFile(), path);
    WaitEditorIdle(form->editor);
    QApplication::processEvents();
  }
  // Presses a key where the keyboard focus is, as the user would.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    QApplication::processEvents();
  }
  bool FocusIn(QWidget* pane) const {
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == pane || pane->isAncestorOf(focus));
  }
  QString Js(const QString& script) { return EditorScript(form->editor, script).toString(); }

  QTemporaryDir dir;
  QString path;
  std::unique_ptr<MainWindow> form;
};

TEST_F(KeyboardTest, OpeningStartsInTheContentsAndF6AndCtrlTabReachEveryPane) {
  form->editor->setFocus();
  Open();
  EXPECT_TRUE(FocusIn(form->contentsTree));
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(form->editor));
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(form->sourceView));
  EXPECT_EQ(form->editorTabs->currentIndex(), 1);
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(form->contentsTree));
  Press(Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_TRUE(FocusIn(form->sourceView));
  // Ctrl+Tab goes between the Editor and Source tabs, the focus with it.
  Press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form->editorTabs->currentIndex(), 0);
  EXPECT_TRUE(FocusIn(form->editor));
  Press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(form->editorTabs->currentIndex(), 1);
  EXPECT_TRUE(FocusIn(form->sourceView));
  // On the Index tab, F6 comes back to the Index tree.
  form->treeTabs->setCurrentIndex(1);
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(form->indexTree));
}

TEST_F(KeyboardTest, TabIsATabInTextAndGoesFromCellToCellInATable) {
  Open();
  Press(Qt::Key_F6);
  ASSERT_TRUE(FocusIn(form->editor));
  SelectInEditor(form->editor, "#p", 5, 5);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Js("document.querySelector('#p').textContent") == "Hello\tworld"; }, 3000))
      << Js("document.querySelector('#p').textContent").toStdString();
  EXPECT_TRUE(FocusIn(form->editor));

  form->contentsTree->setCurrentIndex(TopLevel(form->contentsTree, 1));
  WaitEditorIdle(form->editor);
  form->editor->setFocus();
  QApplication::processEvents();
  const QString cellAtCaret =
      "(() => { const n = getSelection().anchorNode;"
      "const e = n.nodeType === 1 ? n : n.parentElement; return e.closest('td').id; })()";
  SelectInEditor(form->editor, "#b", 1, 1);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Js(cellAtCaret) == "c"; }, 3000))
      << Js(cellAtCaret).toStdString();
  EXPECT_EQ(Js("getSelection().toString()"), "three");
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Js(cellAtCaret) == "b"; }, 3000));
  EXPECT_FALSE(Js("document.body.innerHTML").contains('\t'));
  EXPECT_TRUE(FocusIn(form->editor));
}

}  // namespace
