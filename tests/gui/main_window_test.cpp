// The main window as it starts: layout, menus, enabled states, closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/addins_menu.h"
#include "app/program_window.h"
#include "editor_script.h"
#include "app/about_box.h"
#include "app/compiler_messages.h"
#include "editor/link_dialog.h"
#include "editor/table_dialog.h"
#include "features/text_edit_dialog.h"
#include "features/splash_dialog.h"
#include "features/training_card_dialog.h"
#include "project/new_project_dialog.h"
#include "project/project_commands.h"
#include "gui_helpers.h"
#include "tests/gui/window_parts.h"

namespace {

QString Caption(const QAction* action) {
  if (action->isSeparator()) return "-";
  return QString(action->text()).remove('&');
}

QStringList Captions(const QMenu* menu) {
  QStringList list;
  for (const QAction* a : menu->actions()) list << Caption(a);
  return list;
}

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(MainWindowTest, StartsAsOrvexWithTheDesignedSizeAndPanes) {
  EXPECT_EQ(form->windowTitle(), "Orvex");
  EXPECT_EQ(form->size(), QSize(800, 504));
  EXPECT_EQ(Widget<QTabWidget>(*form, "treeTabs")->tabText(0), "Contents");
  EXPECT_EQ(Widget<QTabWidget>(*form, "treeTabs")->tabText(1), "Index");
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->tabText(0), "Editor");
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->tabText(1), "Source");
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->indentation(), 25);
  EXPECT_EQ(Widget<QTreeView>(*form, "indexTree")->indentation(), 19);
  EXPECT_TRUE(Widget<QTreeView>(*form, "indexTree")->isSortingEnabled());
  EXPECT_EQ(Widget<QPushButton>(*form, "copyContextButton")->text(), "Clipboard copy");
  EXPECT_EQ(Widget<QPushButton>(*form, "copyContextButton")->toolTip(),
            "Copy to clipboard help context number");
  EXPECT_EQ(Widget<QComboBox>(*form, "fontSizeBox")->count(), 8);
  EXPECT_EQ(Widget<QComboBox>(*form, "fontSizeBox")->currentText(), "1");
  EXPECT_GT(Widget<QComboBox>(*form, "fontNameBox")->count(), 0);
  EXPECT_EQ(Widget<QToolButton>(*form, "boldButton")->toolTip(), "Bold");
  EXPECT_EQ(Widget<QToolButton>(*form, "alignRightButton")->toolTip(), "Align right");
  EXPECT_EQ(Widget<QToolButton>(*form, "compileButton")->toolTip(), "Compile project");
}

TEST_F(MainWindowTest, MenusHoldTheirItemsInOrder) {
  QStringList top;
  for (const QAction* a : form->menuBar()->actions()) top << Caption(a);
  EXPECT_EQ(top, (QStringList{"File", "Edit", "Insert", "Contents", "Index", "Tools", "Help"}));
  EXPECT_EQ(Captions(Menu(*form, "fileMenu")),
            (QStringList{"New", "Open", "Reopen", "Save", "-", "Compile", "View compiled help file",
                         "View compiler messages", "Decompile CHM file", "-", "Exit"}));
  EXPECT_EQ(Captions(Menu(*form, "editMenu")),
            // The trees' undo and redo, then the editor's: each pair shows with its view.
            (QStringList{"Undo", "Redo", "Undo", "Redo", "Find text", "Find again", "Replace...",
                         "Find in all topics...", "-", "Edit", "-"} +
             QStringList{"Set Font", "Set color", "Table ...", "Toggle", "-", "Options", "-", "Copy", "Cut",
                         "Paste", "Paste as plain text", "Select all"}));
  EXPECT_EQ(Captions(Menu(*form, "insertMenu")),
            (QStringList{"Table", "Picture", "Link ...", "Pop-up", "Splash", "Training card"}));
  EXPECT_EQ(Captions(Menu(*form, "fontMenu")),
            (QStringList{"Properties", "-", "Bold", "Italic", "Underline"}));
  EXPECT_EQ(Captions(Menu(*form, "colorMenu")),
            (QStringList{"for selection background", "for font", "for whole page"}));
  EXPECT_EQ(Captions(Menu(*form, "optionsMenu")),
            (QStringList{"Show details", "Show borders", "Snap to grid"}));
  EXPECT_EQ(Captions(Menu(*form, "contentsMenu")),
            (QStringList{"New topic", "New subtopic", "Delete topic", "Rename topic",
                         "Append links to subtopics"}));
  EXPECT_EQ(Captions(Menu(*form, "indexMenu")),
            (QStringList{"Delete", "Rename", "Properties", "-", "New keyword...", "Add topic to keyword",
                         "Remove topic from keyword"}));
  EXPECT_EQ(Captions(Menu(*form, "editorMenu")), (QStringList{"Delete", "Color", "Link ..."}));
  EXPECT_EQ(Captions(Menu(*form, "editorLinkMenu")),
            (QStringList{"remove", "insert to other topic", "create from selection to external page"}));
  EXPECT_EQ(Action(*form, "selectAllAction")->shortcut(), QKeySequence("Ctrl+A"));
}

