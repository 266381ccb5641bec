// hhc [--threads N] [--allow-outside-output] PROJECT.hhp: compiles a help
// project into the compiled file its "Compiled file=" line names and writes
// the log its "Error log file=" names. Exit code 0 only when the compiled
// file was written, complete and readable.

#include "chm/compiler.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int kUsageExit = 2;

int Usage() {
  QTextStream(stderr)
      << "Usage: hhc [--threads N] [--allow-outside-output] PROJECT.hhp\n"
         "  --threads N             threads for reading and compressing (default: every core)\n"
         "  --allow-outside-output  the compiled file and log may lie outside the project folder\n";
  return kUsageExit;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  orvex::CompileOptions options;
  QString project;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args.at(i);
    if (arg == QLatin1String("--threads") && i + 1 < args.size()) {
      bool ok = false;
      options.threads = args.at(++i).toInt(&ok);
      if (!ok || options.threads < 0) return Usage();
    } else if (arg == QLatin1String("--allow-outside-output")) {
      options.allowOutsideOutput = true;
    } else if (project.isEmpty() && !arg.startsWith(QLatin1String("--"))) {
      project = arg;
    } else {
      return Usage();
    }
  }
  if (project.isEmpty()) return Usage();
  const orvex::CompileResult result = orvex::CompileProject(project, options);
  QTextStream out(stdout);
  for (const QString& line : result.messages) out << line << '\n';
  out.flush();
  return result.success ? 0 : 1;
}
