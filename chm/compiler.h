#pragma once
// Compiling a help project with chmcmd, as the hhc tool and the Compile
// command do it, and the compiler log as the messages window shows it.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvex {

struct CompileResult {
  bool success = false;  // the compiled file was written by this run
  QStringList messages;  // the log's lines, the verdict last
  QString compiledFile;  // full path of the compiled file
  QString logFile;       // full path of the log; empty when the project names none
};

struct CompileOptions {
  QString chmcmdPath;  // empty: "chmcmd" on the search path
  int timeoutMs = 10 * 60 * 1000;
};

// Compiles the project file: a generated copy of it is compiled in the
// project folder by chmcmd; the compiled file and the log go where the
// project's "Compiled file=" and "Error log file=" lines say. The author's
// files are left as they are; a failed run leaves an older compiled file.
CompileResult CompileProject(const QString& projectPath, const CompileOptions& options = {});

// The compiled file of a project: its "Compiled file=" value resolved
// against the project folder, else the project path with ".chm".
QString CompiledFileOf(const QString& projectPath, const QStringList& projectLines);
// The same, reading the project file.
QString CompiledFileOfProject(const QString& projectPath);
// The log file the project names in "Error log file=", resolved against the
// project folder; empty when it names none.
QString LogFileOf(const QString& projectPath, const QStringList& projectLines);

// The compiler log as the list of the messages window: one item per line,
// every byte below 32 (TAB and other control characters) turned into two blanks.
QStringList CompilerMessageItems(const QByteArray& logText);

}  // namespace orvex
