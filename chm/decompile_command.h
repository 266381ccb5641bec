// "orvex --decompile FILE.chm FOLDER": decompiling without a window.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// True for a folder that may not take decompiled sources: empty, or the
// root of the file system (as a drive root is refused on other systems).
bool IsRefusedDestination(const QString& folder);

// Runs the command for the arguments after "--decompile" (FILE.chm FOLDER):
// writes the compiled file's sources into FOLDER. Errors go to `err`. The
// exit code: 0 done, 1 the file could not be read, 2 wrong arguments or a
// refused folder, 3 some entries were not written.
int RunDecompileCommand(const QStringList& arguments, QTextStream& err);
