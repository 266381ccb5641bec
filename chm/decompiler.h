#pragma once
// Extracting the sources of a compiled help file into a folder, with a
// project file for them, as "hh -decompile" does.

#include "chm/chm_file.h"

#include <QString>
#include <QStringList>

namespace orvex {

struct DecompileResult {
  bool opened = false;   // the compiled file could be read at all
  QStringList written;   // folder-relative names of the files written
  QStringList problems;  // entries left out or not written, one line each
  QString projectFile;   // full path of the project file written; empty if none
};

// True for the entries that are sources: normal files, not the compiler's
// own "#" and "$" files, "::" storage or its read-me.
bool IsSourceEntry(const ChmEntry& entry);

// The folder-relative name an entry may be written under; empty when the
// name is unsafe ("..", ".", empty parts, a drive, control characters).
QString SafeEntryName(const QString& entryPath);

// "0x" + the identifier in at least four upper-case hex digits + " " + the
// language's English name, e.g. "0x0409 English (United States)"; empty for 0.
QString LanguageTextOf(quint32 lcid);

// The project file for decompiled sources: options from #SYSTEM, the
// default topic first under [FILES], then the other files.
QStringList DecompiledProjectLines(const ChmSystemInfo& info, const QString& chmFileName,
                                   const QStringList& files);

// Writes every source entry of chmPath into folder (created when missing),
// never outside it and never through a symbolic link, then the project file
// named after the compiled file (unless the compiled file held one itself).
DecompileResult DecompileChm(const QString& chmPath, const QString& folder);

}  // namespace orvex
