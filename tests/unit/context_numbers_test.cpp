#include "model/context_numbers.h"
#include "model/page_names.h"
#include "model/used_context_entries.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

TEST(AddContextEntries, CreatedTopicsGetMapAndAliasLines) {
  QStringList map, alias;
  EXPECT_TRUE(AddContextEntries("My_Guide01.htm", "My_Guide", map, alias));
  EXPECT_TRUE(AddContextEntries("MyHelp03.htm", "MyHelp", map, alias));
  EXPECT_EQ(map, QStringList({"#define IDH_My_Guide01  101", "#define IDH_MyHelp03  103"}));
  EXPECT_EQ(alias, QStringList({"IDH_My_Guide01=My_Guide01.htm", "IDH_MyHelp03=MyHelp03.htm"}));
}

TEST(AddContextEntries, CounterRules) {
  struct Case {
    const char* file;
    const char* prefix;
    bool added;
    const char* mapLine;
  } const cases[] = {
      {"Other01.htm", "MyHelp", false, ""},                              // page of another project
      {"myhelp01.htm", "MyHelp", false, ""},                             // prefix is case-sensitive
      {"MyHelp.htm", "MyHelp", false, ""},                               // counter cut before "." is empty
      {"MyHelp7.htm", "MyHelp", true, "#define IDH_MyHelp7  17"},        // one-character counter
      {"MyHelp123.htm", "MyHelp", true, "#define IDH_MyHelp123  1123"},  // past 99: no clash with 112
  };
  for (const Case& c : cases) {
    QStringList map, alias;
    EXPECT_EQ(AddContextEntries(c.file, c.prefix, map, alias), c.added) << c.file;
    EXPECT_EQ(map.size(), c.added ? 1 : 0) << c.file;
    EXPECT_EQ(alias.size(), map.size()) << c.file;
    if (c.added) {
      EXPECT_EQ(map.first(), QString::fromUtf8(c.mapLine)) << c.file;
    }
  }
}

TEST(ContextNumberOf, ReadsWhatAddContextEntriesWrote) {
  QStringList map, alias;
  for (const char* file : {"Help01.htm", "Help02.htm", "Help10.htm", "Help11.htm"})
    AddContextEntries(file, "Help", map, alias);
  EXPECT_EQ(ContextNumberOf("Help01.htm", alias, map), "101");
  EXPECT_EQ(ContextNumberOf("Help10.htm", alias, map), "110");
  EXPECT_EQ(ContextNumberOf("Help11.htm", alias, map), "111");
  EXPECT_EQ(ContextNumberOf("Help03.htm", alias, map), "");
}

TEST(ContextNumberOf, ValueRules) {
  struct Case {
    const char* mapLine;
    const char* expected;
  } const cases[] = {
      {"#define IDH_page  42", "42"},
      {"#define IDH_page\t 42 \t\r", ""},   // tab after the id is no blank
      {"#define IDH_page 42\t\x01", "42"},  // trailing control characters trimmed
      {"#define IDH_page  -7", "-7"},
      {"#define IDH_page  +0042", "+0042"},  // returned as written
      {"#define IDH_page  IDH_OTHER", ""},   // symbolic value
      {"#define IDH_page  12 // note", ""},
      {"#define IDH_page  99999999999", ""},  // beyond an integer
      {"#define IDH_page  ", ""},
  };
  const QStringList alias{"IDH_page=page.htm"};
  for (const Case& c : cases) {
    EXPECT_EQ(ContextNumberOf("page.htm", alias, {QString::fromLatin1(c.mapLine)}),
              QString::fromLatin1(c.expected))
        << c.mapLine;
  }
}

TEST(ContextNumberOf, LookupRules) {
  // Without alias line the file name itself is searched, followed by a blank.
  EXPECT_EQ(ContextNumberOf("page.htm", {}, {"#define page.htm 5"}), "5");
  EXPECT_EQ(ContextNumberOf("page.htm", {}, {}), "");
  // Case-sensitive, first match wins.
  const QStringList alias{"IDH_A=Page.htm", "IDH_B=page.htm", "IDH_C=page.htm"};
  const QStringList map{"#define IDH_C  3", "#define IDH_B  2", "#define IDH_B  22"};
  EXPECT_EQ(ContextNumberOf("page.htm", alias, map), "2");
  // The value is cut after 255 characters, so a long tail leaves only digits.
  const QString longLine = QStringLiteral("#define X ") + QString(253, u' ') + QStringLiteral("7abc");
  EXPECT_EQ(ContextNumberOf("X", {}, {longLine}), "7");
  // Empty file name or an alias line without "=" gives no number rather than
  // the first map line that happens to hold a blank.
  EXPECT_EQ(ContextNumberOf("", {"IDH_A=a.htm"}, {"#define IDH_A  1"}), "");
  EXPECT_EQ(ContextNumberOf("a.htm", {"broken a.htm"}, {"#define IDH_A  1"}), "");
}

