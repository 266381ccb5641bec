// hhc PROJECT.hhp: compiles a help project into the compiled file its
// "Compiled file=" line names and writes the log its "Error log file=" names.

#include "chm/compiler.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTextStream out(stdout);
  if (args.size() != 2) {
    QTextStream(stderr) << "Usage: hhc PROJECT.hhp\n";
    return 2;
  }
  const orvex::CompileResult result = orvex::CompileProject(args.at(1));
  for (const QString& line : result.messages) out << line << '\n';
  out.flush();
  return result.success ? 0 : 1;
}
