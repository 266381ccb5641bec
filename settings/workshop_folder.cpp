#include "settings/workshop_folder.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/profile.h"

QString RegistryFilePath() {
  QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (config.isEmpty()) config = QDir::homePath() + "/.config";
  return config + "/orvex/registry.ini";
}

QString WorkshopDirFromRegistry(const QString& registryFile) {
  QString dir = ReadProfileString(registryFile, "HTML Help Workshop", "InstallDir", QString());
  if (dir.isEmpty()) return dir;
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}
