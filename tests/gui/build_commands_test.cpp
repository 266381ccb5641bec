// "Compile", "View compiled help file", "View compiler messages" and
// "Decompile CHM file" on a real main window, with the real hhc and hh.
#include <gtest/gtest.h>

#include <QStandardPaths>
#include <QAction>
#include <QClipboard>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTreeView>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

#include "app/addins_menu.h"
#include "app/build_commands.h"
#include "app/program_window.h"
#include "project/project_commands.h"
#include "chm/child_process.h"
#include "app/compiler_messages.h"
#include "viewer/html_help_viewer.h"
#include "viewer/viewer_window.h"
#include "gui_helpers.h"
#include "viewer_fixture.h"
#include "tests/gui/window_parts.h"

using namespace viewer_test;

namespace {

// After a test told the application to end, later event loops would return
// at once: one round of the application's own loop clears that again.
void ClearQuitRequest() {
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

QString Shell() { return QStandardPaths::findExecutable("sh"); }

TEST(BuildChildProcess, WaitsForTheChildWhileEventsAreHandled) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(20);
  const ChildRun run = RunChildProcess(Shell(), {"-c", "sleep 0.4; exit 3"});
  EXPECT_TRUE(run.started);
  EXPECT_FALSE(run.quitRequested);
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_GE(ticks, 5);  // the window stays responsive
}

TEST(BuildChildProcess, ArgumentsReachTheChildUnchanged) {
  QTemporaryDir dir;
  const QString out = dir.filePath("out put.txt");
  const QString odd = "a \"quoted\" arg with $HOME and 'blanks'";
  const ChildRun run = RunChildProcess(Shell(), {"-c", "printf '%s' \"$1\" > \"$2\"", "sh", odd, out});
  ASSERT_TRUE(run.started);
  EXPECT_EQ(QString::fromUtf8(orvex_test::readBytes(out)), odd);
}

TEST(BuildChildProcess, AProgramThatCannotStartIsPassedOver) {
  QElapsedTimer clock;
  clock.start();
  const ChildRun run = RunChildProcess("/nonexistent/hhc", {"x.hhp"});
  EXPECT_FALSE(run.started);
  EXPECT_FALSE(run.quitRequested);
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_FALSE(RunChildProcess(QString(), {}).started);
}

TEST(BuildChildProcess, AQuitDuringTheWaitEndsItAndLeavesTheChildRunning) {
  QTemporaryDir dir;
  const QString marker = dir.filePath("done");
  QTimer::singleShot(150, [] { QCoreApplication::exit(7); });
  QElapsedTimer clock;
  clock.start();
  const ChildRun run = RunChildProcess(Shell(), {"-c", "sleep 1; touch \"$1\"", "sh", marker});
  const qint64 waited = clock.elapsed();
  ClearQuitRequest();
  EXPECT_TRUE(run.started);
  EXPECT_TRUE(run.quitRequested);
  EXPECT_EQ(run.quitCode, 7);
  EXPECT_LT(waited, 900);
  EXPECT_FALSE(QFileInfo::exists(marker));
  EXPECT_TRUE(WaitUntil([&] { return QFileInfo::exists(marker); }, 5000));
}

TEST(BuildChildProcess, ToolsAreTakenFromBesideTheProgramFirst) {
  QTemporaryDir dir;
  const QString beside = dir.filePath("hh");
  orvex_test::writeBytes(beside, "#!/bin/sh\n");
  QFile(beside).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(FindTool("hh", dir.path()), beside);
  // Not beside it: the search path.
  EXPECT_EQ(FindTool("sh", dir.path()), Shell());
  EXPECT_TRUE(FindTool("no-such-tool-here", dir.path()).isEmpty());
  // A workshop folder is the only place its compiler is looked for.
  EXPECT_EQ(CompilerProgram("/opt/help workshop/", dir.path()), "/opt/help workshop/hhc");
  EXPECT_EQ(CompilerProgram("", QStringLiteral(ORVEX_BIN_DIR)), QStringLiteral(ORVEX_BIN_DIR) + "/hhc");
}

class BuildCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sample.Write();
    if (HasFatalFailure()) return;
    form = NewProgramWindow();
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_NE(Controller<HtmlHelpViewer>(*form), nullptr);
  }
  void TearDown() override {
    if (form && Controller<HtmlHelpViewer>(*form)) Controller<HtmlHelpViewer>(*form)->CloseAll();
    if (form) ProjectOf(*form).SetModified(false);
    form.reset();
    QTest::qWait(50);
  }
  void OpenSample() {
    Controller<ProjectCommands>(*form)->OpenByName(sample.project.projectPath());
    ASSERT_EQ(ProjectOf(*form).ProjectFile(), QFileInfo(sample.project.projectPath()).absoluteFilePath());
    ASSERT_TRUE(Action(*form, "compileAction")->isEnabled());
  }

  // Runs `action`; the lines of the messages window when it opened meanwhile
  // (closed with OK), nothing when it did not. With quietMs, waits that long
  // for a window that may not come.
  std::optional<QStringList> MessagesShownBy(const std::function<void()>& action, int quietMs = 0) {
    auto shown = std::make_shared<std::optional<QStringList>>();
    OnNextDialog<CompilerMessagesWindow>(
        [shown](CompilerMessagesWindow* view) {
          QStringList lines;
          for (int i = 0; i < view->messageList->count(); ++i) lines << view->messageList->item(i)->text();
          *shown = lines;
          view->okButton->click();
        },
        quietMs > 0 ? quietMs : 10000);
    action();
    if (quietMs > 0) QTest::qWait(quietMs + 100);
    return *shown;
  }

  SampleProject sample;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(BuildCommandsTest, CompileSavesAndRunsTheCompilerOnTheProject) {
  OpenSample();
  ASSERT_FALSE(QFileInfo::exists(sample.project.chmPath()));
  Action(*form, "compileAction")->trigger();
  EXPECT_TRUE(QFileInfo::exists(sample.project.chmPath()));
  EXPECT_TRUE(QFileInfo::exists(sample.project.logPath()));
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone
}

