#include "platform/regular_file.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Result<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
  const QByteArray native = QFile::encodeName(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused below.
  const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return Fail(QStringLiteral("File not found: %1").arg(path));
    return Fail(QStringLiteral("Cannot open file %1").arg(path));
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) return Fail(QStringLiteral("Cannot open file %1").arg(path));
  if (!S_ISREG(info.st_mode)) return Fail(QStringLiteral("Not a regular file: %1").arg(path));
  if (info.st_size > maxBytes)
    return Fail(QStringLiteral("File too large (over %1 bytes): %2").arg(maxBytes).arg(path));
  QByteArray bytes;
  bytes.resize(static_cast<qsizetype>(info.st_size));
  qsizetype done = 0;
  while (true) {
    if (done == bytes.size()) {
      // The file may have grown since fstat: read on up to the limit.
      if (bytes.size() >= maxBytes + 1) break;
      bytes.resize(qMin<qint64>(maxBytes + 1, bytes.size() + 65536));
    }
    const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0) {
      if (errno == EINTR) continue;
      return Fail(QStringLiteral("Cannot read file %1").arg(path));
    }
    if (n == 0) break;
    done += n;
  }
  if (done > maxBytes)
    return Fail(QStringLiteral("File too large (over %1 bytes): %2").arg(maxBytes).arg(path));
  bytes.truncate(done);
  return bytes;
}
