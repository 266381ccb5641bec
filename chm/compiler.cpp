#include "chm/compiler.h"

#include "chm/ansi_text.h"
#include "chm/chmcmd_project.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTemporaryFile>

namespace orvex {
namespace {

constexpr int kStartTimeoutMs = 30 * 1000;
constexpr int kKillTimeoutMs = 5 * 1000;

QString projectFolderOf(const QString& projectPath) { return QFileInfo(projectPath).absolutePath(); }

QString resolvedAgainst(const QString& folder, QString value) {
  value.replace(u'\\', u'/');
  return QDir::cleanPath(QDir(folder).filePath(value));
}

QString decodeOutput(const QByteArray& bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString text = utf8(bytes);
  if (utf8.hasError()) text = AnsiToString(bytes);
  return text;
}

// chmcmd's lines as our log keeps them: its banner and blank lines go, the
// names of the generated files become the author's, and undefined anchors
// count as warnings (the compiled file is still good).
QStringList compilerMessages(const QString& output, const QString& tempProject, const QString& tempCompiled,
                             const QString& projectPath, const QString& compiledFile) {
  QStringList messages;
  for (QString line : SplitTextLines(output)) {
    if (line.trimmed().isEmpty() || line.startsWith(QLatin1String("chmcmd, a CHM compiler"))) continue;
    line.replace(tempCompiled, compiledFile);
    line.replace(tempProject, QFileInfo(projectPath).fileName());
    if (line.startsWith(QLatin1String("Error: Anchor ")))
      line = QStringLiteral("Warning: ") + line.mid(7);
    else if (line.startsWith(QLatin1String("This HHP CHM project seems corrupt")))
      line = QStringLiteral("Error: ") + line;
    messages.append(line);
  }
  return messages;
}

bool moveInto(const QString& from, const QString& to, QString* error) {
  const QFileInfo target(to);
  if (!QDir().mkpath(target.absolutePath())) {
    *error = QStringLiteral("Error: cannot create the folder %1").arg(target.absolutePath());
    return false;
  }
  if (target.exists() && !QFile::remove(to)) {
    *error = QStringLiteral("Error: cannot replace %1").arg(to);
    return false;
  }
  if (QFile::rename(from, to) || QFile::copy(from, to)) return true;
  *error = QStringLiteral("Error: cannot write %1").arg(to);
  return false;
}

CompileResult finish(CompileResult result) {
  const QString verdict = (result.success ? QStringLiteral("Compiled file written: ")
                                          : QStringLiteral("Compiled file not written: ")) +
                          QDir::toNativeSeparators(result.compiledFile);
  result.messages.append(verdict);
  if (!result.logFile.isEmpty()) {
    QFile log(result.logFile);
    const QByteArray text = JoinAnsiLines(result.messages);
    const bool written =
        log.open(QIODevice::WriteOnly | QIODevice::Truncate) && log.write(text) == text.size() && log.flush();
    if (!written)
      result.messages.insert(result.messages.size() - 1,
                             QStringLiteral("Error: cannot write the log file %1").arg(result.logFile));
  }
  return result;
}

}  // namespace

QString CompiledFileOf(const QString& projectPath, const QStringList& projectLines) {
  const auto value = HhpOption(projectLines, QStringLiteral("Compiled file"));
  if (value && !value->isEmpty()) return resolvedAgainst(projectFolderOf(projectPath), *value);
  const QFileInfo info(projectPath);
  return QDir(info.absolutePath()).filePath(info.completeBaseName() + QStringLiteral(".chm"));
}

QString CompiledFileOfProject(const QString& projectPath) {
  QFile file(projectPath);
  QStringList lines;
  if (file.open(QIODevice::ReadOnly)) lines = SplitTextLines(AnsiToString(file.readAll()));
  return CompiledFileOf(projectPath, lines);
}

QString LogFileOf(const QString& projectPath, const QStringList& projectLines) {
  const auto value = HhpOption(projectLines, QStringLiteral("Error log file"));
  if (!value || value->isEmpty()) return {};
  return resolvedAgainst(projectFolderOf(projectPath), *value);
}

QStringList CompilerMessageItems(const QByteArray& logText) {
  QStringList items;
  for (const QString& line : SplitTextLines(AnsiToString(logText))) {
    QString item;
    item.reserve(line.size());
    for (QChar c : line) {
      if (c.unicode() < 32)
        item += QLatin1String("  ");
      else
        item += c;
    }
    items.append(item);
  }
  return items;
}

CompileResult CompileProject(const QString& projectPath, const CompileOptions& options) {
  CompileResult result;
  const QString absProject = QFileInfo(projectPath).absoluteFilePath();
  const QString folder = projectFolderOf(absProject);

  QFile projectFile(absProject);
  if (!projectFile.open(QIODevice::ReadOnly)) {
    result.compiledFile = CompiledFileOf(absProject, {});
    result.messages.append(QStringLiteral("Error: cannot open the project file %1").arg(absProject));
    return finish(result);
  }
  const QStringList lines = SplitTextLines(AnsiToString(projectFile.readAll()));
  projectFile.close();
  result.compiledFile = CompiledFileOf(absProject, lines);
  result.logFile = LogFileOf(absProject, lines);

  const QString chmcmd = options.chmcmdPath.isEmpty()
                             ? QStandardPaths::findExecutable(QStringLiteral("chmcmd"))
                             : options.chmcmdPath;
  const QFileInfo chmcmdInfo(chmcmd);
  if (chmcmd.isEmpty() || !chmcmdInfo.isFile() || !chmcmdInfo.isExecutable()) {
    result.messages.append(QStringLiteral(
        "Error: the compiler chmcmd was not found; install it (Debian package fp-utils) to compile."));
    return finish(result);
  }

  // chmcmd reads the pages and writes its result relative to its working
  // folder, so the generated files live in the project folder for the run.
  QTemporaryDir outDir(folder + QStringLiteral("/.hhc-XXXXXX"));
  QTemporaryFile tempProject(folder + QStringLiteral("/.hhc-XXXXXX.hhp"));
  if (!outDir.isValid() || !tempProject.open()) {
    result.messages.append(QStringLiteral("Error: cannot create temporary files in %1").arg(folder));
    return finish(result);
  }
  const QString tempCompiled = QDir(folder).relativeFilePath(outDir.filePath(QStringLiteral("compiled.chm")));
  const ChmcmdProject copy = BuildChmcmdProject(folder, lines, tempCompiled);
  result.messages += copy.warnings;
  tempProject.write(JoinAnsiLines(copy.lines));
  tempProject.close();
  const QString tempProjectName = QFileInfo(tempProject.fileName()).fileName();

  QProcess process;
  process.setProgram(chmcmd);
  process.setArguments({tempProjectName});
  process.setWorkingDirectory(folder);
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start();
  if (!process.waitForStarted(kStartTimeoutMs)) {
    result.messages.append(
        QStringLiteral("Error: chmcmd could not be started: %1").arg(process.errorString()));
    return finish(result);
  }
  QByteArray output;
  const QDeadlineTimer deadline(options.timeoutMs);
  bool timedOut = false;
  while (process.state() != QProcess::NotRunning) {
    if (deadline.hasExpired()) {
      timedOut = true;
      process.kill();
      process.waitForFinished(kKillTimeoutMs);
      break;
    }
    process.waitForFinished(static_cast<int>(qMin<qint64>(deadline.remainingTime(), 1000)));
    output += process.readAll();
  }
  output += process.readAll();

  result.messages += compilerMessages(decodeOutput(output), tempProjectName, tempCompiled, absProject,
                                      QDir::toNativeSeparators(result.compiledFile));
  if (timedOut) {
    result.messages.append(QStringLiteral("Error: chmcmd did not finish within %1 seconds and was stopped")
                               .arg(options.timeoutMs / 1000));
    return finish(result);
  }
  if (process.exitStatus() != QProcess::NormalExit) {
    result.messages.append(QStringLiteral("Error: chmcmd stopped abnormally"));
    return finish(result);
  }
  const QFileInfo written(outDir.filePath(QStringLiteral("compiled.chm")));
  if (!written.isFile() || written.size() == 0) {
    if (process.exitCode() != 0)
      result.messages.append(QStringLiteral("Error: chmcmd ended with exit code %1").arg(process.exitCode()));
    return finish(result);
  }
  QString error;
  if (!moveInto(written.absoluteFilePath(), result.compiledFile, &error)) {
    result.messages.append(error);
    return finish(result);
  }
  result.success = true;
  return finish(result);
}

}  // namespace orvex
