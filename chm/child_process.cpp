#include "chm/child_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

QString FindTool(const QString& name, const QString& appDir) {
  if (name.isEmpty()) return {};
  if (!appDir.isEmpty()) {
    const QFileInfo beside(QDir(appDir).filePath(name));
    if (beside.isFile() && beside.isExecutable()) return beside.absoluteFilePath();
  }
  return QStandardPaths::findExecutable(name);
}

QString CompilerProgram(const QString& workshopDir, const QString& appDir) {
  if (!workshopDir.isEmpty()) return QDir(workshopDir).filePath(QStringLiteral("hhc"));
  return FindTool(QStringLiteral("hhc"), appDir);
}

ChildRun RunChildProcess(const QString& program, const QStringList& arguments, bool keepOutput,
                         const std::function<void(const QByteArray& line)>& onLine) {
  ChildRun run;
  if (program.isEmpty() || !QCoreApplication::instance()) return run;

  auto process = std::make_unique<QProcess>();
  process->setProgram(program);
  process->setArguments(arguments);
  // The tools' console output goes where ours goes, unless it is kept.
  process->setProcessChannelMode(keepOutput ? QProcess::MergedChannels : QProcess::ForwardedChannels);

  QEventLoop loop;
  // Our own ends of the wait leave the loop with this code; anything else
  // that ends it is the application being told to exit.
  constexpr int kOwnExit = 0x7fff1234;
  bool ownExit = false;
  bool failedToStart = false;
  QObject::connect(process.get(), &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    failedToStart = true;
    ownExit = true;
    loop.exit(kOwnExit);
  });
  // What was read so far, and where its unfinished last line starts.
  QByteArray output;
  qsizetype lineStart = 0;
  const auto readOutput = [&] {
    output += process->readAll();
    for (qsizetype end; (end = output.indexOf('\n', lineStart)) >= 0; lineStart = end + 1)
      onLine(output.sliced(lineStart, end - lineStart + 1));
  };
  if (keepOutput && onLine) QObject::connect(process.get(), &QProcess::readyRead, &loop, readOutput);
  QObject::connect(process.get(), &QProcess::finished, &loop, [&](int, QProcess::ExitStatus) {
    ownExit = true;
    loop.exit(kOwnExit);
  });

  process->start();
  // A program that cannot be found fails inside start(), before the loop runs.
  const int code = ownExit ? kOwnExit : loop.exec();
  if (!ownExit) {
    // The program is ending: leave the child to finish its work on its own.
    // Destroying the QProcess would kill it, so it is let go instead.
    run.started = !failedToStart;
    run.quitRequested = true;
    run.quitCode = code;
    process->disconnect();
    process.release()->setParent(nullptr);
    return run;
  }
  if (failedToStart) {
    qWarning("Orvex: cannot start %s", qPrintable(QDir::toNativeSeparators(program)));
    return run;
  }
  run.started = true;
  if (keepOutput && onLine) {
    readOutput();
    if (lineStart < output.size()) onLine(output.sliced(lineStart));
    run.output = output;
  } else if (keepOutput) {
    run.output = process->readAll();
  }
  run.exitCode = process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
  return run;
}
