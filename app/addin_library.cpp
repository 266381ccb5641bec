#include "app/addin_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <cstring>
#include <dlfcn.h>

#include "app/orvex_addin.h"

namespace {

// A loaded library, unloaded when it goes out of scope.
class Library {
 public:
  explicit Library(const QString& path)
      : handle(dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL)) {}
  ~Library() {
    if (handle) dlclose(handle);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  bool Loaded() const { return handle != nullptr; }
  void* Symbol(const char* name) const { return handle ? dlsym(handle, name) : nullptr; }

 private:
  void* handle;
};

QString BufferText(const char* buffer) {
  return QString::fromUtf8(buffer, static_cast<qsizetype>(strnlen(buffer, ORVEX_ADDIN_TEXT_SIZE)));
}

struct ProbeRun {
  bool finished = false;  // ended by itself, without crashing
  int exitCode = -1;
  QByteArray output;
};

// Runs the helper and collects its output; kills it at the deadline. Paint
// and timer events go on meanwhile, user input waits.
ProbeRun RunProbe(const QString& probe, const QStringList& arguments, int timeoutMs,
                  const QString& folder = QString()) {
  ProbeRun run;
  QProcess process;
  if (!folder.isEmpty()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral(ORVEX_ADDIN_FOLDER_VARIABLE), folder);
    process.setProcessEnvironment(environment);
  }
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.setStandardInputFile(QProcess::nullDevice());
  process.start(probe, arguments);
  if (!process.waitForStarted(5000)) return run;
  QElapsedTimer clock;
  clock.start();
  bool ended = false;
  while (!(ended = process.waitForFinished(50))) {
    if (process.state() == QProcess::NotRunning) {
      ended = true;
      break;
    }
    run.output += process.readAllStandardOutput();
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    if (clock.elapsed() > timeoutMs) break;
  }
  if (!ended) {
    process.kill();
    process.waitForFinished(2000);
  }
  run.output += process.readAllStandardOutput();
  run.finished = ended && process.exitStatus() == QProcess::NormalExit;
  run.exitCode = run.finished ? process.exitCode() : -1;
  return run;
}

}  // namespace

QStringList AddinCandidates(const QString& folder) {
  QStringList paths;
  if (folder.isEmpty()) return paths;
  QDir dir(folder);
  const QFileInfoList found =
      dir.entryInfoList({QStringLiteral("*.so")}, QDir::Files | QDir::Hidden, QDir::Name);
  for (const QFileInfo& info : found) paths.append(info.absoluteFilePath());
  return paths;
}

AddinNameResult CallAddinName(const QString& path) {
  AddinNameResult result;
  Library library(path);
  if (!library.Loaded()) return result;
  auto name = reinterpret_cast<OrvexAddinNameProc>(library.Symbol("Name"));
  if (!name) {
    result.status = AddinStatus::NotAnAddin;
    return result;
  }
  char caption[ORVEX_ADDIN_TEXT_SIZE] = {};
  name(caption);
  result.status = AddinStatus::Ok;
  result.caption = BufferText(caption);
  return result;
}

AddinNameResult CallAddinFolderPrompt(const QString& path) {
  AddinNameResult result;
  Library library(path);
  if (!library.Loaded()) return result;
  result.status = AddinStatus::Ok;
  // Optional: an add-in without it reads no folder.
  auto prompt = reinterpret_cast<OrvexAddinFolderPromptProc>(library.Symbol("FolderPrompt"));
  if (!prompt) return result;
  char caption[ORVEX_ADDIN_TEXT_SIZE] = {};
  prompt(caption);
  result.caption = BufferText(caption);
  return result;
}

AddinStatus CallAddinTopics(const QString& path, const std::function<bool(const AddinTopic&)>& take) {
  Library library(path);
  if (!library.Loaded()) return AddinStatus::NotLoadable;
  auto first = reinterpret_cast<OrvexAddinTopicProc>(library.Symbol("FirstTopic"));
  auto next = reinterpret_cast<OrvexAddinTopicProc>(library.Symbol("NextTopic"));
  if (!first || !next) return AddinStatus::NotAnAddin;
  char title[ORVEX_ADDIN_TEXT_SIZE] = {};
  const char* html = nullptr;
  first(title, &html);
  for (int count = 0; count < kAddinMaxTopics; ++count) {
    AddinTopic topic;
    topic.title = BufferText(title);
    if (topic.title.isEmpty()) break;
    if (html) topic.html = QString::fromUtf8(html);
    if (!take(topic)) break;
    next(title, &html);
  }
  return AddinStatus::Ok;
}

QByteArray EncodeAddinTopic(const AddinTopic& topic) {
  QByteArray record = topic.title.toUtf8();
  record.replace('\0', "");
  record.append('\0');
  QByteArray html = topic.html.toUtf8();
  html.replace('\0', "");
  record.append(html);
  record.append('\0');
  return record;
}

