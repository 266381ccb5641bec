// The window as a desktop user meets it: where the keyboard focus goes and
// the keys that move it, the usual shortcuts, the caption, the kept size.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/program_window.h"
#include "editor/control_dialogs.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "project/project_commands.h"
#include "tests/unit/test_files.h"
#include "tree_items.h"
#include "tests/gui/window_parts.h"

namespace {

QByteArray SitemapItem(const QString& name, const QString& local) {
  return ("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"" + name +
          "\">\r\n<param name=\"Local\" value=\"" + local + "\">\r\n</OBJECT>\r\n")
      .toLatin1();
}

class DesktopWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    settingsFile = dir.filePath("orvex.ini");
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
    form = NewWindow();
  }
  std::unique_ptr<QMainWindow> NewWindow() {
    auto window = NewProgramWindow();
    Controller<ProjectCommands>(*window)->SetSettingsFile(settingsFile);
    CreateProgramDialogs(*window);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  void Open() {
    Controller<ProjectCommands>(*form)->OpenByName(path);
    ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    QApplication::processEvents();
  }
  // Presses a key where the keyboard focus is, as the user would. After a
  // dialog the window gets the focus back, as the window manager gives it.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QApplication::activeWindow() != form.get()) {
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    // What the key started (a switch of tabs, a save) may go on once the
    // page has answered.
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    QApplication::processEvents();
  }
  bool FocusIn(QWidget* pane) const {
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == pane || pane->isAncestorOf(focus));
  }
  QString Js(const QString& script) {
    return EditorScript(Widget<EditingControl>(*form, "editor"), script).toString();
  }

  QTemporaryDir dir;
  QString settingsFile;
  QString path;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(DesktopWindowTest, OpeningStartsInTheContentsAndF6AndCtrlTabReachEveryPane) {
  Widget<EditingControl>(*form, "editor")->setFocus();
  Open();
  EXPECT_TRUE(FocusIn(Widget<QTreeView>(*form, "contentsTree")));
  // The selected topic shows whether the keyboard is in its tree.
  const QRect selected = Widget<QTreeView>(*form, "contentsTree")
                             ->visualRect(Widget<QTreeView>(*form, "contentsTree")->currentIndex());
  const QImage focused = Widget<QTreeView>(*form, "contentsTree")->viewport()->grab(selected).toImage();
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(Widget<QTreeView>(*form, "indexTree")));
  EXPECT_EQ(Widget<QTabWidget>(*form, "treeTabs")->currentIndex(), 1);
  EXPECT_NE(Widget<QTreeView>(*form, "contentsTree")->viewport()->grab(selected).toImage(), focused);
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(Widget<QPlainTextEdit>(*form, "sourceView")));
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  Press(Qt::Key_F6);
  EXPECT_TRUE(FocusIn(Widget<QTreeView>(*form, "contentsTree")));
  EXPECT_EQ(Widget<QTabWidget>(*form, "treeTabs")->currentIndex(), 0);
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->viewport()->grab(selected).toImage(), focused);
  Press(Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_TRUE(FocusIn(Widget<QPlainTextEdit>(*form, "sourceView")));
  // Ctrl+Tab goes between the Editor and Source tabs, the focus with it.
  Press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 0);
  EXPECT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
  Press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 1);
  EXPECT_TRUE(FocusIn(Widget<QPlainTextEdit>(*form, "sourceView")));
  // Shift+F6 from the editor goes back through the Index tree.
  Press(Qt::Key_Tab, Qt::ControlModifier);
  Press(Qt::Key_F6, Qt::ShiftModifier);
  EXPECT_TRUE(FocusIn(Widget<QTreeView>(*form, "indexTree")));
  EXPECT_EQ(Widget<QTabWidget>(*form, "treeTabs")->currentIndex(), 1);
}

