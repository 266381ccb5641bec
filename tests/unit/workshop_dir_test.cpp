// Where the help workshop lives: the registry file of ours.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/workshop_folder.h"

namespace {

QString WriteRegistry(const QTemporaryDir& dir, const QByteArray& text) {
  const QString path = dir.filePath("registry.ini");
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text);
  return path;
}

TEST(WorkshopDir, TrailingSeparatorAppendedOnlyWhenMissing) {
  QTemporaryDir dir;
  EXPECT_EQ(WorkshopDirFromRegistry(WriteRegistry(dir, "[HTML Help Workshop]\r\nInstallDir=/opt/hhw\r\n")),
            "/opt/hhw/");
  EXPECT_EQ(WorkshopDirFromRegistry(WriteRegistry(dir, "[HTML Help Workshop]\nInstallDir=/opt/hhw/\n")),
            "/opt/hhw/");
}

TEST(WorkshopDir, EmptyWhenFileSectionOrValueIsMissing) {
  QTemporaryDir dir;
  EXPECT_EQ(WorkshopDirFromRegistry(dir.filePath("none.ini")), "");
  EXPECT_EQ(WorkshopDirFromRegistry(WriteRegistry(dir, "[Other]\nInstallDir=/x\n")), "");
  EXPECT_EQ(WorkshopDirFromRegistry(WriteRegistry(dir, "[HTML Help Workshop]\nInstallDir=\n")), "");
}

TEST(WorkshopDir, RegistryFileFollowsXdgConfigHome) {
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
  EXPECT_EQ(RegistryFilePath(), "/tmp/cfg/orvex/registry.ini");
  qputenv("XDG_CONFIG_HOME", old);
}

}  // namespace
