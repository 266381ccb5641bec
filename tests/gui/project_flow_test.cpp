// New, Save, Open, Reopen and the command line, through the real window and dialogs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include "app/program_window.h"
#include "editor_script.h"
#include "tree_items.h"
#include "panes/contents_pane.h"
#include "panes/topic_editing.h"
#include "project/project_commands.h"
#include "settings/recent_projects.h"
#include "chm/compiler.h"
#include "editor/editing_control.h"
#include "gui_helpers.h"
#include "model/project_reader.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"
#include "project/new_project_dialog.h"
#include "../unit/generated_projects.h"
#include "tests/gui/window_parts.h"

namespace {

int CountItems(TreeItem item) {
  int n = 1;
  for (int i = 0; i < item->childCount(); ++i) n += CountItems(item->child(i));
  return n;
}

int CountTree(QTreeView* tree) {
  int n = 0;
  for (int i = 0; i < TopLevelCount(tree); ++i) n += CountItems(TopLevel(tree, i));
  return n;
}

template <typename Node>
int CountForest(const std::vector<Node>& forest) {
  int n = 0;
  for (const Node& node : forest) n += 1 + CountForest(node.children);
  return n;
}

class ProjectFlowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    form = NewProgramWindow();
    Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
    CreateProgramDialogs(*form);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  }
  void TearDown() override {
    ProjectOf(*form).SetModified(false);
    form->hide();
  }
  // "New" with the file dialog and the new-project dialog answered.
  void NewProject(const QString& path, const QString& title, const QString& language) {
    AnswerNextFileDialog(path);
    OnNextDialog<NewProjectDialog>([title, language](NewProjectDialog* d) {
      d->titleEdit->setText(title);
      d->languageBox->setEditText(language);
      d->accept();
    });
    Action(*form, "newAction")->trigger();
  }
  QTemporaryDir dir;
  std::unique_ptr<QMainWindow> form;
};

TEST_F(ProjectFlowTest, NewMakesACompleteProjectThatCompilesWithAPage) {
  const QString path = dir.filePath("My Guide.hhp");
  NewProject(path, "Printer Guide", "0x0407 German (Germany)");
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);
  for (const char* name : {"My Guide.hhp", "My Guide.css", "My GuideP.js", "My Guide.hhc", "My Guide.hhk",
                           "My Guide.h", "My Guide.ali"})
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(name))) << name;
  const QStringList lines = LinesOf(path, 1252);
  EXPECT_TRUE(lines.contains("Title=Printer Guide"));
  EXPECT_TRUE(lines.contains("Language=0x0407 German (Germany)"));
  EXPECT_TRUE(lines.contains("Default topic=My_Guide001.htm"));
  EXPECT_EQ(BytesOf(dir.filePath("My GuideP.js")), "popfont=\"Courier,10\"\r\n");
  EXPECT_EQ(ReadRecentProjects(Controller<ProjectCommands>(*form)->SettingsFile()).value(0), path);
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  EXPECT_TRUE(Action(*form, "saveAction")->isEnabled());
  EXPECT_TRUE(Action(*form, "compileAction")->isEnabled());
  EXPECT_EQ(Widget<QLabel>(*form, "contextLabel")->text(), "Context=");

  // One topic, then a save: the project compiles with the real compressor.
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Start"));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("My_Guide01.htm")));
  EXPECT_TRUE(ProjectOf(*form).MapLines().contains("#define IDH_My_Guide01  101"));
  EXPECT_TRUE(ProjectOf(*form).AliasLines().contains("IDH_My_Guide01=My_Guide01.htm"));
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  Action(*form, "saveAction")->trigger();
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  EXPECT_TRUE(LinesOf(path, 1252).contains("Default topic=My_Guide01.htm"));
  const orvex::CompileResult result = orvex::CompileProject(path);
  EXPECT_TRUE(result.success) << result.messages.join('\n').toStdString();
}

