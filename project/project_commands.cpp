#include "project/project_commands.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTreeView>
#include <utility>

#include "widgets/busy_cursor.h"
#include "settings/recent_projects.h"
#include "editor/editing_control.h"
#include "model/help_project.h"
#include "model/contents_model.h"
#include "model/index_model.h"
#include "platform/file_operations.h"
#include "platform/files_before.h"
#include "project/new_project_dialog.h"
#include "project/recorded_save.h"
#include "project/tree_memory.h"
#include "widgets/action_registry.h"

ProjectCommands::ProjectCommands(HelpProject& project, Views views, TopicHooks hooks, QString settingsFile,
                                 QObject* parent)
    : QObject(parent),
      project(project),
      views(views),
      hooks(std::move(hooks)),
      settingsFile(std::move(settingsFile)) {}

void ProjectCommands::RegisterCommands(ActionRegistry& registry) {
  QAction* newItem = registry.Add("newAction", "&New");
  newItem->setProperty("HelpContext", 10004);
  newItem->setShortcut(QKeySequence("Ctrl+N"));
  connect(newItem, &QAction::triggered, this, &ProjectCommands::New);
  QAction* openItem = registry.Add("openAction", "&Open");
  openItem->setShortcut(QKeySequence("Ctrl+O"));
  connect(openItem, &QAction::triggered, this, &ProjectCommands::Open);
  // Filled as "File" opens (FillReopenMenu); off while the list is empty.
  registry.AddMenu("reopenMenu", "&Reopen")->menuAction()->setEnabled(false);
  QAction* saveItem = registry.Add("saveAction", "&Save");
  saveItem->setShortcut(QKeySequence("Ctrl+S"));
  connect(saveItem, &QAction::triggered, this, &ProjectCommands::Save);
}

