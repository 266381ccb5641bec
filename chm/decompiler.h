#pragma once
// Extracting the sources of a compiled help file into a folder, with a
// project file for them, as "hh -decompile" does.

#include "chm/chm_file.h"
#include "chm/decompiled_project.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

namespace orvex {

// What decompiling may write in all: a damaged or hostile file can name the
// same compressed bytes under many entries.
struct DecompileOptions {
  // What the written files and folders may take on disk, in bytes; 0 means
  // the default, DefaultOutputLimit.
  quint64 outputLimit = 0;
  // How long decompiling may take; 0 means kDefaultTimeLimit.
  std::chrono::milliseconds timeLimit{0};
  // Files already in the folder are replaced (never the compiled file being read).
  bool overwrite = false;
  // Told after each source entry, written or not: how many are done, of how many.
  std::function<void(qsizetype done, qsizetype total)> progress;
};

constexpr std::chrono::milliseconds kDefaultTimeLimit{600 * 1000};

struct DecompileResult {
  bool opened = false;   // the compiled file could be read at all
  bool stopped = false;  // the output or time limit was reached; the rest was not written
  QStringList written;   // folder-relative names of the files written
  QStringList problems;  // entries left out or not written, one line each
  QStringList notes;     // what was added to the sources to keep the help whole
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

// The folder-relative name an entry may be written under; empty when the
// name is unsafe ("..", ".", empty parts, a drive, control characters).
QString SafeEntryName(const QString& entryPath);

// Writes every source entry of chmPath into folder (created when missing),
// never outside it, never through a symbolic link and, unless
// options.overwrite, never over a file already there; then the project file
// named after the compiled file (unless the compiled file held one itself).
// Entries are read in the order of their content, so each compressed
// stretch is decoded once. Stops, with a problem saying so, before what it
// writes would pass the output limit, or when it passes the time limit.
// A system folder (judged after links are resolved) is refused.
DecompileResult DecompileChm(const QString& chmPath, const QString& folder,
                             const DecompileOptions& options = {});

}  // namespace orvex
