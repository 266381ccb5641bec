#include "chm/replacing_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

// A name in the target's folder that holds a new content for a moment (while
// it is linked in, or all along where the file system has no unnamed files).
// It carries the writer's process id, so that one left by a killed writer
// can be told from one being written.
QString PartName(const QString& target, qint64 pid) {
  const QFileInfo info(target);
  return info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' + QString::number(pid) +
         QStringLiteral(".orvex-part");
}

// Removes the parts of target that writers which are no longer running left.
void RemoveStaleParts(const QString& target) {
  const QFileInfo info(target);
  const QString prefix = u'.' + info.fileName() + u'.';
  const QStringList names =
      QDir(info.absolutePath())
          .entryList({prefix + QStringLiteral("*.orvex-part")}, QDir::Files | QDir::Hidden);
  for (const QString& name : names) {
    bool ok = false;
    const qint64 pid = name.mid(prefix.size(), name.size() - prefix.size() - 11).toLongLong(&ok);
    if (!ok || pid <= 0) continue;
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    QFile::remove(info.absolutePath() + u'/' + name);
  }
}

QString SystemError(int error) { return QString::fromLocal8Bit(strerror(error)); }

}  // namespace

ReplacingFile::ReplacingFile(QString target, int fd, QString namedTemporary)
    : m_target(std::move(target)), m_fd(fd), m_namedTemporary(std::move(namedTemporary)) {
  m_file.open(m_fd, QIODevice::ReadWrite, QFileDevice::DontCloseHandle);
}

ReplacingFile::~ReplacingFile() {
  m_file.close();
  if (m_fd >= 0) ::close(m_fd);
  if (!m_committed && !m_namedTemporary.isEmpty()) QFile::remove(m_namedTemporary);
}

Result<std::unique_ptr<ReplacingFile>> ReplacingFile::Create(const QString& target) {
  const QString folder = QFileInfo(target).absolutePath();
  if (!QFileInfo(folder).isDir())
    return Fail(QStringLiteral("Cannot write %1: the folder %2 does not exist").arg(target, folder));
  RemoveStaleParts(target);
  const QByteArray folderName = QFile::encodeName(folder);
  int fd = ::open(folderName.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  QString named;
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    // No unnamed files here: a named part, removed on failure or by the next run.
    named = PartName(target, getpid());
    fd = ::open(QFile::encodeName(named).constData(), O_CREAT | O_TRUNC | O_RDWR | O_CLOEXEC, 0666);
  }
  if (fd < 0) return Fail(QStringLiteral("Cannot write %1: %2").arg(target, SystemError(errno)));
  struct stat old {};
  if (::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode))
    fchmod(fd, old.st_mode & 07777);
  return std::unique_ptr<ReplacingFile>(new ReplacingFile(target, fd, named));
}

QString ReplacingFile::ReadablePath() const {
  return m_namedTemporary.isEmpty() ? QStringLiteral("/proc/self/fd/%1").arg(m_fd) : m_namedTemporary;
}

Status ReplacingFile::Commit() {
  if (!m_file.flush()) return Fail(QStringLiteral("Cannot write %1: %2").arg(m_target, m_file.errorString()));
  if (::fsync(m_fd) != 0)
    return Fail(QStringLiteral("Cannot write %1: %2").arg(m_target, SystemError(errno)));
  QString part = m_namedTemporary;
  if (part.isEmpty()) {
    part = PartName(m_target, getpid());
    QFile::remove(part);
    const QByteArray proc = QStringLiteral("/proc/self/fd/%1").arg(m_fd).toLatin1();
    if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, QFile::encodeName(part).constData(),
                 AT_SYMLINK_FOLLOW) != 0)
      return Fail(QStringLiteral("Cannot write %1: %2").arg(m_target, SystemError(errno)));
  }
  if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(m_target).constData()) != 0) {
    const int error = errno;
    QFile::remove(part);
    return Fail(QStringLiteral("Cannot write %1: %2").arg(m_target, SystemError(error)));
  }
  m_committed = true;
  return {};
}

}  // namespace orvex
