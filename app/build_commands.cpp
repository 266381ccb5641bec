// File menu: "Compile", "View compiled help file", "View compiler messages"
// and "Decompile CHM file".
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <optional>

#include "widgets/busy_cursor.h"
#include "widgets/status_progress.h"
#include "app/build_commands.h"
#include "app/long_work.h"
#include "chm/child_process.h"
#include "chm/compiler.h"
#include "app/compiler_messages.h"
#include "chm/decompile_command.h"
#include "formats/project/project_file.h"
#include "viewer/html_help_viewer.h"
#include "widgets/action_registry.h"

namespace {

QString ToolFolder() { return QCoreApplication::applicationDirPath(); }

// The files below a folder, by their folder-relative names.
QSet<QString> FilesIn(const QString& folder) {
  QSet<QString> names;
  const QDir root(folder);
  QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (files.hasNext()) names.insert(root.relativeFilePath(files.next()));
  return names;
}

QString FilesWritten(qsizetype count) {
  return count == 1 ? QStringLiteral("1 file written") : QStringLiteral("%1 files written").arg(count);
}

// A child's wait that saw the program told to end: end it with that code.
void EndIfQuitting(const ChildRun& run) {
  if (run.quitRequested) QCoreApplication::exit(run.quitCode);
}

struct CompileOutcome {
  QString notice;  // for the status bar
  bool failed = false;
};

QString FirstError(const QStringList& lines) {
  for (const QString& line : lines)
    if (line.startsWith(QLatin1String("Error:"))) return line;
  return {};
}

// What a compile came to. Our compiler hands its result over as a record
// with the counts; another one (a workshop's) tells only its exit code and
// its output, whose "Error:" lines are shown.
CompileOutcome ReadCompileOutcome(const ChildRun& run, const std::optional<orvex::CompileResult>& result,
                                  const QString& compiledFile) {
  const QString name = QFileInfo(compiledFile).fileName();
  const QString firstError = FirstError(result ? result->messages : orvex::CompilerMessageItems(run.output));
  CompileOutcome outcome;
  const bool written = result ? result->success : run.exitCode == 0;
  outcome.failed = result ? result->ExitCode() != 0 : run.exitCode != 0;
  if (!written) {
    outcome.notice = QStringLiteral("Compile failed. ") +
                     (firstError.isEmpty() ? QStringLiteral("%1 was not written").arg(name) : firstError);
    return outcome;
  }
  outcome.notice = QStringLiteral("Compiled: %1").arg(name);
  if (result) {
    outcome.notice += QStringLiteral(", %1 topics, %2 warnings").arg(result->topics).arg(result->warnings);
    if (result->errors > 0) outcome.notice += QStringLiteral(", %1 errors").arg(result->errors);
  }
  if (outcome.failed && !firstError.isEmpty()) outcome.notice += QStringLiteral("; ") + firstError;
  return outcome;
}

}  // namespace

BuildCommands::BuildCommands(QWidget* window, HtmlHelpViewer* viewer, LongWork& work, Project project)
    : QObject(window), window(window), viewer(viewer), work(work), project(std::move(project)) {}

void BuildCommands::RegisterCommands(ActionRegistry& registry) {
  QAction* compileItem = registry.Add("compileAction", "&Compile");
  compileItem->setProperty("HelpContext", 10014);
  connect(registry.Add("viewHelpFileAction", "&View compiled help file"), &QAction::triggered, this,
          &BuildCommands::ViewHelpFile);
  connect(registry.Add("viewMessagesAction", "View compiler &messages"), &QAction::triggered, this,
          &BuildCommands::ViewCompilerMessages);
  QAction* decompileItem = registry.Add("decompileAction", "&Decompile CHM file");
  connect(decompileItem, &QAction::triggered, this, &BuildCommands::Decompile);
  for (QAction* starter : {compileItem, decompileItem}) work.AddStarter(starter);
}

void BuildCommands::SetMessagesWindow(CompilerMessagesWindow* messagesWindow) { messages = messagesWindow; }

void BuildCommands::Compile() {
  // Errors open the messages once the run is over.
  if (RunCompiler()) ViewCompilerMessages();
}

