#include "platform/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/unit/test_files.h"

TEST(SettingsFile, LivesInTheUsersConfigurationFolder) {
  QTemporaryDir dir;
  const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.filePath("cfg").toUtf8());
  EXPECT_EQ(UserSettingsFile(), dir.filePath("cfg/orvex/orvex.ini"));
  if (saved.isEmpty())
    qunsetenv("XDG_CONFIG_HOME");
  else
    qputenv("XDG_CONFIG_HOME", saved);
  EXPECT_EQ(SettingsFileBesideProgram(dir.filePath("bin/orvex")), dir.filePath("bin/orvex.ini"));
  EXPECT_EQ(SettingsFileBesideProgram(dir.filePath("bin/orvex.exe")), dir.filePath("bin/orvex.ini"));
}

TEST(SettingsFile, AnOldFileBesideTheProgramMovesOnceAndNeverOverwrites) {
  QTemporaryDir dir;
  const QString old = dir.filePath("bin/orvex.ini");
  const QString user = dir.filePath("cfg/orvex/orvex.ini");
  // Nothing to move: nothing is made.
  ExpectWritten(MoveOldSettings(old, user));
  EXPECT_FALSE(QFileInfo::exists(user));
  // The old file moves, byte for byte, into a folder made for it.
  ASSERT_TRUE(QDir().mkpath(dir.filePath("bin")));
  const QByteArray oldText("[FileHistory]\r\nFile1=/p/a.hhp\r\n");
  PutFile(old, oldText);
  ExpectWritten(MoveOldSettings(old, user));
  EXPECT_FALSE(QFileInfo::exists(old));
  EXPECT_EQ(BytesOf(user), oldText);
  // A later file beside the program never replaces the user's settings.
  PutFile(old, "[FileHistory]\r\nFile1=/someone/else.hhp\r\n");
  ExpectWritten(MoveOldSettings(old, user));
  EXPECT_EQ(BytesOf(user), oldText);
}
