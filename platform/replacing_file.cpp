#include "platform/replacing_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name the new content has for the moment between being linked into the
// target's folder and being renamed to the target.
QString PartName(const QString& target) {
  const QFileInfo info(target);
  return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".orvex-part");
}

// A name that also carries the writer's process id, so that one left by a
// killed writer can be told from one being written: where the file system has
// no unnamed files the content is written under it all along, and a commit
// takes it when the first part name is there already.
QString WriterPartName(const QString& target, qint64 pid) {
  const QFileInfo info(target);
  return info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' + QString::number(pid) +
         QStringLiteral(".orvex-part");
}

// A part is renamed a moment after it was linked: one linked longer ago than
// this was left by a writer that was killed in between.
constexpr time_t kStalePartSeconds = 60;

// Removes the part of target that a killed writer left between linking and
// renaming. Only that one name is looked at, so writing many files into a
// large folder does not list the folder each time.
void RemoveStalePart(const QString& target) {
  const QByteArray part = QFile::encodeName(PartName(target));
  struct stat info {};
  if (::lstat(part.constData(), &info) != 0 || !S_ISREG(info.st_mode)) return;
  if (time(nullptr) - info.st_ctim.tv_sec < kStalePartSeconds) return;
  ::unlink(part.constData());
}

// Removes the parts of target, written under their writers' process ids,
// that writers which are no longer running left.
void RemoveStaleWriterParts(const QString& target) {
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

}  // namespace

QString SystemReason(int error) {
  const QString reason = QString::fromLocal8Bit(strerror(error));
  return reason.isEmpty() ? QStringLiteral("system error %1").arg(error) : reason;
}

// The new content's descriptor as a device: no buffer of its own, so that
// each write's result is the system's, and the first failure is kept.
class ReplacingFile::Output : public QIODevice {
 public:
  explicit Output(int fd) : fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  int Error() const { return error; }

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (error != 0) return -1;
    qint64 done = 0;
    while (done < size) {
      const ssize_t n = ::write(fd, data + done, static_cast<size_t>(size - done));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        error = n < 0 ? errno : ENOSPC;
        setErrorString(SystemReason(error));
        return -1;
      }
      done += n;
    }
    return done;
  }

 private:
  int fd;
  int error = 0;
};

ReplacingFile::ReplacingFile(QString target, Wording wording, int fd, QString namedTemporary)
    : target(std::move(target)),
      wording(std::move(wording)),
      fd(fd),
      namedTemporary(std::move(namedTemporary)),
      output(std::make_unique<Output>(fd)) {}

ReplacingFile::~ReplacingFile() {
  output.reset();
  if (fd >= 0) ::close(fd);
  if (!committed && !namedTemporary.isEmpty()) QFile::remove(namedTemporary);
}

Failure ReplacingFile::Failed(const QString& lead, int error) const {
  return Fail(lead.arg(target) + QStringLiteral(": ") + SystemReason(error));
}

Result<std::unique_ptr<ReplacingFile>> ReplacingFile::Create(const QString& target, Wording wording) {
  const QString folder = QFileInfo(target).absolutePath();
  if (!QFileInfo(folder).isDir())
    return Fail(wording.cannotCreate.arg(target) +
                QStringLiteral(": the folder %1 does not exist").arg(folder));
  const QByteArray folderName = QFile::encodeName(folder);
  int fd = ::open(folderName.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  QString named;
  if (fd >= 0) RemoveStalePart(target);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    // No unnamed files here: a named part, removed on failure or by the next run.
    RemoveStaleWriterParts(target);
    named = WriterPartName(target, getpid());
    fd = ::open(QFile::encodeName(named).constData(), O_CREAT | O_TRUNC | O_RDWR | O_CLOEXEC, 0666);
  }
  if (fd < 0) return Fail(wording.cannotCreate.arg(target) + QStringLiteral(": ") + SystemReason(errno));
  struct stat old {};
  if (::stat(QFile::encodeName(target).constData(), &old) == 0 && S_ISREG(old.st_mode))
    fchmod(fd, old.st_mode & 07777);
  return std::unique_ptr<ReplacingFile>(new ReplacingFile(target, std::move(wording), fd, named));
}

QIODevice& ReplacingFile::Device() { return *output; }

QString ReplacingFile::WriteFailure() const {
  if (output->Error() == 0) return {};
  return Failed(wording.cannotWrite, output->Error()).message;
}

Status ReplacingFile::Write(const QByteArray& bytes) {
  if (output->write(bytes) != bytes.size()) return Fail(WriteFailure());
  return {};
}

Result<std::unique_ptr<ReplacingFile>> ReplacingFile::Create(const QString& target) {
  return Create(target, Wording());
}

QString ReplacingFile::ReadablePath() const {
  return namedTemporary.isEmpty() ? QStringLiteral("/proc/self/fd/%1").arg(fd) : namedTemporary;
}

Status ReplacingFile::Commit() {
  if (output->Error() != 0) return Fail(WriteFailure());
  if (::fsync(fd) != 0) return Failed(wording.cannotWrite, errno);
  QString part = namedTemporary;
  if (part.isEmpty()) {
    const QByteArray proc = QStringLiteral("/proc/self/fd/%1").arg(fd).toLatin1();
    const auto linkAs = [&proc](const QString& name) {
      return ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, QFile::encodeName(name).constData(),
                      AT_SYMLINK_FOLLOW) == 0;
    };
    part = PartName(target);
    bool linked = linkAs(part);
    if (!linked && errno == EEXIST) {
      // Another writer is committing the same file, or one was killed doing so.
      part = WriterPartName(target, getpid());
      QFile::remove(part);
      linked = linkAs(part);
    }
    if (!linked) return Failed(wording.cannotWrite, errno);
  }
  if (::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
    const int error = errno;
    QFile::remove(part);
    return Failed(wording.cannotWrite, error);
  }
  committed = true;
  return {};
}
