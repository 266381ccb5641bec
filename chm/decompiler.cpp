#include "chm/decompiler.h"

#include "platform/codepage.h"
#include "platform/text_file.h"
#include "chm/decompile_output.h"
#include "chm/decompiled_project.h"
#include "chm/binary_index_reader.h"
#include "chm/windows_reader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QStorageInfo>

#include <algorithm>
#include <tuple>

namespace orvex {
namespace {

constexpr int kMaxNameLength = 1024;
// No help source comes near this; a larger entry is a damaged or hostile file.
constexpr quint64 kMaxEntryLength = quint64(1) << 30;
// The compiled file's own structures read whole.
constexpr qint64 kMaxStructureLength = 64 * 1024 * 1024;
const QByteArray kEmptyIndex =
    "<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n<HTML>\r\n<HEAD>\r\n<!-- Sitemap 1.0 "
    "-->\r\n</HEAD><BODY>\r\n"
    "<UL>\r\n</UL>\r\n</BODY></HTML>\r\n";

// What the project file is made of, before the files are written: the
// source names stand for the files.
DecompiledProject ProjectOf(const ChmFile& chm, const QString& chmName, const QList<ChmEntry>& entries) {
  DecompiledProject project;
  project.system = chm.systemInfo();
  project.chmFileName = chmName;
  for (const ChmEntry& entry : entries) {
    const QString name = IsSourceEntry(entry) ? SafeEntryName(entry.path) : QString();
    if (!name.isEmpty()) project.files.append(name);
  }
  const QByteArray strings =
      chm.read(QStringLiteral("/#STRINGS"), kMaxStructureLength).value_or(QByteArray());
  project.windows =
      ParseWindowsFile(chm.read(QStringLiteral("/#WINDOWS"), kMaxStructureLength).value_or(QByteArray()),
                       strings, project.system.codePage);
  return project;
}

QList<ChmIndexKeyword> BinaryIndexOf(const ChmFile& chm, int codePage) {
  const auto btree = chm.read(QStringLiteral("/$WWKeywordLinks/BTree"), kMaxStructureLength);
  if (!btree) return {};
  const auto structure = [&chm](const char* name) {
    return chm.read(QLatin1String(name), kMaxStructureLength).value_or(QByteArray());
  };
  return ReadBinaryIndex(*btree, {structure("/#TOPICS"), structure("/#URLTBL"), structure("/#URLSTR")},
                         codePage);
}

}  // namespace

bool IsSourceEntry(const ChmEntry& entry) {
  if (!entry.isFile || !entry.isNormal || !entry.path.startsWith(u'/')) return false;
  const QString first = entry.path.mid(1).section(u'/', 0, 0);
  if (first.startsWith(u'#') || first.startsWith(u'$')) return false;
  return entry.path != QLatin1String("/_#_README_#_");
}

quint64 DefaultOutputLimit(quint64 chmSize, quint64 freeBytes) {
  constexpr quint64 kFactor = 200;
  const quint64 scaled = chmSize > UINT64_MAX / kFactor ? UINT64_MAX : chmSize * kFactor;
  return qMin(scaled, freeBytes);
}

std::optional<quint64> ParseByteSize(const QString& text) {
  QString digits = text.trimmed();
  int shift = 0;
  if (digits.endsWith(u'K', Qt::CaseInsensitive)) shift = 10;
  if (digits.endsWith(u'M', Qt::CaseInsensitive)) shift = 20;
  if (digits.endsWith(u'G', Qt::CaseInsensitive)) shift = 30;
  if (shift != 0) digits.chop(1);
  bool ok = false;
  const quint64 value = digits.toULongLong(&ok);
  if (!ok || digits.isEmpty() || !digits.front().isDigit() || value > (UINT64_MAX >> shift))
    return std::nullopt;
  return value << shift;
}

QString PrintableName(const QString& name) {
  QString out;
  out.reserve(name.size());
  for (const QChar c : name) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7f || (u >= 0x80 && u < 0xa0))
      out += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
    else
      out += c;
  }
  return out;
}

QString SafeEntryName(const QString& entryPath) {
  if (!entryPath.startsWith(u'/') || entryPath.size() > kMaxNameLength) return {};
  QString name = entryPath.mid(1);
  name.replace(u'\\', u'/');
  const QStringList parts = name.split(u'/');
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part.isEmpty() || part == u'.' || part == QLatin1String("..")) return {};
    for (QChar c : part) {
      if (c.unicode() < 32 || c.unicode() == 127) return {};
    }
    if (i == 0 && part.size() == 2 && part[1] == u':') return {};  // a drive letter
  }
  return parts.join(u'/');
}

