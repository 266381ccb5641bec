#pragma once
// The copy of a project file that chmcmd compiles. chmcmd wants every file
// of the compiled help listed under [FILES] (alias targets included), reads
// only "#define NAME NUM" with blanks, gives up on a define without alias and
// keeps one alias per file. The copy spells all of that out for it; an alias
// it cannot hold is a warning naming it.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

#include "project/context_map.h"
#include "project/project_sections.h"

namespace orvex {

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
