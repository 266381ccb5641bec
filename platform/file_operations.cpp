#include "platform/file_operations.h"

#include <QDir>
#include <QFile>

#include <filesystem>
#include <system_error>

Status MakeFolder(const QString& folder) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
  if (error)
    return Fail(QStringLiteral("Cannot create folder %1: %2")
                    .arg(QDir::toNativeSeparators(folder), QString::fromLocal8Bit(error.message())));
  return {};
}

Status RemoveFile(const QString& path) {
  QFile file(path);
  if (!file.remove())
    return Fail(
        QStringLiteral("Cannot delete file %1: %2").arg(QDir::toNativeSeparators(path), file.errorString()));
  return {};
}