TEST_F(ProjectFlowTest, CancellingTheNewProjectDialogWritesTheTwentyOneLineForm) {
  const QString path = dir.filePath("Plain.hhp");
  AnswerNextFileDialog(path);
  OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) { d->reject(); });
  Action(*form, "newAction")->trigger();
  const QStringList lines = LinesOf(path, 1252);
  EXPECT_EQ(lines.size(), 21);
  EXPECT_TRUE(lines.contains("Title=Plain"));
  for (const QString& line : lines) EXPECT_FALSE(line.startsWith("Language="));
}

TEST_F(ProjectFlowTest, ANewProjectWhoseFilesCannotBeWrittenLeavesTheOpenOne) {
  const QString first = dir.filePath("First.hhp");
  NewProject(first, "First", "0x0409 English (United States)");
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Start"));
  Action(*form, "saveAction")->trigger();
  ASSERT_FALSE(ProjectOf(*form).IsModified());
  ASSERT_TRUE(QDir(dir.path()).mkdir("Blocked.css"));  // the style sheet cannot be written
  AnswerNextFileDialog(dir.filePath("Blocked.hhp"));
  OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) { d->accept(); });
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "newAction")->trigger();
  EXPECT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("Blocked.css")) << seen->text.toStdString();
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), first);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Blocked.hhp")));  // nothing half made
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), 1);
  EXPECT_EQ(TopLevel(Widget<QTreeView>(*form, "contentsTree"), 0)->text(0), "Start");
  EXPECT_EQ(ProjectOf(*form).ContextNumberOf("First01.htm"), "101");
  EXPECT_EQ(ReadRecentProjects(Controller<ProjectCommands>(*form)->SettingsFile()).value(0), first);
}

TEST_F(ProjectFlowTest, NewMakesTheProjectFolderOrSaysWhyItCannot) {
  const QString path = dir.filePath("Manuals/Widget/Widget Manual.hhp");
  NewProject(path, "Widget Manual", "0x0409 English (United States)");
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_TRUE(QFileInfo::exists(path));

  // A folder below a file cannot be made: said at once, with the reason.
  PutFile(dir.filePath("plain.txt"), "x");
  AnswerNextFileDialog(dir.filePath("plain.txt/sub/Other.hhp"));
  OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) { d->accept(); }, 1000);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "newAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.startsWith("Cannot create folder " +
                                    QDir::toNativeSeparators(dir.filePath("plain.txt/sub")) +
                                    ": Not a directory"))
      << seen->text.toStdString();
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);
  QTest::qWait(1100);  // the title dialog was never asked for
}

TEST_F(ProjectFlowTest, TheSaveQuestionComesOnlyForChangesSinceTheLastSave) {
  NewProject(dir.filePath("Undo.hhp"), "Undo", "0x0409 English (United States)");
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Start"));
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::SelectAll);
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Bold);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  Action(*form, "saveAction")->trigger();
  ASSERT_FALSE(ProjectOf(*form).IsModified());
  // The editor can still undo the edit, but nothing changed since the save.
  ASSERT_TRUE(Controller<TopicEditing>(*form)->PageHasUnsavedEdits());
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel, 1000);
  EXPECT_EQ(Controller<ProjectCommands>(*form)->AskSaveHelpProject(), QMessageBox::NoButton);
  EXPECT_FALSE(seen->shown);
  QTest::qWait(1100);
  // An edit after the save is asked about.
  SendAndWait(Widget<EditingControl>(*form, "editor"), EditorCommand::Italic);
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  seen = AnswerNextMessageBox(QMessageBox::Cancel);
  EXPECT_EQ(Controller<ProjectCommands>(*form)->AskSaveHelpProject(), QMessageBox::Cancel);
  EXPECT_TRUE(seen->shown);
  EXPECT_EQ(seen->text, "Save help project?");
}

