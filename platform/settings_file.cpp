#include "platform/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/profile.h"
#include "platform/text_file.h"

QString UserSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/orvex/orvex.ini");
}

QString SettingsFileBesideProgram(const QString& programPath) {
  const QFileInfo program(programPath);
  return program.absolutePath() + u'/' + program.completeBaseName() + QStringLiteral(".ini");
}

Status MoveOldSettings(const QString& oldPath, const QString& userPath) {
  if (QFileInfo::exists(userPath) || !QFileInfo(oldPath).isFile()) return {};
  Result<QByteArray> old = ReadFileBytes(oldPath);
  if (!old) return Fail(old.Message());
  if (Status copied = WriteProfileFile(userPath, *old); !copied) return copied;
  QFile oldFile(oldPath);
  if (!oldFile.remove())
    return Fail(QStringLiteral("Settings copied to %1, but %2 cannot be removed: %3")
                    .arg(userPath, oldPath, oldFile.errorString()));
  return {};
}
