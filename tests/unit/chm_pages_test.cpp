// The viewer's plain rules: URLs of entries, content types, links, page text
// and the topic search.
#include <gtest/gtest.h>

#include "viewer/chm_document.h"
#include "viewer/chm_pages.h"

#include "chm/fulltext_words.h"

TEST(ChmPages, EntryUrlsAndPathsGoBothWays) {
  const QUrl url = ChmEntryUrl("/sub/My Page.htm", "part 2");
  EXPECT_EQ(url.scheme(), "orvex-chm");
  EXPECT_EQ(url.toString(QUrl::FullyEncoded), "orvex-chm:/sub/My%20Page.htm#part%202");
  EXPECT_EQ(ChmEntryPath(url), "/sub/My Page.htm");
  EXPECT_EQ(ChmEntryPath(ChmEntryUrl("Page.htm")), "/Page.htm");
  EXPECT_EQ(ChmEntryPath(ChmEntryUrl("sub\\Page.htm")), "/sub/Page.htm");
  EXPECT_EQ(ChmEntryPath(QUrl("orvex-chm:/a/../b.htm")), "/b.htm");
  // Climbing out of the root or another scheme is nothing.
  EXPECT_TRUE(ChmEntryPath(QUrl("orvex-chm:/../x.htm")).isEmpty());
  EXPECT_TRUE(ChmEntryPath(QUrl("file:///etc/passwd")).isEmpty());
  EXPECT_FALSE(ChmEntryUrl("/../x.htm").isValid());
}

TEST(ChmPages, ContentTypesFollowTheExtension) {
  EXPECT_EQ(ChmMimeType("/a.HTM"), "text/html");
  EXPECT_EQ(ChmMimeType("/My Guide.css"), "text/css");
  EXPECT_EQ(ChmMimeType("/x.js"), "text/javascript");
  EXPECT_EQ(ChmMimeType("/p.png"), "image/png");
  EXPECT_EQ(ChmMimeType("/p.JPG"), "image/jpeg");
  EXPECT_EQ(ChmMimeType("/p.gif"), "image/gif");
  EXPECT_EQ(ChmMimeType("/data.bin"), "application/octet-stream");
  EXPECT_EQ(ChmContentType("/a.htm", 1251), "text/html; charset=windows-1251");
  EXPECT_EQ(ChmContentType("/a.css", 1252), "text/css; charset=windows-1252");
  EXPECT_EQ(ChmContentType("/a.png", 1251), "image/png");
}

TEST(ChmPages, CodePagesHaveTheirCharsets) {
  EXPECT_EQ(CharsetOfCodePage(1252), "windows-1252");
  EXPECT_EQ(CharsetOfCodePage(1250), "windows-1250");
  EXPECT_EQ(CharsetOfCodePage(932), "shift_jis");
  EXPECT_EQ(CharsetOfCodePage(936), "gbk");
  EXPECT_EQ(CharsetOfCodePage(0), "utf-8");
  EXPECT_EQ(CharsetOfCodePage(12345), "windows-1252");
}

TEST(ChmPages, DeclaredCharsetsAreFound) {
  EXPECT_EQ(DeclaredCharset("<html><head><meta charset=\"UTF-8\">"), "UTF-8");
  EXPECT_EQ(DeclaredCharset("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Windows-1251\">"),
            "Windows-1251");
  EXPECT_EQ(DeclaredCharset("\xEF\xBB\xBF<html>"), "utf-8");
  EXPECT_EQ(DeclaredCharset("@charset \"iso-8859-2\";\nbody{}"), "iso-8859-2");
  EXPECT_TRUE(DeclaredCharset("<html><body>charset=utf-8</body>").isEmpty());
  // Only the start of a page counts.
  EXPECT_TRUE(DeclaredCharset(QByteArray(2000, ' ') + "<meta charset=utf-8>").isEmpty());
}

