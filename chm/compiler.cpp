#include "chm/compiler.h"

#include "chm/ansi_text.h"
#include "chm/chm_file.h"
#include "chm/chm_writer.h"
#include "chm/help_compiler.h"
#include "platform/replacing_file.h"
#include "platform/codepage.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"
#include "platform/regular_file.h"
#include "formats/context/context_map.h"
#include "formats/project/page_template.h"
#include "formats/project/project_sections.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <algorithm>
#include <atomic>
#include <optional>
#include <thread>
#include <vector>

namespace orvex {
namespace {

QString projectFolderOf(const QString& projectPath) { return QFileInfo(projectPath).absolutePath(); }

QString resolvedAgainst(const QString& folder, QString value) {
  value.replace(u'\\', u'/');
  return QDir::cleanPath(QDir(folder).filePath(value));
}

bool OutsideFolder(const QString& path, const QString& folder) { return !InsideFolder(path, folder); }

// Why an output path (the compiled file or the log) cannot be written;
// empty when it can.
QString OutputProblem(const QString& what, const QString& path, const QString& projectFolder,
                      const QStringList& projectFiles, bool allowOutside) {
  const QString real = ResolvedPath(path);
  for (const QString& file : projectFiles) {
    if (QDir::cleanPath(file).compare(QDir::cleanPath(path), Qt::CaseInsensitive) == 0 ||
        ResolvedPath(file) == real)
      return QStringLiteral("Error: the %1 %2 is a file of the project; it is not overwritten")
          .arg(what, path);
  }
  if (QFileInfo(real).isDir()) return QStringLiteral("Error: the %1 %2 is a folder").arg(what, path);
  if (!allowOutside && OutsideFolder(path, projectFolder))
    return QStringLiteral("Error: the %1 %2 is outside the project folder %3; it is not written")
        .arg(what, path, projectFolder);
  return {};
}

// The files a project names in its own lines: itself, its contents and
// index files, the files of [FILES] and [TEXT POPUPS], and its includes.
QStringList FilesNamedByProject(const QString& projectPath, const QStringList& projectLines) {
  const QString folder = projectFolderOf(projectPath);
  QStringList files{projectPath};
  for (const char* option : {"Contents file", "Index file"}) {
    const auto value = HhpOption(projectLines, QLatin1String(option));
    if (value && !value->trimmed().isEmpty()) files.append(resolvedAgainst(folder, value->trimmed()));
  }
  for (const HhpSection& section : SplitHhpSections(projectLines)) {
    const QString name = HhpSectionName(section.header);
    if (name != QLatin1String("FILES") && name != QLatin1String("TEXT POPUPS")) continue;
    for (const QString& line : section.lines) {
      const QString file = line.trimmed();
      if (!file.isEmpty() && !file.startsWith(u';')) files.append(resolvedAgainst(folder, file));
    }
  }
  const int codePage = EffectiveCodePage(ProjectCodePage(projectLines));
  files += ReadProjectContextMap(folder, projectLines, codePage).includedFiles;
  return files;
}

// Reads every entry back from the written file and compares it with what
// was put in, on `threads` threads, each with the file opened on its own.
Status VerifyCompiledFile(const QString& readablePath, const QString& target, const QList<HelpEntry>& entries,
                          int threads) {
  ChmFile chm;
  if (!chm.open(readablePath))
    return Fail(QStringLiteral("the written file %1 cannot be opened again").arg(target));
  QHash<QByteArray, ChmEntry> stored;
  for (const ChmEntry& e : chm.entries()) stored.insert(e.rawPath, e);
  chm.close();
  const auto check = [&](const ChmFile& file, const HelpEntry& entry) -> Status {
    const auto found = stored.constFind(entry.name);
    if (found == stored.constEnd())
      return Fail(QStringLiteral("the written file %1 lacks %2").arg(target, ChmNameToString(entry.name)));
    if (found->length != static_cast<quint64>(entry.content.size()))
      return Fail(QStringLiteral("the written file %1 gives %2 with another length")
                      .arg(target, ChmNameToString(entry.name)));
    qsizetype at = 0;
    const bool same = entry.content.isEmpty() || file.readInPieces(*found, [&](const QByteArray& piece) {
      if (QByteArrayView(entry.content).sliced(at, piece.size()) != QByteArrayView(piece)) return false;
      at += piece.size();
      return true;
    });
    if (!same || at != entry.content.size())
      return Fail(QStringLiteral("the written file %1 does not give %2 back as it was put in")
                      .arg(target, ChmNameToString(entry.name)));
    return {};
  };
  // Each thread reads a run of entries that lie one after the other in the
  // file (the entries are stored in their order), about as many bytes as
  // the others: no part of the compressed stream is decoded twice.
  const int workers = std::clamp<int>(threads, 1, int(std::max<qsizetype>(1, entries.size())));
  std::vector<qsizetype> firstOf(size_t(workers) + 1, entries.size());
  qint64 total = 0;
  for (const HelpEntry& entry : entries) total += entry.content.size();
  qint64 before = 0;
  int filled = 0;  // the runs whose first entry is known, less one
  firstOf[0] = 0;
  for (qsizetype i = 0; i < entries.size(); ++i) {
    while (filled + 1 < workers && before >= total * (filled + 1) / workers) firstOf[size_t(++filled)] = i;
    before += entries.at(i).content.size();
  }
  std::vector<Status> verdicts(static_cast<size_t>(workers));
  std::atomic<bool> failed{false};
  const auto work = [&](int worker) {
    ChmFile file;
    if (!file.open(readablePath)) {
      verdicts[size_t(worker)] =
          Fail(QStringLiteral("the written file %1 cannot be opened again").arg(target));
      failed = true;
      return;
    }
    for (qsizetype i = firstOf[size_t(worker)]; i < firstOf[size_t(worker) + 1] && !failed; ++i) {
      if (Status ok = check(file, entries.at(i)); !ok) {
        verdicts[size_t(worker)] = ok;
        failed = true;
      }
    }
  };
  std::vector<std::thread> helpers;
  for (int t = 1; t < workers; ++t) helpers.emplace_back(work, t);
  work(0);
  for (std::thread& helper : helpers) helper.join();
  for (const Status& verdict : verdicts)
    if (!verdict) return verdict;
  return {};
}

void AddEntry(ChmWriter& writer, const HelpEntry& entry) {
  // #SYSTEM stays uncompressed, where readers look for the help's settings first.
  writer.AddFile(entry.name, entry.content,
                 entry.name == "/#SYSTEM" ? ChmSection::Uncompressed : ChmSection::Compressed);
}

// Writes the compiled file: the writer holds the entries before `from`
// (the project's files, being compressed already), the rest are added here.
Result<quint64> WriteCompiledFile(const QString& target, const HelpContent& help, ChmWriter& writer,
                                  qsizetype from) {
  if (!QDir().mkpath(QFileInfo(target).absolutePath()))
    return Fail(QStringLiteral("cannot create the folder %1").arg(QFileInfo(target).absolutePath()));
  auto out = ReplacingFile::Create(target);
  if (!out) return Fail(out.Message());
  for (qsizetype i = from; i < help.entries.size(); ++i) AddEntry(writer, help.entries.at(i));
  const auto stats = writer.Write((*out)->Device());
  if (!stats) {
    const QString failure = (*out)->WriteFailure();
    return Fail(failure.isEmpty() ? QStringLiteral("cannot write %1: %2").arg(target, stats.Message())
                                  : failure);
  }
  if (const Status verified =
          VerifyCompiledFile((*out)->ReadablePath(), target, help.entries, writer.Options().threads);
      !verified)
    return Fail(verified.Message());
  if (const Status committed = (*out)->Commit(); !committed) return Fail(committed.Message());
  return stats->fileBytes;
}

Status WriteLog(const QString& path, const QStringList& lines) {
  auto out = ReplacingFile::Create(path);
  if (!out) return Fail(out.Message());
  if (Status written = (*out)->Write(JoinAnsiLines(lines)); !written) return written;
  return (*out)->Commit();
}

CompileResult finish(CompileResult result) {
  // A value read from a file (a sitemap's name, a page's reference) may
  // hold a line break; each message stays one line of the output and log.
  result.messages = OneLineEach(result.messages);
  const QString verdict = (!result.success      ? QStringLiteral("Compiled file not written: ")
                           : result.errors == 0 ? QStringLiteral("Compiled file written: ")
                                                : QStringLiteral("Compiled file written, with errors: ")) +
                          QDir::toNativeSeparators(result.compiledFile);
  result.messages.append(verdict);
  if (!result.logFile.isEmpty()) {
    if (const Status written = WriteLog(result.logFile, result.messages); !written)
      result.messages.insert(result.messages.size() - 1,
                             QStringLiteral("Error: cannot write the log file: %1").arg(written.Message()));
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
  const Result<QByteArray> bytes = ReadRegularFile(projectPath, kMaxProjectFileBytes);
  return CompiledFileOf(projectPath, bytes ? SplitTextLines(AnsiToString(*bytes)) : QStringList());
}

QString LogFileOf(const QString& projectPath, const QStringList& projectLines) {
  const auto value = HhpOption(projectLines, QStringLiteral("Error log file"));
  if (!value || value->isEmpty()) return {};
  return resolvedAgainst(projectFolderOf(projectPath), *value);
}

OutputPathCheck CheckOutputPaths(const QString& projectPath, const QStringList& projectLines) {
  const QString absProject = QFileInfo(projectPath).absoluteFilePath();
  const QString folder = projectFolderOf(absProject);
  const QString compiled = CompiledFileOf(absProject, projectLines);
  const QString log = LogFileOf(absProject, projectLines);
  const QStringList projectFiles = FilesNamedByProject(absProject, projectLines);
  OutputPathCheck check;
  const auto checkOne = [&](const QString& what, const QString& path, const QStringList& taken) {
    const QString problem = OutputProblem(what, path, folder, taken, true);
    if (!problem.isEmpty())
      check.refused.append(problem);
    else if (OutsideFolder(path, folder))
      check.outside.append(path);
  };
  checkOne(QStringLiteral("compiled file"), compiled, projectFiles);
  if (!log.isEmpty()) checkOne(QStringLiteral("log file"), log, projectFiles + QStringList{compiled});
  return check;
}

QByteArray CompileResultRecord(const CompileResult& result) {
  QJsonObject record;
  record.insert(QStringLiteral("success"), result.success);
  record.insert(QStringLiteral("compiledFile"), result.compiledFile);
  record.insert(QStringLiteral("logFile"), result.logFile);
  record.insert(QStringLiteral("errors"), result.errors);
  record.insert(QStringLiteral("warnings"), result.warnings);
  record.insert(QStringLiteral("files"), result.files);
  record.insert(QStringLiteral("topics"), result.topics);
  record.insert(QStringLiteral("compressedBytes"), QString::number(result.compressedBytes));
  record.insert(QStringLiteral("messages"), QJsonArray::fromStringList(result.messages));
  return QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
}

std::optional<CompileResult> ReadCompileResultRecord(const QByteArray& record) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(record, &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  const QJsonObject o = document.object();
  if (!o.value(QStringLiteral("success")).isBool() || !o.value(QStringLiteral("errors")).isDouble())
    return std::nullopt;
  CompileResult result;
  result.success = o.value(QStringLiteral("success")).toBool();
  result.compiledFile = o.value(QStringLiteral("compiledFile")).toString();
  result.logFile = o.value(QStringLiteral("logFile")).toString();
  result.errors = o.value(QStringLiteral("errors")).toInt();
  result.warnings = o.value(QStringLiteral("warnings")).toInt();
  result.files = o.value(QStringLiteral("files")).toInt();
  result.topics = o.value(QStringLiteral("topics")).toInt();
  result.compressedBytes = o.value(QStringLiteral("compressedBytes")).toString().toULongLong();
  for (const QJsonValue& line : o.value(QStringLiteral("messages")).toArray())
    result.messages.append(line.toString());
  return result;
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
  QElapsedTimer timer;
  timer.start();
  CompileResult result;
  const QString absProject = QFileInfo(projectPath).absoluteFilePath();
  const QString folder = projectFolderOf(absProject);
  // The project's files are compressed as they are read, and while the
  // help's own structures (the full-text index above all) are made: one
  // thread of its own compresses in the background beside the threads that
  // read and make them, then all of them compress what is left.
  std::optional<ChmWriter> writer;
  qsizetype written = 0;
  HelpReadOptions readOptions;
  const int threads =
      options.threads > 0 ? options.threads : int(std::max(1u, std::thread::hardware_concurrency()));
  readOptions.threads = threads;
  readOptions.reading = [&](quint32 lcid) {
    ChmWriterOptions writerOptions;
    writerOptions.lcid = lcid;
    writerOptions.threads = threads;
    writer.emplace(writerOptions);
    writer->StartCompressing(threads > 1 ? 1 : 0);
  };
  readOptions.fileRead = [&](const HelpEntry& entry) {
    AddEntry(*writer, entry);
    ++written;
  };
  auto read = ReadHelpProject(absProject, readOptions);
  if (!read) {
    result.compiledFile = CompiledFileOf(absProject, {});
    result.messages.append(QStringLiteral("Error: ") + read.Message());
    return finish(result);
  }
  HelpContent help = std::move(*read);
  result.compiledFile = help.compiledFile;
  result.messages = help.messages;
  result.errors = help.errors;
  result.warnings = help.warnings;

  // An output path the project may not use stops the compile: nothing is
  // written there, and the compiled file is not written either.
  QStringList refused;
  const QString compiledProblem = OutputProblem(QStringLiteral("compiled file"), help.compiledFile, folder,
                                                help.projectFiles, options.allowOutsideOutput);
  if (!compiledProblem.isEmpty()) refused.append(compiledProblem);
  if (!help.logFile.isEmpty()) {
    const QString logProblem =
        OutputProblem(QStringLiteral("log file"), help.logFile, folder,
                      help.projectFiles + QStringList{help.compiledFile}, options.allowOutsideOutput);
    if (logProblem.isEmpty())
      result.logFile = help.logFile;
    else
      refused.append(logProblem);
  }
  if (!refused.isEmpty()) {
    result.messages += refused;
    result.errors += static_cast<int>(refused.size());
    return finish(result);
  }

  if (!writer) {
    ChmWriterOptions writerOptions;
    writerOptions.lcid = help.lcid;
    writerOptions.threads = threads;
    writer.emplace(writerOptions);
  }
  const auto fileBytes = WriteCompiledFile(help.compiledFile, help, *writer, written);
  if (!fileBytes) {
    result.messages.append(QStringLiteral("Error: ") + fileBytes.Message());
    ++result.errors;
  } else {
    result.success = true;
    result.compressedBytes = *fileBytes;
  }
  result.files = help.files;
  result.topics = help.topics;
  const QLocale c = QLocale::c();
  result.messages.append(
      QStringLiteral("%1 files, %2 topics, %3 contents items, %4 index entries; compiled size %5 bytes; "
                     "%6 s; errors: %7, warnings: %8")
          .arg(help.files)
          .arg(help.topics)
          .arg(help.contentsItems)
          .arg(help.indexEntries)
          .arg(result.compressedBytes)
          .arg(c.toString(timer.elapsed() / 1000.0, 'f', 2))
          .arg(result.errors)
          .arg(result.warnings));
  return finish(result);
}

}  // namespace orvex
