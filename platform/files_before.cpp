#include "platform/files_before.h"

#include <QFile>
#include <QFileInfo>

#include "platform/text_file.h"

FilesBefore::FilesBefore(const QStringList& paths) {
  for (const QString& path : paths) {
    Kept kept{path, QFileInfo::exists(path), std::nullopt};
    if (kept.existed && QFileInfo(path).isFile())
      if (Result<QByteArray> bytes = ReadFileBytes(path)) kept.bytes = std::move(*bytes);
    files.push_back(std::move(kept));
  }
}

Status FilesBefore::Restore() const {
  QStringList failed;
  for (const Kept& kept : files) {
    if (!kept.existed) {
      if (QFileInfo(kept.path).isFile() && !QFile::remove(kept.path))
        failed << QStringLiteral("Cannot delete file %1").arg(kept.path);
    } else if (kept.bytes) {
      if (Status put = WriteFileBytes(kept.path, *kept.bytes); !put) failed << put.Message();
    }
  }
  if (!failed.isEmpty()) return Fail(failed.join(u'\n'));
  return {};
}