TEST_F(BuildCommandsTest, ASecondStartWhileCompilingIsRefused) {
  OpenSample();
  ASSERT_FALSE(QFileInfo::exists(sample.project.chmPath()));
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Controller<AddinsMenu>(*form)->Scanning(); }, 60000));
  const bool addinsBefore = Menu(*form, "addinsMenu")->menuAction()->isEnabled();
  // Runs while the compile waits on the save and the compiler.
  bool ranInside = false;
  bool compileEnabled = true, decompileEnabled = true, addinsEnabled = true;
  bool compiledByTheSecondStart = true;
  QString title;
  QTimer::singleShot(0, form.get(), [&] {
    ranInside = true;
    compileEnabled = Action(*form, "compileAction")->isEnabled();
    decompileEnabled = Action(*form, "decompileAction")->isEnabled();
    addinsEnabled = Menu(*form, "addinsMenu")->menuAction()->isEnabled();
    title = form->windowTitle();
    // Refused at once: no second save and no second compiler run.
    Controller<BuildCommands>(*form)->Compile();
    compiledByTheSecondStart = QFileInfo::exists(sample.project.chmPath());
  });
  Action(*form, "compileAction")->trigger();
  ASSERT_TRUE(ranInside);
  EXPECT_FALSE(compileEnabled);
  EXPECT_FALSE(decompileEnabled);
  EXPECT_FALSE(addinsEnabled);
  EXPECT_TRUE(title.endsWith(" \u2014 Orvex - Compiling...")) << title.toStdString();
  EXPECT_FALSE(compiledByTheSecondStart);
  // The first run went through, and everything is back as it was.
  EXPECT_TRUE(QFileInfo::exists(sample.project.chmPath()));
  EXPECT_TRUE(Action(*form, "compileAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "decompileAction")->isEnabled());
  EXPECT_EQ(Menu(*form, "addinsMenu")->menuAction()->isEnabled(), addinsBefore);
  EXPECT_FALSE(form->windowTitle().contains("Compiling")) << form->windowTitle().toStdString();
}

TEST_F(BuildCommandsTest, AFailedSaveShowsItsErrorAndCompilesNothing) {
  OpenSample();
  // The contents file can't be replaced: a folder now stands in its place.
  const QString contents = sample.project.folder + "/My Guide.hhc";
  ASSERT_TRUE(QFile::remove(contents));
  ASSERT_TRUE(QDir().mkpath(contents));
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "compileAction")->trigger();
  EXPECT_TRUE(seen->shown);
  EXPECT_FALSE(QFileInfo::exists(sample.project.chmPath()));
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BuildCommandsTest, CompilerMessagesShowTheNewLogEachTime) {
  OpenSample();
  Action(*form, "compileAction")->trigger();
  ASSERT_TRUE(QFileInfo::exists(sample.project.logPath()));
  const QStringList shown =
      MessagesShownBy([&] { Action(*form, "viewMessagesAction")->trigger(); }).value_or(QStringList());
  ASSERT_FALSE(shown.isEmpty());
  EXPECT_TRUE(shown.last().startsWith("Compiled file written")) << shown.join('|').toStdString();

  // A new log (here written by hand, with a TAB) is shown the next time.
  orvex_test::writeBytes(sample.project.logPath(), "first\tline\r\nsecond\r\n");
  EXPECT_EQ(MessagesShownBy([&] { Action(*form, "viewMessagesAction")->trigger(); }),
            (QStringList{"first  line", "second"}));
}