TEST_F(DesktopWindowTest, TabIsATabInTextAndGoesFromCellToCellInATable) {
  Open();
  Press(Qt::Key_F6);  // the Index tree
  Press(Qt::Key_F6);
  ASSERT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 5, 5);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Js("document.querySelector('#p').textContent") == "Hello\t world"; }, 3000))
      << Js("document.querySelector('#p').textContent").toStdString();
  EXPECT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));

  Widget<QTreeView>(*form, "contentsTree")
      ->setCurrentIndex(TopLevel(Widget<QTreeView>(*form, "contentsTree"), 1));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Widget<EditingControl>(*form, "editor")->setFocus();
  QApplication::processEvents();
  const QString cellAtCaret =
      "(() => { const n = getSelection().anchorNode;"
      "const e = n.nodeType === 1 ? n : n.parentElement; return e.closest('td').id; })()";
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#b", 1, 1);
  Press(Qt::Key_Tab);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Js(cellAtCaret) == "c"; }, 3000))
      << Js(cellAtCaret).toStdString();
  EXPECT_EQ(Js("getSelection().toString()"), "three");
  Press(Qt::Key_Tab, Qt::ShiftModifier);
  EXPECT_TRUE(ProcessEventsUntil([&] { return Js(cellAtCaret) == "b"; }, 3000));
  EXPECT_FALSE(Js("document.body.innerHTML").contains('\t'));
  EXPECT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
}

TEST_F(DesktopWindowTest, TheTreesTakeDelF2AndShiftF10) {
  Open();
  QTreeView* tree = Widget<QTreeView>(*form, "contentsTree");
  tree->setCurrentIndex(TopLevel(tree, 1));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  tree->setFocus();
  EXPECT_EQ(Action(*form, "deleteTopicAction")->shortcut(),
            QKeySequence(QKeySequence::Delete));  // shown in the menu
  auto seen = AnswerNextMessageBox(QMessageBox::No);
  Press(Qt::Key_Delete);
  EXPECT_EQ(seen->title, "Confirm");
  EXPECT_EQ(TopLevelCount(tree), 2);
  seen = AnswerNextMessageBox(QMessageBox::Yes);
  Press(Qt::Key_Delete);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(TopLevelCount(tree), 1);

  tree->setFocus();
  Press(Qt::Key_F2);
  auto* captionEditor = tree->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(captionEditor, nullptr);
  EXPECT_TRUE(captionEditor->isVisible());
  // Del while typing a caption deletes characters, not the topic.
  captionEditor->setText("Intro");
  captionEditor->setCursorPosition(0);
  QTest::keyClick(captionEditor, Qt::Key_Delete);
  EXPECT_EQ(captionEditor->text(), "ntro");
  QTest::keyClick(captionEditor, Qt::Key_Escape);
  EXPECT_EQ(TopLevelCount(tree), 1);

  tree->setFocus();
  Press(Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(Menu(*form, "contentsMenu")->isVisible());
  Menu(*form, "contentsMenu")->close();

  // On the Index tree, Del deletes the selected entry.
  Widget<QTabWidget>(*form, "treeTabs")->setCurrentIndex(1);
  Widget<QTreeView>(*form, "indexTree")->setFocus();
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0));
  Press(Qt::Key_Delete);
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "indexTree")), 0);
  EXPECT_TRUE(ProjectOf(*form).IsModified());
}

TEST_F(DesktopWindowTest, FileFindAndPasteKeysActFromTheEditor) {
  Open();
  Press(Qt::Key_F6);  // the Index tree
  Press(Qt::Key_F6);
  ASSERT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
  // Ctrl+S saves, also with the caret in the page.
  ProjectOf(*form).SetModified();
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  // Ctrl+O asks for a project.
  bool asked = false;
  OnNextDialog<QFileDialog>([&](QFileDialog* d) {
    asked = true;
    d->reject();
  });
  Press(Qt::Key_O, Qt::ControlModifier);
  EXPECT_TRUE(asked);
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);

  // Ctrl+F opens "Find"; F3 finds the same text again once it is closed.
  Widget<EditingControl>(*form, "editor")->setFocus();
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 0, 0);
  bool found = false;
  OnNextDialog<FindTextDialog>([&](FindTextDialog* d) {
    found = true;
    d->findWhatEdit->setText("o");
    d->reject();
  });
  Press(Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(found);
  Widget<EditingControl>(*form, "editor")->setFocus();
  QApplication::processEvents();
  Press(Qt::Key_F3);
  const QString caret = "getSelection().toString() + '@' + getSelection().anchorOffset";
  EXPECT_EQ(Js(caret), "o@4");
  Press(Qt::Key_F3);
  EXPECT_EQ(Js(caret), "o@7");

  // Ctrl+Shift+V leaves the markup behind, Ctrl+V keeps it.
  auto* mime = new QMimeData;
  mime->setHtml("<B id=bold>loud</B>");
  mime->setText("loud");
  QGuiApplication::clipboard()->setMimeData(mime);
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 0, 0);
  Press(Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Js("document.querySelector('#p').textContent").startsWith("loud"); }, 3000));
  EXPECT_FALSE(Js("document.body.innerHTML").contains("<b", Qt::CaseInsensitive));
  Press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Js("document.body.innerHTML").contains("<b", Qt::CaseInsensitive); }, 3000));
}

