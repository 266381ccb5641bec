// "Tools" > "Add-ins": scanning folders of test add-ins and running them on
// a new project.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/addins_menu.h"
#include "app/program_window.h"
#include "editor_script.h"
#include "project/project_commands.h"
#include "tree_items.h"
#include "editor/editing_control.h"
#include "gui_helpers.h"
#include "project/new_project_dialog.h"
#include "platform/profile.h"
#include "tests/gui/window_parts.h"

namespace {

QString Case(const char* folder) { return QStringLiteral(ORVEX_TEST_ADDINS_DIR "/") + folder; }

// Lists the add-ins of a folder and waits until the menu shows them.
void Scan(AddinsMenu* addins, const QString& folder) {
  addins->StartScan(folder);
  ProcessEventsUntil([addins] { return !addins->Scanning(); }, 60000);
}

QStringList Captions(QMenu* menu) {
  QStringList captions;
  for (QAction* a : menu->actions()) captions.append(a->text());
  return captions;
}

QString ReadLatin1(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
}

class AddinMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    // The add-ins beside the program are listed in the background.
    ASSERT_TRUE(ProcessEventsUntil([&] { return !Controller<AddinsMenu>(*form)->Scanning(); }, 60000));
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  void NewProject() {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    AnswerNextFileDialog(dir.filePath("Addin Guide.hhp"));
    OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) {
      d->titleEdit->setText("Add-in guide");
      d->accept();
    });
    Action(*form, "newAction")->trigger();
    ASSERT_EQ(ProjectOf(*form).ProjectFile(), dir.filePath("Addin Guide.hhp"));
  }
  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> form;
};

}  // namespace

TEST_F(AddinMenuTest, ProgramFolderListsTheShippedAddin) {
  // Start-up scanned the program's folder, where the text-files add-in is built.
  EXPECT_TRUE(Captions(Menu(*form, "addinsMenu")).contains("Topics from text files"));
  EXPECT_TRUE(Menu(*form, "addinsMenu")->menuAction()->isEnabled());
  EXPECT_EQ(Controller<AddinsMenu>(*form)->Files().size(), Menu(*form, "addinsMenu")->actions().size());
}

TEST(AddinStartUp, TheWindowIsReadyBeforeTheAddinsAreListed) {
  const auto formWindow = NewProgramWindow();
  QMainWindow& form = *formWindow;
  // The add-ins beside the program are asked for their captions while the
  // window is already there.
  EXPECT_TRUE(Controller<AddinsMenu>(form)->Scanning());
  EXPECT_TRUE(Menu(form, "addinsMenu")->actions().isEmpty());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !Controller<AddinsMenu>(form)->Scanning(); }, 60000));
  EXPECT_TRUE(Captions(Menu(form, "addinsMenu")).contains("Topics from text files"));
}

TEST_F(AddinMenuTest, AnOlderListingGivesWayToANewerOne) {
  Controller<AddinsMenu>(*form)->StartScan(Case("two"));
  Scan(Controller<AddinsMenu>(*form), Case("three"));
  EXPECT_FALSE(Controller<AddinsMenu>(*form)->Scanning());
  EXPECT_EQ(Controller<AddinsMenu>(*form)->Files(), QStringList({Case("three") + "/three.so"}));
  EXPECT_EQ(Menu(*form, "addinsMenu")->actions().size(), 1);
}

TEST_F(AddinMenuTest, NoLibraryLeavesAddinsDisabled) {
  QTemporaryDir empty;
  QFile text(empty.filePath("readme.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  Scan(Controller<AddinsMenu>(*form), empty.path());
  EXPECT_FALSE(Menu(*form, "addinsMenu")->menuAction()->isEnabled());
  EXPECT_TRUE(Menu(*form, "addinsMenu")->actions().isEmpty());
  EXPECT_TRUE(Controller<AddinsMenu>(*form)->Files().isEmpty());
}

TEST_F(AddinMenuTest, TwoAddinsGiveTwoItemsInOrder) {
  Scan(Controller<AddinsMenu>(*form), Case("two"));
  EXPECT_EQ(Captions(Menu(*form, "addinsMenu")), QStringList({"Alpha tools", "Beta tools"}));
  EXPECT_TRUE(Menu(*form, "addinsMenu")->menuAction()->isEnabled());
  ASSERT_EQ(Controller<AddinsMenu>(*form)->Files().size(), 2);
  EXPECT_EQ(Controller<AddinsMenu>(*form)->Files()[0], Case("two") + "/alpha.so");
  EXPECT_EQ(Controller<AddinsMenu>(*form)->Files()[1], Case("two") + "/beta.so");
  EXPECT_EQ(Menu(*form, "addinsMenu")->actions()[1]->data().toInt(), 1);
}

TEST_F(AddinMenuTest, FaultyLibrariesAreSkipped) {
  // broken.so does not load, crash.so crashes in Name, noname.so has no Name.
  Scan(Controller<AddinsMenu>(*form), Case("faulty"));
  EXPECT_EQ(Captions(Menu(*form, "addinsMenu")), QStringList({"Good one"}));
  EXPECT_EQ(Controller<AddinsMenu>(*form)->Files(), QStringList({Case("faulty") + "/good.so"}));
}

TEST_F(AddinMenuTest, CaptionIsShownAsGiven) {
  Scan(Controller<AddinsMenu>(*form), Case("odd"));
  // crashmid.so, long.so, notopics.so: long.so's caption begins "R&D",
  // and the menu shows the ampersand rather than a mnemonic.
  ASSERT_EQ(Menu(*form, "addinsMenu")->actions().size(), 3);
  EXPECT_EQ(Menu(*form, "addinsMenu")->actions()[0]->text(), "Faulty");
  EXPECT_TRUE(Menu(*form, "addinsMenu")->actions()[1]->text().startsWith("R&&D xxx"));
}

TEST_F(AddinMenuTest, EachItemRunsItsOwnLibrary) {
  NewProject();
  Scan(Controller<AddinsMenu>(*form), Case("two"));
  const int before = TopLevelCount(Widget<QTreeView>(*form, "contentsTree"));
  Menu(*form, "addinsMenu")->actions()[1]->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before + 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before)->text(0), "From beta");
  Menu(*form, "addinsMenu")->actions()[0]->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before + 2);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before + 1)->text(0), "From alpha");
}

