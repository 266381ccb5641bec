// Where the help workshop lives: the settings file that names its folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "settings/workshop_folder.h"

namespace {

QString WriteSettings(const QString& path, const QByteArray& text) {
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(text);
  return path;
}

TEST(WorkshopFolder, TrailingSeparatorAppendedOnlyWhenMissing) {
  QTemporaryDir dir;
  EXPECT_EQ(ReadWorkshopFolder(WriteSettings(dir.filePath("workshop.ini"),
                                             "[HTML Help Workshop]\r\nInstallDir=/opt/hhw\r\n")),
            "/opt/hhw/");
  EXPECT_EQ(ReadWorkshopFolder(
                WriteSettings(dir.filePath("workshop.ini"), "[HTML Help Workshop]\nInstallDir=/opt/hhw/\n")),
            "/opt/hhw/");
}

TEST(WorkshopFolder, EmptyWhenFileSectionOrValueIsMissing) {
  QTemporaryDir dir;
  EXPECT_EQ(ReadWorkshopFolder(dir.filePath("none.ini")), "");
  EXPECT_EQ(ReadWorkshopFolder(WriteSettings(dir.filePath("workshop.ini"), "[Other]\nInstallDir=/x\n")), "");
  EXPECT_EQ(
      ReadWorkshopFolder(WriteSettings(dir.filePath("workshop.ini"), "[HTML Help Workshop]\nInstallDir=\n")),
      "");
}

TEST(WorkshopFolder, SettingsFileFollowsXdgConfigHomeAndTakesOverTheOlderName) {
  QTemporaryDir dir;
  const QByteArray old = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  const QString file = dir.filePath("orvex/workshop.ini");
  EXPECT_EQ(WorkshopSettingsFile(), file);
  // A file of an older version is moved to the new name once, and read there.
  ASSERT_TRUE(QDir().mkpath(dir.filePath("orvex")));
  WriteSettings(dir.filePath("orvex/registry.ini"), "[HTML Help Workshop]\nInstallDir=/opt/hhw\n");
  EXPECT_EQ(ReadWorkshopFolder(WorkshopSettingsFile()), "/opt/hhw/");
  EXPECT_TRUE(QFileInfo::exists(file));
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("orvex/registry.ini")));
  // Once the new file is there, an older one that reappears is left alone.
  WriteSettings(dir.filePath("orvex/registry.ini"), "[HTML Help Workshop]\nInstallDir=/other\n");
  EXPECT_EQ(ReadWorkshopFolder(WorkshopSettingsFile()), "/opt/hhw/");
  qputenv("XDG_CONFIG_HOME", old);
}

}  // namespace