bool BuildCommands::RunCompiler() {
  const QString projectFile = project.projectFile();
  if (projectFile.isEmpty()) return false;
  LongWork::Run run(work, QStringLiteral("Compiling"));
  if (!run.Started()) return false;
  {
    BusyCursor busy;
    // Save as "Save" does, always. A save that fails has shown its error, and
    // nothing is compiled.
    if (!project.save()) return false;
  }
  // Outputs that a compile would not write, or only with the user's leave.
  QStringList arguments;
  const orvex::OutputPathCheck outputs = orvex::CheckOutputPaths(projectFile, project.projectLines());
  if (!outputs.refused.isEmpty()) {
    QMessageBox::warning(window, QApplication::applicationName(), outputs.refused.join(u'\n'));
    return false;
  }
  if (!outputs.outside.isEmpty()) {
    if (!ConfirmOutsideOutput(outputs.outside)) return false;
    // A compiler of the workshop writes where the project says anyway.
    if (workshopDir.isEmpty()) arguments << QStringLiteral("--allow-outside-output");
  }
  BusyCursor busy;
  const QString compiled = orvex::CompiledFileOf(projectFile, project.projectLines());
  ShowStatus(QStringLiteral("Compiling %1 ...").arg(QDir::toNativeSeparators(projectFile)));
  const QString compiler = CompilerProgram(workshopDir, ToolFolder());
  // Our own compiler hands over its result with the counts.
  QTemporaryDir resultFolder;
  const bool ownCompiler = workshopDir.isEmpty() && resultFolder.isValid();
  const QString resultFile = resultFolder.filePath(QStringLiteral("result.json"));
  if (ownCompiler) arguments << QStringLiteral("--result") << resultFile;
  // The project path is one argument, blanks and quotes included.
  arguments << QDir::toNativeSeparators(projectFile);
  const ChildRun ran = RunChildProcess(compiler, arguments, true);
  EndIfQuitting(ran);
  if (ran.quitRequested) return false;
  compilerOutput = ran.output;
  if (!ran.started) {
    ShowStatus(QStringLiteral("Compile failed: the compiler %1 cannot be started")
                   .arg(QDir::toNativeSeparators(compiler.isEmpty() ? QStringLiteral("hhc") : compiler)));
    return false;
  }
  std::optional<orvex::CompileResult> result;
  if (QFile record(resultFile); ownCompiler && record.open(QIODevice::ReadOnly))
    result = orvex::ReadCompileResultRecord(record.readAll());
  const CompileOutcome outcome = ReadCompileOutcome(ran, result, compiled);
  ShowStatus(outcome.notice);
  return outcome.failed;
}

bool BuildCommands::ConfirmOutsideOutput(const QStringList& paths) {
  QStringList shown;
  for (const QString& path : paths) shown << QDir::toNativeSeparators(path);
  QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                  QStringLiteral("The project writes outside its folder:\n\n%1\n\nCompile and write there?")
                      .arg(shown.join(u'\n')),
                  QMessageBox::Yes | QMessageBox::No, window);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString BuildCommands::CompilerLogFile() const {
  const QString projectFile = project.projectFile();
  const QString named = orvex::LogFileOf(projectFile, project.projectLines());
  return named.isEmpty() ? ReplaceExtension(projectFile, ".log") : named;
}

void BuildCommands::ViewCompilerMessages() {
  const QString projectFile = project.projectFile();
  if (projectFile.isEmpty() || !messages) return;
  // The log the project names; without one, what the last compile said
  // (or a log of an earlier compile beside the project).
  QString log = orvex::LogFileOf(projectFile, project.projectLines());
  if (log.isEmpty() && !compilerOutput.isEmpty()) {
    messages->logFile.clear();
    messages->output = compilerOutput;
    messages->exec();
    return;
  }
  if (log.isEmpty()) log = CompilerLogFile();
  if (!QFileInfo(log).isFile()) return;
  messages->logFile = log;
  messages->exec();
}

void BuildCommands::ShowStatus(const QString& text) {
  if (project.showStatus) project.showStatus(text);
}

void BuildCommands::ViewHelpFile() {
  const QString projectFile = project.projectFile();
  if (projectFile.isEmpty() || !viewer) return;
  const QString compiled = orvex::CompiledFileOf(projectFile, project.projectLines());
  if (!QFileInfo(compiled).isFile()) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), " File not found! ",
                    QMessageBox::Ok, window);
    box.exec();
    return;
  }
  if (!viewer->ShowTopic(window, compiled)) {
    const QString why = viewer->LastError();
    QMessageBox::warning(
        window, "Warning",
        why.isEmpty() ? QString(" Cannot show %1 ").arg(QDir::toNativeSeparators(compiled)) : why);
  }
}