TEST_F(BuildCommandsTest, NoLogMeansNoMessagesWindow) {
  OpenSample();
  EXPECT_FALSE(MessagesShownBy([&] { Action(*form, "viewMessagesAction")->trigger(); }, 1500));
}

TEST_F(BuildCommandsTest, ViewBeforeTheFirstCompileSaysFileNotFound) {
  OpenSample();
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "viewHelpFileAction")->trigger();
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, " File not found! ");
  EXPECT_TRUE(Controller<HtmlHelpViewer>(*form)->Viewers().isEmpty());
}

TEST_F(BuildCommandsTest, ViewAfterCompileShowsTheDefaultTopic) {
  OpenSample();
  Action(*form, "compileAction")->trigger();
  ASSERT_TRUE(QFileInfo::exists(sample.project.chmPath()));
  Action(*form, "viewHelpFileAction")->trigger();
  ASSERT_EQ(Controller<HtmlHelpViewer>(*form)->Viewers().size(), 1);
  ViewerWindow* viewer = Controller<HtmlHelpViewer>(*form)->Viewers().first();
  EXPECT_EQ(viewer->parentWidget(), form.get());
  EXPECT_TRUE(WaitForTopic(viewer, "/My_Guide01.htm"));
}

TEST_F(BuildCommandsTest, ViewUsesTheCompiledFileTheProjectNames) {
  // Projects made elsewhere name their compiled file themselves.
  QByteArray hhp = orvex_test::readBytes(sample.project.projectPath());
  hhp.replace("Compiled file=My Guide.chm", "Compiled file=other name.chm");
  orvex_test::writeBytes(sample.project.projectPath(), hhp);
  OpenSample();
  Action(*form, "compileAction")->trigger();
  ASSERT_TRUE(QFileInfo::exists(sample.project.folder + "/other name.chm"));
  ASSERT_FALSE(QFileInfo::exists(sample.project.chmPath()));
  Action(*form, "viewHelpFileAction")->trigger();
  ASSERT_EQ(Controller<HtmlHelpViewer>(*form)->Viewers().size(), 1);
  EXPECT_EQ(Controller<HtmlHelpViewer>(*form)->Viewers().first()->FilePath(),
            sample.project.folder + "/other name.chm");
}

