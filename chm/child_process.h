// Starting the help tools as child processes and waiting for them while the
// program keeps handling its events.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

// The program file of a tool: `name` beside the program (appDir) when it is
// there and executable, else the one the search path finds; empty when
// neither exists.
QString FindTool(const QString& name, const QString& appDir);

// The compiler to run: "hhc" in the workshop folder when one is set (only
// there), else FindTool("hhc", appDir).
QString CompilerProgram(const QString& workshopDir, const QString& appDir);

struct ChildRun {
  bool started = false;        // the process ran (false: it could not be started)
  bool quitRequested = false;  // the program was told to end during the wait
  int quitCode = 0;            // the exit code it was told to end with
  int exitCode = -1;           // the child's exit code; -1 when it crashed or was left running
  QByteArray output;           // what it wrote to its output and error output, when kept
};

// Starts `program` with `arguments` (no shell: each argument reaches the
// child as it is) in the current directory, its output going to the
// program's own, and waits until it ends while events are handled, so the
// windows stay responsive. When the program is told to quit during the wait
// (QCoreApplication::exit or quit), the wait ends at once, reports the quit
// and leaves the child running. Needs a QCoreApplication. With keepOutput,
// the child's output goes into the run's Output instead, and each of its
// lines reaches `onLine` as soon as it is written (the whole output is still
// kept).
ChildRun RunChildProcess(const QString& program, const QStringList& arguments, bool keepOutput = false,
                         const std::function<void(const QByteArray& line)>& onLine = {});
