// The sections and options of a project file (.hhp) as its lines stand.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

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
// The lines of every section with that (upper-case) name, in order.
QStringList HhpSectionLines(const QStringList& lines, const QString& name);
