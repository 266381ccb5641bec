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
#include "app/main_window.h"
#include "editor_script.h"
#include "project/project_commands.h"
#include "tree_items.h"
#include "editor/editing_control.h"
#include "gui_helpers.h"
#include "project/new_project_dialog.h"
#include "platform/profile.h"

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
    form = std::make_unique<MainWindow>();
    form->projectCommands->SetSettingsFile(dir.filePath("orvex.ini"));
    form->CreateDialogs();
    // The add-ins beside the program are listed in the background.
    ASSERT_TRUE(ProcessEventsUntil([&] { return !form->addins->Scanning(); }, 60000));
  }
  void TearDown() override {
    form->project.SetModified(false);
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
    form->newAction->trigger();
    ASSERT_EQ(form->project.ProjectFile(), dir.filePath("Addin Guide.hhp"));
  }
  QTemporaryDir dir;
  std::unique_ptr<MainWindow> form;
};

}  // namespace

TEST_F(AddinMenuTest, ProgramFolderListsTheShippedAddin) {
  // Start-up scanned the program's folder, where the text-files add-in is built.
  EXPECT_TRUE(Captions(form->addinsMenu).contains("Topics from text files"));
  EXPECT_TRUE(form->addinsMenu->menuAction()->isEnabled());
  EXPECT_EQ(form->addins->Files().size(), form->addinsMenu->actions().size());
}

TEST(AddinStartUp, TheWindowIsReadyBeforeTheAddinsAreListed) {
  MainWindow form;
  // The add-ins beside the program are asked for their captions while the
  // window is already there.
  EXPECT_TRUE(form.addins->Scanning());
  EXPECT_TRUE(form.addinsMenu->actions().isEmpty());
  ASSERT_TRUE(ProcessEventsUntil([&] { return !form.addins->Scanning(); }, 60000));
  EXPECT_TRUE(Captions(form.addinsMenu).contains("Topics from text files"));
}

TEST_F(AddinMenuTest, AnOlderListingGivesWayToANewerOne) {
  form->addins->StartScan(Case("two"));
  Scan(form->addins, Case("three"));
  EXPECT_FALSE(form->addins->Scanning());
  EXPECT_EQ(form->addins->Files(), QStringList({Case("three") + "/three.so"}));
  EXPECT_EQ(form->addinsMenu->actions().size(), 1);
}

TEST_F(AddinMenuTest, NoLibraryLeavesAddinsDisabled) {
  QTemporaryDir empty;
  QFile text(empty.filePath("readme.txt"));
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  Scan(form->addins, empty.path());
  EXPECT_FALSE(form->addinsMenu->menuAction()->isEnabled());
  EXPECT_TRUE(form->addinsMenu->actions().isEmpty());
  EXPECT_TRUE(form->addins->Files().isEmpty());
}

TEST_F(AddinMenuTest, TwoAddinsGiveTwoItemsInOrder) {
  Scan(form->addins, Case("two"));
  EXPECT_EQ(Captions(form->addinsMenu), QStringList({"Alpha tools", "Beta tools"}));
  EXPECT_TRUE(form->addinsMenu->menuAction()->isEnabled());
  ASSERT_EQ(form->addins->Files().size(), 2);
  EXPECT_EQ(form->addins->Files()[0], Case("two") + "/alpha.so");
  EXPECT_EQ(form->addins->Files()[1], Case("two") + "/beta.so");
  EXPECT_EQ(form->addinsMenu->actions()[1]->data().toInt(), 1);
}

TEST_F(AddinMenuTest, FaultyLibrariesAreSkipped) {
  // broken.so does not load, crash.so crashes in Name, noname.so has no Name.
  Scan(form->addins, Case("faulty"));
  EXPECT_EQ(Captions(form->addinsMenu), QStringList({"Good one"}));
  EXPECT_EQ(form->addins->Files(), QStringList({Case("faulty") + "/good.so"}));
}

TEST_F(AddinMenuTest, CaptionIsShownAsGiven) {
  Scan(form->addins, Case("odd"));
  // crashmid.so, long.so, notopics.so: long.so's caption begins "R&D",
  // and the menu shows the ampersand rather than a mnemonic.
  ASSERT_EQ(form->addinsMenu->actions().size(), 3);
  EXPECT_EQ(form->addinsMenu->actions()[0]->text(), "Faulty");
  EXPECT_TRUE(form->addinsMenu->actions()[1]->text().startsWith("R&&D xxx"));
}

