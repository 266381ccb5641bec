#include "editor/page_cleaning.h"

#include <gtest/gtest.h>

namespace {

QString Clean(const char* body, const QSet<QString>& authorStyles = {}) {
  return CleanPageBody(QString::fromUtf8(body), authorStyles);
}

TEST(CleanPageBody, BlocksStandOnLinesOfTheirOwn) {
  EXPECT_EQ(
      Clean("<H1>Title</H1><P>One <B>two</B></P><UL><LI>a</LI><LI>b<BR>c</LI></UL>"
            "<TABLE border=\"1\"><TBODY><TR><TD>x</TD><TD>y</TD></TR></TBODY></TABLE>"),
      "\r\n<H1>Title</H1>\r\n<P>One <B>two</B></P>\r\n<UL>\r\n<LI>a</LI>\r\n<LI>b<BR>\r\nc</LI>\r\n</UL>\r\n"
      "<TABLE border=\"1\">\r\n<TBODY>\r\n<TR>\r\n<TD>x</TD>\r\n<TD>y</TD>\r\n</TR>\r\n</TBODY>\r\n"
      "</TABLE>\r\n");
  // Blanks where a browser shows none go with the breaks; blanks in text stay.
  EXPECT_EQ(Clean("\n\n  <P>  a  b </P>  \n <P>c</P>\n"), "\r\n<P>a  b</P>\r\n<P>c</P>\r\n");
  // The page a new topic starts with is already clean.
  const QString topic = "\r\n<H1>Start</H1>\r\n<P>&nbsp;</P>\r\n";
  EXPECT_EQ(CleanPageBody(topic), topic);
}

TEST(CleanPageBody, PreformattedTextCommentsAndScriptsStayAsWritten) {
  const char* pre = "<PRE>\r\n  line one\r\n\r\n    <B>two</B>  </PRE>";
  EXPECT_EQ(Clean(pre), QString("\r\n") + pre + "\r\n");
  EXPECT_EQ(Clean("<P>a<!--  keep\r\n  this --> b</P><SCRIPT>if (a <p) x();</SCRIPT>"),
            "\r\n<P>a<!--  keep\r\n  this --> b</P>\r\n<SCRIPT>if (a <p) x();</SCRIPT>\r\n");
}

TEST(CleanPageBody, StylesTheEngineWroteGoAndTheAuthorsStay) {
  EXPECT_EQ(Clean("<P>a <SPAN style=\"font-size: 11.2px;\">b</SPAN> c</P>"), "\r\n<P>a b c</P>\r\n");
  EXPECT_EQ(Clean("<P>x<SPAN style=\"color: rgb(0, 0, 0); font-family: Verdana; font-style: normal; "
                  "background-color: yellow; -webkit-text-stroke-width: 0px;\" title=\"t\">y</SPAN></P>"),
            "\r\n<P>x<SPAN style=\"background-color: yellow;\" title=\"t\">y</SPAN></P>\r\n");
  // Alignment and positions are the author's commands.
  const QString kept =
      "\r\n<P style=\"text-align: center;\">c</P>\r\n<DIV style=\"position: absolute; left: 8px\">\r\n"
      "d\r\n</DIV>\r\n";
  EXPECT_EQ(CleanPageBody(kept), kept);
  // A style the page was loaded with is the author's, whatever it holds.
  const QString own = "\r\n<P><SPAN style=\"font-size: 12px\">own</SPAN></P>\r\n";
  EXPECT_EQ(CleanPageBody(own, AuthorStyles(QStringLiteral("<span style='font-size:  12px;'>"))), own);
  EXPECT_EQ(CleanPageBody(own), "\r\n<P>own</P>\r\n");
}

TEST(CleanPageBody, NoBreakSpacesBesideWordsAndTagsBecomeBlanks) {
  EXPECT_EQ(Clean("<P>Press&nbsp;<B>OK</B>&nbsp;now&nbsp;</P>"), "\r\n<P>Press <B>OK</B> now</P>\r\n");
  // Runs stay (the author typed several blanks), so does an empty block's.
  EXPECT_EQ(Clean("<P>a&nbsp; &nbsp;b&nbsp;&nbsp;</P><TD>&nbsp;</TD>"),
            "\r\n<P>a&nbsp; &nbsp;b&nbsp;&nbsp;</P>\r\n<TD>&nbsp;</TD>\r\n");
  EXPECT_EQ(Clean("<P>10&nbsp;km</P>"), "\r\n<P>10&nbsp;km</P>\r\n");
  // At the start of a block a no-break space shows where a blank would not.
  EXPECT_EQ(Clean("<P><B>&nbsp;x</B></P>"), "\r\n<P><B>&nbsp;x</B></P>\r\n");
}

TEST(CleanPageBody, BlocksInsideAParagraphEndIt) {
  EXPECT_EQ(Clean("<P><UL><LI>a</LI></UL></P>"), "\r\n<UL>\r\n<LI>a</LI>\r\n</UL>\r\n");
  EXPECT_EQ(Clean("<P class=\"x\">before<UL><LI>a</LI></UL>after</P><P>next</P>"),
            "\r\n<P class=\"x\">before</P>\r\n<UL>\r\n<LI>a</LI>\r\n</UL>\r\n<P class=\"x\">after</P>\r\n"
            "<P>next</P>\r\n");
  EXPECT_EQ(Clean("<P>one<P>two</P></P>"), "\r\n<P>one</P>\r\n<P>two</P>\r\n");
  // What a browser makes of the stray end tag goes too; a paragraph that names itself stays.
  EXPECT_EQ(Clean("<UL><LI>a</LI></UL><P></P><P id=\"x\"></P>"),
            "\r\n<UL>\r\n<LI>a</LI>\r\n</UL>\r\n<P id=\"x\"></P>\r\n");
}

TEST(CleanPageBody, CleaningCleanHtmlChangesNothing) {
  const char* pages[] = {
      "<P>Press&nbsp;<B>OK</B></P><P><UL><LI>x<OL><LI>y</LI></OL></LI></UL></P>",
      "  text <SPAN style=\"font-size: 9px; color: red\">r</SPAN><BR><BR>end&nbsp; ",
      "<DIV><P>a</P>b<TABLE><TR><TD><P>c<HR>d</P></TD></TR></TABLE></DIV><PRE> p </PRE>",
      "<p>unclosed <i>a<b>b</i></b></span></P></P>",
      // Empty paragraphs inside other blocks, and a span whose tags go.
      "<LI><P></P><!-- c --></LI><H1> b <P></P></H1>a <P></P>b",
      "<P>&nbsp;&nbsp;<I><SPAN style=\"font-size: 3px\">&nbsp;</SPAN>a&nbsp;a</I></P>",
      "<P class=k>a<A href=x><P>text<P></P></P> b </A></P>",
  };
  for (const char* page : pages) {
    const QString once = Clean(page);
    EXPECT_EQ(CleanPageBody(once), once) << page;
  }
}

TEST(StoredPageText, AnUnchangedPageGivesItsOwnBytes) {
  const QString page = QStringLiteral(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n\r\n"
      "</HEAD>\r\n\r\n<BODY>\r\n<H1>T</H1>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>");
  const PageParts parts = SplitPage(page);
  EXPECT_EQ(StoredPageText(parts, "<BODY>" + parts.bodyContent + "</BODY>", {}), page);
  // A changed body lands between the same head and end.
  EXPECT_EQ(StoredPageText(parts, QStringLiteral("<BODY><H1>T</H1><P>x&nbsp;</P></BODY>"), {}),
            page.left(page.indexOf("<BODY>")) + "<BODY>\r\n<H1>T</H1>\r\n<P>x</P>\r\n</BODY>\r\n</HTML>");
  EXPECT_EQ(StoredPageText(SplitPage("<HTML><BODY>a</BODY></HTML>"), QStringLiteral("<BODY>a</BODY>"), {}),
            "<HTML><BODY>\r\na\r\n</BODY></HTML>");
}

}  // namespace
