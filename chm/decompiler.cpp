#include "chm/decompiler.h"

#include "chm/ansi_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <unicode/uloc.h>

#include <algorithm>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

constexpr int kMaxNameLength = 1024;
// No help source comes near this; a larger entry is a damaged or hostile file.
constexpr quint64 kMaxEntryLength = quint64(1) << 30;

QString displayNameOf(quint32 lcid) {
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
  if (U_FAILURE(status) || locale[0] == '\0') return {};
  UChar name[256] = {};
  status = U_ZERO_ERROR;
  const int32_t length = uloc_getDisplayName(locale, "en", name, 255, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return QString::fromUtf16(name, length);
}

// The folder below root for the parts, made when missing; empty when a part
// is a symbolic link or a file.
QString makeFolders(const QString& root, const QStringList& parts, QSet<QString>* made, QString* problem) {
  QString current = root;
  for (const QString& part : parts) {
    current += u'/' + part;
    if (made->contains(current)) continue;
    const QFileInfo info(current);
    if (info.isSymLink()) {
      *problem = QStringLiteral("a symbolic link is in the way: %1").arg(current);
      return {};
    }
    if (info.exists() && !info.isDir()) {
      *problem = QStringLiteral("a file is in the way: %1").arg(current);
      return {};
    }
    if (!info.exists() && !QDir().mkdir(current)) {
      *problem = QStringLiteral("cannot create the folder %1").arg(current);
      return {};
    }
    made->insert(current);
  }
  return current;
}

bool writeAll(int fd, const QByteArray& piece) {
  const char* data = piece.constData();
  qsizetype left = piece.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    left -= n;
  }
  return true;
}

// A new file every time: O_EXCL with O_NOFOLLOW never writes through a
// symbolic link, and removing an old file first never writes through a hard
// link into a file outside the folder. -1 with the problem set on failure.
int openNewFile(const QByteArray& native, const QString& target, QString* problem) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  int fd = ::open(native.constData(), flags, 0644);
  if (fd < 0 && errno == EEXIST) {
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(native.constData()) == 0)
      fd = ::open(native.constData(), flags, 0644);
    else if (S_ISLNK(st.st_mode))
      errno = ELOOP;
    else if (S_ISDIR(st.st_mode))
      errno = EISDIR;
  }
  if (fd < 0) {
    if (errno == ELOOP)
      *problem = QStringLiteral("a symbolic link is in the way: %1").arg(target);
    else if (errno == EISDIR)
      *problem = QStringLiteral("a folder is in the way: %1").arg(target);
    else
      *problem = QStringLiteral("cannot write %1").arg(target);
  }
  return fd;
}

bool writeEntry(const ChmFile& chm, const ChmEntry& entry, const QString& target, QString* problem) {
  const QByteArray native = QFile::encodeName(target);
  const int fd = openNewFile(native, target, problem);
  if (fd < 0) return false;
  bool written = true;
  const bool read = chm.readInPieces(entry, [fd, &written](const QByteArray& piece) {
    written = writeAll(fd, piece);
    return written;
  });
  const bool closed = ::close(fd) == 0;
  if (!read || !written || !closed) {
    ::unlink(native.constData());
    *problem =
        !read ? QStringLiteral("the entry cannot be read") : QStringLiteral("cannot write %1").arg(target);
    return false;
  }
  return true;
}

}  // namespace

