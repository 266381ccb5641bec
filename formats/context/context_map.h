// The context map of a project: the alias lines ("NAME=file") and map lines
// ("#define NAME NUM") of its [ALIAS] and [MAP] sections, with the files that
// their "#include" lines name read in, paired into the context numbers that
// a compiled help file holds.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// A context number as written in a map file: decimal or 0x hex, in
// parentheses or not, with a C comment or a U/L suffix after it.
std::optional<quint32> ParseContextNumber(const QString& text);

// One line of a section, with where it came from.
struct ContextLine {
  QString text;
  QString source;      // the included file as the project names it; empty for the project file
  int lineNumber = 0;  // 1-based line in Source; 0 for the project file
};

// How far includes are followed: every file at most once, regular files only.
struct IncludeLimits {
  qint64 maxFileBytes = 8 * 1024 * 1024;
  qint64 maxTotalBytes = 32 * 1024 * 1024;
  int maxDepth = 8;
};

struct ExpandedSection {
  QList<ContextLine> lines;   // the section's lines with every include replaced by its lines
  QStringList warnings;       // includes that could not be read, naming them
  QStringList includedFiles;  // full paths of the files read, in order
};

// Whether the line is an include ("#include name", "#include \"name\"",
// "#include <name>"); the name as written goes to *name.
bool IsIncludeLine(const QString& line, QString* name);

// The section's lines with includes read in. Names are resolved against the
// including file's folder and then against the project folder ("\" or "/",
// any letter case). Included files are read in the code page, or as UTF-8
// when they start with its byte-order mark. A file that is not a regular
// file, too large, nested too deep or included a second time is left out
// with a warning that names it; its lines are never quoted.
// Includes of a file listed in `skipFiles` (full paths) are left out silently.
ExpandedSection ExpandIncludes(const QString& projectFolder, const QStringList& sectionLines, int codePage,
                               const IncludeLimits& limits = {}, const QStringList& skipFiles = {});

struct ContextEntry {
  QString name;
  QString file;  // as written after "=", blanks trimmed, "\" turned into "/"
  quint32 number = 0;
};

struct ContextEntries {
  QList<ContextEntry> entries;  // every alias that has a number, in the order written
  QStringList warnings;         // what was left out, and why
};

// Pairs the alias lines with the map lines. Names match without regard to
// letter case (a warning names the spelling used: the map's). Every alias
// that has a number is kept, several for one file included; a name aliased
// twice keeps its first file. Warnings name the alias; a line of an included file is named by its
// file and line number, never quoted.
ContextEntries PairContextEntries(const QList<ContextLine>& aliasLines, const QList<ContextLine>& mapLines);
// The same for lines of the project file itself.
ContextEntries PairContextEntries(const QStringList& aliasLines, const QStringList& mapLines);

// The context map of a whole project: its [ALIAS] and [MAP] sections with
// includes read in, paired.
struct ProjectContextMap {
  ContextEntries context;     // the pairs, with the pairing's own warnings
  QStringList warnings;       // includes that could not be read
  QStringList includedFiles;  // full paths of the included files read
};
ProjectContextMap ReadProjectContextMap(const QString& projectFolder, const QStringList& projectLines,
                                        int codePage, const IncludeLimits& limits = {},
                                        const QStringList& skipFiles = {});
