// File menu: "Compile", "View compiled help file", "View compiler messages"
// and "Decompile CHM file".
#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>

class ActionRegistry;
class CompilerMessagesWindow;
class HtmlHelpViewer;
class LongWork;
class QWidget;

class BuildCommands : public QObject {
  Q_OBJECT
 public:
  // What the commands need of the open project.
  struct Project {
    std::function<QString()> projectFile;  // empty when none is open
    std::function<QStringList()> projectLines;
    // Saves as "Save" does; false when the save failed (its error was shown).
    std::function<bool()> save;
    // Shows a line in the window's status bar: what runs, and how it ended.
    std::function<void(const QString&)> showStatus;
    // Opens a project (a decompiled one), asking first to save the open one.
    std::function<void(const QString&)> openProject;
  };

  BuildCommands(QWidget* window, HtmlHelpViewer* viewer, LongWork& work, Project project);
  // Registers "compileAction", "viewHelpFileAction", "viewMessagesAction"
  // and "decompileAction"; compiling is started by the window, once the
  // editor has settled.
  void RegisterCommands(ActionRegistry& registry);
  // The window of "View compiler messages", made with the other dialogs.
  void SetMessagesWindow(CompilerMessagesWindow* messagesWindow);

  void Compile();
  void ViewHelpFile();
  void ViewCompilerMessages();
  void Decompile();
  // The compiler's log: the one the project names, else the project's ".log".
  QString CompilerLogFile() const;
  // Where the installed compiler lives, if any (read at start-up; tests
  // point it elsewhere).
  void SetWorkshopDir(const QString& folder) { workshopDir = folder; }
  // The folder the folder browser returned last.
  QString LastFolder() const { return lastFolder; }

 private:
  // Asks whether the compile may write these outputs outside the project
  // folder; No is the default.
  bool ConfirmOutsideOutput(const QStringList& paths);
  // The folder browser "Browse for folder"; empty when cancelled.
  QString SelectFolder();
  void ShowStatus(const QString& text);
  // Saves and compiles the project, telling in the status bar how it went;
  // true when the compiler reported errors.
  bool RunCompiler();
  // Runs the decompiler on `file` into `folder` and says how it went,
  // offering to open the project it wrote.
  void RunDecompiler(const QString& file, const QString& folder);

  QPointer<QWidget> window;
  QPointer<HtmlHelpViewer> viewer;
  QPointer<CompilerMessagesWindow> messages;
  LongWork& work;
  Project project;
  QString workshopDir;
  QString lastFolder;
  // What the last compile wrote to its output.
  QByteArray compilerOutput;
};