QString BuildCommands::SelectFolder() {
  QFileDialog dialog(window, "Browse for folder");
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setLabelText(QFileDialog::LookIn, "Select destination folder");
  if (!lastFolder.isEmpty()) dialog.setDirectory(lastFolder);
  QString folder;
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    folder = QDir::cleanPath(dialog.selectedFiles().first());
  lastFolder = folder;
  return folder;
}

void BuildCommands::Decompile() {
  // The file and the folder are asked first; the work (and the title that
  // says so) starts after them.
  QString file;
  {
    QFileDialog dialog(window);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter("Help file (*.chm)");
    dialog.setDefaultSuffix("chm");
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    file = dialog.selectedFiles().first();
  }
  const QString folder = SelectFolder();
  // No folder, or the root of the file system: refused with a beep.
  if (IsRefusedDestination(folder)) {
    QApplication::beep();
    return;
  }
  RunDecompiler(file, folder);
}

void BuildCommands::RunDecompiler(const QString& file, const QString& folder) {
  std::optional<LongWork::Run> run(std::in_place, work, QStringLiteral("Decompiling"));
  if (!run->Started()) return;
  const QString shownFile = QDir::toNativeSeparators(file);
  const QString shownFolder = QDir::toNativeSeparators(folder);
  ShowStatus(QStringLiteral("Decompiling %1 into %2 ...").arg(shownFile, shownFolder));
  ChildRun ran;
  QStringList written;
  QByteArray said;  // what hh said besides how far it is
  {
    BusyCursor busy;
    StatusProgress progress(window, QStringLiteral("Decompile progress"));
    const QSet<QString> before = FilesIn(folder);
    // Each line is how far hh is, or something it has to say.
    const auto heard = [&](const QByteArray& line) {
      qsizetype done = 0;
      qsizetype total = 0;
      if (!ReadDecompileProgress(line, &done, &total)) {
        said += line;
        return;
      }
      progress.Set(done, total);
      ShowStatus(QStringLiteral("Decompiling %1 into %2 ... %3 of %4 files")
                     .arg(shownFile, shownFolder)
                     .arg(done)
                     .arg(total));
    };
    ran = RunChildProcess(FindTool("hh", ToolFolder()), {"-decompile", shownFolder, shownFile, "--progress"},
                          true, heard);
    EndIfQuitting(ran);
    if (ran.quitRequested) return;
    for (const QString& name : FilesIn(folder))
      if (!before.contains(name)) written << name;
  }
  run.reset();  // the title no longer says "Decompiling..."
  written.sort();
  QString decompiled;
  for (const QString& name : std::as_const(written))
    if (name.endsWith(QLatin1String(".hhp"), Qt::CaseInsensitive) && !name.contains(u'/'))
      decompiled = QDir(folder).filePath(name);
  const QStringList problems = orvex::CompilerMessageItems(said);
  QString text;
  QMessageBox::Icon icon = QMessageBox::Information;
  if (!ran.started) {
    text = QStringLiteral("Cannot decompile %1: the decompiler hh cannot be started.").arg(shownFile);
    icon = QMessageBox::Critical;
  } else if (ran.exitCode == 0) {
    text = QStringLiteral("Decompiled %1 into %2: %3.")
               .arg(shownFile, shownFolder, FilesWritten(written.size()));
  } else {
    text = QStringLiteral("Decompiling %1 into %2 ended with problems: %3.")
               .arg(shownFile, shownFolder, FilesWritten(written.size()));
    icon = written.isEmpty() ? QMessageBox::Critical : QMessageBox::Warning;
  }
  ShowStatus(text);
  if (!problems.isEmpty()) text += u'\n' + problems.mid(0, 10).join(u'\n');
  if (problems.size() > 10) text += QStringLiteral("\n... and %1 more").arg(problems.size() - 10);
  QMessageBox box(icon, QStringLiteral("Decompile"), text, QMessageBox::Ok, window);
  if (!decompiled.isEmpty() && project.openProject) {
    box.setText(
        text +
        QStringLiteral("\n\nOpen the decompiled project %1?").arg(QDir::toNativeSeparators(decompiled)));
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
  }
  if (box.exec() == QMessageBox::Yes) project.openProject(decompiled);
}