TEST_F(DesktopWindowTest, TheCaptionFollowsTheProjectAndTheWindowKeepsItsPlace) {
  EXPECT_EQ(form->windowTitle(), "Orvex");
  Open();
  EXPECT_EQ(form->windowTitle(), "My Guide \u2014 Orvex");
  Widget<QTabWidget>(*form, "treeTabs")->setCurrentIndex(1);
  Widget<QTreeView>(*form, "indexTree")->setFocus();
  Widget<QTreeView>(*form, "indexTree")->setCurrentIndex(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0));
  Press(Qt::Key_Delete);
  EXPECT_EQ(form->windowTitle(), "*My Guide \u2014 Orvex");
  Press(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(form->windowTitle(), "My Guide \u2014 Orvex");

  // Size, position and splitter come back at the next start.
  form->resize(900, 610);
  form->move(30, 40);
  Widget<QSplitter>(*form, "splitter")->setSizes({320, 578});
  QApplication::processEvents();
  const QPoint position = form->pos();
  const int left = Widget<QSplitter>(*form, "splitter")->sizes().value(0);
  // Saved: closing asks nothing.
  ASSERT_TRUE(form->close());
  form = NewWindow();
  EXPECT_EQ(form->size(), QSize(900, 610));
  EXPECT_EQ(form->pos(), position);
  EXPECT_EQ(Widget<QSplitter>(*form, "splitter")->sizes().value(0), left);
}

TEST_F(DesktopWindowTest, TheNarrowestWindowKeepsTheToolbarWholeAndTheFontBoxNamesARealFont) {
  form->resize(100, 100);
  QApplication::processEvents();
  ASSERT_EQ(form->width(), form->minimumWidth());
  const auto right = [&](QWidget* w) { return w->mapTo(form.get(), QPoint(w->width(), 0)).x(); };
  const auto left = [&](QWidget* w) { return w->mapTo(form.get(), QPoint(0, 0)).x(); };
  EXPECT_LE(right(Widget<QComboBox>(*form, "fontNameBox")), left(Widget<QComboBox>(*form, "fontSizeBox")));
  EXPECT_LE(right(Widget<QComboBox>(*form, "fontSizeBox")), left(Widget<QToolButton>(*form, "boldButton")));
  EXPECT_LE(right(Widget<QToolButton>(*form, "alignRightButton")),
            right(Widget<QFrame>(*form, "formatToolbar")));
  EXPECT_LE(right(Widget<QFrame>(*form, "formatToolbar")), form->width());

  // Font names as a page names them, without a foundry in brackets.
  EXPECT_FALSE(Widget<QComboBox>(*form, "fontNameBox")->currentText().isEmpty());
  for (int i = 0; i < Widget<QComboBox>(*form, "fontNameBox")->count(); ++i)
    EXPECT_FALSE(Widget<QComboBox>(*form, "fontNameBox")->itemText(i).contains('['))
        << Widget<QComboBox>(*form, "fontNameBox")->itemText(i).toStdString();
  EXPECT_NE(Widget<QComboBox>(*form, "fontNameBox")
                ->findText(Widget<QComboBox>(*form, "fontNameBox")->currentText()),
            -1);
}

