#include "platform/locale_info.h"

#include <gtest/gtest.h>

TEST(LocaleInfo, AnsiCodePages) {
  struct Case {
    int lcid;
    int codePage;
  };
  const Case cases[] = {
      {0x0409, 1252},
      {0x0407, 1252},
      {0x040C, 1252},
      {0x0419, 1251},
      {0x0422, 1251},
      {0x0411, 932},
      {0x0405, 1250},
      {0x0415, 1250},
      {0x0408, 1253},
      {0x041F, 1254},
      {0x040D, 1255},
      {0x0401, 1256},
      {0x0429, 1256},
      {0x0425, 1257},
      {0x042A, 1258},
      {0x041E, 874},
      {0x0804, 936},
      {0x0412, 949},
      {0x0404, 950},
      {0x0C04, 950},
      {0x041A, 1250},
      {0x0C1A, 1251},
      {0x081A, 1250},
      // Unicode-only Windows locales answer 0.
      {0x0439, 0},
      {0x0437, 0},
      {0x042B, 0},
      // No such locale: no answer.
      {0x0000, -1},
      {0x0009, -1},
      {0x9999, -1},
      {-5, -1},
  };
  for (const Case& c : cases) EXPECT_EQ(LocaleAnsiCodePage(c.lcid), c.codePage) << std::hex << c.lcid;
}

TEST(LocaleInfo, ValidityAndNames) {
  EXPECT_TRUE(IsValidLocale(0x0409));
  EXPECT_TRUE(IsValidLocale(0x0419));
  EXPECT_FALSE(IsValidLocale(0x0009));  // neutral English
  EXPECT_FALSE(IsValidLocale(0x4000));
  EXPECT_FALSE(LocaleLanguageName(0x0409).isEmpty());
  EXPECT_TRUE(LocaleLanguageName(0x1234).isEmpty());
  EXPECT_EQ(LcidText(0x409), QStringLiteral("0x0409"));
  EXPECT_EQ(LcidText(0x2C0A), QStringLiteral("0x2C0A"));
}

TEST(LocaleInfo, LcidOfEnvironmentLocaleNames) {
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("C")), 0x0409);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("POSIX")), 0x0409);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("en_US_POSIX")), 0x0409);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("de_DE.UTF-8")), 0x0407);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("ru_RU")), 0x0419);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("fr_FR@euro")), 0x040C);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("ja")), 0x0411);
  EXPECT_EQ(LcidForLocaleName(QStringLiteral("xx_YY")), 0x0409);
  EXPECT_TRUE(IsValidLocale(SystemDefaultLcid()));
}

TEST(LocaleInfo, InstalledLanguageListItems) {
  const QStringList items = InstalledLanguageList();
  ASSERT_GT(items.size(), 100);
  bool hasUsEnglish = false;
  int previous = 0;
  for (const QString& item : items) {
    ASSERT_TRUE(item.startsWith(QStringLiteral("0x"))) << item.toStdString();
    ASSERT_EQ(item.at(6), u' ') << item.toStdString();
    bool ok = false;
    const int lcid = item.mid(2, 4).toInt(&ok, 16);
    ASSERT_TRUE(ok);
    EXPECT_EQ(item.mid(2, 4), item.mid(2, 4).toUpper());
    EXPECT_GT(lcid, previous) << "items in increasing order";
    previous = lcid;
    EXPECT_EQ(item.mid(7), LocaleLanguageName(lcid));
    if (lcid == 0x0409) hasUsEnglish = true;
  }
  EXPECT_TRUE(hasUsEnglish);
}