TEST_F(ProjectFlowTest, ANewProjectWhoseFirstSaveFailsLeavesNoPhantom) {
  // An existing style sheet of that name is put back as it was.
  PutFile(dir.filePath("Ghost.css"), "p { color: red }\r\n");
  ASSERT_TRUE(QDir(dir.path()).mkdir("Ghost.hhk"));  // the index file cannot be written
  AnswerNextFileDialog(dir.filePath("Ghost.hhp"));
  OnNextDialog<NewProjectDialog>([](NewProjectDialog* d) { d->accept(); });
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "newAction")->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("Ghost.hhk")) << seen->text.toStdString();
  EXPECT_FALSE(ProjectOf(*form).IsOpen());
  EXPECT_FALSE(Action(*form, "saveAction")->isEnabled());
  for (const char* name : {"Ghost.hhp", "GhostP.js", "Ghost.hhc", "Ghost.h", "Ghost.ali"})
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(name))) << name;
  EXPECT_EQ(BytesOf(dir.filePath("Ghost.css")), "p { color: red }\r\n");
  EXPECT_TRUE(ReadRecentProjects(Controller<ProjectCommands>(*form)->SettingsFile()).isEmpty());
  // The next "New" goes straight to the file dialog: there is nothing to save.
  seen = AnswerNextMessageBox(QMessageBox::No, 2000);
  OnNextDialog<QFileDialog>([](QFileDialog* d) { d->reject(); }, 2000);
  Action(*form, "newAction")->trigger();
  EXPECT_FALSE(seen->shown) << seen->text.toStdString();
  QTest::qWait(2100);
}

TEST_F(ProjectFlowTest, OpeningSaysWhichFileIsNotThere) {
  // A project whose index file is not there: "File not found" names it; Cancel opens nothing.
  const QString path = dir.filePath("NoIndex.hhp");
  PutLines(path, {"[OPTIONS]", "Title=NoIndex", "Index file=NoIndex.hhk"}, 1252);
  PutText(dir.filePath("NoIndex.hhc"), "<HTML><BODY><UL>\r\n</UL></BODY></HTML>\r\n", 1252);
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_TRUE(seen->shown);
  EXPECT_EQ(seen->title, "File not found");
  EXPECT_TRUE(seen->text.contains(QDir::toNativeSeparators(dir.filePath("NoIndex.hhk"))))
      << seen->text.toStdString();
  EXPECT_FALSE(ProjectOf(*form).IsOpen());
  EXPECT_FALSE(Action(*form, "saveAction")->isEnabled());
  // Told to go on, the project opens whole and saving writes the file.
  seen = AnswerNextMessageBox(QMessageBox::Open);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
  Action(*form, "saveAction")->trigger();
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("NoIndex.hhk")));

  // A recent project that is gone: its Reopen entry offers to leave the list.
  const QString settings = Controller<ProjectCommands>(*form)->SettingsFile();
  const QString gone = dir.filePath("Gone.hhp");
  ASSERT_TRUE(AddToHistory(settings, gone).Ok());
  emit Menu(*form, "fileMenu")->aboutToShow();
  ASSERT_EQ(Menu(*form, "reopenMenu")->actions().value(0)->text(), gone);
  seen = AnswerNextMessageBox(QMessageBox::Yes);
  Menu(*form, "reopenMenu")->actions().value(0)->trigger();
  ASSERT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains(QDir::toNativeSeparators(gone))) << seen->text.toStdString();
  EXPECT_EQ(ReadRecentProjects(settings), QStringList{path});
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);
}

TEST_F(ProjectFlowTest, AProjectThatNamesNoIndexOpensWithoutAQuestion) {
  const QString path = dir.filePath("Quiet.hhp");
  PutLines(path, {"[OPTIONS]", "Title=Quiet", "Contents file=Quiet.hhc"}, 1252);
  PutText(dir.filePath("Quiet.hhc"), "<HTML><BODY><UL>\r\n</UL></BODY></HTML>\r\n", 1252);
  // A question would be cancelled, and the project would stay closed.
  auto seen = AnswerNextMessageBox(QMessageBox::Cancel, 500);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_FALSE(seen->shown) << seen->text.toStdString();
  QTest::qWait(600);  // the answer is no longer waited for
}

