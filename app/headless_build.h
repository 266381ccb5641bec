// `orvex --build PROJECT.hhp`: open, save and compile a project without a
// window, for authors' build scripts.
#pragma once

#include <QString>
#include <QTextStream>

namespace orvex {
struct CompileOptions;
}

// Opens the project as Open-by-name does, saves it as Save does, compiles it
// as Compile does and prints the compiler log to `out`. Returns 0 only when
// every step succeeded and the compiled file was written without errors
// (1 when it was written with errors); otherwise a clear message goes to
// `err` and the result is non-zero.
int RunHeadlessBuild(const QString& projectPath, const QString& settingsFile, QTextStream& out,
                     QTextStream& err, const orvex::CompileOptions& options);
