#include "formats/project/project_file.h"

#include <gtest/gtest.h>

#include "platform/text_file.h"

TEST(ProjectFile, NamesDerivedFromThePath) {
  EXPECT_EQ(BlankToUnderscore(QStringLiteral(" My  Guide ")), QStringLiteral("_My__Guide_"));
  EXPECT_EQ(BlankToUnderscore(QString::fromUtf16(u"a\tb\u00A0c")), QString::fromUtf16(u"a\tb\u00A0c"));
  EXPECT_EQ(ProjectBaseName(QStringLiteral("/home/u/Help/My Guide.hhp")), QStringLiteral("My Guide"));
  EXPECT_EQ(ProjectBaseName(QStringLiteral("C:\\My Help\\Proj.hhp")), QStringLiteral("Proj"));
  EXPECT_EQ(ProjectBaseName(QStringLiteral("/x/v1.2 guide.hhp")), QStringLiteral("v1.2 guide"));
  EXPECT_EQ(ProjectNamePrefix(QStringLiteral("/x/My Guide.hhp")), QStringLiteral("My_Guide"));
  EXPECT_EQ(ReplaceExtension(QStringLiteral("/a.b/My Guide.hhp"), QStringLiteral("P.js")),
            QStringLiteral("/a.b/My GuideP.js"));
  EXPECT_EQ(ReplaceExtension(QStringLiteral("/a.b/noext"), QStringLiteral(".css")),
            QStringLiteral("/a.b/noext.css"));
}

TEST(ProjectFile, NewProjectConfirmedIsByteExact) {
  const QStringList lines = NewProjectLines(
      QStringLiteral("/home/u/Help/My Guide.hhp"),
      NewProjectChoice{QStringLiteral("Printer Guide"), QStringLiteral("0x0407 German (Germany)")});
  EXPECT_EQ(JoinLines(lines), QStringLiteral("[OPTIONS]\r\n"
                                             "Compatibility=1.1 or later\r\n"
                                             "Compiled file=My Guide.chm\r\n"
                                             "Contents file=My Guide.hhc\r\n"
                                             "Display compile progress=No\r\n"
                                             "Index file=My Guide.hhk\r\n"
                                             "Full-text search=Yes\r\n"
                                             "Title=Printer Guide\r\n"
                                             "Language=0x0407 German (Germany)\r\n"
                                             "Error log file=My Guide.log\r\n"
                                             "Default topic=My_Guide001.htm\r\n"
                                             "\r\n"
                                             "[FILES]\r\n"
                                             "My_Guide001.htm\r\n"
                                             "My Guide.css\r\n"
                                             "My GuideP.js\r\n"
                                             "\r\n"
                                             "[ALIAS]\r\n"
                                             "#include My Guide.ali\r\n"
                                             "\r\n"
                                             "[MAP]\r\n"
                                             "#include My Guide.h\r\n"));
}

TEST(ProjectFile, NewProjectCancelledHas21Lines) {
  const QStringList lines = NewProjectLines(QStringLiteral("/home/u/Help/My Guide.hhp"), std::nullopt);
  ASSERT_EQ(lines.size(), 21);
  EXPECT_EQ(lines[7], QStringLiteral("Title=My Guide"));
  EXPECT_EQ(lines[8], QStringLiteral("Error log file=My Guide.log"));
  EXPECT_FALSE(ProjectLanguage(lines).has_value());
  EXPECT_EQ(lines[11], QStringLiteral("[FILES]"));
  EXPECT_EQ(lines[12], QStringLiteral("My_Guide001.htm"));
  EXPECT_EQ(lines[20], QStringLiteral("#include My Guide.h"));
}

