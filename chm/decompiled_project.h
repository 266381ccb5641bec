// The project file written beside decompiled sources: what the compiled
// file says of itself, as project lines.
#pragma once

#include "chm/chm_file.h"
#include "chm/system_files.h"

#include <QList>
#include <QMap>

#include <QString>
#include <QStringList>

namespace orvex {

// A value from a compiled file, decoded, made fit for one line of a project
// file: line breaks and the other C0 controls become blanks (what stands in
// for a byte of the code page stays).
QString OneLineValue(const QString& value);

// "0x" + the identifier in at least four upper-case hex digits + " " + the
// language's English name, e.g. "0x0409 English (United States)"; empty for 0.
QString LanguageTextOf(quint32 lcid);

// What the project file of decompiled sources is made from.
struct DecompiledProject {
  ChmSystemInfo system;          // #SYSTEM
  QList<ChmWindowType> windows;  // #WINDOWS
  QString chmFileName;           // the compiled file's name
  QStringList files;             // the files written, folder-relative
  QString aliasFile, mapFile;    // the context map's files, when written
};

// The contents file (suffix ".hhc") or index file (".hhk") of decompiled
// sources: the one #SYSTEM names, else the one of the window the file opens
// with, else the first among the files, the one named after the compiled
// file before others. Empty when there is none, or when the name would leave
// the folder.
QString SitemapFileOf(const DecompiledProject& project, const QString& suffix);

// The project file for decompiled sources: options from #SYSTEM, the
// contents and index files (SitemapFileOf), the default window and font, [WINDOWS], the default
// topic first under [FILES], then the other files, and the context map's
// files included under [ALIAS] and [MAP]. Values from the compiled file
// lose their control characters, and file names among them that would
// leave the folder (absolute, "..") are left out.
QStringList DecompiledProjectLines(const DecompiledProject& project);

// The context map as an alias file ("IDH_1001=page.htm") and a map file
// ("#define IDH_1001 1001"): the compiled file keeps numbers and pages only,
// so each number gets the name IDH_ and the number.
struct ContextMapFiles {
  QStringList aliasLines;
  QStringList mapLines;
};
ContextMapFiles ContextMapFilesOf(const QMap<quint32, QString>& contextMap);

}  // namespace orvex
