// Opening a project: "Open" with the file dialog, and Open-by-name for the
// "Reopen" menu and the command line.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "editor/editing_control.h"
#include "model/project_reader.h"
#include "model/tree_nodes.h"

QMessageBox::StandardButton MainWindow::AskSaveHelpProject() {
  if (ProjectIsOpen() && PageHasUnsavedEdits()) Modified = true;
  if (!Modified) return QMessageBox::NoButton;
  return QMessageBox::warning(this, "Warning", "Save help project?",
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

bool MainWindow::AskToSaveProject() {
  const QMessageBox::StandardButton answer = AskSaveHelpProject();
  if (answer == QMessageBox::Cancel || answer == QMessageBox::Escape) return false;
  if (answer == QMessageBox::Yes) SaveProject();
  return true;
}

void MainWindow::OpenCommand() {
  if (!AskToSaveProject()) return;
  const QString path =
      QFileDialog::getOpenFileName(this, QString(), ProjectFolder(), "Help projects (*.hhp)");
  if (path.isEmpty()) return;
  OpenProject(path);
}

void MainWindow::OpenByName(const QString& path) {
  BusyCursor busy;
  if (!AskToSaveProject()) return;
  OpenProject(path);
}

void MainWindow::OpenProject(const QString& chosenPath) {
  BusyCursor busy;
  const QString path = QFileInfo(chosenPath).absoluteFilePath();
  // A project file that is not there (a stale recent entry, a mistyped
  // command line) stops quietly, before anything of the open project goes.
  if (!QFileInfo(path).isFile()) {
    qWarning("Orvex: project file not found: %s", qPrintable(path));
    return;
  }
  // The new project's files are read before anything of the open one goes:
  // a project that cannot be read leaves the open one as it was.
  ProjectFiles files;
  if (!ReportFailure([&] { files = ReadProjectFiles(path); })) return;

  editor->NewDocument();
  WaitEditorIdle(editor);
  contextLabel->setText("Context=");
  indexTree->setSortingEnabled(false);
  ResetProjectModel(path);
  Modified = false;
  ProjectLines = std::move(files.ProjectLines);
  AliasLines = std::move(files.AliasLines);
  MapLines = std::move(files.MapLines);
  Sources = std::move(files.Sources);
  FillContentsTree(contentsTree, std::move(files.Contents));
  FillIndexTree(indexTree, std::move(files.Index));
  indexTree->setSortingEnabled(true);
  indexTree->sortByColumn(0, Qt::AscendingOrder);

  EnterProjectFolder();
  if (QTreeWidgetItem* first = contentsTree->topLevelItem(0)) contentsTree->setCurrentItem(first);
  WaitEditorIdle(editor);
  for (const QString& problem : files.Problems) qWarning("%s", qPrintable(problem));
  ShowOpenProblems(Sources.Warnings);
}

void MainWindow::ShowOpenProblems(const QStringList& problems) {
  if (problems.isEmpty()) return;
  // Told without stopping: the project is open, the files named stay as they are.
  auto* box = new QMessageBox(QMessageBox::Warning, "Warning",
                              "Some files of the project could not be read:", QMessageBox::Ok, this);
  box->setInformativeText(problems.join("\n"));
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}
