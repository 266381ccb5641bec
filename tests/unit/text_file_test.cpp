#include "platform/text_file.h"
#include "tests/unit/test_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SplitLines, LineEndsOfEveryKind) {
  struct Case {
    QString text;
    QStringList lines;
  };
  const Case cases[] = {
      {QString(), {}},
      {QStringLiteral("\r\n"), {QString()}},
      {QStringLiteral("a"), {"a"}},
      {QStringLiteral("a\r\nb\r\n"), {"a", "b"}},
      {QStringLiteral("a\rb\nc"), {"a", "b", "c"}},
      {QStringLiteral("a\n\rb"), {"a", "", "b"}},  // LF then CR: two line ends
      {QStringLiteral("a\r\n\r\n"), {"a", ""}},
      {QStringLiteral("\n\nx"), {"", "", "x"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text.toStdString();
}

TEST(JoinLines, EveryLineEndsWithCrLf) {
  EXPECT_EQ(JoinLines({}), QString());
  EXPECT_EQ(JoinLines({""}), QStringLiteral("\r\n"));
  EXPECT_EQ(JoinLines({"a", "", "b"}), QStringLiteral("a\r\n\r\nb\r\n"));
  EXPECT_EQ(SplitLines(JoinLines({"x", "", "y"})), QStringList({"x", "", "y"}));
}

TEST(TextFile, WritesAndReadsBackInTheCodePage) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Проект.hhp"));
  const QStringList lines = {QStringLiteral("[OPTIONS]"), QString::fromUtf16(u"Title=Справка \u4E2D")};
  PutLines(path, lines, 1251);
  EXPECT_EQ(BytesOf(path), QByteArray("[OPTIONS]\r\nTitle=\xD1\xEF\xF0\xE0\xE2\xEA\xE0 &#20013;\r\n"));
  EXPECT_EQ(LinesOf(path, 1251),
            QStringList({QStringLiteral("[OPTIONS]"), QString::fromUtf16(u"Title=Справка &#20013;")}));
  // Replacing leaves no helper file behind.
  PutText(path, QStringLiteral("x"), 1251);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({QStringLiteral("Проект.hhp")}));
}

TEST(TextFile, AnotherWritersPartDoesNotStopAWriteAndIsLeftAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("a.hhc"));
  const QString part = dir.filePath(QStringLiteral(".a.hhc.orvex-part"));
  PutFile(part, "being committed");
  ASSERT_TRUE(WriteTextFile(path, QStringLiteral("new"), 1252).Ok());
  EXPECT_EQ(BytesOf(path), QByteArray("new"));
  EXPECT_EQ(BytesOf(part), QByteArray("being committed"));  // not this writer's: it may still be renamed
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({QStringLiteral(".a.hhc.orvex-part"), QStringLiteral("a.hhc")}));
}

TEST(TextFile, FailuresCarryTheMessagesAndKeepTheOldFile) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("none.hhc"));
  const Result<QByteArray> read = ReadFileBytes(missing);
  ASSERT_FALSE(read.Ok()) << "no error for a missing file";
  EXPECT_EQ(read.Message(), QStringLiteral("Cannot open file ") + missing + ": No such file or directory");
  EXPECT_EQ(ReadLinesFile(missing, 1252).Message(), read.Message());

  const QString inMissingFolder = dir.filePath(QStringLiteral("no/such/folder/x.hhk"));
  const Status written = WriteFileBytes(inMissingFolder, "x");
  ASSERT_FALSE(written.Ok()) << "no error for a missing folder";
  EXPECT_EQ(written.Message(), QStringLiteral("Cannot create file %1: the folder %2 does not exist")
                                   .arg(inMissingFolder, dir.filePath(QStringLiteral("no/such/folder"))));

  const QString readOnly = dir.filePath(QStringLiteral("ro.hhc"));
  PutFile(readOnly, "old contents\r\n");
  QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadUser);
  EXPECT_EQ(WriteLinesFile(readOnly, {"new"}, 1252).Message(),
            QStringLiteral("Cannot create file ") + readOnly + QStringLiteral(": the file is read-only"));
  EXPECT_EQ(BytesOf(readOnly), QByteArray("old contents\r\n"));
}
