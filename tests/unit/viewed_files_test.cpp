#include "settings/viewed_files.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "tests/unit/test_files.h"

namespace {

class ViewedFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  QString File(int number) const { return dir.filePath(QStringLiteral("help %1.chm").arg(number)); }
  QTemporaryDir dir;
  const QString settings = dir.filePath("orvex.ini");
};

TEST_F(ViewedFilesTest, AFileComesBackWithItsTopicAndWindowAndNothingElseDoes) {
  ExpectWritten(WriteProfileString(settings, "FileHistory", "File1", "/work/My Guide.hhp"));
  static const char kWindowBytes[] = "\x01\xd9\xd0\xcb\x00\x03\n=[]";
  const QByteArray window(kWindowBytes, sizeof kWindowBytes - 1);
  ExpectWritten(RememberViewedFile(settings, {File(1), "/Guide02.htm#part", window}));
  ExpectWritten(RememberViewedFile(settings, {File(2), "/Other.htm", {}}));

  const std::optional<ViewedFile> first = ReadViewedFile(settings, File(1));
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->topic, "/Guide02.htm#part");
  EXPECT_EQ(first->window, window);
  EXPECT_FALSE(ReadViewedFile(settings, dir.filePath("never.chm")).has_value());
  EXPECT_FALSE(ReadViewedFile(settings, File(1).toUpper()).has_value());
  // The rest of the settings file stays as it was.
  EXPECT_EQ(ReadProfileString(settings, "FileHistory", "File1", {}), "/work/My Guide.hhp");
  // A name that cannot stand on one line is not kept, and breaks nothing.
  ExpectWritten(RememberViewedFile(settings, {File(3) + "\n[FileHistory]", "/a.htm", {}}));
  EXPECT_EQ(ReadProfileString(settings, "FileHistory", "File1", {}), "/work/My Guide.hhp");
}

TEST_F(ViewedFilesTest, TheFileViewedLastComesFirstOnceAndTheOldestGoPastTwenty) {
  for (int number = 1; number <= kViewedFilesKept + 2; ++number)
    ExpectWritten(RememberViewedFile(settings, {File(number), QStringLiteral("/t%1.htm").arg(number), {}}));
  EXPECT_FALSE(ReadViewedFile(settings, File(1)).has_value());
  EXPECT_FALSE(ReadViewedFile(settings, File(2)).has_value());
  ASSERT_TRUE(ReadViewedFile(settings, File(3)).has_value());

  // Viewed again: first in the list, with the new topic, and only once.
  ExpectWritten(RememberViewedFile(settings, {File(5), "/again.htm", {}}));
  EXPECT_EQ(ReadProfileString(settings, "Viewed files", "File1", {}), File(5));
  EXPECT_EQ(ReadViewedFile(settings, File(5))->topic, "/again.htm");
  int times = 0;
  for (int number = 1; number <= kViewedFilesKept; ++number)
    times += ReadProfileString(settings, "Viewed files", QStringLiteral("File%1").arg(number), {}) == File(5);
  EXPECT_EQ(times, 1);
  EXPECT_EQ(ReadProfileString(settings, "Viewed files", QStringLiteral("File%1").arg(kViewedFilesKept), {}),
            File(3));
}

}  // namespace