TEST_F(ProjectFlowTest, AFileThatIsNotAHelpProjectIsRefusedAndNothingIsWritten) {
  struct Case {
    const char* name;
    QByteArray bytes;
    const char* reason;
  };
  static const char kPngStart[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10";
  const Case cases[] = {
      {"widget.png", QByteArray(kPngStart, sizeof(kPngStart) - 1), "binary"},
      {"notes.hhp", "[FILES]\r\npage.htm\r\n", "[OPTIONS]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir folder;
    const QString path = folder.filePath(c.name);
    PutFile(path, c.bytes);
    auto seen = AnswerNextMessageBox(QMessageBox::Ok);
    Controller<ProjectCommands>(*form)->OpenByName(path);
    ASSERT_TRUE(seen->shown);
    EXPECT_TRUE(seen->text.contains(QDir::toNativeSeparators(path) + " is not a help project"))
        << seen->text.toStdString();
    EXPECT_TRUE(seen->text.contains(c.reason)) << seen->text.toStdString();
    EXPECT_FALSE(ProjectOf(*form).IsOpen());
    Action(*form, "saveAction")->trigger();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{c.name});
    EXPECT_EQ(BytesOf(path), c.bytes);
  }
}

TEST_F(ProjectFlowTest, AReadOnlyContentsFileStopsTheSaveAndNamesTheFile) {
  const QString path = dir.filePath("Locked.hhp");
  NewProject(path, "Locked", "0x0409 English (United States)");
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Start"));
  const QString contents = dir.filePath("Locked.hhc");
  const QByteArray indexBefore = BytesOf(dir.filePath("Locked.hhk"));
  const QByteArray projectBefore = BytesOf(path);
  QFile::setPermissions(contents, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Action(*form, "saveAction")->trigger();
  EXPECT_TRUE(seen->shown);
  EXPECT_TRUE(seen->text.contains("Locked.hhc")) << seen->text.toStdString();
  EXPECT_TRUE(ProjectOf(*form).IsModified());
  EXPECT_EQ(BytesOf(dir.filePath("Locked.hhk")), indexBefore);
  EXPECT_EQ(BytesOf(path), projectBefore);
  QFile::setPermissions(contents, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ProjectFlowTest, PageNamesGoPast99AndContextNumbersNeverClash) {
  const QString path = dir.filePath("Full.hhp");
  NewProject(path, "Full", "0x0409 English (United States)");
  for (int i = 1; i <= 99; ++i)
    PutFile(dir.filePath(QString("Full%1.htm").arg(i, 2, 10, QChar('0'))), "<HTML></HTML>");
  // A hand-made map line already holds the number page 100 would get.
  PutFile(dir.filePath("Full.h"), "#define IDH_Legacy  1100\r\n");
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Hundredth"));
  ASSERT_TRUE(Controller<ContentsPane>(*form)->CreateTopic("Next"));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("Full101.htm")));
  EXPECT_TRUE(QFileInfo::exists(dir.filePath("Full102.htm")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Full100.htm")));
  EXPECT_EQ(ProjectOf(*form).MapLines(), QStringList({"#define IDH_Legacy  1100", "#define IDH_Full101  1101",
                                                      "#define IDH_Full102  1102"}));
  EXPECT_EQ(Widget<QLabel>(*form, "contextLabel")->text(), "Context=1102");
  // Existing two-digit pages keep their names and numbers.
  EXPECT_EQ(ProjectOf(*form).NewPageName([](const QString& p) { return !p.endsWith("Full07.htm"); }),
            "Full07.htm");
}

TEST_F(ProjectFlowTest, SavedProjectsAppearInTheReopenMenu) {
  const QString a = dir.filePath("A.hhp");
  const QString b = dir.filePath("B.hhp");
  NewProject(a, "A", "0x0409 English (United States)");
  NewProject(b, "B", "0x0409 English (United States)");
  emit Menu(*form, "fileMenu")->aboutToShow();
  const QList<QAction*> items = Menu(*form, "reopenMenu")->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), b);
  EXPECT_EQ(items[1]->text(), a);
  EXPECT_TRUE(Menu(*form, "reopenMenu")->menuAction()->isEnabled());
  // Choosing an entry opens that project.
  items[1]->trigger();
  EXPECT_EQ(ProjectOf(*form).ProjectFile(), a);
}

QByteArray Item(const char* name, const char* local) {
  return QByteArray("<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Name\" value=\"") + name +
         "\">\r\n" + (*local ? QByteArray("<param name=\"Local\" value=\"") + local + "\">\r\n" : "") +
         "</OBJECT>\r\n";
}

TEST_F(ProjectFlowTest, AnOpenedProjectIsRecentAndItsTreesComeBackAsTheyWereLeft) {
  const QString path = dir.filePath("Nested.hhp");
  PutLines(path, {"[OPTIONS]", "Title=Nested", "Contents file=Nested.hhc", "Index file=Nested.hhk"}, 1252);
  PutFile(dir.filePath("Nested.hhc"), "<HTML><BODY><UL>\r\n" + Item("Chapter", "") + "<UL>\r\n" +
                                          Item("Intro", "a.htm") + Item("Details", "b.htm") + "</UL>\r\n" +
                                          Item("Other", "c.htm") + "</UL></BODY></HTML>\r\n");
  PutFile(dir.filePath("Nested.hhk"), "<HTML><BODY><UL>\r\n" + Item("alpha", "a.htm") + "<UL>\r\n" +
                                          Item("beta", "b.htm") + "</UL>\r\n" + Item("gamma", "c.htm") +
                                          "</UL></BODY></HTML>\r\n");
  for (const char* page : {"a.htm", "b.htm", "c.htm"})
    PutFile(dir.filePath(page), "<HTML><BODY>x</BODY></HTML>");
  const QString other = dir.filePath("Other.hhp");
  PutLines(other, {"[OPTIONS]", "Title=Other"}, 1252);

  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_EQ(ReadRecentProjects(Controller<ProjectCommands>(*form)->SettingsFile()).value(0), path);
  const TreeItem chapter = TopLevel(Widget<QTreeView>(*form, "contentsTree"), 0);
  Widget<QTreeView>(*form, "contentsTree")->collapseAll();
  Widget<QTreeView>(*form, "indexTree")->collapseAll();
  Widget<QTreeView>(*form, "contentsTree")->expand(chapter);
  Widget<QTreeView>(*form, "contentsTree")->setCurrentIndex(chapter->child(1));
  Widget<QTreeView>(*form, "indexTree")->expand(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));

  Controller<ProjectCommands>(*form)->OpenByName(other);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), other);
  EXPECT_EQ(ReadRecentProjects(Controller<ProjectCommands>(*form)->SettingsFile()),
            (QStringList{other, path}));
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_TRUE(Widget<QTreeView>(*form, "contentsTree")
                  ->isExpanded(TopLevel(Widget<QTreeView>(*form, "contentsTree"), 0)));
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")).text(), "Details");
  EXPECT_TRUE(
      Widget<QTreeView>(*form, "indexTree")->isExpanded(TopLevel(Widget<QTreeView>(*form, "indexTree"), 0)));
  EXPECT_FALSE(
      Widget<QTreeView>(*form, "indexTree")->isExpanded(TopLevel(Widget<QTreeView>(*form, "indexTree"), 1)));

  // Closing the window keeps them too, for the next start.
  Widget<QTreeView>(*form, "contentsTree")->collapseAll();
  Widget<QTreeView>(*form, "contentsTree")
      ->setCurrentIndex(TopLevel(Widget<QTreeView>(*form, "contentsTree"), 1));
  WaitEditorIdle(Widget<EditingControl>(*form, "editor"));
  ASSERT_TRUE(form->close());
  form = NewProgramWindow();
  Controller<ProjectCommands>(*form)->SetSettingsFile(dir.filePath("orvex.ini"));
  CreateProgramDialogs(*form);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_FALSE(Widget<QTreeView>(*form, "contentsTree")
                   ->isExpanded(TopLevel(Widget<QTreeView>(*form, "contentsTree"), 0)));
  EXPECT_EQ(Current(Widget<QTreeView>(*form, "contentsTree")).text(), "Other");
}

