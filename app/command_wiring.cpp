// The main window's wiring of the controllers for the panes, building,
// add-ins, the editor's commands, the help features and the program's help:
// each is given the widgets it drives and what it needs of the project.
#include <QAction>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeView>

#include "app/addins_menu.h"
#include "app/build_commands.h"
#include "app/long_work.h"
#include "app/main_window.h"
#include "app/program_help_commands.h"
#include "editor/editing_control.h"
#include "alltopics/topic_replace_pane.h"
#include "checks/problems_pane.h"
#include "editor/editor_commands.h"
#include "editor/paragraph_style_box.h"
#include "features/help_feature_commands.h"
#include "viewer/new_help_viewer.h"
#include "model/contents_model.h"
#include "panes/index_pane.h"
#include "panes/contents_pane.h"
#include "panes/topic_editing.h"
#include "panes/tree_undo.h"
#include "project/project_commands.h"
#include "spelling/editor_spelling.h"
#include "viewer/html_help_viewer.h"
#include "widgets/action_registry.h"

void MainWindow::ConnectPanes() {
  topicEditing = new TopicEditing(project,
                                  {this, contentsTree, contentsModel, editor, sourceView, editorTabs,
                                   formatToolbar, contextLabel, copyContextButton},
                                  this);
  indexPane = new IndexPane(project, {this, indexTree, indexModel, contentsTree, contentsModel, editor},
                            *registry, this);
  // Del on the Index tree finds its item in the state the menu would show.
  connect(indexTree->selectionModel(), &QItemSelectionModel::currentChanged, indexPane,
          [this] { indexPane->PrepareMenu(); });
  contentsPane = new ContentsPane(project, *topicEditing, *indexPane,
                                  {this, contentsTree, contentsModel, editor, sourceView}, *registry, this);
  // One undo stack for both trees, in the Edit menu while a tree has the keyboard.
  treeUndo = new TreeUndo(project, *topicEditing,
                          {this, contentsTree, contentsModel, indexTree, indexModel, editor}, this);
  contentsPane->SetUndo(treeUndo);
  indexPane->SetUndo(treeUndo);
}

void MainWindow::ConnectProjectTools() {
  problemsPane = new ProblemsPane(
      project, {this, contentsTree, contentsModel, indexModel, editorTabs, sourceView}, this);
  addDockWidget(Qt::BottomDockWidgetArea, problemsPane->Dock());
  problemsPane->RegisterCommands(*registry);
  topicReplace = new TopicReplacePane(project, *topicEditing, this,
                                      {contentsTree, contentsModel, editorTabs, sourceView}, this);
  addDockWidget(Qt::BottomDockWidgetArea, topicReplace->Dock());
  tabifyDockWidget(problemsPane->Dock(), topicReplace->Dock());
  topicReplace->RegisterCommands(*registry);
}

void MainWindow::ConnectMenus() {
  // Spelling puts its item at the end of "Tools".
  editorSpelling =
      new EditorSpelling(project, {this, editor, CommandMenu("toolsMenu"), statusBar(), {}}, this);
  problemsPane->SetSpelling([this] { return editorSpelling->Source(); });
  treeUndo->AttachToEditMenu(CommandMenu("editMenu"), Command("undoAction"), Command("redoAction"));
  QMenu* fileMenu = CommandMenu("fileMenu");
  connect(fileMenu, &QMenu::aboutToShow, projectCommands,
          [this] { projectCommands->FillReopenMenu(CommandMenu("reopenMenu")); });
  // The editor's commands prepare "Edit" and "Insert" as they open.
  connect(CommandMenu("editMenu"), &QMenu::aboutToShow, editorCommands, &EditorCommands::PrepareEditMenu);
  connect(CommandMenu("insertMenu"), &QMenu::aboutToShow, editorCommands, &EditorCommands::PrepareInsertMenu);
}

