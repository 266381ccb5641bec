#include "platform/regular_file.h"

#include "platform/replacing_file.h"
#include "platform/project_paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FdCloser {
  int fd;
  ~FdCloser() { ::close(fd); }
};

// Opens without waiting: a FIFO must not block for a writer (it is refused
// by the caller), a terminal must not become the controlling one.
Result<int> OpenForReading(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd >= 0) return fd;
  if (errno == ENOENT || errno == ENOTDIR) return Fail(QStringLiteral("File not found: %1").arg(path));
  return Fail(QStringLiteral("Cannot open file %1: %2").arg(path, SystemReason(errno)));
}

Result<QByteArray> ReadOpened(int fd, const QString& path, qint64 maxBytes) {
  struct stat info {};
  if (::fstat(fd, &info) != 0)
    return Fail(QStringLiteral("Cannot open file %1: %2").arg(path, SystemReason(errno)));
  if (!S_ISREG(info.st_mode)) return Fail(QStringLiteral("Not a regular file: %1").arg(path));
  if (info.st_size > maxBytes)
    return Fail(QStringLiteral("File too large (over %1 bytes): %2").arg(maxBytes).arg(path));
  QByteArray bytes;
  bytes.resize(static_cast<qsizetype>(info.st_size));
  qsizetype done = 0;
  while (true) {
    if (done == bytes.size()) {
      // The file may have grown since fstat: a byte more says so, and then
      // it is read on up to the limit. Probing with a byte of its own keeps
      // the usual file's buffer at its size, with no room left over.
      if (bytes.size() >= maxBytes + 1) break;
      char more = 0;
      const ssize_t probe = ::read(fd, &more, 1);
      if (probe < 0) {
        if (errno == EINTR) continue;
        return Fail(QStringLiteral("Cannot read file %1: %2").arg(path, SystemReason(errno)));
      }
      if (probe == 0) break;
      bytes.resize(qMin<qint64>(maxBytes + 1, bytes.size() + 65536));
      bytes[done++] = more;
      continue;
    }
    const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(QStringLiteral("Cannot read file %1: %2").arg(path, SystemReason(errno)));
    }
    if (n == 0) break;
    done += n;
  }
  if (done > maxBytes)
    return Fail(QStringLiteral("File too large (over %1 bytes): %2").arg(maxBytes).arg(path));
  bytes.truncate(done);
  return bytes;
}

// Where the opened file is, every link followed; empty when unknown.
QString OpenedPath(int fd) {
  char buffer[4096];
  const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
  const ssize_t n = ::readlink(proc.constData(), buffer, sizeof buffer);
  if (n <= 0 || n >= static_cast<ssize_t>(sizeof buffer)) return {};
  return QFile::decodeName(QByteArray(buffer, static_cast<qsizetype>(n)));
}

}  // namespace

Result<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
  const Result<int> fd = OpenForReading(path);
  if (!fd) return Fail(fd.Message());
  const FdCloser closer{*fd};
  return ReadOpened(*fd, path, maxBytes);
}

Result<QByteArray> ReadRegularFileInside(const QString& path, const QString& folder, qint64 maxBytes,
                                         bool* outside) {
  if (outside) *outside = false;
  const Result<int> fd = OpenForReading(path);
  if (!fd) return Fail(fd.Message());
  const FdCloser closer{*fd};
  // What was opened is judged, so a link changed in between cannot slip by.
  const QString real = OpenedPath(*fd);
  if (!UnderFolder(real, QFileInfo(folder).canonicalFilePath())) {
    if (outside) *outside = true;
    return Fail(QStringLiteral("%1 links outside the project: left out").arg(path));
  }
  return ReadOpened(*fd, path, maxBytes);
}

bool WrittenOutsideFolder(const QString& reference) {
  QString ref = reference.trimmed();
  ref.replace(u'\\', u'/');
  if (ref.startsWith(u'/')) return true;
  if (ref.size() >= 2 && ref.at(1) == u':' && ref.at(0).isLetter() && ref.at(0).unicode() < 128) return true;
  bool above = false;
  JoinRelativePath(QString(), ref, &above);
  return above;
}

Result<QByteArray> ReadProjectInput(const QString& projectFolder, const QString& name,
                                    std::atomic<qint64>& totalBytes, bool* outside) {
  const QString path = projectFolder + u'/' + name;
  Result<QByteArray> bytes = ReadRegularFileInside(path, projectFolder, kMaxInputFileBytes, outside);
  if (!bytes) return bytes;
  if ((totalBytes += bytes->size()) > kMaxInputTotalBytes)
    return Fail(QStringLiteral("Cannot read file %1: the project's files together exceed %2 bytes")
                    .arg(path)
                    .arg(kMaxInputTotalBytes));
  return bytes;
}