// Projects made by real generators open, save and reopen with every item.
void CheckGeneratedProjectSurvives(QMainWindow* form, const QString& path) {
  const ProjectFiles original = ProjectOnDisk(path);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(ProjectOf(*form).ProjectFile(), path);
  EXPECT_EQ(CountTree(Widget<QTreeView>(*form, "contentsTree")), CountForest(original.contents));
  // Keywords of one text are one line each, holding every topic.
  EXPECT_EQ(CountForest(IndexForest(Widget<QTreeView>(*form, "indexTree"))), CountForest(original.index));
  EXPECT_LE(CountTree(Widget<QTreeView>(*form, "indexTree")), CountForest(original.index));
  EXPECT_GT(CountTree(Widget<QTreeView>(*form, "contentsTree")), 0);
  Action(*form, "saveAction")->trigger();
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  const ProjectFiles saved = ProjectOnDisk(path);
  EXPECT_EQ(CountForest(saved.contents), CountForest(original.contents));
  EXPECT_EQ(CountForest(saved.index), CountForest(original.index));
  for (size_t i = 0; i < original.contents.size() && i < saved.contents.size(); ++i)
    EXPECT_EQ(saved.contents[i].caption, original.contents[i].caption);
  const orvex::CompileResult result = orvex::CompileProject(path);
  EXPECT_TRUE(result.success) << result.messages.join('\n').toStdString();
}