TEST_F(BuildCommandsTest, AnOutputOutsideTheProjectIsWrittenOnlyWhenTheUserSaysYes) {
  QByteArray hhp = orvex_test::readBytes(sample.project.projectPath());
  hhp.replace("Compiled file=My Guide.chm", "Compiled file=..\\out side\\My Guide.chm");
  orvex_test::writeBytes(sample.project.projectPath(), hhp);
  const QString outside = QFileInfo(sample.project.folder + "/../out side/My Guide.chm").absoluteFilePath();
  OpenSample();
  for (const QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Yes}) {
    SCOPED_TRACE(answer == QMessageBox::Yes ? "Yes" : "No");
    QString text;
    bool noIsDefault = false;
    OnNextDialog<QMessageBox>([&](QMessageBox* box) {
      text = box->text();
      noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
      box->button(answer)->click();
    });
    Action(*form, "compileAction")->trigger();
    EXPECT_TRUE(text.contains(QDir::cleanPath(outside))) << text.toStdString();
    EXPECT_TRUE(noIsDefault);
    EXPECT_EQ(QFileInfo::exists(outside), answer == QMessageBox::Yes);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }
  EXPECT_FALSE(ProjectOf(*form).IsModified());
}

TEST_F(BuildCommandsTest, AnOutputThatIsAFileOfTheProjectIsRefusedWithItsMessage) {
  QByteArray hhp = orvex_test::readBytes(sample.project.projectPath());
  hhp.replace("Compiled file=My Guide.chm", "Compiled file=My_Guide01.htm");
  orvex_test::writeBytes(sample.project.projectPath(), hhp);
  const QByteArray page = orvex_test::readBytes(sample.project.folder + "/My_Guide01.htm");
  OpenSample();
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "compileAction")->trigger();
  EXPECT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("My_Guide01.htm is a file of the project")) << seen->text.toStdString();
  EXPECT_EQ(orvex_test::readBytes(sample.project.folder + "/My_Guide01.htm"), page);
}

TEST_F(BuildCommandsTest, CompileShowsThatItRunsAndHowItEnded) {
  // A project that names no log file and lists a page that is not there.
  QByteArray hhp = orvex_test::readBytes(sample.project.projectPath());
  hhp.replace("Error log file=My Guide.log\r\n", "");
  hhp.replace("[FILES]\r\n", "[FILES]\r\nGone Page.htm\r\n");
  orvex_test::writeBytes(sample.project.projectPath(), hhp);
  OpenSample();
  // While it runs: the busy cursor and a status line.
  bool busyWhileCompiling = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    const QCursor* cursor = QApplication::overrideCursor();
    if (cursor && cursor->shape() == Qt::WaitCursor &&
        form->statusBar()->currentMessage().startsWith(
            "Compiling " + QDir::toNativeSeparators(sample.project.projectPath())))
      busyWhileCompiling = true;
  });
  watch.start(5);
  // The error opens the messages by themselves, with the missing page named.
  const QStringList shown =
      MessagesShownBy([&] { Action(*form, "compileAction")->trigger(); }).value_or(QStringList());
  watch.stop();
  EXPECT_TRUE(busyWhileCompiling);
  EXPECT_TRUE(shown.filter("Error:").join('|').contains("Gone Page.htm")) << shown.join('|').toStdString();
  const QString failed = form->statusBar()->currentMessage();
  EXPECT_TRUE(failed.contains("Error: ") && failed.contains("Gone Page.htm")) << failed.toStdString();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // The same messages on demand, though the project names no log.
  EXPECT_EQ(MessagesShownBy([&] { Action(*form, "viewMessagesAction")->trigger(); }), shown);

  // Without the error: a notice in the status bar and no messages window.
  orvex_test::writeBytes(sample.project.folder + "/Gone Page.htm", "<html><body>back</body></html>");
  EXPECT_FALSE(MessagesShownBy([&] { Action(*form, "compileAction")->trigger(); }, 1000));
  EXPECT_EQ(form->statusBar()->currentMessage().toStdString(),
            "Compiled: My Guide.chm, 4 topics, 1 warnings");
}

