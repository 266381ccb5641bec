#pragma once
// The copy of a project file that chmcmd compiles. chmcmd wants every file
// of the compiled help listed under [FILES] (alias targets included), reads
// only "#define NAME NUM" with blanks, gives up on a define without alias and
// keeps one alias per file. The copy spells all of that out for it.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace orvex {

struct HhpSection {
  QString header;     // the "[NAME]" line as written; empty before the first header
  QStringList lines;  // the lines after it, up to the next header
};

// The project's lines cut at section headers.
QList<HhpSection> SplitHhpSections(const QStringList& lines);
// Upper-case name of a section header line ("[files]" -> "FILES"), empty if no header.
QString HhpSectionName(const QString& line);
// Value of an option in [OPTIONS] (key compared without case, blanks trimmed);
// nullopt when the option is missing.
std::optional<QString> HhpOption(const QStringList& lines, const QString& key);

// A context number as written in a map file: decimal or 0x hex, in
// parentheses or not, with a C comment or a U/L suffix after it.
std::optional<quint32> ParseContextNumber(const QString& text);

struct ContextEntry {
  QString name;
  QString file;  // project-relative, '/'-separated
  quint32 number = 0;
};

struct ContextEntries {
  QList<ContextEntry> entries;  // what chmcmd will take
  QStringList warnings;         // what was left out, and why
};

// Pairs the alias lines ("NAME=file") with the map lines ("#define NAME NUM"),
// includes already expanded. Keeps the first alias of each file and of each
// name, and only names that have both an alias and a number.
ContextEntries PairContextEntries(const QStringList& aliasLines, const QStringList& mapLines);

struct ChmcmdProject {
  QStringList lines;     // the project copy
  QStringList files;     // what its [FILES] section lists
  QStringList warnings;  // problems found while building it
};

// Builds the copy for the project whose lines are given; compiledFile is
// the "Compiled file=" value chmcmd gets (relative to the project folder).
ChmcmdProject BuildChmcmdProject(const QString& projectFolder, const QStringList& projectLines,
                                 const QString& compiledFile);

}  // namespace orvex