TEST_F(ProjectFlowTest, ADoxygenProjectOpensSavesAndCompiles) {
  const GeneratedProject generated = GenerateDoxygenProject(dir.filePath("doxy"));
  if (generated.generatorMissing) GTEST_SKIP() << "doxygen is not installed";
  ASSERT_FALSE(generated.projectFile.isEmpty()) << generated.error.toStdString();
  CheckGeneratedProjectSurvives(form.get(), generated.projectFile);
}

TEST_F(ProjectFlowTest, ASphinxProjectOpensSavesAndCompiles) {
  const GeneratedProject generated = GenerateSphinxProject(dir.filePath("sphinx"));
  if (generated.generatorMissing) GTEST_SKIP() << "sphinx is not installed";
  ASSERT_FALSE(generated.projectFile.isEmpty()) << generated.error.toStdString();
  CheckGeneratedProjectSurvives(form.get(), generated.projectFile);
}

TEST(CommandLineProject, OpensOnceTheWindowIsShown) {
  QTemporaryDir dir;
  const QString path = dir.filePath("Cli.hhp");
  PutLines(path, {"[OPTIONS]", "Title=Cli"}, 1252);
  PutText(dir.filePath("Cli.hhc"),
          "<HTML><BODY><UL>\r\n<LI> <OBJECT type=\"text/sitemap\">\r\n"
          "<param name=\"Name\" value=\"Intro\">\r\n<param name=\"Local\" value=\"Cli01.htm\">\r\n"
          "</OBJECT>\r\n</UL></BODY></HTML>\r\n",
          1252);
  PutText(dir.filePath("Cli.hhk"), "<HTML><BODY><UL>\r\n</UL></BODY></HTML>\r\n", 1252);
  PutText(dir.filePath("Cli01.htm"), "<HTML><BODY><P>Hello</P></BODY></HTML>\r\n", 1252);
  const auto formWindow = NewProgramWindow(path);
  QMainWindow& form = *formWindow;
  Controller<ProjectCommands>(form)->SetSettingsFile(dir.filePath("orvex.ini"));
  CreateProgramDialogs(form);
  EXPECT_TRUE(ProjectOf(form).ProjectFile().isEmpty());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(ProcessEventsUntil([&] {
    return ProjectOf(form).ProjectFile() == path && Widget<QFrame>(form, "formatToolbar")->isEnabled();
  }));
  EXPECT_EQ(TopLevelCount(Widget<QTreeView>(form, "contentsTree")), 1);
  EXPECT_EQ(Current(Widget<QTreeView>(form, "contentsTree")),
            TopLevel(Widget<QTreeView>(form, "contentsTree"), 0));
  EXPECT_TRUE(Widget<QPlainTextEdit>(form, "sourceView")->toPlainText().contains("Hello"));
  EXPECT_TRUE(Widget<QFrame>(form, "formatToolbar")->isEnabled());
  form.hide();
}