TEST_F(BuildCommandsTest, MessagesNameTheTopicAndOpenItAtTheLine) {
  orvex_test::writeBytes(sample.project.folder + "/My_Guide02.htm",
                         "<html>\r\n<body>\r\n<p>two</p><img src=\"missing.png\">\r\n</body></html>\r\n");
  OpenSample();
  QStringList lines;
  QString summary;
  const auto answer = [&](CompilerMessagesWindow* view) {
    for (int i = 0; i < view->messageList->count(); ++i) lines << view->messageList->item(i)->text();
    summary = view->summaryLabel->text();
    view->copyButton->click();
    const QList<QListWidgetItem*> named =
        view->messageList->findItems("(topic \"Two\", page My_Guide02.htm, line 3)", Qt::MatchContains);
    if (!named.isEmpty()) {
      view->messageList->scrollToItem(named[0]);
      const QPoint at = view->messageList->visualItemRect(named[0]).center();
      QTest::mouseClick(view->messageList->viewport(), Qt::LeftButton, {}, at);
      QTest::mouseDClick(view->messageList->viewport(), Qt::LeftButton, {}, at);
    }
    if (view->isVisible()) view->okButton->click();  // never leave the test waiting
  };
  // The error opens the messages by themselves.
  OnNextDialog<CompilerMessagesWindow>(answer);
  Action(*form, "compileAction")->trigger();
  ASSERT_TRUE(lines.join('|').contains("missing.png (topic \"Two\", page My_Guide02.htm, line 3)"))
      << lines.join('|').toStdString();
  // The verdict stands whole below the list, and Copy all takes every line.
  EXPECT_EQ(summary, lines.last());
  EXPECT_TRUE(summary.startsWith("Compiled file written")) << summary.toStdString();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.join('\n'));
  // The double-click opened the topic in Source view at that line.
  EXPECT_EQ(Widget<QTreeView>(*form, "contentsTree")->currentIndex().data().toString(), "Two");
  ASSERT_TRUE(ProcessEventsUntil(
      [&] {
        return Widget<QTabWidget>(*form, "editorTabs")->currentIndex() == 1 &&
               Widget<QPlainTextEdit>(*form, "sourceView")->textCursor().blockNumber() == 2;
      },
      10000))
      << Widget<QTabWidget>(*form, "editorTabs")->currentIndex() << " "
      << Widget<QPlainTextEdit>(*form, "sourceView")->textCursor().blockNumber();
  EXPECT_TRUE(
      Widget<QPlainTextEdit>(*form, "sourceView")->textCursor().block().text().contains("missing.png"));
}

