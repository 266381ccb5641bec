#include "platform/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// $XDG_DATA_HOME/Trash (~/.local/share/Trash).
QString HomeTrash() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Trash");
}

}  // namespace

bool TrashAvailable() {
  // Made here when missing, as the trash's own rules ask, private to the user;
  // without it Qt would put the files into a folder of the current directory.
  const QString trash = HomeTrash();
  if (!QFileInfo(trash).isDir()) {
    if (!QDir().mkpath(trash)) return false;
    QFile::setPermissions(trash, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  return QDir().mkpath(trash + QStringLiteral("/files")) && QDir().mkpath(trash + QStringLiteral("/info"));
}

Status MoveToTrash(const QString& path, QString* trashedPath) {
  if (!TrashAvailable())
    return Fail(QStringLiteral("Cannot move file %1 to the trash: the trash folder cannot be made")
                    .arg(QDir::toNativeSeparators(path)));
  QFile file(path);
  if (!file.moveToTrash())
    return Fail(QStringLiteral("Cannot move file %1 to the trash: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()));
  // The file object names the file where the trash put it.
  if (trashedPath) *trashedPath = file.fileName();
  return {};
}

Status RestoreFromTrash(const QString& trashedPath, const QString& path) {
  const auto failed = [&](const QString& reason) {
    return Fail(QStringLiteral("Cannot restore file %1 from the trash: %2")
                    .arg(QDir::toNativeSeparators(path), reason));
  };
  if (!QFileInfo(trashedPath).isFile()) return failed(QStringLiteral("it is no longer in the trash"));
  if (QFileInfo::exists(path)) return failed(QStringLiteral("a file of that name is there"));
  QFile file(trashedPath);
  if (!file.rename(path)) return failed(file.errorString());
  // The trash's note beside its "files" folder: info/NAME.trashinfo.
  const QFileInfo trashed(trashedPath);
  QFile::remove(trashed.dir().absoluteFilePath(QStringLiteral("../info/") + trashed.fileName() +
                                               QStringLiteral(".trashinfo")));
  return {};
}