TEST(ChmPages, LinksLeadToEntriesOrOutside) {
  EXPECT_EQ(ChmLinkUrl("/sub/a.htm", "b.htm"), ChmEntryUrl("/sub/b.htm"));
  EXPECT_EQ(ChmLinkUrl("/sub/a.htm", "../c.htm#x"), ChmEntryUrl("/c.htm", "x"));
  EXPECT_EQ(ChmLinkUrl("/Guide.hhc", "My%20Page.htm"), ChmEntryUrl("/My Page.htm"));
  EXPECT_EQ(ChmLinkUrl("/Guide.hhc", "My Page.htm"), ChmEntryUrl("/My Page.htm"));
  EXPECT_EQ(ChmLinkUrl("/a.htm", "ms-its:other.chm::/d/e.htm#f"), ChmEntryUrl("/d/e.htm", "f"));
  EXPECT_EQ(ChmLinkUrl("/a.htm", "mk:@MSITStore:C:\\x\\h.chm::/e.htm"), ChmEntryUrl("/e.htm"));
  EXPECT_EQ(ChmLinkUrl("/a.htm", "http://example.org/x"), QUrl("http://example.org/x"));
  EXPECT_EQ(ChmLinkUrl("/a.htm", "#top"), ChmEntryUrl("/a.htm", "top"));
  EXPECT_FALSE(ChmLinkUrl("/a.htm", "  ").isValid());
  EXPECT_FALSE(ChmLinkUrl("/a.htm", "ms-its:nothing-after").isValid());
  EXPECT_FALSE(ChmLinkUrl("/a.htm", "../../../etc/passwd").isValid());
}

TEST(ChmPages, PlainTextLeavesOutMarkupScriptsAndStyles) {
  const QString html =
      "<html><head><title>T &amp; U</title><style>p{color:red}</style>"
      "<script>var hidden = 1;</script></head><body><!-- note -->"
      "<p>Fish&nbsp;&amp;\n\n  Chips</p><b>bold</b></body></html>";
  EXPECT_EQ(HtmlPlainText(html), "Fish & Chips bold");
  EXPECT_EQ(HtmlTitle(html), "T & U");
  EXPECT_TRUE(HtmlTitle("<p>no title</p>").isEmpty());
}

// The viewer's search and the compiled file's full-text index read a page
// alike, however its tags are quoted.
TEST(ChmPages, SearchSeesTheWordsOfTheFullTextIndex) {
  const QString page =
      "<html><head><title>T</title></head><body>"
      "<p title='1 > 0'>Alpha</p>"                // '>' in a quoted value
      "<p title=x 'y>z'>Beta</p>"                 // a quote not after '=' opens no value
      "<b>Gam</b>ma"                              // inline tags join a word
      "<script>var s = \"</p>Hidden\";</script>"  // a script runs to its own end tag
      "<!-- <p>Note</p> --><textarea>Typed</textarea>"
      " a < b</body></html>";
  const QStringList searched = FullTextWords(HtmlPlainText(page));
  EXPECT_EQ(searched, FullTextWords(ExtractPageText(page).body));
  EXPECT_EQ(searched, QStringList({"alpha", "z", "beta", "gamma", "a", "b"}));
}

TEST(ChmPages, SearchFindsTopicsWithEveryWordMostHitsFirst) {
  const QList<TopicText> topics = {
      {"/a.htm", "Printers", "How to set up a printer."},
      {"/b.htm", "Paper", "Printer paper, printer ink and more printer things."},
      {"/c.htm", "Ink", "Ink only."},
  };
  EXPECT_EQ(SearchTopics(topics, "PRINTER"), (QList<int>{1, 0}));
  EXPECT_EQ(SearchTopics(topics, "printer ink"), (QList<int>{1}));
  EXPECT_EQ(SearchTopics(topics, "ink"), (QList<int>{2, 1}));  // title and text: two hits
  EXPECT_EQ(SearchTopics(topics, "paper"), (QList<int>{1}));   // the title counts
  EXPECT_TRUE(SearchTopics(topics, "  ,; ").isEmpty());
  EXPECT_TRUE(SearchTopics(topics, "scanner").isEmpty());
}