TEST_F(MainWindowTest, ProjectCommandsStartDisabled) {
  for (QAction* item : {Action(*form, "saveAction"), Action(*form, "compileAction"),
                        Action(*form, "viewHelpFileAction"), Action(*form, "viewMessagesAction"),
                        Action(*form, "newTopicAction"), Action(*form, "newSubtopicAction"),
                        Action(*form, "deleteTopicAction"), Action(*form, "appendLinksAction"),
                        Menu(*form, "insertMenu")->menuAction(), Menu(*form, "toolsMenu")->menuAction(),
                        Menu(*form, "editMenu")->menuAction(), Menu(*form, "reopenMenu")->menuAction()})
    EXPECT_FALSE(item->isEnabled()) << Caption(item).toStdString();
  // "Add-ins" is enabled as soon as one add-in was found beside the program,
  // listed in the background while the window is already there.
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Controller<AddinsMenu>(*form)->Scanning(); }, 60000));
  EXPECT_EQ(Menu(*form, "addinsMenu")->menuAction()->isEnabled(),
            !Controller<AddinsMenu>(*form)->Files().isEmpty());
  EXPECT_FALSE(Widget<QFrame>(*form, "formatToolbar")->isEnabled());
  EXPECT_TRUE(Action(*form, "newAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "openAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "decompileAction")->isEnabled());
  EXPECT_TRUE(ProjectOf(*form).ProjectFile().isEmpty());
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  // The tabs don't switch while no topic can be edited.
  Widget<QTabWidget>(*form, "editorTabs")->setCurrentIndex(1);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(Widget<QTabWidget>(*form, "editorTabs")->currentIndex(), 0);
}

TEST_F(MainWindowTest, TheSplitterKeepsTheLeftPaneAtLeast255Wide) {
  Widget<QSplitter>(*form, "splitter")->setSizes({100, 700});
  EXPECT_GE(Widget<QSplitter>(*form, "splitter")->sizes().value(0), 255);
  Widget<QSplitter>(*form, "splitter")->setSizes({300, 500});
  emit Widget<QSplitter>(*form, "splitter")->splitterMoved(300, 1);
  EXPECT_EQ(form->minimumWidth(), Widget<QSplitter>(*form, "splitter")->sizes().value(0) + 470);
  EXPECT_EQ(form->minimumHeight(), 250);
}

TEST_F(MainWindowTest, ClosingWithNothingUnsavedAsksNothing) {
  // A question would be cancelled, and the window would stay.
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel, 500);
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(seen->shown) << seen->text.toStdString();
  QTest::qWait(600);  // the answer is no longer waited for
}

TEST_F(MainWindowTest, AModifiedProjectAsksToSaveAndCancelKeepsItOpen) {
  ProjectOf(*form).SetModified();
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel);
  EXPECT_FALSE(form->close());
  EXPECT_EQ(seen->title, "Warning");
  EXPECT_EQ(seen->text, "Save help project?");
  seen = AnswerNextMessageBox(QMessageBox::No);
  EXPECT_TRUE(form->close());
}

TEST_F(MainWindowTest, TheNineWindowsExistWithTheirCaptions) {
  const StartupDialogs& d = ProgramDialogs(*form);
  const QList<QPair<QWidget*, QString>> windows = {
      {static_cast<QWidget*>(d.tableDialog), "New table"},
      {static_cast<QWidget*>(d.linkDialog), "Select topic"},
      {static_cast<QWidget*>(d.aboutBox), "About"},
      {static_cast<QWidget*>(d.compilerMessagesWindow), "Compiler messages"},
      {static_cast<QWidget*>(d.newProjectDialog), "New HTMLhelp project"},
      {static_cast<QWidget*>(d.splashDialog), "Insert splash"},
      {static_cast<QWidget*>(d.trainingCardDialog), "Training card"},
  };
  for (const auto& [window, caption] : windows) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), caption);
  }
  EXPECT_NE(d.textEditDialog, nullptr);
}

}  // namespace