QMessageBox::StandardButton ProjectCommands::AskSaveHelpProject() {
  if (project.IsOpen() && hooks.pageChangedSinceStored()) project.SetModified();
  if (!project.IsModified()) return QMessageBox::NoButton;
  return QMessageBox::warning(views.window, "Warning", "Save help project?",
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

bool ProjectCommands::AskToSaveProject() {
  const QMessageBox::StandardButton answer = AskSaveHelpProject();
  if (answer == QMessageBox::Cancel || answer == QMessageBox::Escape) return false;
  if (answer == QMessageBox::Yes) SaveSettled();
  return true;
}

void ProjectCommands::New() {
  views.editor->Settle(this, [this] { NewProject(); });
}

void ProjectCommands::NewProject() {
  if (!AskToSaveProject()) return;
  QFileDialog dialog(views.window);
  dialog.setObjectName("openProjectDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);  // a new name may be typed; overwriting asks first
  dialog.setDefaultSuffix("hhp");
  dialog.setNameFilter("Help projects (*.hhp)");
  if (project.IsOpen()) dialog.setDirectory(project.Folder());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = QFileInfo(dialog.selectedFiles().first()).absoluteFilePath();
  // A project in a folder that is not there yet: the folder is made first,
  // and taken away again when the project cannot be made.
  const QString folder = QFileInfo(path).absolutePath();
  QString outermostMade;
  for (QString f = folder; !QFileInfo::exists(f); f = QFileInfo(f).absolutePath()) outermostMade = f;
  if (const Status made = MakeFolder(folder); !made) {
    ShowFailure(made.Message());
    return;
  }
  const auto removeMadeFolders = [folder, outermostMade] {
    if (outermostMade.isEmpty()) return;
    for (QString f = folder; QDir().rmdir(f) && f != outermostMade;) f = QFileInfo(f).absolutePath();
  };

  std::optional<NewProjectChoice> choice;
  if (newProjectDialog) {
    newProjectDialog->titleEdit->setText(ProjectBaseName(path));
    if (newProjectDialog->exec() == QDialog::Accepted)
      choice =
          NewProjectChoice{newProjectDialog->titleEdit->text(), newProjectDialog->languageBox->currentText()};
  }
  // The new project's files are written and saved before the open project
  // goes: when one cannot be, every file is put back as it was and the open
  // project stays as it was.
  const FilesBefore before(HelpProject::NewProjectFiles(path, choice));
  HelpProject created;
  Status history;
  Status made = created.CreateNew(path, choice);
  if (made) made = SaveAndRecordRecent(created, {}, {}, settingsFile, &history);
  if (!made) {
    const Status restored = before.Restore();
    if (restored) removeMadeFolders();
    ShowFailure(restored ? made.Message() : made.Message() + "\n" + restored.Message());
    return;
  }
  ClearViews();
  project = std::move(created);
  hooks.projectEntered(true);
  // Every project file was written; only the recent list was not.
  if (!history) QMessageBox::warning(views.window, QStringLiteral("Warning"), history.Message());
}

void ProjectCommands::Open() {
  views.editor->Settle(this, [this] { OpenChosen(); });
}

void ProjectCommands::OpenChosen() {
  if (!AskToSaveProject()) return;
  const QString path =
      QFileDialog::getOpenFileName(views.window, QString(), project.Folder(), "Help projects (*.hhp)");
  if (path.isEmpty()) return;
  OpenProject(path);
}

void ProjectCommands::OpenByName(const QString& path) {
  BusyCursor busy;
  // A project file that is not there (a mistyped command line) is said
  // before anything of the open project goes.
  if (!QFileInfo(path).isFile()) {
    ShowFailure("File not found: " + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    return;
  }
  views.editor->Settle(this, [this, path] {
    if (AskToSaveProject()) OpenProject(path);
  });
}

void ProjectCommands::Reopen(const QString& path) {
  if (QFileInfo(path).isFile()) {
    OpenByName(path);
    return;
  }
  // A project that is gone can leave the list.
  const auto answer = QMessageBox::question(
      views.window, "File not found",
      "File not found: " + QDir::toNativeSeparators(path) + "\n\nRemove it from the Reopen list?",
      QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
  if (answer != QMessageBox::Yes) return;
  if (const Status removed = RemoveFromHistory(settingsFile, path); !removed) ShowFailure(removed.Message());
}

void ProjectCommands::OpenProject(const QString& chosenPath) {
  BusyCursor busy;
  const QString path = QFileInfo(chosenPath).absoluteFilePath();
  // The new project's files are read before anything of the open one goes:
  // a project that cannot be read leaves the open one as it was.
  HelpProject opened;
  Result<ProjectTrees> trees = opened.Open(path);
  if (!trees) {
    ShowFailure(trees.Message());
    return;
  }
  // A missing contents or index file: the project opens whole, with that
  // tree empty, only when the user says so.
  if (!trees->missingSitemaps.isEmpty()) {
    QStringList missing;
    for (const QString& file : trees->missingSitemaps)
      missing << "File not found: " + QDir::toNativeSeparators(file);
    const auto answer =
        QMessageBox::warning(views.window, "File not found",
                             missing.join("\n") + "\n\nOpen the project without it? Saving writes the file.",
                             QMessageBox::Open | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer != QMessageBox::Open) return;
  }
  ClearViews();
  project = std::move(opened);
  ShowTrees(std::move(*trees));
  hooks.projectEntered(false);
  // The trees as they were left; the first topic the first time.
  if (!RestoreTrees(settingsFile, path, views.contentsTree, views.indexTree))
    if (const QModelIndex first = views.contents->index(0, 0); first.isValid())
      views.contentsTree->setCurrentIndex(first);
  ShowOpenProblems(project.Sources().warnings);
  // An opened project is a recent one, as a saved one is.
  if (const Status history = AddToHistory(settingsFile, path); !history)
    QMessageBox::warning(views.window, QStringLiteral("Warning"), history.Message());
}

void ProjectCommands::RememberTreeState() const {
  if (!project.IsOpen()) return;
  // Not worth stopping for: the project opens at its first topic next time.
  if (const Status kept =
          RememberTrees(settingsFile, project.ProjectFile(), views.contentsTree, views.indexTree);
      !kept)
    qWarning("%s", qPrintable(kept.Message()));
}

void ProjectCommands::ShowOpenProblems(const QStringList& problems) {
  if (problems.isEmpty()) return;
  // Told without stopping: the project is open, the files named stay as they are.
  auto* box = new QMessageBox(QMessageBox::Warning, "Warning",
                              "Some files of the project could not be read:\n\n" + problems.join("\n\n"),
                              QMessageBox::Ok, views.window);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void ProjectCommands::Save() {
  if (!project.IsOpen()) return;
  views.editor->Settle(this, [this] { SaveSettled(); });
}

void ProjectCommands::SaveSettled() {
  if (!project.IsOpen()) return;
  BusyCursor busy;
  // Each step replaces its file whole; a failure is shown, the save stops
  // there, and the project stays modified.
  if (!hooks.storeSelectedPage()) return;
  Status history;
  const Status saved =
      SaveAndRecordRecent(project, views.contents->Forest(), views.index->Forest(), settingsFile, &history);
  if (!saved) {
    ShowFailure(saved.Message());
    return;
  }
  // Every project file was written; only the recent list was not.
  if (!history) QMessageBox::warning(views.window, QStringLiteral("Warning"), history.Message());
}

void ProjectCommands::FillReopenMenu(QMenu* reopenMenu) {
  reopenMenu->clear();
  const QStringList recent = ReadRecentProjects(settingsFile);
  for (int i = 0; i < recent.size(); ++i) {
    const QString path = recent[i];
    QAction* item = reopenMenu->addAction(path);
    item->setData(i + 1);
    connect(item, &QAction::triggered, this, [this, path] { Reopen(path); });
  }
  reopenMenu->menuAction()->setEnabled(!recent.isEmpty());
}

void ProjectCommands::ClearViews() {
  RememberTreeState();
  views.editor->NewDocument();
  views.sourceView->clear();
  // No page until a topic is selected: nothing typed is taken.
  views.editor->SetReadOnly(true);
  views.sourceView->setReadOnly(true);
  views.contextLabel->setText("Context=");
  // Emptied without a selection step: nothing is stored or loaded.
  {
    const QSignalBlocker block(views.contentsTree->selectionModel());
    views.contents->Clear();
  }
  views.index->Clear();
}

void ProjectCommands::ShowTrees(ProjectTrees&& trees) {
  views.contents->Fill(std::move(trees.contents));
  views.index->Fill(std::move(trees.index));
}

void ProjectCommands::ShowFailure(const QString& message) const {
  QMessageBox::critical(views.window, "Error", message);
}
