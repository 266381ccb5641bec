// hh -decompile FOLDER FILE.chm: writes the sources of a compiled help file
// into FOLDER, with a project file for them.

#include "chm/decompile_command.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString FolderArgument(QString folder) {
  // Callers write the folder with a closing separator ("C:\Out\ file.chm").
  while (folder.size() > 1 && (folder.endsWith(u'\\') || folder.endsWith(u'/'))) folder.chop(1);
  return folder;
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments().mid(1);
  QStringList options;
  for (qsizetype i = args.size() - 1; i >= 0; --i)
    if (args[i].startsWith(QLatin1String("--"))) options.prepend(args.takeAt(i));
  QTextStream err(stderr);
  if (args.size() != 3 || args.at(0).compare(QLatin1String("-decompile"), Qt::CaseInsensitive) != 0) {
    err << "Usage: hh -decompile FOLDER FILE.chm [--max-output=SIZE] [--max-time=SECONDS] [--overwrite] "
           "[--progress]\n";
    return kDecompileUsage;
  }
  return RunDecompile(args.at(2), FolderArgument(args.at(1)), options, err);
}