TEST(ProjectFile, UpdateRewritesFirstTopicLines) {
  const QStringList before = {
      "[OPTIONS]",                    // 0
      "Default topic=old.htm",        // 1
      "default topic=x.htm",          // 2 other case: kept
      " Default topic=y.htm",         // 3 leading blank: kept
      "Default topic=",               // 4
      "[FILES]",                      // 5
      "My_Guide001.htm",              // 6
      "My Guide.css",                 // 7
      "",                             // 8
      "[WINDOWS]",                    // 9
      "main=\"x\",\"My Guide.hhc\"",  // 10 added by hand
      "[files]",                      // 11 other case: not followed up
      "keep.htm",                     // 12
  };
  // The new project's placeholder names no file: the first topic takes its place.
  const QString project = QStringLiteral("/nonexistent/My Guide.hhp");
  const QStringList after = UpdateProjectLines(before, QStringLiteral("Guide01.htm"), project);
  QStringList expected = before;
  expected[1] = "Default topic=Guide01.htm";
  expected[4] = "Default topic=Guide01.htm";
  expected[6] = "Guide01.htm";
  EXPECT_EQ(after, expected);

  // An empty Contents tree changes nothing.
  EXPECT_EQ(UpdateProjectLines(before, std::nullopt, project), before);
}

TEST(ProjectFile, SaveNeverRemovesAListedFile) {
  const QString project = QStringLiteral("/nonexistent/html/index.hhp");
  const QStringList doxygen = {
      "[OPTIONS]", "Default topic=main.html", "", "[FILES]", "alphaindex_8h.html", "index.html", "main.html"};
  // The first topic with an anchor: Default topic keeps it, [FILES] lists the page.
  QStringList expected = doxygen;
  expected[1] = "Default topic=index.html#API";
  EXPECT_EQ(UpdateProjectLines(doxygen, QStringLiteral("index.html#API"), project), expected);
  // Listed in another spelling: nothing added.
  EXPECT_EQ(UpdateProjectLines(doxygen, QStringLiteral("Main.HTML"), project)[4], "alphaindex_8h.html");
  EXPECT_EQ(UpdateProjectLines({"[files]", "Pages\\Intro.htm"}, QStringLiteral("pages/intro.htm"), project),
            QStringList({"[files]", "Pages\\Intro.htm"}));
  // Missing: added as the section's first line, every other line kept.
  EXPECT_EQ(UpdateProjectLines(doxygen, QStringLiteral("new.html#top"), project),
            QStringList({"[OPTIONS]", "Default topic=new.html#top", "", "[FILES]", "new.html",
                         "alphaindex_8h.html", "index.html", "main.html"}));
  // No [FILES] section: none is made.
  EXPECT_EQ(UpdateProjectLines({"[OPTIONS]", "Title=x"}, QStringLiteral("a.htm"), project),
            QStringList({"[OPTIONS]", "Title=x"}));
}

TEST(ProjectFile, LanguageLine) {
  struct Case {
    const char* line;
    std::optional<int> lcid;
  };
  const Case cases[] = {
      {"Language=0x0409 English (United States)", 0x0409},
      {"Language=0x419 Russian", 0x0419},
      {"Language=0x409", 0x0409},  // bare, as generators write it
      {"Language=0x411\t", 0x0411},
      {"Language=0xZZ English", std::nullopt},
      {"Language=0x English", std::nullopt},
      {"language=0x0409 English", std::nullopt},  // case-sensitive
      {"Title=0x0409 Language", 0x0409},          // any line with both "Language" and "=0x"
      {"XLanguageX=1 =0x0407 German", 0x0407},
      {"Language=0x123456789 Big", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageLineLcid(QString::fromLatin1(c.line)), c.lcid) << c.line;
  EXPECT_EQ(ProjectLanguage({"[OPTIONS]", "Language=0x0407 German (Germany)"}),
            QStringLiteral("0x0407 German (Germany)"));
}

TEST(ProjectFile, DefaultTopicFollowsTheContentsOnlyWhenItNamedTheFirstTopic) {
  const QStringList lines{"[OPTIONS]", "Default topic=html\\structures\\ArchiveItem.html"};
  EXPECT_FALSE(DefaultTopicFollowsContents(lines, QStringLiteral("html/Structures.html")));
  EXPECT_TRUE(DefaultTopicFollowsContents(lines, QStringLiteral("HTML/Structures/archiveitem.html")));
  EXPECT_TRUE(DefaultTopicFollowsContents(lines, std::nullopt));
  EXPECT_TRUE(DefaultTopicFollowsContents({"[OPTIONS]", "Default topic="}, QStringLiteral("a.htm")));
  EXPECT_EQ(UpdateProjectLines(lines, QStringLiteral("html/Structures.html"), "/p/x.hhp", false), lines);
}
