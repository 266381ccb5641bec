#include "platform/project_paths.h"

#include <QDir>
#include <QFileInfo>

namespace {

// The entry of `dir` whose name equals `name` without case, or empty.
QString EntryWithoutCase(const QString& dir, const QString& name) {
  const QStringList entries =
      QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
  for (const QString& entry : entries) {
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return entry;
  }
  return {};
}

}  // namespace

QString ResolveProjectPath(const QString& folder, const QString& reference) {
  QString ref = reference;
  ref.replace(u'\\', u'/');
  const bool absolute = ref.startsWith(u'/');
  QString base = absolute ? QStringLiteral("/") : QDir::cleanPath(QDir(folder).absolutePath());
  const QString direct = QDir::cleanPath(base + u'/' + ref);
  if (QFileInfo::exists(direct)) return direct;

  const QStringList parts = ref.split(u'/', Qt::SkipEmptyParts);
  QString current = base;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    if (part == u'.') continue;
    if (part == QLatin1String("..")) {
      current = QDir::cleanPath(current + QStringLiteral("/.."));
      continue;
    }
    const QString exact = current + u'/' + part;
    if (QFileInfo::exists(exact)) {
      current = exact;
      continue;
    }
    const QString entry = EntryWithoutCase(current, part);
    if (entry.isEmpty()) return QDir::cleanPath(current + u'/' + parts.mid(i).join(u'/'));
    current += u'/' + entry;
  }
  return QDir::cleanPath(current);
}

QString WithoutAnchor(const QString& reference) {
  for (qsizetype i = 0; i < reference.size(); ++i) {
    if (reference.at(i) == u'#' || reference.at(i) == u'?') return reference.left(i);
  }
  return reference;
}

QString ResolvedPath(const QString& path) {
  QString existing = QDir::cleanPath(QDir(path).absolutePath());
  QString rest;
  while (!QFileInfo::exists(existing)) {
    const QFileInfo info(existing);
    if (info.absolutePath() == existing) break;
    rest = rest.isEmpty() ? info.fileName() : info.fileName() + u'/' + rest;
    existing = info.absolutePath();
  }
  const QString real = QFileInfo(existing).canonicalFilePath();
  if (real.isEmpty()) return QDir::cleanPath(path);
  return rest.isEmpty() ? real : QDir::cleanPath(real + u'/' + rest);
}

bool UnderFolder(const QString& realPath, const QString& realFolder) {
  return !realPath.isEmpty() && !realFolder.isEmpty() &&
         realPath.startsWith(realFolder == u'/' ? realFolder : realFolder + u'/');
}

bool InsideFolder(const QString& path, const QString& folder) {
  return UnderFolder(ResolvedPath(path), ResolvedPath(folder));
}

QString JoinRelativePath(const QString& fromFolder, const QString& path, bool* above) {
  *above = false;
  QStringList parts = fromFolder.isEmpty() ? QStringList() : fromFolder.split(u'/');
  for (const QString& part : path.split(u'/')) {
    if (part.isEmpty() || part == u'.') continue;
    if (part == QLatin1String("..")) {
      if (parts.isEmpty()) {
        *above = true;
        return {};
      }
      parts.removeLast();
      continue;
    }
    parts.append(part);
  }
  return parts.join(u'/');
}
