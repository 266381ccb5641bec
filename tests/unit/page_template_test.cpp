#include "formats/project/page_template.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "platform/text_file.h"

TEST(PageTemplate, ProjectCodePageCases) {
  struct Case {
    const char* name;
    QStringList lines;
    int codePage;
  };
  const Case cases[] = {
      {"no Language line", {"[OPTIONS]", "Title=x"}, -1},
      {"US English", {"Language=0x0409 English (United States)"}, 1252},
      {"a bare number", {"Language=0x411"}, 932},
      {"not hexadecimal", {"Language=0xZZ English"}, -1},
      {"Russian", {"Language=0x0419 Russian (Russia)"}, 1251},
      {"Japanese", {"Language=0x411 Japanese"}, 932},
      {"Unicode-only language answers 0", {"Language=0x0439 Hindi (India)"}, 0},
      {"unknown locale gives nothing", {"Language=0x9999 Nowhere"}, -1},
      {"a later line wins", {"Language=0x0409 English", "Language=0x0419 Russian"}, 1251},
      {"a later line that gives nothing keeps the earlier",
       {"Language=0x0419 Russian", "Language=0xZZ x", "Language=0x9999 y"},
       1251},
  };
  for (const Case& c : cases) EXPECT_EQ(ProjectCodePage(c.lines), c.codePage) << c.name;
}

TEST(PageTemplate, PageWithCharacterSet) {
  const QString page =
      BuildTopicPage(QStringLiteral("Getting started"), QStringLiteral("/home/u/My Help/My Guide.hhp"),
                     {"[OPTIONS]", "Language=0x0409 English (United States)"});
  EXPECT_EQ(page, QStringLiteral(
                      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
                      "<HTML>\r\n"
                      "<HEAD>\r\n"
                      "<META NAME=\"GENERATOR\" CONTENT=\"Orvex\">\r\n"
                      "<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"My Guide.css\">\r\n"
                      "<META HTTP-EQUIV=\"Content-Type\" Content=\"text/html; charset=Windows-1252\">\r\n"
                      "<TITLE>Getting started</TITLE>\r\n"
                      "\r\n"
                      "</HEAD>\r\n"
                      "\r\n"
                      "<BODY>\r\n"
                      "<H1>Getting started</H1>\r\n"
                      "<P>&nbsp;</P>\r\n"
                      "</BODY>\r\n"
                      "</HTML>"));
}

TEST(PageTemplate, PageWithoutLanguageAndWithMarkupInTitle) {
  const QStringList lines = SplitLines(
      BuildTopicPage(QStringLiteral("A<B & C"), QStringLiteral("C:\\My Help\\Proj.hhp"), {"Title=x"}));
  ASSERT_EQ(lines.size(), 14);
  EXPECT_EQ(lines[4], QStringLiteral("<LINK REL=\"stylesheet\" TYPE=\"text/css\" HREF=\"Proj.css\">"));
  EXPECT_EQ(lines[5], QStringLiteral("<TITLE>A&lt;B &amp; C</TITLE>"));
  EXPECT_EQ(lines[10], QStringLiteral("<H1>A&lt;B &amp; C</H1>"));
}

TEST(PageTemplate, DefaultStyleSheetHeadingsGetSmallerByLevel) {
  const QString css = DefaultStyleSheet();
  const QStringList lines = SplitLines(css);
  EXPECT_EQ(JoinLines(lines), css);  // every line ends with CR LF
  // H1 > H2 > H3 > the body's text: each level's size is below the one before.
  const auto size = [&css](const QString& selector) {
    const QRegularExpression rule("(?:^|\\n)" + selector + "\\s*\\{\\s*font-size:\\s*(\\d+)%");
    const QRegularExpressionMatch m = rule.match(css);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
  };
  EXPECT_GT(size("h1"), size("h2"));
  EXPECT_GT(size("h2"), size("h3"));
  EXPECT_GT(size("h3"), 100);
  EXPECT_EQ(lines[3], QStringLiteral("h1   { font-size: 145%;"));
  EXPECT_TRUE(
      lines.contains(QStringLiteral("p    { margin-top: .5em; margin-bottom: .5em; text-indent: 1em }")));
}
