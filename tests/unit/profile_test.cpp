#include "platform/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "tests/unit/test_files.h"

namespace {

const QByteArray kSettings =
    "; settings kept by hand\r\n"
    "[Window]\r\n"
    "Left = 10 \r\n"
    "File1=not history\r\n"
    "\r\n"
    "[FileHistory]\r\n"
    "file1=/home/u/A.hhp\r\n"
    "File2 = \"/home/u/B B.hhp\"\r\n"
    "; a comment inside\r\n"
    "\r\n"
    "[Other]\n"
    "x=\xff\xfe raw bytes\n";

}  // namespace

TEST(Profile, ReadsLikeTheWindowsProfileFunctions) {
  struct Case {
    const char* section;
    const char* key;
    QString value;
  };
  const Case cases[] = {
      {"FileHistory", "File1", QStringLiteral("/home/u/A.hhp")},    // key case ignored
      {"filehistory", "FILE2", QStringLiteral("/home/u/B B.hhp")},  // quotes and blanks dropped
      {"Window", "Left", QStringLiteral("10")},
      {"Window", "File1", QStringLiteral("not history")},
      {"FileHistory", "File3", QStringLiteral("default")},
      {"Missing", "File1", QStringLiteral("default")},
      {"FileHistory", "; a comment inside", QStringLiteral("default")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ProfileValue(kSettings, c.section, c.key, QStringLiteral("default")), c.value)
        << c.section << "/" << c.key;
}

TEST(Profile, WritingOneKeyKeepsEveryOtherByte) {
  // Replacing an existing key: only that line changes.
  QByteArray expected = kSettings;
  expected.replace("file1=/home/u/A.hhp", "File1=/x/C.hhp");
  EXPECT_EQ(SetProfileValue(kSettings, "FILEHISTORY", "File1", "/x/C.hhp").replace("FILEHISTORY", ""),
            expected);

  // A new key goes after the section's last non-blank line.
  expected = kSettings;
  expected.replace("; a comment inside\r\n", "; a comment inside\r\nFile3=/x/D.hhp\r\n");
  EXPECT_EQ(SetProfileValue(kSettings, "FileHistory", "File3", "/x/D.hhp"), expected);

  // A new section goes at the end.
  EXPECT_EQ(SetProfileValue(kSettings, "New", "k", "v"), kSettings + "[New]\r\nk=v\r\n");
  EXPECT_EQ(SetProfileValue("[A]\na=1", "A", "b", "2"), QByteArray("[A]\na=1\nb=2"));
  EXPECT_EQ(SetProfileValue(QByteArray(), "FileHistory", "File1", ""),
            QByteArray("[FileHistory]\r\nFile1=\r\n"));
}

TEST(Profile, FileReadAndWrite) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("sub/orvex.ini"));
  EXPECT_EQ(ReadProfileString(path, "FileHistory", "File1", "none"), QStringLiteral("none"));
  EXPECT_TRUE(
      WriteProfileString(path, "FileHistory", "File1", QString::fromUtf16(u"/home/u/Справка.hhp")).Ok());
  EXPECT_EQ(ReadProfileString(path, "FileHistory", "File1", ""), QString::fromUtf16(u"/home/u/Справка.hhp"));

  const QString blocked = dir.filePath(QStringLiteral("file/orvex.ini"));  // "file" is not a folder
  PutFile(dir.filePath(QStringLiteral("file")), "x");
  const Status written = WriteProfileString(blocked, "FileHistory", "File1", "a");
  ASSERT_FALSE(written.Ok()) << "no error";
  EXPECT_TRUE(written.Message().startsWith(QStringLiteral("Unable to write to ") + blocked + u':'))
      << written.Message().toStdString();
}
