#include "chm/decompile_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool WriteAll(int fd, const QByteArray& piece) {
  const char* data = piece.constData();
  qsizetype left = piece.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    data += n;
    left -= n;
  }
  return true;
}

}  // namespace

QString ResolvedFolder(const QString& folder) {
  QString path = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  QStringList missing;
  while (!QFileInfo::exists(path) && !QDir(path).isRoot()) {
    missing.prepend(QFileInfo(path).fileName());
    path = QFileInfo(path).path();
  }
  const QString existing = QFileInfo(path).canonicalFilePath();
  QString resolved = existing.isEmpty() ? path : existing;
  for (const QString& part : missing)
    resolved += (resolved.endsWith(u'/') ? QString() : QStringLiteral("/")) + part;
  return QDir::cleanPath(resolved);
}

bool IsSystemFolder(const QString& resolvedFolder) {
  const QString path = QDir::cleanPath(resolvedFolder);
  if (path.trimmed().isEmpty() || QDir(path).isRoot()) return true;
  // The system's own trees, and the folders that hold everyone's.
  for (const char* tree : {"/bin", "/boot", "/dev", "/etc", "/lib", "/lib32", "/lib64", "/libx32", "/proc",
                           "/sbin", "/sys", "/usr"}) {
    const QString top = QLatin1String(tree);
    if (path == top || path.startsWith(top + u'/')) return true;
  }
  for (const char* holder : {"/home", "/media", "/mnt", "/opt", "/root", "/run", "/srv", "/var"})
    if (path == QLatin1String(holder)) return true;
  return false;
}

quint64 DiskCostOf(quint64 length) {
  const quint64 blocks = length / kDiskBlock + (length % kDiskBlock != 0 ? 1 : 0);
  return qMax<quint64>(1, blocks) * kDiskBlock;
}

DecompileOutput::DecompileOutput(QString outputRoot, quint64 byteLimit, bool overwriteFiles,
                                 const QString& keep)
    : root(std::move(outputRoot)), limit(byteLimit), overwrite(overwriteFiles) {
  struct stat st {};
  if (!keep.isEmpty() && ::stat(QFile::encodeName(keep).constData(), &st) == 0) {
    hasKeep = true;
    keepDevice = quint64(st.st_dev);
    keepInode = quint64(st.st_ino);
  }
}

quint64 DecompileOutput::FolderCost(const QStringList& parts) const {
  quint64 cost = 0;
  QString current = root;
  for (const QString& part : parts) {
    current += u'/' + part;
    if (!folders.contains(current)) cost += kDiskBlock;
  }
  return cost;
}

bool DecompileOutput::Fits(const QString& name, quint64 length) const {
  QStringList parts = name.split(u'/');
  parts.removeLast();
  const quint64 cost = DiskCostOf(length) + FolderCost(parts);
  return used <= limit && cost <= limit - used;
}

Result<QString> DecompileOutput::MakeFolders(const QStringList& parts) {
  QString current = root;
  for (const QString& part : parts) {
    current += u'/' + part;
    if (folders.contains(current)) continue;
    const QFileInfo info(current);
    if (info.isSymLink()) return Fail(QStringLiteral("a symbolic link is in the way: %1").arg(current));
    if (info.exists() && !info.isDir()) return Fail(QStringLiteral("a file is in the way: %1").arg(current));
    if (!info.exists() && ::mkdir(QFile::encodeName(current).constData(), 0755) != 0)
      return Fail(QStringLiteral("cannot create the folder %1: %2").arg(current, SystemReason(errno)));
    folders.insert(current);
    used += kDiskBlock;
  }
  return current;
}

Status DecompileOutput::Write(const QString& name, quint64 length, const ContentSource& content) {
  QStringList parts = name.split(u'/');
  const QString fileName = parts.takeLast();
  const Result<QString> folder = MakeFolders(parts);
  if (!folder) return Fail(folder.Message());
  const QString target = *folder + u'/' + fileName;
  const QByteArray native = QFile::encodeName(target);

  struct stat st {};
  if (::lstat(native.constData(), &st) == 0) {
    if (hasKeep && quint64(st.st_dev) == keepDevice && quint64(st.st_ino) == keepInode)
      return Fail(QStringLiteral("%1 is the compiled file being read; it was kept").arg(target));
    if (S_ISLNK(st.st_mode)) return Fail(QStringLiteral("a symbolic link is in the way: %1").arg(target));
    if (S_ISDIR(st.st_mode)) return Fail(QStringLiteral("a folder is in the way: %1").arg(target));
    if (!overwrite)
      return Fail(QStringLiteral("%1 already exists; it was kept (--overwrite replaces it)").arg(target));
    // A new file, never writing through a hard link into a file elsewhere.
    if (::unlink(native.constData()) != 0)
      return Fail(QStringLiteral("cannot replace %1: %2").arg(target, SystemReason(errno)));
  }
  const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(QStringLiteral("cannot write %1: %2").arg(target, SystemReason(errno)));
  used += DiskCostOf(length);

  int writeError = 0;
  const Status read = content([fd, &writeError](const QByteArray& piece) {
    if (WriteAll(fd, piece)) return true;
    writeError = errno;
    return false;
  });
  if (::close(fd) != 0 && writeError == 0) writeError = errno;
  if (writeError == 0 && read) return {};
  ::unlink(native.constData());
  if (writeError != 0)
    return Fail(QStringLiteral("cannot write %1: %2").arg(target, SystemReason(writeError)));
  return read;
}

}  // namespace orvex
