// `orvex --check PROJECT.hhp`: Check project without a window, for authors'
// scripts and continuous integration.
#pragma once

#include <QString>
#include <QTextStream>

#include "checks/project_check.h"

// Checks the project and prints one line per problem to `out` as
// "FILE:LINE: kind: text", then how many errors, warnings and notes to
// `err`. Returns 1 when there are errors, 0 when there are none, and 2 when
// the project file cannot be read (the reason goes to `err`). `spelling`,
// when given, makes the spelling the pages' words are checked with.
using SpellingFor = std::function<SpellingSource(const ProjectCheckInput& input)>;
int RunCheckCommand(const QString& projectPath, QTextStream& out, QTextStream& err,
                    const SpellingFor& spelling = {});
