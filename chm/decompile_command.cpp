#include "chm/decompile_command.h"

#include <QDir>
#include <QFileInfo>

#include "chm/decompiler.h"

namespace {

constexpr int kDone = 0;
constexpr int kUnreadable = 1;
constexpr int kUsage = 2;
constexpr int kPartial = 3;

}  // namespace

bool IsRefusedDestination(const QString& folder) {
  if (folder.trimmed().isEmpty()) return true;
  const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  return QDir(clean).isRoot();
}

int RunDecompileCommand(const QStringList& arguments, QTextStream& err) {
  if (arguments.size() != 2) {
    err << "Usage: orvex --decompile FILE.chm FOLDER\n";
    return kUsage;
  }
  const QString file = arguments.at(0);
  const QString folder = arguments.at(1);
  if (!QFileInfo(file).isFile()) {
    err << "File not found: " << QDir::toNativeSeparators(file) << '\n';
    return kUnreadable;
  }
  if (IsRefusedDestination(folder)) {
    err << "Refused destination folder: " << QDir::toNativeSeparators(folder) << '\n';
    return kUsage;
  }
  const orvex::DecompileResult result = orvex::DecompileChm(file, QDir::cleanPath(folder));
  for (const QString& problem : result.problems) err << problem << '\n';
  if (!result.opened) {
    err << "Cannot read the compiled help file " << QDir::toNativeSeparators(file) << '\n';
    return kUnreadable;
  }
  return result.problems.isEmpty() ? kDone : kPartial;
}