namespace {

// One run of decompiling: the sources written into the output, then the
// project file and what goes with it.
class Decompilation {
 public:
  Decompilation(const ChmFile& chmFile, DecompileOutput& decompileOutput, DecompiledProject decompiled,
                qint64 limitMs, DecompileResult& decompileResult)
      : chm(chmFile),
        output(decompileOutput),
        project(std::move(decompiled)),
        timeLimitMs(limitMs),
        result(decompileResult),
        base(QFileInfo(project.chmFileName).completeBaseName()),
        indexFile(SitemapFileOf(project, QStringLiteral(".hhk"))),
        keywords(BinaryIndexOf(chmFile, project.system.codePage)),
        codePage(project.system.codePage > 0 ? project.system.codePage : 1252),
        tooLong(
            QStringLiteral("decompiling took more than %1 s, the limit (raise it with --max-time=SECONDS)")
                .arg(double(limitMs) / 1000)) {
    clock.start();
  }

  // Every source entry, in the order of the content, not of the names: each
  // compressed stretch is then decoded once, however the directory orders
  // its entries. False when a limit stopped it.
  bool ExtractSources(QList<ChmEntry> entries, const std::function<void(qsizetype, qsizetype)>& progress) {
    entries.removeIf([](const ChmEntry& entry) { return !IsSourceEntry(entry); });
    std::stable_sort(entries.begin(), entries.end(), [](const ChmEntry& a, const ChmEntry& b) {
      return std::tie(a.space, a.start) < std::tie(b.space, b.start);
    });
    for (qsizetype i = 0; i < entries.size(); ++i) {
      if (!Extract(entries[i])) break;
      if (progress) progress(i + 1, entries.size());
    }
    std::stable_sort(result.written.begin(), result.written.end(), [](const QString& a, const QString& b) {
      return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return !result.stopped;
  }

  void WriteProject() {
    const QString projectName = base + QStringLiteral(".hhp");
    if (taken.contains(projectName.toCaseFolded())) {
      result.problems.append(
          QStringLiteral("The compiled file holds %1 itself; it was kept").arg(projectName));
      return;
    }
    project.files = result.written;
    WriteKeywordsOnly();
    WriteContextMap();
    const Status written = WriteLines(projectName, DecompiledProjectLines(project));
    if (written)
      result.projectFile = output.Root() + u'/' + projectName;
    else
      result.problems.append(QStringLiteral("The project file was not written: %1").arg(written.Message()));
  }

 private:
  // False when a limit stops decompiling here.
  bool Extract(const ChmEntry& entry) {
    const QString shown = PrintableName(entry.path);
    const QString name = SafeEntryName(entry.path);
    if (name.isEmpty()) {
      result.problems.append(QStringLiteral("Skipped %1: the name would leave the folder").arg(shown));
      return true;
    }
    const QString folded = name.toCaseFolded();
    if (const auto first = taken.constFind(folded); first != taken.constEnd()) {
      result.problems.append(
          QStringLiteral("Skipped %1: the compiled file holds another entry of that name (%2)")
              .arg(shown, PrintableName(*first)));
      return true;
    }
    taken.insert(folded, entry.path);
    if (entry.length > kMaxEntryLength) {
      result.problems.append(QStringLiteral("Skipped %1: it claims %2 bytes").arg(shown).arg(entry.length));
      return true;
    }
    if (clock.elapsed() > timeLimitMs) return StopAt(shown, tooLong);
    if (!output.Fits(name, entry.length))
      return StopAt(shown,
                    QStringLiteral("the sources would take more than %1 bytes on disk, the limit for this "
                                   "file (raise it with --max-output=SIZE)")
                        .arg(output.Limit()));
    bool outOfTime = false;
    const bool mergeKeywords = !keywords.isEmpty() && name.compare(indexFile, Qt::CaseInsensitive) == 0;
    const Status written = output.Write(name, entry.length, [&](const PieceSink& sink) -> Status {
      if (mergeKeywords) {
        const auto text = chm.read(entry.path, kMaxStructureLength);
        if (!text) return Fail(QStringLiteral("the entry cannot be read"));
        sink(WithKeywords(*text));
        return {};
      }
      const bool read = chm.readInPieces(entry, [&](const QByteArray& piece) {
        outOfTime = clock.elapsed() > timeLimitMs;
        return !outOfTime && sink(piece);
      });
      if (outOfTime) return Fail(tooLong);
      if (!read) return Fail(QStringLiteral("the entry cannot be read"));
      return {};
    });
    if (outOfTime) return StopAt(shown, tooLong);
    if (!written) {
      result.problems.append(QStringLiteral("Skipped %1: %2").arg(shown, written.Message()));
      return true;
    }
    result.written.append(name);
    return true;
  }

  bool StopAt(const QString& shown, const QString& why) {
    result.stopped = true;
    result.problems.append(QStringLiteral("Stopped before %1: %2").arg(shown, why));
    return false;
  }

  // The index file's bytes with the keywords only the binary index holds.
  QByteArray WithKeywords(const QByteArray& stored) {
    int added = 0;
    const QString text = WithMissingKeywords(DecodeCodePage(stored, codePage), keywords, &added);
    if (added == 0) return stored;
    result.notes.append(
        QStringLiteral("%1 keywords found only in the binary index were added to the index file").arg(added));
    return EncodeCodePage(text, codePage);
  }

  // The binary index's keywords when the compiled file holds no index file.
  void WriteKeywordsOnly() {
    if (keywords.isEmpty() || project.files.contains(indexFile, Qt::CaseInsensitive)) return;
    const QString name = indexFile.isEmpty() ? base + QStringLiteral(".hhk") : indexFile;
    const Status written = taken.contains(name.toCaseFolded())
                               ? Status(Fail(QStringLiteral("the compiled file holds %1 itself").arg(name)))
                               : WriteText(name, WithKeywords(kEmptyIndex));
    if (written)
      project.files.append(name);
    else
      result.problems.append(
          QStringLiteral("The binary index's keywords were not written: %1").arg(written.Message()));
  }

  void WriteContextMap() {
    const ContextMapFiles contextMap = ContextMapFilesOf(chm.contextMap());
    if (contextMap.aliasLines.isEmpty()) return;
    const QString aliasFile = base + QStringLiteral(".ali");
    const QString mapFile = base + QStringLiteral(".h");
    Status written;
    if (taken.contains(aliasFile.toCaseFolded()) || taken.contains(mapFile.toCaseFolded()))
      written = Fail(QStringLiteral("the compiled file holds %1 or %2 itself").arg(aliasFile, mapFile));
    if (written) written = WriteLines(aliasFile, contextMap.aliasLines);
    if (written) written = WriteLines(mapFile, contextMap.mapLines);
    if (written) {
      project.aliasFile = aliasFile;
      project.mapFile = mapFile;
    } else {
      result.problems.append(QStringLiteral("The context map was not written: %1").arg(written.Message()));
    }
  }

  Status WriteText(const QString& name, const QByteArray& text) {
    return output.Write(name, quint64(text.size()), [&text](const PieceSink& sink) -> Status {
      sink(text);
      return {};
    });
  }

  Status WriteLines(const QString& name, const QStringList& lines) {
    return WriteText(name, EncodeCodePage(JoinLines(lines), codePage));
  }

  const ChmFile& chm;
  DecompileOutput& output;
  DecompiledProject project;
  qint64 timeLimitMs;
  DecompileResult& result;
  const QString base;  // the compiled file's name without its extension
  const QString indexFile;
  const QList<ChmIndexKeyword> keywords;  // of the binary index
  const int codePage;                     // of the project's text files
  const QString tooLong;
  QElapsedTimer clock;
  QHash<QString, QString> taken;  // folded name -> the entry written under it
};

}  // namespace

DecompileResult DecompileChm(const QString& chmPath, const QString& folder, const DecompileOptions& options) {
  DecompileResult result;
  ChmFile chm;
  if (const Status opened = chm.open(chmPath); !opened) {
    result.problems.append(opened.Message());
    return result;
  }
  result.opened = true;
  const QString resolved = ResolvedFolder(folder);
  if (IsSystemFolder(resolved)) {
    result.problems.append(QStringLiteral("Refused destination folder: %1 (it is %2)")
                               .arg(PrintableName(QDir::toNativeSeparators(folder)), resolved));
    return result;
  }
  if (!QDir().mkpath(resolved)) {
    result.problems.append(QStringLiteral("Cannot create the folder %1").arg(resolved));
    return result;
  }
  const QString root = QFileInfo(resolved).canonicalFilePath();
  const quint64 limit = options.outputLimit != 0
                            ? options.outputLimit
                            : DefaultOutputLimit(quint64(QFileInfo(chmPath).size()),
                                                 quint64(QStorageInfo(root).bytesAvailable()));
  DecompileOutput output(root, limit, options.overwrite, chmPath);
  const QList<ChmEntry> entries = chm.entries();
  Decompilation run(chm, output, ProjectOf(chm, QFileInfo(chmPath).fileName(), entries),
                    (options.timeLimit.count() != 0 ? options.timeLimit : kDefaultTimeLimit).count(), result);
  if (run.ExtractSources(entries, options.progress)) run.WriteProject();
  return result;
}

}  // namespace orvex
