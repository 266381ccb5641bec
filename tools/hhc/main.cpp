// hhc [--threads N] [--allow-outside-output] [--result FILE] PROJECT.hhp:
// compiles a help project into the compiled file its "Compiled file=" line
// names and writes the log its "Error log file=" names. Exit code 0 only
// when the compiled file was written, complete and readable, without errors
// (warnings allowed); 1 when errors were reported (the file is still written
// when it can be, and the last line says so) or it was not written.

#include "chm/compiler.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

constexpr int kUsageExit = 2;

int Usage() {
  QTextStream(stderr)
      << "Usage: hhc [--threads N] [--allow-outside-output] [--result FILE] PROJECT.hhp\n"
         "  --threads N             threads for reading and compressing (default: every core)\n"
         "  --allow-outside-output  the compiled file and log may lie outside the project folder\n"
         "  --result FILE           also write the result (counts, messages) as JSON to FILE\n"
         "Exit code 0: written without errors; 1: errors, or not written.\n";
  return kUsageExit;
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
  // One heap for all threads: what one stage frees serves the next,
  // whichever thread runs it (a heap per thread keeps its free memory to
  // itself, and the peak grows by it). The threads allocate little, so
  // sharing costs no time.
  mallopt(M_ARENA_MAX, 1);
#endif
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  orvex::CompileOptions options;
  QString project;
  QString resultFile;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args.at(i);
    if (arg == QLatin1String("--threads") && i + 1 < args.size()) {
      bool ok = false;
      options.threads = args.at(++i).toInt(&ok);
      if (!ok || options.threads < 0) return Usage();
    } else if (arg == QLatin1String("--result") && i + 1 < args.size()) {
      resultFile = args.at(++i);
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
  if (!resultFile.isEmpty()) {
    QFile record(resultFile);
    const QByteArray bytes = orvex::CompileResultRecord(result);
    if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate) || record.write(bytes) != bytes.size() ||
        !record.flush()) {
      QTextStream(stderr) << "hhc: cannot write " << resultFile << ": " << record.errorString() << '\n';
      return 1;
    }
  }
  return result.ExitCode();
}
