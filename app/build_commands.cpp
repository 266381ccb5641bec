// File menu: "Compile", "View compiled help file", "View compiler messages"
// and "Decompile CHM file".
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/busy_cursor.h"
#include "app/main_window.h"
#include "project/project_commands.h"
#include "chm/child_process.h"
#include "chm/compiler.h"
#include "app/compiler_messages.h"
#include "chm/decompile_command.h"
#include "viewer/html_help.h"

namespace {

QString ToolFolder() { return QCoreApplication::applicationDirPath(); }

// A child's wait that saw the program told to end: end it with that code.
void EndIfQuitting(const ChildRun& run) {
  if (run.QuitRequested) QCoreApplication::exit(run.QuitCode);
}

}  // namespace

void MainWindow::ConnectBuildCommands() {
  helpViewer = new HtmlHelpViewer(this);
  helpViewer->HtmlHelpA(this, QString(), HH_INITIALIZE, reinterpret_cast<quintptr>(&HelpCookie));
  connect(compileAction, &QAction::triggered, this, &MainWindow::Compile);
  connect(viewHelpFileAction, &QAction::triggered, this, &MainWindow::ViewHelpFile);
  connect(viewMessagesAction, &QAction::triggered, this, &MainWindow::ViewCompilerMessages);
  connect(decompileAction, &QAction::triggered, this, &MainWindow::Decompile);
}

void MainWindow::Compile() {
  if (!project.IsOpen()) return;
  BusyCursor busy;
  // Save as "Save" does, always. A save that fails leaves the project
  // marked modified; its error has been shown, and nothing is compiled.
  project.SetModified();
  projectCommands->Save();
  if (project.IsModified()) return;
  const QString compiler = CompilerProgram(WorkshopDir, ToolFolder());
  // The project path is one argument, blanks and quotes included.
  EndIfQuitting(RunChildProcess(compiler, {QDir::toNativeSeparators(project.ProjectFile())}));
}

QString MainWindow::CompilerLogFile() const {
  // The log the project names for the compiler, else the project's ".log".
  const QString named = orvex::LogFileOf(project.ProjectFile(), project.ProjectLines());
  return named.isEmpty() ? project.FileWithExt(".log") : named;
}

void MainWindow::ViewCompilerMessages() {
  if (!project.IsOpen() || !startupDialogs.compilerMessagesWindow) return;
  const QString log = CompilerLogFile();
  if (!QFileInfo(log).isFile()) return;
  startupDialogs.compilerMessagesWindow->LogFile = log;
  startupDialogs.compilerMessagesWindow->exec();
}

void MainWindow::ViewHelpFile() {
  if (!project.IsOpen() || !helpViewer) return;
  const QString compiled = orvex::CompiledFileOf(project.ProjectFile(), project.ProjectLines());
  if (!QFileInfo(compiled).isFile()) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), " File not found! ",
                    QMessageBox::Ok, this);
    box.exec();
    return;
  }
  if (helpViewer->HtmlHelpA(this, compiled, HH_DISPLAY_TOPIC, 0) == 0)
    QMessageBox::warning(this, "Warning",
                         QString(" Cannot show %1 ").arg(QDir::toNativeSeparators(compiled)));
}

QString MainWindow::SelectFolder() {
  QFileDialog dialog(this, "Browse for folder");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setLabelText(QFileDialog::LookIn, "Select destination folder");
  if (!LastFolder.isEmpty()) dialog.setDirectory(LastFolder);
  QString folder;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    folder = QDir::cleanPath(dialog.selectedFiles().first());
  LastFolder = folder;
  return folder;
}

void MainWindow::Decompile() {
  QString file;
  {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter("Help file (*.chm)");
    dialog.setDefaultSuffix("chm");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    file = dialog.selectedFiles().first();
  }
  BusyCursor busy;
  const QString folder = SelectFolder();
  // No folder, or the root of the file system: refused with a beep.
  if (IsRefusedDestination(folder)) {
    QApplication::beep();
    return;
  }
  const QString hh = FindTool("hh", ToolFolder());
  EndIfQuitting(
      RunChildProcess(hh, {"-decompile", QDir::toNativeSeparators(folder), QDir::toNativeSeparators(file)}));
}
