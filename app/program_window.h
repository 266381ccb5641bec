// The program's main window as the program's entry, the window tests and the
// benchmarks make it. Outside app/ the window is a plain QMainWindow: its
// commands, widgets and controllers are found by their ids, names and types
// (each controller registers what it owns), never through the window's class.
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>

class AboutBox;
class CompilerMessagesWindow;
class LinkDialog;
class NewProjectDialog;
class SplashDialog;
class TableDialog;
class TextEditDialog;
class TrainingCardDialog;

// The dialogs made at start, in their order; each lives until the program ends.
struct StartupDialogs {
  TableDialog* tableDialog = nullptr;
  LinkDialog* linkDialog = nullptr;
  AboutBox* aboutBox = nullptr;
  CompilerMessagesWindow* compilerMessagesWindow = nullptr;
  TextEditDialog* textEditDialog = nullptr;
  NewProjectDialog* newProjectDialog = nullptr;
  SplashDialog* splashDialog = nullptr;
  TrainingCardDialog* trainingCardDialog = nullptr;
};

// A new main window; projectArgument: the first command-line argument (may be empty).
std::unique_ptr<QMainWindow> NewProgramWindow(const QString& projectArgument = QString());
// Makes the window's eight dialogs, after the window, in their fixed order.
void CreateProgramDialogs(QMainWindow& window);
const StartupDialogs& ProgramDialogs(const QMainWindow& window);
// Turns on the commands of an open project (opening a project does it; a
// project filled in by hand needs it).
void EnableProjectCommands(QMainWindow& window);
