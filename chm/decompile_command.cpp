#include "chm/decompile_command.h"

#include <QDir>
#include <QFileInfo>

#include "chm/decompiler.h"

namespace {

constexpr QLatin1String kMaxOutputOption("--max-output=");

}  // namespace

bool IsRefusedDestination(const QString& folder) {
  if (folder.trimmed().isEmpty()) return true;
  const QString clean = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  return QDir(clean).isRoot();
}

int RunDecompile(const QString& file, const QString& folder, const QStringList& options, QTextStream& err) {
  orvex::DecompileOptions decompileOptions;
  for (const QString& option : options) {
    const auto size = option.startsWith(kMaxOutputOption)
                          ? orvex::ParseByteSize(option.mid(kMaxOutputOption.size()))
                          : std::nullopt;
    if (!size || *size == 0) {
      err << "Unknown option: " << orvex::PrintableName(option) << " (expected --max-output=SIZE, e.g. 2G)\n";
      return kDecompileUsage;
    }
    decompileOptions.outputLimit = *size;
  }
  if (!QFileInfo(file).isFile()) {
    err << "File not found: " << orvex::PrintableName(QDir::toNativeSeparators(file)) << '\n';
    return kDecompileUnreadable;
  }
  if (IsRefusedDestination(folder)) {
    err << "Refused destination folder: " << orvex::PrintableName(QDir::toNativeSeparators(folder)) << '\n';
    return kDecompileUsage;
  }
  const orvex::DecompileResult result = orvex::DecompileChm(file, QDir::cleanPath(folder), decompileOptions);
  for (const QString& problem : result.problems) err << problem << '\n';
  err.flush();
  if (!result.opened) return kDecompileUnreadable;
  if (result.stopped) return kDecompileStopped;
  return result.problems.isEmpty() ? kDecompileDone : kDecompilePartial;
}

int RunDecompileCommand(const QStringList& arguments, QTextStream& err) {
  QStringList names;
  QStringList options;
  for (const QString& argument : arguments)
    (argument.startsWith(QLatin1String("--")) ? options : names) << argument;
  if (names.size() != 2) {
    err << "Usage: orvex --decompile FILE.chm FOLDER [--max-output=SIZE]\n";
    return kDecompileUsage;
  }
  return RunDecompile(names.at(0), names.at(1), options, err);
}