QList<AddinTopic> DecodeAddinTopics(const QByteArray& stream) {
  QList<AddinTopic> topics;
  qsizetype pos = 0;
  while (pos < stream.size()) {
    const qsizetype titleEnd = stream.indexOf('\0', pos);
    if (titleEnd < 0) break;
    const qsizetype htmlEnd = stream.indexOf('\0', titleEnd + 1);
    if (htmlEnd < 0) break;
    AddinTopic topic;
    topic.title = QString::fromUtf8(stream.mid(pos, titleEnd - pos));
    topic.html = QString::fromUtf8(stream.mid(titleEnd + 1, htmlEnd - titleEnd - 1));
    topics.append(topic);
    pos = htmlEnd + 1;
  }
  return topics;
}

QString AddinProbeProgram(const QString& programFolder) {
  const QFileInfo probe(QDir(programFolder).filePath(QString::fromLatin1(kAddinProbeName)));
  return probe.isFile() && probe.isExecutable() ? probe.absoluteFilePath() : QString();
}

namespace {

// One text of the library's (its caption or its folder question): through
// the helper's mode, or in process without a helper.
std::optional<QString> ReadAddinText(const QString& probe, const QString& mode, const QString& path,
                                     AddinNameResult (*call)(const QString&), int timeoutMs) {
  if (probe.isEmpty()) {
    const AddinNameResult result = call(path);
    if (result.status != AddinStatus::Ok) return std::nullopt;
    return result.caption;
  }
  const ProbeRun run = RunProbe(probe, {mode, path}, timeoutMs);
  if (!run.finished || run.exitCode != 0) return std::nullopt;
  return QString::fromUtf8(run.output.left(ORVEX_ADDIN_TEXT_SIZE - 1));
}

}  // namespace

std::optional<QString> ReadAddinName(const QString& probe, const QString& path, int timeoutMs) {
  return ReadAddinText(probe, QStringLiteral("name"), path, CallAddinName, timeoutMs);
}

std::optional<QString> ReadAddinFolderPrompt(const QString& probe, const QString& path, int timeoutMs) {
  return ReadAddinText(probe, QStringLiteral("folder"), path, CallAddinFolderPrompt, timeoutMs);
}

std::optional<QList<AddinTopic>> ReadAddinTopics(const QString& probe, const QString& path,
                                                 const QString& folder, int timeoutMs) {
  if (probe.isEmpty()) {
    // Called in process, the folder reaches the library through this
    // program's own environment, for the run only.
    if (!folder.isEmpty()) qputenv(ORVEX_ADDIN_FOLDER_VARIABLE, QFile::encodeName(folder));
    QList<AddinTopic> topics;
    const AddinStatus status = CallAddinTopics(path, [&](const AddinTopic& topic) {
      topics.append(topic);
      return true;
    });
    if (!folder.isEmpty()) qunsetenv(ORVEX_ADDIN_FOLDER_VARIABLE);
    if (status != AddinStatus::Ok) return std::nullopt;
    return topics;
  }
  const ProbeRun run = RunProbe(probe, {QStringLiteral("topics"), path}, timeoutMs, folder);
  // Refused by the helper: not loadable or not an add-in. A crash or the
  // deadline keeps what was handed over before it.
  if (run.finished && run.exitCode != 0) return std::nullopt;
  return DecodeAddinTopics(run.output);
}

int RunAddinProbe(const QStringList& arguments) {
  const QStringList modes = {QStringLiteral("name"), QStringLiteral("folder"), QStringLiteral("topics")};
  if (arguments.size() != 2 || !modes.contains(arguments[0])) {
    std::fputs("usage: orvex-addin-probe name|folder|topics LIBRARY.so\n", stderr);
    return 2;
  }
  const auto code = [](AddinStatus status) {
    return status == AddinStatus::Ok ? 0 : status == AddinStatus::NotAnAddin ? 3 : 4;
  };
  if (arguments[0] != u"topics") {
    const AddinNameResult result =
        arguments[0] == u"name" ? CallAddinName(arguments[1]) : CallAddinFolderPrompt(arguments[1]);
    if (result.status == AddinStatus::Ok) {
      const QByteArray caption = result.caption.toUtf8();
      std::fwrite(caption.constData(), 1, static_cast<size_t>(caption.size()), stdout);
      std::fflush(stdout);
    }
    return code(result.status);
  }
  const AddinStatus status = CallAddinTopics(arguments[1], [](const AddinTopic& topic) {
    const QByteArray record = EncodeAddinTopic(topic);
    // Each topic leaves at once, so a later crash keeps the ones before it.
    return std::fwrite(record.constData(), 1, static_cast<size_t>(record.size()), stdout) ==
               static_cast<size_t>(record.size()) &&
           std::fflush(stdout) == 0;
  });
  return code(status);
}