TEST(CommandLineProject, APathThatIsNotThereIsSaid) {
  QTemporaryDir dir;
  const auto formWindow = NewProgramWindow(dir.filePath("Nowhere.hhp"));
  QMainWindow& form = *formWindow;
  Controller<ProjectCommands>(form)->SetSettingsFile(dir.filePath("orvex.ini"));
  CreateProgramDialogs(form);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(ProcessEventsUntil([&] { return seen->shown; }));
  EXPECT_EQ(seen->text, "File not found: " + QDir::toNativeSeparators(dir.filePath("Nowhere.hhp")));
  EXPECT_FALSE(ProjectOf(form).IsOpen());
  form.hide();
}

}  // namespace

// A project made by hand on Windows: its own sitemap names in another letter
// case, context numbers from its own [ALIAS] and an included header, an
// index file in UTF-16 that the window names and Save leaves alone.
TEST_F(ProjectFlowTest, AWindowsProjectShowsItsContextNumbersAndKeepsWhatItCannotRead) {
  const QString path = dir.filePath("Win.HHP");
  PutFile(path,
          "[OPTIONS]\r\nContents file=Toc.HHC\r\nIndex file=Keys.hhk\r\nDefault topic=Pages\\A.htm\r\n\r\n"
          "[FILES]\r\npages\\a.htm\r\n\r\n[ALIAS]\r\nIDH_A=Pages\\A.htm\r\n\r\n[MAP]\r\n#include IDS.H\r\n");
  PutFile(dir.filePath("ids.h"), "#define IDH_A 42\r\n");
  QDir().mkpath(dir.filePath("pages"));
  PutFile(dir.filePath("pages/a.htm"), "<html><body><p>Page A</p></body></html>\r\n");
  const QByteArray toc =
      "<HTML><BODY><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
      "<param name=\"Local\" value=\"Pages\\A.htm\"><param name=\"ImageNumber\" "
      "value=\"5\"></OBJECT></UL></BODY></HTML>";
  PutFile(dir.filePath("toc.hhc"), toc);
  const QByteArray keys("\xFF\xFE<\0U\0L\0>\0", 10);
  PutFile(dir.filePath("keys.hhk"), keys);
  auto seen = AnswerNextMessageBox(QMessageBox::Ok);
  Controller<ProjectCommands>(*form)->OpenByName(path);
  ASSERT_EQ(TopLevelCount(Widget<QTreeView>(*form, "contentsTree")), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen->shown; }, 5000));
  EXPECT_TRUE(seen->text.contains("keys.hhk")) << seen->text.toStdString();
  EXPECT_EQ(Widget<QLabel>(*form, "contextLabel")->text(), "Context=42");
  Action(*form, "saveAction")->trigger();
  EXPECT_FALSE(ProjectOf(*form).IsModified());
  EXPECT_EQ(BytesOf(dir.filePath("toc.hhc")), toc);
  EXPECT_EQ(BytesOf(dir.filePath("keys.hhk")), keys);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Win.ali")));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("Win.hhc")));
}
