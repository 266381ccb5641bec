#pragma once
// Extracting the sources of a compiled help file into a folder, with a
// project file for them, as "hh -decompile" does.

#include "chm/chm_file.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace orvex {

// What decompiling may write in all: a damaged or hostile file can name the
// same compressed bytes under many entries.
struct DecompileOptions {
  // Bytes; 0 means the default, DefaultOutputLimit.
  quint64 outputLimit = 0;
};

struct DecompileResult {
  bool opened = false;   // the compiled file could be read at all
  bool stopped = false;  // the output limit was reached; the rest was not written
  QStringList written;   // folder-relative names of the files written
  QStringList problems;  // entries left out or not written, one line each
  QString projectFile;   // full path of the project file written; empty if none
};

// True for the entries that are sources: normal files, not the compiler's
// own "#" and "$" files, "::" storage or its read-me.
bool IsSourceEntry(const ChmEntry& entry);

// 200 times the compiled file's size, or the free space of the folder's
// disk when that is smaller.
quint64 DefaultOutputLimit(quint64 chmSize, quint64 freeBytes);

// A size given as "N", "NK", "NM" or "NG" (binary multiples); nullopt when
// it is not one.
std::optional<quint64> ParseByteSize(const QString& text);

// A name or value from a compiled file as it may stand in a message: control
// characters as \xNN, so that nothing in the file reaches the terminal raw.
QString PrintableName(const QString& name);

// A value from a compiled file made fit for one line of a project file: line
// breaks and other control characters become blanks.
QString OneLineValue(const QString& value);

// The folder-relative name an entry may be written under; empty when the
// name is unsafe ("..", ".", empty parts, a drive, control characters).
QString SafeEntryName(const QString& entryPath);

// "0x" + the identifier in at least four upper-case hex digits + " " + the
// language's English name, e.g. "0x0409 English (United States)"; empty for 0.
QString LanguageTextOf(quint32 lcid);

// The project file for decompiled sources: options from #SYSTEM, the
// default topic first under [FILES], then the other files. Values from the
// compiled file lose their control characters, and file names among them
// that would leave the folder (absolute, "..") are left out.
QStringList DecompiledProjectLines(const ChmSystemInfo& info, const QString& chmFileName,
                                   const QStringList& files);

// Writes every source entry of chmPath into folder (created when missing),
// never outside it and never through a symbolic link, then the project file
// named after the compiled file (unless the compiled file held one itself).
// Stops, with a problem saying so, before what it writes would pass the
// output limit.
DecompileResult DecompileChm(const QString& chmPath, const QString& folder,
                             const DecompileOptions& options = {});

}  // namespace orvex