TEST_F(AddinMenuTest, EachItemRunsItsOwnLibrary) {
  NewProject();
  Scan(form->addins, Case("two"));
  const int before = TopLevelCount(form->contentsTree);
  form->addinsMenu->actions()[1]->trigger();
  WaitEditorIdle(form->editor);
  ASSERT_EQ(TopLevelCount(form->contentsTree), before + 1);
  EXPECT_EQ(TopLevel(form->contentsTree, before)->text(0), "From beta");
  form->addinsMenu->actions()[0]->trigger();
  WaitEditorIdle(form->editor);
  ASSERT_EQ(TopLevelCount(form->contentsTree), before + 2);
  EXPECT_EQ(TopLevel(form->contentsTree, before + 1)->text(0), "From alpha");
}

TEST_F(AddinMenuTest, ThreeTitlesMakeThreeTopicsAndOnlyTheFirstGetsItsHtml) {
  NewProject();
  Scan(form->addins, Case("three"));
  ASSERT_EQ(form->addinsMenu->actions().size(), 1);
  const int before = TopLevelCount(form->contentsTree);
  form->addinsMenu->actions()[0]->trigger();
  WaitEditorIdle(form->editor);
  ASSERT_EQ(TopLevelCount(form->contentsTree), before + 3);
  EXPECT_EQ(TopLevel(form->contentsTree, before)->text(0), "First from add-in");
  EXPECT_EQ(TopLevel(form->contentsTree, before + 1)->text(0), "Second from add-in");
  EXPECT_EQ(TopLevel(form->contentsTree, before + 2)->text(0), "Third from add-in");
  // The first page was stored with the HTML when the second topic was made.
  const QString first =
      ReadLatin1(form->project.PagePath(ContentsRecord(TopLevel(form->contentsTree, before))->FileName));
  EXPECT_TRUE(first.contains("Paragraph from the add-in")) << first.toStdString();
  const QString second =
      ReadLatin1(form->project.PagePath(ContentsRecord(TopLevel(form->contentsTree, before + 1))->FileName));
  EXPECT_FALSE(second.isEmpty());
  EXPECT_FALSE(second.contains("Paragraph from the add-in"));
  // The third topic is in the editor; its two characters were not inserted.
  const QString third = EditorHtml(form->editor);
  EXPECT_TRUE(third.contains("Third from add-in"));
  EXPECT_FALSE(third.contains("Zq"));
  // Three context entries were made.
  EXPECT_EQ(form->project.MapLines().filter("#define").size() >= 3, true);
}

TEST_F(AddinMenuTest, RunWithoutAProjectDoesNothing) {
  Scan(form->addins, Case("three"));
  form->addinsMenu->actions()[0]->trigger();
  WaitEditorIdle(form->editor);
  EXPECT_EQ(TopLevelCount(form->contentsTree), 0);
}

TEST_F(AddinMenuTest, CrashDuringARunKeepsTheProgramAndTheTopicsBefore) {
  NewProject();
  Scan(form->addins, Case("odd"));
  QAction* crashmid = nullptr;
  for (QAction* a : form->addinsMenu->actions())
    if (form->addins->Files().value(a->data().toInt()).endsWith("/crashmid.so")) crashmid = a;
  ASSERT_NE(crashmid, nullptr);
  const int before = TopLevelCount(form->contentsTree);
  crashmid->trigger();
  WaitEditorIdle(form->editor);
  ASSERT_EQ(TopLevelCount(form->contentsTree), before + 1);
  EXPECT_EQ(TopLevel(form->contentsTree, before)->text(0), "Before the crash");
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
  for (QAction* a : form->addinsMenu->actions())
    if (a->text() == "Topics from text files") textFiles = a;
  ASSERT_NE(textFiles, nullptr);
  const int before = TopLevelCount(form->contentsTree);

  // Cancelling the question cancels the run.
  QString asked;
  OnNextDialog<QFileDialog>([&](QFileDialog* d) {
    asked = d->windowTitle();
    d->reject();
  });
  textFiles->trigger();
  WaitEditorIdle(form->editor);
  EXPECT_EQ(asked, "Folder of text files");
  EXPECT_EQ(TopLevelCount(form->contentsTree), before);

  AnswerNextFileDialog(texts.path());
  textFiles->trigger();
  WaitEditorIdle(form->editor);
  ASSERT_EQ(TopLevelCount(form->contentsTree), before + 1);
  EXPECT_EQ(TopLevel(form->contentsTree, before)->text(0), "First note");
  EXPECT_EQ(ReadProfileString(dir.filePath("orvex.ini"), "Add-in folders", "textfiles.so", QString()),
            texts.path());

  // The next run starts from the folder chosen before.
  QString startedIn;
  OnNextDialog<QFileDialog>([&](QFileDialog* d) {
    startedIn = d->directory().absolutePath();
    d->reject();
  });
  textFiles->trigger();
  WaitEditorIdle(form->editor);
  EXPECT_EQ(startedIn, texts.path());
}
