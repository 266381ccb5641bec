#include "chm/decompile_command.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <functional>

#include "chm/decompile_output.h"
#include "chm/decompiler.h"

namespace {

constexpr QLatin1String kMaxOutputOption("--max-output=");
constexpr QLatin1String kMaxTimeOption("--max-time=");
constexpr QLatin1String kOverwriteOption("--overwrite");
constexpr QLatin1String kProgressOption("--progress");
constexpr char kProgressPrefix[] = "Progress: ";

// Prints a progress line whenever another hundredth is done, and at the end.
std::function<void(qsizetype, qsizetype)> ProgressPrinter() {
  return [shown = qsizetype(-1)](qsizetype done, qsizetype total) mutable {
    const qsizetype hundredths = done * 100 / qMax<qsizetype>(total, 1);
    if (hundredths == shown && done != total) return;
    shown = hundredths;
    const QByteArray line = DecompileProgressLine(done, total);
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
  };
}

}  // namespace

bool IsRefusedDestination(const QString& folder) {
  if (folder.trimmed().isEmpty()) return true;
  return orvex::IsSystemFolder(orvex::ResolvedFolder(folder));
}

int RunDecompile(const QString& file, const QString& folder, const QStringList& options, QTextStream& err) {
  orvex::DecompileOptions decompileOptions;
  for (const QString& option : options) {
    if (option == kOverwriteOption) {
      decompileOptions.overwrite = true;
      continue;
    }
    if (option == kProgressOption) {
      decompileOptions.progress = ProgressPrinter();
      continue;
    }
    if (option.startsWith(kMaxTimeOption)) {
      bool ok = false;
      const quint64 seconds = option.mid(kMaxTimeOption.size()).toULongLong(&ok);
      decompileOptions.timeLimit = std::chrono::seconds(qMin<quint64>(seconds, 1000000000));
      if (ok && seconds != 0) continue;
    }
    const auto size = option.startsWith(kMaxOutputOption)
                          ? orvex::ParseByteSize(option.mid(kMaxOutputOption.size()))
                          : std::nullopt;
    if (!size || *size == 0) {
      err << "Unknown option: " << orvex::PrintableName(option)
          << " (expected --max-output=SIZE, e.g. 2G, --max-time=SECONDS, --overwrite or --progress)\n";
      return kDecompileUsage;
    }
    decompileOptions.outputLimit = *size;
  }
  if (!QFileInfo(file).isFile()) {
    err << "File not found: " << orvex::PrintableName(QDir::toNativeSeparators(file)) << '\n';
    return kDecompileUnreadable;
  }
  if (IsRefusedDestination(folder)) {
    err << "Refused destination folder: " << orvex::PrintableName(QDir::toNativeSeparators(folder))
        << " (the root or a system folder: " << orvex::ResolvedFolder(folder) << ")\n";
    return kDecompileUsage;
  }
  const orvex::DecompileResult result = orvex::DecompileChm(file, QDir::cleanPath(folder), decompileOptions);
  for (const QString& note : result.notes) err << note << '\n';
  for (const QString& problem : result.problems) err << problem << '\n';
  err.flush();
  if (!result.opened) return kDecompileUnreadable;
  if (result.stopped) return kDecompileStopped;
  return result.problems.isEmpty() ? kDecompileDone : kDecompilePartial;
}

QByteArray DecompileProgressLine(qsizetype done, qsizetype total) {
  return kProgressPrefix + QByteArray::number(done) + '/' + QByteArray::number(total) + '\n';
}

bool ReadDecompileProgress(const QByteArray& line, qsizetype* done, qsizetype* total) {
  const QByteArray text = line.trimmed();
  if (!text.startsWith(kProgressPrefix)) return false;
  const QByteArray counts = text.sliced(qstrlen(kProgressPrefix));
  const qsizetype slash = counts.indexOf('/');
  if (slash < 0) return false;
  bool doneOk = false;
  bool totalOk = false;
  const qlonglong d = counts.first(slash).toLongLong(&doneOk);
  const qlonglong t = counts.sliced(slash + 1).toLongLong(&totalOk);
  if (!doneOk || !totalOk || d < 0 || t < d) return false;
  *done = qsizetype(d);
  *total = qsizetype(t);
  return true;
}

int RunDecompileCommand(const QStringList& arguments, QTextStream& err) {
  QStringList names;
  QStringList options;
  for (const QString& argument : arguments)
    (argument.startsWith(QLatin1String("--")) ? options : names) << argument;
  if (names.size() != 2) {
    err << "Usage: orvex --decompile FILE.chm FOLDER [--max-output=SIZE] [--max-time=SECONDS] "
           "[--overwrite] [--progress]\n";
    return kDecompileUsage;
  }
  return RunDecompile(names.at(0), names.at(1), options, err);
}
