// The window as a desktop user meets it after a dialog: whatever the dialog
// and however it closed, the keyboard is back where it was, with that
// view's menus; decompiling shows how far it is.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/program_window.h"
#include "editor/editing_control.h"
#include "editor_script.h"
#include "gui_helpers.h"
#include "tests/unit/test_files.h"
#include "viewer_fixture.h"

namespace {

// Presses Esc in the next dialog, where its keyboard is; whether it came.
std::shared_ptr<bool> EscapeNextDialog() {
  auto shown = std::make_shared<bool>(false);
  OnNextDialog<QDialog>([shown](QDialog* dialog) {
    *shown = true;
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == dialog ? focus : dialog, Qt::Key_Escape);
    // A dialog whose focused widget keeps Esc to itself is closed as Esc on the dialog would.
    if (dialog->isVisible()) QTest::keyClick(dialog, Qt::Key_Escape);
  });
  return shown;
}

class DesktopRestTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    // The settings go to a folder of the test's own, as they would to the user's.
    hadConfig = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.filePath("config").toLocal8Bit());
    sample.Write();
    if (HasFatalFailure()) return;
    form = NewProgramWindow(sample.project.projectPath());
    CreateProgramDialogs(*form);
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    editor = form->findChild<EditingControl*>("editor");
    ASSERT_NE(editor, nullptr);
    WaitEditorIdle(editor);
  }
  void TearDown() override {
    form.reset();
    if (hadConfig)
      qputenv("XDG_CONFIG_HOME", oldConfig);
    else
      qunsetenv("XDG_CONFIG_HOME");
  }
  QAction* Action(const char* name) const {
    QAction* action = form->findChild<QAction*>(name);
    EXPECT_NE(action, nullptr) << name;
    return action;
  }
  QMenu* Menu(const char* name) const { return form->findChild<QMenu*>(name); }
  bool FocusIn(QWidget* pane) const {
    QWidget* focus = QApplication::focusWidget();
    return focus && (focus == pane || pane->isAncestorOf(focus));
  }
  // Gives the keyboard to a pane, as a click would.
  void Focus(QWidget* pane) {
    if (QApplication::activeWindow() != form.get()) {
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    pane->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(ProcessEventsUntil([&] { return FocusIn(pane); }, 3000));
  }

  QTemporaryDir dir;
  bool hadConfig = false;
  QByteArray oldConfig;
  viewer_test::SampleProject sample;  // a project with pages, contents, index, and hhc for it
  std::unique_ptr<QMainWindow> form;
  EditingControl* editor = nullptr;
};

TEST_F(DesktopRestTest, EscFromEveryDialogGivesTheKeyboardBackWithItsMenus) {
  auto* source = form->findChild<QPlainTextEdit*>("sourceView");
  auto* indexTree = form->findChild<QTreeView*>("indexTree");
  ASSERT_TRUE(source && indexTree);
  Focus(editor);
  SelectInEditor(editor, "p", 0, 3);
  WaitEditorIdle(editor);
  // The editor's dialogs: replace, table, links, pop-up, splash, training
  // card, picture and font properties; and the file dialog of Open.
  for (const char* name : {"replaceAction", "insertTableAction", "linkToTopicAction", "linkToPageAction",
                           "insertPopupAction", "insertSplashAction", "insertTrainingCardAction",
                           "insertPictureAction", "fontPropertiesAction", "openAction"}) {
    SCOPED_TRACE(name);
    QAction* action = Action(name);
    ASSERT_TRUE(action && action->isEnabled());
    const auto shown = EscapeNextDialog();
    action->trigger();
    // Some commands wait for the editor first.
    ASSERT_TRUE(ProcessEventsUntil([&] { return *shown && !QApplication::activeModalWidget(); }, 5000));
    EXPECT_TRUE(ProcessEventsUntil([&] { return FocusIn(editor); }, 3000))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    for (const char* menu : {"editMenu", "insertMenu"})
      EXPECT_TRUE(Menu(menu)->menuAction()->isEnabled()) << menu;
    EXPECT_TRUE(Action("boldAction")->isEnabled());
    EXPECT_TRUE(Action("copyAction")->isEnabled());
  }

  // The source view keeps its own items after Replace.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  ASSERT_TRUE(ProcessEventsUntil([&] { return FocusIn(source); }, 5000));
  EscapeNextDialog();
  Action("replaceAction")->trigger();
  EXPECT_TRUE(ProcessEventsUntil([&] { return FocusIn(source); }, 3000));
  EXPECT_TRUE(Action("undoAction")->isEnabled());

  // The Index tree after its entry's properties.
  auto* treeTabs = form->findChild<QTabWidget*>("treeTabs");
  ASSERT_NE(treeTabs, nullptr);
  treeTabs->setCurrentWidget(treeTabs->findChild<QWidget*>("indexPage"));
  Focus(indexTree);
  indexTree->setCurrentIndex(indexTree->model()->index(0, 0));
  const auto shown = EscapeNextDialog();
  Action("indexPropertiesAction")->trigger();
  EXPECT_TRUE(*shown);
  EXPECT_TRUE(ProcessEventsUntil([&] { return FocusIn(indexTree); }, 3000))
      << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
  EXPECT_FALSE(Action("copyAction")->isEnabled());
}

