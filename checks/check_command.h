// `orvex --check PROJECT.hhp`: Check project without a window, for authors'
// scripts and continuous integration.
#pragma once

#include <QString>
#include <QTextStream>

// Checks the project and prints one line per problem to `out` as
// "FILE:LINE: kind: text", then how many errors, warnings and notes to
// `err`. Returns 1 when there are errors, 0 when there are none, and 2 when
// the project file cannot be read (the reason goes to `err`).
int RunCheckCommand(const QString& projectPath, QTextStream& out, QTextStream& err);
