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

// The index file's bytes with the keywords only the binary index holds.
QByteArray IndexWithKeywords(const QByteArray& stored, const QList<ChmIndexKeyword>& keywords, int codePage,
                             DecompileResult* result) {
  int added = 0;
  const QString text = WithMissingKeywords(DecodeCodePage(stored, codePage), keywords, &added);
  if (added == 0) return stored;
  result->notes.append(
      QStringLiteral("%1 keywords found only in the binary index were added to the index file").arg(added));
  return EncodeCodePage(text, codePage);
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

DecompileResult DecompileChm(const QString& chmPath, const QString& folder, const DecompileOptions& options) {
  DecompileResult result;
  QElapsedTimer clock;
  clock.start();
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
  const qint64 timeLimitMs = (options.timeLimit.count() != 0 ? options.timeLimit : kDefaultTimeLimit).count();

  auto stopAt = [&](const QString& shown, const QString& why) {
    result.stopped = true;
    result.problems.append(QStringLiteral("Stopped before %1: %2").arg(shown, why));
  };
  const QString tooLong =
      QStringLiteral("decompiling took more than %1 s, the limit (raise it with --max-time=SECONDS)")
          .arg(double(timeLimitMs) / 1000);

  const QString chmName = QFileInfo(chmPath).fileName();
  QList<ChmEntry> entries = chm.entries();
  DecompiledProject project = ProjectOf(chm, chmName, entries);
  // Keywords that only the binary index holds go into the index file.
  const QString indexFile = SitemapFileOf(project, QStringLiteral(".hhk"));
  const QList<ChmIndexKeyword> keywords = BinaryIndexOf(chm, project.system.codePage);
  const int codePage = project.system.codePage > 0 ? project.system.codePage : 1252;

  // Read in the order of the content, not of the names: each compressed
  // stretch is then decoded once, however the directory orders its entries.
  std::stable_sort(entries.begin(), entries.end(), [](const ChmEntry& a, const ChmEntry& b) {
    return std::tie(a.space, a.start) < std::tie(b.space, b.start);
  });
  QHash<QString, QString> taken;  // folded name -> the entry written under it
  for (const ChmEntry& entry : std::as_const(entries)) {
    if (!IsSourceEntry(entry)) continue;
    const QString shown = PrintableName(entry.path);
    const QString name = SafeEntryName(entry.path);
    if (name.isEmpty()) {
      result.problems.append(QStringLiteral("Skipped %1: the name would leave the folder").arg(shown));
      continue;
    }
    const QString folded = name.toCaseFolded();
    if (const auto first = taken.constFind(folded); first != taken.constEnd()) {
      result.problems.append(
          QStringLiteral("Skipped %1: the compiled file holds another entry of that name (%2)")
              .arg(shown, PrintableName(*first)));
      continue;
    }
    taken.insert(folded, entry.path);
    if (entry.length > kMaxEntryLength) {
      result.problems.append(QStringLiteral("Skipped %1: it claims %2 bytes").arg(shown).arg(entry.length));
      continue;
    }
    if (clock.elapsed() > timeLimitMs) {
      stopAt(shown, tooLong);
      break;
    }
    if (!output.Fits(name, entry.length)) {
      stopAt(shown,
             QStringLiteral("the sources would take more than %1 bytes on disk, the limit for this file "
                            "(raise it with --max-output=SIZE)")
                 .arg(limit));
      break;
    }
    bool outOfTime = false;
    const bool mergeKeywords = !keywords.isEmpty() && name.compare(indexFile, Qt::CaseInsensitive) == 0;
    const Status written = output.Write(name, entry.length, [&](const PieceSink& sink) -> Status {
      if (mergeKeywords) {
        const auto text = chm.read(entry.path, kMaxStructureLength);
        if (!text) return Fail(QStringLiteral("the entry cannot be read"));
        sink(IndexWithKeywords(*text, keywords, codePage, &result));
        return {};
      }
      const bool read = chm.readInPieces(entry, [&](const QByteArray& piece) {
        if (clock.elapsed() > timeLimitMs) {
          outOfTime = true;
          return false;
        }
        return sink(piece);
      });
      if (outOfTime) return Fail(tooLong);
      if (!read) return Fail(QStringLiteral("the entry cannot be read"));
      return {};
    });
    if (outOfTime) {
      stopAt(shown, tooLong);
      break;
    }
    if (!written) {
      result.problems.append(QStringLiteral("Skipped %1: %2").arg(shown, written.Message()));
      continue;
    }
    result.written.append(name);
  }
  std::stable_sort(result.written.begin(), result.written.end(),
                   [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
  if (result.stopped) return result;

  const QString projectName = QFileInfo(chmName).completeBaseName() + QStringLiteral(".hhp");
  if (taken.contains(projectName.toCaseFolded())) {
    result.problems.append(QStringLiteral("The compiled file holds %1 itself; it was kept").arg(projectName));
    return result;
  }
  project.files = result.written;
  auto writeText = [&](const QString& name, const QByteArray& text) {
    return output.Write(name, quint64(text.size()), [&text](const PieceSink& sink) -> Status {
      sink(text);
      return {};
    });
  };
  auto writeLines = [&](const QString& name, const QStringList& lines) {
    return writeText(name, EncodeCodePage(JoinLines(lines), codePage));
  };
  const QString base = QFileInfo(chmName).completeBaseName();
  if (!keywords.isEmpty() && indexFile.isEmpty()) {
    const QString name = base + QStringLiteral(".hhk");
    const Status written = taken.contains(name.toCaseFolded())
                               ? Status(Fail(QStringLiteral("the compiled file holds %1 itself").arg(name)))
                               : writeText(name, IndexWithKeywords(kEmptyIndex, keywords, codePage, &result));
    if (written)
      project.files.append(name);
    else
      result.problems.append(
          QStringLiteral("The binary index's keywords were not written: %1").arg(written.Message()));
  }
  const ContextMapFiles contextMap = ContextMapFilesOf(chm.contextMap());
  if (!contextMap.aliasLines.isEmpty()) {
    const QString aliasFile = base + QStringLiteral(".ali");
    const QString mapFile = base + QStringLiteral(".h");
    Status written;
    if (taken.contains(aliasFile.toCaseFolded()) || taken.contains(mapFile.toCaseFolded()))
      written = Fail(QStringLiteral("the compiled file holds %1 or %2 itself").arg(aliasFile, mapFile));
    if (written) written = writeLines(aliasFile, contextMap.aliasLines);
    if (written) written = writeLines(mapFile, contextMap.mapLines);
    if (written) {
      project.aliasFile = aliasFile;
      project.mapFile = mapFile;
    } else {
      result.problems.append(QStringLiteral("The context map was not written: %1").arg(written.Message()));
    }
  }
  const Status written = writeLines(projectName, DecompiledProjectLines(project));
  if (written)
    result.projectFile = root + u'/' + projectName;
  else
    result.problems.append(QStringLiteral("The project file was not written: %1").arg(written.Message()));
  return result;
}

}  // namespace orvex