TEST_F(AddinMenuTest, ThreeTitlesMakeThreeTopicsAndOnlyTheFirstGetsItsHtml) {
  NewProject();
  Scan(Controller<AddinsMenu>(*form), Case("three"));
  ASSERT_EQ(Menu(*form, "addinsMenu")->actions().size(), 1);
  const int before = TopLevelCount(Widget<QTreeView>(*form, "contentsTree"));
  Menu(*form, "addinsMenu")->actions()[0]->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before + 3);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before)->text(0), "First from add-in");
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before + 1)->text(0), "Second from add-in");
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before + 2)->text(0), "Third from add-in");
  // The first page was stored with the HTML when the second topic was made.
  const QString first = ReadLatin1(ProjectOf(*form).PagePath(
      ContentsRecord(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before))->fileName));
  EXPECT_TRUE(first.contains("Paragraph from the add-in")) << first.toStdString();
  const QString second = ReadLatin1(ProjectOf(*form).PagePath(
      ContentsRecord(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before + 1))->fileName));
  EXPECT_FALSE(second.isEmpty());
  EXPECT_FALSE(second.contains("Paragraph from the add-in"));
  // The third topic is in the editor; its two characters were not inserted.
  const QString third = EditorHtml(Widget<EditingControl>(*form, "editor"));
  EXPECT_TRUE(third.contains("Third from add-in"));
  EXPECT_FALSE(third.contains("Zq"));
  // Three context entries were made.
  EXPECT_EQ(ProjectOf(*form).MapLines().filter("#define").size() >= 3, true);
}

TEST_F(AddinMenuTest, RunWithoutAProjectDoesNothing) {
  Scan(Controller<AddinsMenu>(*form), Case("three"));
  Menu(*form, "addinsMenu")->actions()[0]->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), 0);
}

TEST_F(AddinMenuTest, CrashDuringARunKeepsTheProgramAndTheTopicsBefore) {
  NewProject();
  Scan(Controller<AddinsMenu>(*form), Case("odd"));
  QAction* crashmid = nullptr;
  for (QAction* a : Menu(*form, "addinsMenu")->actions())
    if (Controller<AddinsMenu>(*form)->Files().value(a->data().toInt()).endsWith("/crashmid.so"))
      crashmid = a;
  ASSERT_NE(crashmid, nullptr);
  const int before = TopLevelCount(Widget<QTreeView>(*form, "contentsTree"));
  crashmid->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before + 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before)->text(0), "Before the crash");
}

TEST_F(AddinMenuTest, AnAddinWithoutItsFolderAsksForItAndRemembersTheAnswer) {
  // The shipped text-files add-in, with no folder of its own.
  qunsetenv("ORVEX_TEXTFILES_DIR");
  ASSERT_FALSE(QFile::exists(QStringLiteral(ORVEX_BIN_DIR "/textfiles.conf")));
  QTemporaryDir texts;
  QFile note(texts.filePath("01-first.md"));
  ASSERT_TRUE(note.open(QIODevice::WriteOnly));
  note.write("# First note\n\nFrom a text file.\n");
  note.close();
  NewProject();
  QAction* textFiles = nullptr;
  for (QAction* a : Menu(*form, "addinsMenu")->actions())
    if (a->text() == "Topics from text files") textFiles = a;
  ASSERT_NE(textFiles, nullptr);
  const int before = TopLevelCount(Widget<QTreeView>(*form, "contentsTree"));

  // Cancelling the question cancels the run.
  QString asked;
  OnNextDialog<QFileDialog>([&](QFileDialog* d) {
    asked = d->windowTitle();
    d->reject();
  });
  textFiles->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(asked, "Folder of text files");
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before);

  AnswerNextFileDialog(texts.path());
  textFiles->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), before + 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), before)->text(0), "First note");
  EXPECT_EQ(ReadProfileString(dir.filePath("orvex.ini"), "Add-in folders", "textfiles.so", QString()),
            texts.path());

  // The next run starts from the folder chosen before.
  QString startedIn;
  OnNextDialog<QFileDialog>([&](QFileDialog* d) {
    startedIn = d->directory().absolutePath();
    d->reject();
  });
  textFiles->trigger();
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  EXPECT_EQ(startedIn, texts.path());
}
