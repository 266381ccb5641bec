// hh -decompile FOLDER FILE.chm: writes the sources of a compiled help file
// into FOLDER, with a project file for them.

#include "chm/decompiler.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitUnreadable = 1;
constexpr int kExitPartial = 3;

QString folderArgument(QString folder) {
  // Callers write the folder with a closing separator ("C:\Out\ file.chm").
  while (folder.size() > 1 && (folder.endsWith(u'\\') || folder.endsWith(u'/'))) folder.chop(1);
  return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QTextStream err(stderr);
  if (args.size() != 4 || args.at(1).compare(QLatin1String("-decompile"), Qt::CaseInsensitive) != 0) {
    err << "Usage: hh -decompile FOLDER FILE.chm\n";
    return kExitUsage;
  }
  const orvex::DecompileResult result = orvex::DecompileChm(args.at(3), folderArgument(args.at(2)));
  for (const QString& problem : result.problems) err << problem << '\n';
  err.flush();
  if (!result.opened) return kExitUnreadable;
  return result.problems.isEmpty() ? 0 : kExitPartial;
}
