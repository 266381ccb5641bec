#include "settings/recent_projects.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/profile.h"
#include "platform/text_file.h"
#include "tests/unit/test_files.h"

namespace {

QStringList Slots(const QString& settingsPath) {
  QStringList values;
  for (int i = 1; i <= 5; ++i)
    values << ReadProfileString(settingsPath, "FileHistory", QStringLiteral("File%1").arg(i), "<missing>");
  return values;
}

void SetSlots(const QString& settingsPath, const QStringList& values) {
  for (int i = 0; i < values.size(); ++i)
    ExpectWritten(
        WriteProfileString(settingsPath, "FileHistory", QStringLiteral("File%1").arg(i + 1), values[i]));
}

}  // namespace

TEST(RecentProjects, AddToHistoryCases) {
  struct Case {
    const char* name;
    QStringList before;
    QString saved;
    QStringList after;
    QStringList listAfter;
  };
  const Case cases[] = {
      {"move C up", {"A", "B", "C", "D", ""}, "C", {"C", "A", "B", "D", ""}, {"C", "A", "B", "D"}},
      {"full list, new F",
       {"A", "B", "C", "D", "E"},
       "F",
       {"F", "A", "B", "C", "D"},
       {"F", "A", "B", "C", "D"}},
      {"top stays", {"A", "B", "C", "", ""}, "A", {"A", "B", "C", "", ""}, {"A", "B", "C"}},
      {"case differs",
       {"/p/a.hhp", "B", "", "", ""},
       "/p/A.hhp",
       {"/p/A.hhp", "/p/a.hhp", "B", "", ""},
       {"/p/A.hhp", "/p/a.hhp", "B"}},
      {"gap after fileMenu", {"", "B", "C", "", ""}, "N", {"N", "", "", "", ""}, {"N"}},
      {"entries after a gap are dropped", {"A", "", "C", "", ""}, "C", {"C", "A", "", "", ""}, {"C", "A"}},
      {"duplicates: last match",
       {"A", "X", "B", "X", ""},
       "X",
       {"X", "A", "X", "B", ""},
       {"X", "A", "X", "B"}},
  };
  for (const Case& c : cases) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("orvex.ini"));
    SetSlots(ini, c.before);
    ExpectWritten(AddToHistory(ini, c.saved));
    EXPECT_EQ(Slots(ini), c.after) << c.name;
    EXPECT_EQ(ReadRecentProjects(ini), c.listAfter) << c.name;
  }
}

TEST(RecentProjects, ListStopsAtFirstEmptyAndFirstStartIsEmpty) {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("orvex.ini"));
  EXPECT_TRUE(ReadRecentProjects(ini).isEmpty());
  SetSlots(ini, {"", "B"});
  EXPECT_TRUE(ReadRecentProjects(ini).isEmpty());
  ExpectWritten(AddToHistory(dir.filePath(QStringLiteral("new.ini")), QStringLiteral("/p/first.hhp")));
  EXPECT_EQ(ReadRecentProjects(dir.filePath(QStringLiteral("new.ini"))), QStringList({"/p/first.hhp"}));
}

TEST(RecentProjects, OtherSectionsSurvive) {
  QTemporaryDir dir;
  const QString ini = dir.filePath(QStringLiteral("orvex.ini"));
  PutFile(ini, "[Mine]\r\nkeep = me ; really\r\n");
  ExpectWritten(AddToHistory(ini, QStringLiteral("/p/a.hhp")));
  EXPECT_EQ(
      BytesOf(ini),
      QByteArray("[Mine]\r\nkeep = me ; really\r\n[FileHistory]\r\nFile1=/p/a.hhp\r\nFile2=\r\nFile3=\r\n"
                 "File4=\r\nFile5=\r\n"));
}