TEST_F(DesktopWindowTest, TheMenusFollowTheViewThroughMenusAndDialogs) {
  Open();
  // The add-ins make topics wherever the focus is.
  EXPECT_TRUE(FocusIn(Widget<QTreeView>(*form, "contentsTree")));
  EXPECT_TRUE(Menu(*form, "toolsMenu")->menuAction()->isEnabled());

  Press(Qt::Key_F6);  // the Index tree
  Press(Qt::Key_F6);
  ASSERT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));
  SelectInEditor(Widget<EditingControl>(*form, "editor"), "#p", 0, 5);
  // Alt+E keeps the editor's items on, and Copy from the menu copies.
  QGuiApplication::clipboard()->clear();
  Press(Qt::Key_E, Qt::AltModifier);
  ASSERT_TRUE(ProcessEventsUntil([&] { return Menu(*form, "editMenu")->isVisible(); }, 3000));
  for (QAction* item : {Action(*form, "findAction"), Menu(*form, "fontMenu")->menuAction(),
                        Menu(*form, "tableMenu")->menuAction(), Action(*form, "copyAction"),
                        Action(*form, "cutAction"), Action(*form, "pasteAction")})
    EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
  QTest::keyClick(Menu(*form, "editMenu"), Qt::Key_C);
  EXPECT_TRUE(ProcessEventsUntil([&] { return QGuiApplication::clipboard()->text() == "Hello"; }, 3000));
  EXPECT_TRUE(FocusIn(Widget<EditingControl>(*form, "editor")));

  // After a dialog the focus is back in the editor, with the menus and
  // B/I/U on, without a click.
  OnNextDialog<FindTextDialog>([](FindTextDialog* d) { QTest::keyClick(d->findWhatEdit, Qt::Key_Escape); });
  Press(Qt::Key_F, Qt::ControlModifier);
  EXPECT_TRUE(ProcessEventsUntil([&] { return FocusIn(Widget<EditingControl>(*form, "editor")); }, 3000));
  EXPECT_TRUE(Widget<QToolButton>(*form, "boldButton")->isEnabled());
  EXPECT_TRUE(Action(*form, "findAction")->isEnabled());
  EXPECT_TRUE(Menu(*form, "editMenu")->menuAction()->isEnabled());

  // In the source view Undo, Copy, Cut and Paste work from the menu.
  Press(Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_TRUE(FocusIn(Widget<QPlainTextEdit>(*form, "sourceView")));
  Widget<QPlainTextEdit>(*form, "sourceView")->selectAll();
  QTest::mouseClick(form->menuBar(), Qt::LeftButton, {},
                    form->menuBar()->actionGeometry(Menu(*form, "editMenu")->menuAction()).center());
  ASSERT_TRUE(ProcessEventsUntil([&] { return Menu(*form, "editMenu")->isVisible(); }, 3000));
  for (QAction* item : {Action(*form, "undoAction"), Action(*form, "copyAction"), Action(*form, "cutAction"),
                        Action(*form, "pasteAction")})
    EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
  QTest::mouseClick(Menu(*form, "editMenu"), Qt::LeftButton, {},
                    Menu(*form, "editMenu")->actionGeometry(Action(*form, "cutAction")).center());
  EXPECT_TRUE(ProcessEventsUntil(
      [&] { return Widget<QPlainTextEdit>(*form, "sourceView")->toPlainText().isEmpty(); }, 3000));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("Hello world"));
  // Back in the tree, the source view's items go off; Tools stays. (The
  // closed menu's own window events are let through first.)
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Menu(*form, "editMenu")->isVisible(); }, 3000));
  QTest::qWait(100);
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  Widget<QTabWidget>(*form, "treeTabs")->setCurrentIndex(0);  // F6 went by the Index tab
  Widget<QTreeView>(*form, "contentsTree")->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(FocusIn(Widget<QTreeView>(*form, "contentsTree")));
  EXPECT_FALSE(Action(*form, "copyAction")->isEnabled());
  EXPECT_TRUE(Menu(*form, "toolsMenu")->menuAction()->isEnabled());
}

}  // namespace