TEST_F(BuildCommandsTest, ACompilerThatCannotStartIsPassedOverSilently) {
  OpenSample();
  Controller<BuildCommands>(*form)->SetWorkshopDir(sample.project.folder + "/no workshop/");
  bool boxShown = false;
  OnNextDialog<QMessageBox>(
      [&](QMessageBox* box) {
        boxShown = true;
        box->reject();
      },
      1000);
  Action(*form, "compileAction")->trigger();
  QTest::qWait(1100);
  EXPECT_FALSE(boxShown);
  EXPECT_FALSE(QFileInfo::exists(sample.project.chmPath()));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Chooses `path` in a file dialog as the user would type it.
void Choose(QFileDialog* dialog, const QString& path, bool folder) {
  auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
  if (!name) {
    ADD_FAILURE() << "no file name field";
    dialog->reject();
    return;
  }
  if (folder) {
    // A folder dialog with nothing typed gives the folder it shows.
    dialog->setDirectory(path);
    name->clear();
  } else {
    dialog->setDirectory(QFileInfo(path).absolutePath());
    name->setText(QFileInfo(path).fileName());
  }
  static_cast<QDialog*>(dialog)->accept();
  if (dialog->isVisible()) {
    ADD_FAILURE() << "the dialog did not take " << path.toStdString();
    dialog->reject();  // never leave the test waiting
  }
}

// Answers the file dialog with `file`, then the folder browser with `folder`
// (an empty string cancels it); the window's caption while the file dialog
// is open goes into `caption`.
void AnswerDecompileDialogs(const QString& file, const QString& folder, QStringList* titles,
                            QString* caption = nullptr) {
  OnNextDialog<QFileDialog>([=](QFileDialog* open) {
    if (caption && open->parentWidget()) *caption = open->parentWidget()->window()->windowTitle();
    titles->append(open->windowTitle());
    titles->append(open->nameFilters().join(';'));
    if (file.isEmpty()) {
      open->reject();
      return;
    }
    OnNextDialog<QFileDialog>([=](QFileDialog* browse) {
      titles->append(browse->windowTitle());
      if (folder.isEmpty())
        browse->reject();
      else
        Choose(browse, folder, true);
    });
    Choose(open, file, false);
  });
}

TEST_F(BuildCommandsTest, DecompileWritesThePagesSaysWhatItWroteAndOffersTheProject) {
  ASSERT_TRUE(sample.Compile());
  QTemporaryDir out;
  const QString folder = out.filePath("decompiled here");
  ASSERT_TRUE(QDir().mkpath(folder));
  QStringList titles;
  QString caption;
  AnswerDecompileDialogs(sample.project.chmPath(), folder, &titles, &caption);
  auto seen = AnswerNextMessageBox(QMessageBox::No, 60000);
  Action(*form, "decompileAction")->trigger();
  ASSERT_EQ(titles.size(), 3);
  EXPECT_EQ(titles[1], "Help file (*.chm)");
  EXPECT_EQ(titles[2], "Browse for folder");
  EXPECT_FALSE(caption.isEmpty());
  EXPECT_FALSE(caption.contains("Decompiling")) << caption.toStdString();
  EXPECT_EQ(orvex_test::readBytes(folder + "/My_Guide01.htm"), sample.project.page1);
  EXPECT_TRUE(QFileInfo::exists(folder + "/My Guide.css"));
  const QStringList projects = QDir(folder).entryList({"*.hhp"}, QDir::Files);
  ASSERT_EQ(projects.size(), 1);
  const QString project = QDir(folder).filePath(projects[0]);
  // The result says how many files came out and offers the project.
  int files = 0;
  for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next()) ++files;
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.startsWith("Decompiled ")) << seen->text.toStdString();
  EXPECT_TRUE(seen->text.contains(QString("%1 files written").arg(files))) << seen->text.toStdString();
  EXPECT_TRUE(seen->text.contains("Open the decompiled project " + QDir::toNativeSeparators(project)))
      << seen->text.toStdString();
  EXPECT_TRUE(form->statusBar()->currentMessage().startsWith("Decompiled "));
  EXPECT_FALSE(form->windowTitle().contains("Decompiling"));
  EXPECT_TRUE(ProjectOf(*form).ProjectFile().isEmpty());
  EXPECT_EQ(Controller<BuildCommands>(*form)->LastFolder(), folder);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  // Yes opens the decompiled project.
  const QString again = out.filePath("again");
  ASSERT_TRUE(QDir().mkpath(again));
  AnswerDecompileDialogs(sample.project.chmPath(), again, &titles);
  seen = AnswerNextMessageBox(QMessageBox::Yes, 60000);
  Action(*form, "decompileAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), QDir(again).filePath(projects[0]));
}

TEST_F(BuildCommandsTest, DecompileRefusesTheRootFolder) {
  ASSERT_TRUE(sample.Compile());
  ASSERT_FALSE(QFileInfo::exists("/My_Guide01.htm"));
  QStringList titles;
  AnswerDecompileDialogs(sample.project.chmPath(), "/", &titles);
  Action(*form, "decompileAction")->trigger();
  ASSERT_EQ(titles.size(), 3);
  EXPECT_EQ(Controller<BuildCommands>(*form)->LastFolder(), "/");
  QTest::qWait(300);
  EXPECT_FALSE(QFileInfo::exists("/My_Guide01.htm"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(BuildCommandsTest, CancelledDialogsDoNothing) {
  ASSERT_TRUE(sample.Compile());
  QStringList titles;
  AnswerDecompileDialogs(QString(), QString(), &titles);
  Action(*form, "decompileAction")->trigger();
  EXPECT_EQ(titles.size(), 2);  // the folder browser never came

  titles.clear();
  AnswerDecompileDialogs(sample.project.chmPath(), QString(), &titles);
  Action(*form, "decompileAction")->trigger();
  EXPECT_EQ(titles.size(), 3);
  EXPECT_TRUE(Controller<BuildCommands>(*form)->LastFolder().isEmpty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
