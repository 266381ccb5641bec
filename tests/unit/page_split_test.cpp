// Cutting a page into the verbatim head, the editable body and the tail.
#include <gtest/gtest.h>

#include "editor/page_split.h"

namespace {

const QString kPrefix = QStringLiteral(
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
    "<!-- <BODY> in a comment -->\r\n<TITLE>A &amp;  B</TITLE>\r\n"
    "<LINK rel=\"stylesheet\" href=\"Demo.css\">\r\n"
    "<OBJECT id=popup type=\"application/x-oleobject\"></OBJECT>\r\n"
    "<script>var s = \"<body>\";</script>\r\n</HEAD>\r\n");

TEST(EditorPageSplit, KeepsHeadBodyAndTailApart) {
  const QString page =
      kPrefix +
      QStringLiteral("<BODY bgColor=\"#ff0000\" title=\"a>b\">\r\n<P>x</P>\r\n</BODY>\r\n</HTML>\r\n");
  const PageParts parts = SplitPage(page);
  EXPECT_EQ(parts.prefix, kPrefix);
  EXPECT_EQ(parts.bodyTag, QStringLiteral("<BODY bgColor=\"#ff0000\" title=\"a>b\">"));
  EXPECT_EQ(parts.bodyContent, QStringLiteral("\r\n<P>x</P>\r\n"));
  EXPECT_EQ(parts.suffix, QStringLiteral("\r\n</HTML>\r\n"));
  EXPECT_FALSE(parts.whole);
  EXPECT_EQ(PageTitle(parts), QStringLiteral("A & B"));
}

TEST(EditorPageSplit, MissingBodyEndOrBodyTag) {
  PageParts parts = SplitPage(QStringLiteral("<HTML><BODY><P>x</P></HTML>"));
  EXPECT_EQ(parts.bodyContent, QStringLiteral("<P>x</P>"));
  EXPECT_EQ(parts.suffix, QStringLiteral("</HTML>"));

  parts = SplitPage(QStringLiteral("<HTML><HEAD><TITLE>t</TITLE></HEAD><P>x</P></HTML>"));
  EXPECT_EQ(parts.prefix, QStringLiteral("<HTML><HEAD><TITLE>t</TITLE></HEAD>\r\n"));
  EXPECT_EQ(parts.bodyContent, QStringLiteral("<P>x</P>"));
  EXPECT_TRUE(parts.bodyTag.isEmpty());

  // A bare fragment is the body of a plain page.
  parts = SplitPage(QStringLiteral("Just <B>text</B>"));
  EXPECT_EQ(parts.bodyContent, QStringLiteral("Just <B>text</B>"));
  EXPECT_TRUE(parts.prefix.startsWith(QStringLiteral("<HTML>")));
  EXPECT_TRUE(parts.suffix.contains(QStringLiteral("</HTML>")));

  // Head without end and without body: nothing can be cut safely.
  parts = SplitPage(QStringLiteral("<HTML><HEAD><TITLE>t</TITLE><P>x</P>"));
  EXPECT_TRUE(parts.whole);
  EXPECT_EQ(ServedPage(parts), QStringLiteral("<HTML><HEAD><TITLE>t</TITLE><P>x</P>"));

  // A title never closed does not take the body with it.
  parts = SplitPage(QStringLiteral("<HTML><HEAD><TITLE>t</HEAD><BODY><P>x</P></BODY></HTML>"));
  EXPECT_EQ(parts.bodyContent, QStringLiteral("<P>x</P>"));

  // Unterminated tags and comments end the search instead of looping.
  parts = SplitPage(QStringLiteral("<!-- never closed <BODY>"));
  EXPECT_TRUE(parts.bodyTag.isEmpty());
  parts = SplitPage(QStringLiteral("<BODY bgcolor=\"red"));
  EXPECT_EQ(parts.bodyTag, QStringLiteral("<BODY bgcolor=\"red"));
  EXPECT_TRUE(parts.bodyContent.isEmpty());
}

TEST(EditorPageSplit, ServedPageShowsOnlyWhatRenders) {
  const PageParts parts = SplitPage(kPrefix + QStringLiteral("<BODY><P>x</P></BODY>\r\n</HTML>\r\n"));
  const QString served = ServedPage(parts);
  EXPECT_TRUE(served.startsWith(QStringLiteral("<!DOCTYPE HTML PUBLIC")));
  EXPECT_TRUE(served.contains(QStringLiteral("<LINK rel=\"stylesheet\" href=\"Demo.css\">")));
  EXPECT_TRUE(served.contains(QStringLiteral("<TITLE>A &amp;  B</TITLE>")));
  // The head object and script would land in the engine's body: not served.
  EXPECT_FALSE(served.contains(QStringLiteral("OBJECT")));
  EXPECT_FALSE(served.contains(QStringLiteral("<script")));
  EXPECT_TRUE(served.endsWith(QStringLiteral("<BODY><P>x</P></body></html>")));
}

}  // namespace