void MainWindow::ConnectBuildCommands() {
  // Compiled topics shown by the viewer get working pop-ups, splash screens
  // and training cards; a pressed card reaches programHelp as a "tcard" command.
  helpViewer = NewHelpViewer(this);
  helpSession = helpViewer->BeginSession();
  longWork = std::make_unique<LongWork>([this] { UpdateWindowTitle(); });
  BuildCommands::Project needs;
  needs.projectFile = [this] { return project.ProjectFile(); };
  needs.projectLines = [this] { return project.ProjectLines(); };
  needs.save = [this] {
    // Saved as "Save" does, always: a save that fails leaves the project
    // modified. Compiling starts where the editor has settled.
    project.SetModified();
    projectCommands->SaveSettled();
    return !project.IsModified();
  };
  needs.showStatus = [this](const QString& text) { statusBar()->showMessage(text); };
  needs.openProject = [this](const QString& path) { projectCommands->OpenByName(path); };
  buildCommands = new BuildCommands(this, helpViewer, *longWork, std::move(needs));
  buildCommands->SetWorkshopDir(ReadWorkshopDir());
  buildCommands->RegisterCommands(*registry);
  connect(Command("compileAction"), &QAction::triggered, buildCommands,
          [this] { editor->Settle(buildCommands, [this] { buildCommands->Compile(); }); });
}

void MainWindow::ConnectAddins() {
  AddinsMenu::Project needs;
  needs.isOpen = [this] { return project.IsOpen(); };
  needs.createTopic = [this](const QString& title) { return contentsPane->CreateTopic(title); };
  needs.settingsFile = [this] { return projectCommands->SettingsFile(); };
  addins = new AddinsMenu(*registry, editor, *longWork, std::move(needs), this);
  addins->StartScan();
}

void MainWindow::ConnectEditorCommands() {
  EditorCommandWidgets widgets;
  widgets.window = this;
  widgets.editor = editor;
  widgets.sourceView = sourceView;
  widgets.contents = contentsModel;
  widgets.fontNameBox = fontNameBox;
  widgets.fontSizeBox = fontSizeBox;
  widgets.boldButton = boldButton;
  widgets.italicButton = italicButton;
  widgets.underlineButton = underlineButton;
  widgets.alignLeftButton = alignLeftButton;
  widgets.centerButton = centerButton;
  widgets.alignRightButton = alignRightButton;
  EditorCommandProject needs;
  needs.projectFolder = [this] { return project.Folder(); };
  needs.sourceInUse = [this] { return topicEditing->SourceInUse(); };
  needs.reportFailure = [this](const Status& status) { return ReportFailure(status); };
  editorCommands = new EditorCommands(widgets, *registry, std::move(needs));
  new ParagraphStyleBox(editor, formatToolbar);
  connect(editor, &EditingControl::Notice, this,
          [this](const QString& text) { statusBar()->showMessage(text); });
}

void MainWindow::ConnectHelpFeatures() {
  HelpFeatureCommands::Project needs;
  needs.projectFile = [this] { return project.ProjectFile(); };
  needs.projectFolder = [this] { return project.Folder(); };
  needs.codePage = [this] { return project.CodePage(); };
  needs.sourceInUse = [this] { return topicEditing->SourceInUse(); };
  needs.selectedPage = [this]() -> QString {
    const TopicData* topic = contentsModel->RecordAt(contentsTree->currentIndex());
    if (!topic || topic->fileName.isEmpty()) return QString();
    project.SetCurrentTopic(*topic);
    return project.PagePath(topic->fileName);
  };
  needs.storeEditorPage = [this](const QString& path) { return topicEditing->StoreEditorPage(path); };
  needs.loadTopicPage = [this](const QString& path) { return topicEditing->LoadTopicPage(path); };
  needs.reportFailure = [this](const Status& status) { return ReportFailure(status); };
  helpFeatures = new HelpFeatureCommands(this, editor, *registry, std::move(needs));
}

void MainWindow::ConnectProgramHelp() {
  programHelpCommands = new ProgramHelpCommands(this, editor, helpViewer, keyboardHook, *registry);
  programHelp = programHelpCommands->Help();
}