TEST(RemoveContextEntries, RemovesExactlyTheLinesLookedUp) {
  QStringList map, alias;
  for (const char* file : {"H01.htm", "H02.htm", "H03.htm"}) AddContextEntries(file, "H", map, alias);
  RemoveContextEntries("H02.htm", map, alias);
  EXPECT_EQ(map, QStringList({"#define IDH_H01  101", "#define IDH_H03  103"}));
  EXPECT_EQ(alias, QStringList({"IDH_H01=H01.htm", "IDH_H03=H03.htm"}));
  EXPECT_EQ(ContextNumberOf("H02.htm", alias, map), "");

  // No alias line: the map is searched for the file name and a blank.
  QStringList map2{"#define other  1", "x.htm 9"};
  QStringList alias2;
  RemoveContextEntries("x.htm", map2, alias2);
  EXPECT_EQ(map2, QStringList({"#define other  1"}));

  // Nothing found: nothing removed.
  RemoveContextEntries("nothere.htm", map, alias);
  EXPECT_EQ(map.size(), 2);
  EXPECT_EQ(alias.size(), 2);
}

TEST(NewPageName, TakesTheFirstFreeCounter) {
  struct Case {
    QSet<QString> existing;
    QString expected;
  } const cases[] = {
      {{}, "MyHelp01.htm"},
      {{"/p/MyHelp01.htm", "/p/MyHelp02.htm"}, "MyHelp03.htm"},
      {{"/p/MyHelp01.htm", "/p/MyHelp03.htm"}, "MyHelp02.htm"},
      {{"/other/MyHelp01.htm"}, "MyHelp01.htm"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NewPageName("/p/", "MyHelp", [&](const QString& path) { return c.existing.contains(path); }),
              c.expected);
  }
}

TEST(NewPageName, CountersGoPast99AndStopAtTheLast) {
  QSet<QString> existing;
  for (int n = 1; n <= 99; ++n) existing.insert("/p/" + NumberedPageName("My_Help", n));
  const auto exists = [&](const QString& path) { return existing.contains(path); };
  EXPECT_EQ(NewPageName("/p", "My_Help", exists), "My_Help100.htm");
  EXPECT_EQ(NewPageName("/p", "My_Help", [](const QString&) { return true; }),
            "");  // full: no endless search
  EXPECT_EQ(NumberedPageName("A", 7), "A07.htm");
  EXPECT_EQ(NumberedPageName("A", 1234), "A1234.htm");
}

TEST(ContextEntriesTaken, ANumberOrSymbolAlreadyDefinedIsTaken) {
  const QStringList map{"#define IDH_Old\t1100", "#define  IDH_Help101  5"};
  const QStringList alias{"IDH_Help102=elsewhere.htm"};
  const QSet<QString> used = UsedContextNumbers(map);
  EXPECT_EQ(used, QSet<QString>({"1100", "5"}));
  EXPECT_TRUE(ContextEntriesTaken("Help100.htm", "Help", used, map, alias));  // number 1100
  EXPECT_TRUE(ContextEntriesTaken("Help101.htm", "Help", used, map, alias));  // symbol in the map
  EXPECT_TRUE(ContextEntriesTaken("Help102.htm", "Help", used, map, alias));  // symbol in the aliases
  EXPECT_FALSE(ContextEntriesTaken("Help103.htm", "Help", used, map, alias));
  EXPECT_FALSE(ContextEntriesTaken("Help10.htm", "Help", used, map, alias));  // 110 is free
}

TEST(UsedContextEntries, AnswersAsTheLinesDoWhileLinesAreAdded) {
  // Symbols inside longer words, after tabs, in comments, with "=" in them.
  const QStringList map{"#define IDH_Old\t1100",   "#define  IDH_Help101  5", "#define XIDH_Help104 7",
                        "// IDH_Help105 was here", "#define IDH_Help106\t8",  "#define IDH_Help10"};
  const QStringList alias{"IDH_Help102=elsewhere.htm", "IDH_Help1=07=odd.htm", "IDH_Help108 = spaced.htm",
                          "XIDH_Help109=x.htm"};
  UsedContextEntries used;
  used.Rebuild(map, alias);
  QStringList names;
  for (int n = 1; n <= 120; ++n) names << NumberedPageName("Help", n);
  names << "Help1=07.htm"
        << "Help.htm";
  const auto same = [&](const QStringList& mapLines, const QStringList& aliasLines) {
    for (const QString& name : names)
      EXPECT_EQ(used.Taken(name, "Help"),
                ContextEntriesTaken(name, "Help", UsedContextNumbers(mapLines), mapLines, aliasLines))
          << name.toStdString();
  };
  same(map, alias);
  QStringList moreMap = map;
  QStringList moreAlias = alias;
  ASSERT_TRUE(AddContextEntries("Help110.htm", "Help", moreMap, moreAlias));
  used.AddMapLine(moreMap.last());
  used.AddAliasLine(moreAlias.last());
  moreMap << "#define IDH_Other  1111";
  used.AddMapLine(moreMap.last());
  same(moreMap, moreAlias);
}

}  // namespace
