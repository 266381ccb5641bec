#include "settings/workshop_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/profile.h"

QString WorkshopSettingsFile() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  const QString file = config + "/orvex/workshop.ini";
  const QString older = config + "/orvex/registry.ini";
  if (QFileInfo::exists(file) || !QFileInfo::exists(older)) return file;
  return QFile::rename(older, file) ? file : older;
}

QString ReadWorkshopFolder(const QString& settingsFile) {
  QString dir = ReadProfileString(settingsFile, "HTML Help Workshop", "InstallDir", QString());
  if (dir.isEmpty()) return dir;
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}
