#pragma once
// Compiling a help project into its compiled file, as the hhc tool and the
// Compile command do it, and the compiler log as the messages window shows it.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvex {

struct CompileResult {
  bool success = false;         // the compiled file was written by this run, complete and readable
                                // (also when errors were reported: then it lacks what they name)
  QStringList messages;         // the log's lines, the summary and the verdict last
  QString compiledFile;         // full path of the compiled file
  QString logFile;              // full path of the log; empty when the project names none
  int errors = 0;               // "Error:" lines among the messages
  int warnings = 0;             // "Warning:" lines
  quint64 compressedBytes = 0;  // size of the compiled file; 0 when none was written
  int topics = 0;
  int files = 0;

  // The exit code of the compiler: 0 when the compiled file was written
  // without errors (warnings allowed), else 1.
  int ExitCode() const { return success && errors == 0 ? 0 : 1; }
};

// The result as one line of JSON that a program running the compiler reads
// back, and reading it; nullopt when the text is not such a record.
QByteArray CompileResultRecord(const CompileResult& result);
std::optional<CompileResult> ReadCompileResultRecord(const QByteArray& record);

struct CompileOptions {
  int threads = 0;  // threads for reading and compressing; 0: every core
  // The compiled file and the log may lie outside the project folder (the
  // user confirmed it); they may never be a file of the project.
  bool allowOutsideOutput = false;
};

// Compiles the project file: the compiled file and the log go where the
// project's "Compiled file=" and "Error log file=" lines say, inside the
// project folder. The compiled file is written beside the old one, read
// back whole, and only then put in its place; a failed run leaves the old
// one as it was and no other file behind. Missing files are errors and
// broken anchors warnings in the messages; the compile fails when the
// compiled file cannot be written.
CompileResult CompileProject(const QString& projectPath, const CompileOptions& options = {});

// The compiled file of a project: its "Compiled file=" value resolved
// against the project folder, else the project path with ".chm".
QString CompiledFileOf(const QString& projectPath, const QStringList& projectLines);
// The same, reading the project file.
QString CompiledFileOfProject(const QString& projectPath);
// The log file the project names in "Error log file=", resolved against the
// project folder; empty when it names none.
QString LogFileOf(const QString& projectPath, const QStringList& projectLines);

// What a compile of the project would do with its output paths, judged
// from the project's own lines: refused holds the message for each output
// that names a file the project names itself (its pages under [FILES], its
// contents, index, map and alias files, the project file) or a folder, which
// no compile overwrites; outside the outputs (compiled file, log) that lie
// outside the project folder, which a compile writes only when the user
// allowed it. The compile itself also refuses outputs that name any page
// its pages reach.
struct OutputPathCheck {
  QStringList refused;
  QStringList outside;
};
OutputPathCheck CheckOutputPaths(const QString& projectPath, const QStringList& projectLines);

// The compiler log as the list of the messages window: one item per line,
// every byte below 32 (TAB and other control characters) turned into two blanks.
QStringList CompilerMessageItems(const QByteArray& logText);

}  // namespace orvex
