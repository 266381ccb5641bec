// Tools > Check project on a real window: the Problems pane lists what the
// check found, grouped by kind, and opens a problem's topic at its line.
#include <gtest/gtest.h>

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTreeView>
#include <QTreeWidget>

#include "app/program_window.h"
#include "checks/project_check.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "project/project_commands.h"
#include "tests/unit/check_project_sample.h"
#include "tests/gui/window_parts.h"

namespace {

// The item of a menu of the window's menu bar, found by the captions a user sees.
QAction* MenuItem(QMainWindow& window, const QString& menu, const QString& item) {
  for (QAction* top : window.menuBar()->actions()) {
    if (top->text() != menu || !top->menu()) continue;
    for (QAction* action : top->menu()->actions())
      if (action->text() == item) return action;
  }
  return nullptr;
}

QTreeWidgetItem* FindLine(const QTreeWidget* list, const QString& problem) {
  for (int g = 0; g < list->topLevelItemCount(); ++g) {
    QTreeWidgetItem* group = list->topLevelItem(g);
    for (int i = 0; i < group->childCount(); ++i)
      if (group->child(i)->text(2) == problem) return group->child(i);
  }
  return nullptr;
}

class ProblemsPaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid() && outside.isValid());
    const QString path = MakeProjectWithEveryProblem(dir.path(), outside.path());
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    form->show();
    Controller<ProjectCommands>(*form)->OpenByName(path);
    ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
    WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
    list = form->findChild<QTreeWidget*>("problemsList");
    ASSERT_NE(list, nullptr);
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  // Checks the project as the menu item does and waits for the pane to show the result.
  void CheckProject() {
    QAction* check = MenuItem(*form, "&Tools", "&Check project");
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(check->isEnabled());
    check->trigger();
    // The check runs on a thread of its own: its result comes with the events after.
    EXPECT_EQ(list->topLevelItemCount(), 0);
    ASSERT_TRUE(ProcessEventsUntil([this] { return list->topLevelItemCount() > 0; }));
  }
  QTemporaryDir dir;
  QTemporaryDir outside;
  std::unique_ptr<QMainWindow> form;
  QTreeWidget* list = nullptr;
};

TEST_F(ProblemsPaneTest, ListsTheProblemsByKindNamingTheirTopics) {
  CheckProject();
  EXPECT_TRUE(form->findChild<QDockWidget*>("problemsDock")->isVisible());
  // One of each kind, in the order of the kinds.
  ASSERT_EQ(list->topLevelItemCount(), 14);
  for (int kind = 0; kind < 14; ++kind)
    EXPECT_TRUE(list->topLevelItem(kind)->text(0).startsWith(CheckKindCaption(static_cast<CheckKind>(kind))))
        << list->topLevelItem(kind)->text(0).toStdString();
  int lines = 0;
  for (int g = 0; g < list->topLevelItemCount(); ++g) lines += list->topLevelItem(g)->childCount();
  EXPECT_EQ(lines, EveryProblemLines().size());

  const QTreeWidgetItem* broken = FindLine(list, "link to a page that does not exist: нет.htm");
  ASSERT_NE(broken, nullptr);
  EXPECT_EQ(broken->text(0), "Начало (a.htm)");
  EXPECT_EQ(broken->text(1), "3");
  const QTreeWidgetItem* alias = FindLine(list, "alias IDH_NONUM has no context number in [MAP]");
  ASSERT_NE(alias, nullptr);
  EXPECT_EQ(alias->text(0), "Check.hhp");
  const QString summary = form->findChild<QLabel*>("problemsSummary")->text();
  EXPECT_TRUE(summary.startsWith("10 errors, 5 warnings, 2 notes (")) << summary.toStdString();
}

TEST_F(ProblemsPaneTest, EnterAndDoubleClickOpenTheTopicAtTheLineInSource) {
  CheckProject();
  auto* contentsTree = form->findChild<QTreeView*>("contentsTree");
  auto* tabs = form->findChild<QTabWidget*>("editorTabs");
  auto* source = form->findChild<QPlainTextEdit*>("sourceView");

  QTreeWidgetItem* picture = FindLine(list, "picture not found: pic.png");
  ASSERT_NE(picture, nullptr);
  list->setFocus();
  list->setCurrentItem(picture);
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(contentsTree->currentIndex().data().toString(), "Начало");
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(source->textCursor().blockNumber(), 4);  // line 5
  EXPECT_TRUE(source->textCursor().block().text().contains("pic.png"));
  EXPECT_TRUE(source->hasFocus());

  QTreeWidgetItem* noKeyword = FindLine(list, "topic \"начало\" has no keyword in the Index");
  ASSERT_NE(noKeyword, nullptr);
  list->scrollToItem(noKeyword);
  const QPoint at = list->visualItemRect(noKeyword).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(contentsTree->currentIndex().data().toString(), "начало");
  EXPECT_TRUE(source->toPlainText().contains("Третий"));
  EXPECT_EQ(source->textCursor().blockNumber(), 0);
}

}  // namespace
