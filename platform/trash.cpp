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

Status MoveToTrash(const QString& path) {
  if (!TrashAvailable())
    return Fail(QStringLiteral("Cannot move file %1 to the trash: the trash folder cannot be made")
                    .arg(QDir::toNativeSeparators(path)));
  QFile file(path);
  if (!file.moveToTrash())
    return Fail(QStringLiteral("Cannot move file %1 to the trash: %2")
                    .arg(QDir::toNativeSeparators(path), file.errorString()));
  return {};
}
