// "orvex --decompile FILE.chm FOLDER" and "hh -decompile FOLDER FILE.chm":
// decompiling without a window.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTextStream>

// True for a folder that may not take decompiled sources: empty, the root
// of the file system or a system folder, judged after symbolic links are
// resolved.
bool IsRefusedDestination(const QString& folder);

// Exit codes of both commands.
constexpr int kDecompileDone = 0;
constexpr int kDecompileUnreadable = 1;  // missing, damaged or hostile compiled file
constexpr int kDecompileUsage = 2;       // wrong arguments or a refused folder
constexpr int kDecompilePartial = 3;     // some entries were not written
constexpr int kDecompileStopped = 4;     // the output or time limit was reached

// Writes the sources of file into folder; errors go to `err`. options are
// the arguments besides the two names: "--max-output=SIZE" raises (or
// lowers) the limit on what may be written, "--max-time=SECONDS" the limit
// on the time taken, "--overwrite" allows replacing files in the folder,
// "--progress" prints how far it is (DecompileProgressLine) to the output.
int RunDecompile(const QString& file, const QString& folder, const QStringList& options, QTextStream& err);

// The line "--progress" prints, "Progress: 12/340" (sources done, of how
// many), and reading it back: false for any other line.
QByteArray DecompileProgressLine(qsizetype done, qsizetype total);
bool ReadDecompileProgress(const QByteArray& line, qsizetype* done, qsizetype* total);

// Runs the command for the arguments after "--decompile" (FILE.chm FOLDER,
// and options).
int RunDecompileCommand(const QStringList& arguments, QTextStream& err);
