#include "app/program_window.h"

#include "app/main_window.h"

namespace {

MainWindow& ProgramWindow(QMainWindow& window) {
  auto* program = qobject_cast<MainWindow*>(&window);
  if (!program) qFatal("The window \"%s\" is not the program's main window", qPrintable(window.objectName()));
  return *program;
}

}  // namespace

std::unique_ptr<QMainWindow> NewProgramWindow(const QString& projectArgument) {
  return std::make_unique<MainWindow>(projectArgument);
}

void CreateProgramDialogs(QMainWindow& window) { ProgramWindow(window).CreateDialogs(); }

const StartupDialogs& ProgramDialogs(const QMainWindow& window) {
  return ProgramWindow(const_cast<QMainWindow&>(window)).Dialogs();
}

void EnableProjectCommands(QMainWindow& window) { ProgramWindow(window).EnableProjectCommands(); }
