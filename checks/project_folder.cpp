// The files of a project folder, found as the compiler finds them, and
// whether a name leads out of the folder.
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>
#include <algorithm>

#include "checks/check_parts.h"
#include "platform/project_paths.h"

namespace checks {
namespace {

// A folder with more files than this is listed only so far; names beyond
// are still found on disk, one by one.
constexpr int kMaxListedFiles = 200000;

}  // namespace

bool IsPageName(const QString& name) {
  return name.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) ||
         name.endsWith(QLatin1String(".html"), Qt::CaseInsensitive);
}

ProjectFolder::ProjectFolder(const QString& rootPath) : root(QDir::cleanPath(QDir(rootPath).absolutePath())) {
  canonicalRoot = QFileInfo(root).canonicalFilePath();
  // Folders reached through symbolic links are not walked: their files are
  // found one by one and checked for leaving the folder.
  QDirIterator it(root, QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  const qsizetype prefix = root.size() + 1;
  int listed = 0;
  for (; listed < kMaxListedFiles && it.hasNext(); ++listed) {
    it.next();
    const QFileInfo info = it.fileInfo();
    const QString relative = info.filePath().mid(prefix);
    onDisk.insert(relative, relative);
    const QString folded = relative.toCaseFolded();
    if (!onDisk.contains(folded)) onDisk.insert(folded, relative);
    if (info.isSymLink()) symbolicLinks.insert(relative);
    if (IsPageName(relative)) pages.append(relative);
    const qsizetype slash = relative.lastIndexOf(u'/');
    listedFolders.insert(slash < 0 ? QString() : relative.left(slash).toCaseFolded());
  }
  if (it.hasNext()) listedFolders.clear();  // not all listed: ask the disk
  std::sort(pages.begin(), pages.end());
}

bool ProjectFolder::LeadsOutside(const QString& fullPath) const {
  return !UnderFolder(QFileInfo(fullPath).canonicalFilePath(), canonicalRoot);
}

ProjectFolder::Place ProjectFolder::Locate(const QString& relative, QString* foundName) {
  // Answers are kept by the name as written: two names that differ in
  // letter case only may lead to two files, whichever is asked first.
  QMutexLocker lock(&locating);
  auto cached = located.constFind(relative);
  if (cached == located.constEnd()) {
    std::pair<Place, QString> answer{Place::Missing, QString()};
    // The name as written first, then any letter case.
    QString name = onDisk.value(relative);
    if (name.isEmpty()) name = onDisk.value(relative.toCaseFolded());
    if (name.isEmpty()) {
      answer.first = LocateThroughDisk(relative, &answer.second);
    } else if (symbolicLinks.contains(name)) {
      const QString full = root + u'/' + name;
      if (QFileInfo(full).isFile()) answer = {LeadsOutside(full) ? Place::Outside : Place::Inside, name};
    } else {
      answer = {Place::Inside, name};
    }
    cached = located.insert(relative, answer);
  }
  if (foundName) *foundName = cached->second;
  return cached->first;
}

ProjectFolder::Place ProjectFolder::LocateThroughDisk(const QString& relative, QString* foundName) {
  // A file missing from a folder that was listed whole is not there (hidden
  // files were not listed); the disk is asked about the others, such as
  // files in folders reached through symbolic links.
  const qsizetype slash = relative.lastIndexOf(u'/');
  if (!relative.mid(slash + 1).startsWith(u'.') &&
      listedFolders.contains(slash < 0 ? QString() : relative.left(slash).toCaseFolded()))
    return Place::Missing;
  const QString path = ResolveProjectPath(root, relative);
  if (!QFileInfo(path).isFile()) return Place::Missing;
  if (LeadsOutside(path)) return Place::Outside;
  *foundName = QDir(root).relativeFilePath(path);
  return Place::Inside;
}

QString RelativeTarget(const QString& fromFolder, const QString& reference, bool* outside) {
  *outside = false;
  QStringView view(reference);
  for (qsizetype i = 0; i < view.size(); ++i) {
    if (view[i] == u'#' || view[i] == u'?') {
      view.truncate(i);
      break;
    }
  }
  QString ref = view.trimmed().toString();
  if (ref.isEmpty()) return {};
  ref.replace(u'\\', u'/');
  if (ref.contains(u'%')) ref = QUrl::fromPercentEncoding(ref.toUtf8());
  if (ref.startsWith(u'/')) {
    *outside = true;
    return {};
  }
  return JoinRelativePath(fromFolder, ref, outside);
}

LineStarts::LineStarts(const QString& text) {
  for (qsizetype i = text.indexOf(u'\n'); i >= 0; i = text.indexOf(u'\n', i + 1)) starts.append(i + 1);
}

int LineStarts::LineOf(qsizetype position) const {
  return static_cast<int>(std::upper_bound(starts.cbegin(), starts.cend(), position) - starts.cbegin());
}

}  // namespace checks