TEST_F(DesktopRestTest, DecompileShowsHowFarItIsOnceTheFileAndFolderAreChosen) {
  ASSERT_TRUE(sample.Compile());
  const QString folder = dir.filePath("decompiled");
  ASSERT_TRUE(QDir().mkpath(folder));
  // The file, then the folder; the title while each is asked for.
  QStringList titlesWhileAsked;
  OnNextDialog<QFileDialog>([&](QFileDialog* open) {
    titlesWhileAsked << form->windowTitle();
    OnNextDialog<QFileDialog>([&](QFileDialog* browse) {
      titlesWhileAsked << form->windowTitle();
      browse->setDirectory(folder);
      browse->findChild<QLineEdit*>("fileNameEdit")->clear();
      static_cast<QDialog*>(browse)->accept();
    });
    open->setDirectory(sample.project.folder);
    open->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(sample.project.chmPath()).fileName());
    static_cast<QDialog*>(open)->accept();
  });
  // Each status line, with the progress bar and the title as they stood then.
  struct Step {
    QString message;
    int value = -1;
    int maximum = -1;
    QString title;
  };
  QList<Step> steps;
  const auto progressBar = [&]() -> QProgressBar* {
    for (QProgressBar* bar : form->statusBar()->findChildren<QProgressBar*>())
      if (bar->accessibleName() == "Decompile progress") return bar;
    return nullptr;
  };
  QObject::connect(form->statusBar(), &QStatusBar::messageChanged, form.get(), [&](const QString& message) {
    const QProgressBar* bar = progressBar();
    steps.append({message, bar ? bar->value() : -1, bar ? bar->maximum() : -1, form->windowTitle()});
  });
  auto* contentsTree = form->findChild<QTreeView*>("contentsTree");
  ASSERT_NE(contentsTree, nullptr);
  Focus(contentsTree);
  const auto result = AnswerNextMessageBox(QMessageBox::No, 60000);
  Action("decompileAction")->trigger();
  ASSERT_TRUE(ProcessEventsUntil([&] { return result->shown; }, 60000));
  // After the file, the folder and the result, the keyboard is where it was.
  EXPECT_TRUE(ProcessEventsUntil([&] { return FocusIn(contentsTree); }, 3000));

  ASSERT_EQ(titlesWhileAsked.size(), 2);
  for (const QString& title : titlesWhileAsked)
    EXPECT_FALSE(title.contains("Decompiling")) << title.toStdString();
  // Counted file by file up to the last one, with the title saying so.
  QList<Step> counted;
  for (const Step& step : steps)
    if (step.message.startsWith("Decompiling ") && step.message.endsWith(" files")) counted << step;
  ASSERT_GE(counted.size(), 2);
  const int total = counted.last().maximum;
  EXPECT_GE(total, 5);  // pages, pictures, style sheet, contents and index
  EXPECT_EQ(counted.last().value, total);
  EXPECT_TRUE(counted.last().message.endsWith(QString(" %1 of %1 files").arg(total)))
      << counted.last().message.toStdString();
  EXPECT_LT(counted.first().value, total);
  for (const Step& step : counted)
    EXPECT_TRUE(step.title.contains("Decompiling")) << step.title.toStdString();
  // Done: the bar is gone, the result stands in the status bar.
  EXPECT_EQ(progressBar(), nullptr);
  EXPECT_TRUE(form->statusBar()->currentMessage().startsWith("Decompiled ")) << result->text.toStdString();
  EXPECT_FALSE(result->text.contains("Progress")) << result->text.toStdString();
}

}  // namespace