bool IsSourceEntry(const ChmEntry& entry) {
  if (!entry.isFile || !entry.isNormal || !entry.path.startsWith(u'/')) return false;
  const QString first = entry.path.mid(1).section(u'/', 0, 0);
  if (first.startsWith(u'#') || first.startsWith(u'$')) return false;
  return entry.path != QLatin1String("/_#_README_#_");
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

QString LanguageTextOf(quint32 lcid) {
  if (lcid == 0) return {};
  QString text = QStringLiteral("0x") + QString::number(lcid, 16).toUpper().rightJustified(4, u'0');
  const QString name = displayNameOf(lcid);
  if (!name.isEmpty()) text += u' ' + name;
  return text;
}

QStringList DecompiledProjectLines(const ChmSystemInfo& info, const QString& chmFileName,
                                   const QStringList& files) {
  const QString base = QFileInfo(chmFileName).completeBaseName();
  QStringList lines{QStringLiteral("[OPTIONS]"), QStringLiteral("Compatibility=1.1 or later"),
                    QStringLiteral("Compiled file=") + chmFileName};
  if (!info.contentsFile.isEmpty()) lines.append(QStringLiteral("Contents file=") + info.contentsFile);
  lines.append(QStringLiteral("Display compile progress=No"));
  if (!info.indexFile.isEmpty()) lines.append(QStringLiteral("Index file=") + info.indexFile);
  lines.append(QStringLiteral("Full-text search=Yes"));
  lines.append(QStringLiteral("Title=") + (info.title.isEmpty() ? base : info.title));
  const QString language = LanguageTextOf(info.lcid);
  if (!language.isEmpty()) lines.append(QStringLiteral("Language=") + language);
  lines.append(QStringLiteral("Error log file=") + base + QStringLiteral(".log"));
  if (!info.defaultTopic.isEmpty()) lines.append(QStringLiteral("Default topic=") + info.defaultTopic);
  lines.append(QString());
  lines.append(QStringLiteral("[FILES]"));
  QString first = info.defaultTopic;
  if (first.startsWith(u'/')) first.remove(0, 1);
  if (!first.isEmpty()) lines.append(first);
  const QSet<QString> sitemaps{info.contentsFile.toCaseFolded(), info.indexFile.toCaseFolded(),
                               first.toCaseFolded()};
  for (const QString& f : files) {
    if (!sitemaps.contains(f.toCaseFolded())) lines.append(f);
  }
  return lines;
}

DecompileResult DecompileChm(const QString& chmPath, const QString& folder) {
  DecompileResult result;
  ChmFile chm;
  if (!chm.open(chmPath)) {
    result.problems.append(QStringLiteral("Cannot read the compiled file %1").arg(chmPath));
    return result;
  }
  result.opened = true;
  if (!QDir().mkpath(folder)) {
    result.problems.append(QStringLiteral("Cannot create the folder %1").arg(folder));
    return result;
  }
  const QString root = QFileInfo(folder).canonicalFilePath();
  QSet<QString> made;  // folders already checked or created

  for (const ChmEntry& entry : chm.entries()) {
    if (!IsSourceEntry(entry)) continue;
    const QString name = SafeEntryName(entry.path);
    if (name.isEmpty()) {
      result.problems.append(QStringLiteral("Skipped %1: the name would leave the folder").arg(entry.path));
      continue;
    }
    if (entry.length > kMaxEntryLength) {
      result.problems.append(
          QStringLiteral("Skipped %1: it claims %2 bytes").arg(entry.path).arg(entry.length));
      continue;
    }
    QStringList parts = name.split(u'/');
    const QString fileName = parts.takeLast();
    QString problem;
    const QString dir = makeFolders(root, parts, &made, &problem);
    if (dir.isEmpty() || !writeEntry(chm, entry, dir + u'/' + fileName, &problem)) {
      result.problems.append(QStringLiteral("Skipped %1: %2").arg(entry.path, problem));
      continue;
    }
    result.written.append(name);
  }

  const QString chmName = QFileInfo(chmPath).fileName();
  const QString projectName = QFileInfo(chmName).completeBaseName() + QStringLiteral(".hhp");
  const bool heldOne = std::any_of(result.written.cbegin(), result.written.cend(), [&](const QString& w) {
    return w.compare(projectName, Qt::CaseInsensitive) == 0;
  });
  if (heldOne) {
    result.problems.append(QStringLiteral("The compiled file holds %1 itself; it was kept").arg(projectName));
    return result;
  }
  const QString projectPath = root + u'/' + projectName;
  const QByteArray native = QFile::encodeName(projectPath);
  QString problem;
  const int fd = openNewFile(native, projectPath, &problem);
  const QByteArray text = JoinAnsiLines(DecompiledProjectLines(chm.systemInfo(), chmName, result.written));
  if (fd >= 0) {
    const bool written = writeAll(fd, text);
    if (::close(fd) == 0 && written)
      result.projectFile = projectPath;
    else
      problem = QStringLiteral("cannot write %1").arg(projectPath);
  }
  if (result.projectFile.isEmpty())
    result.problems.append(QStringLiteral("Cannot write the project file: %1").arg(problem));
  return result;
}

}  // namespace orvex
