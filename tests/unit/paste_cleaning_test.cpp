#include "editor/paste_cleaning.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// What Word puts on the clipboard for a heading, a list item with its
// bullet, a paragraph with a picture and a table cell, with a script that
// came along from the document.
const char* const kWordClipboard =
    "Version:0.9\r\nStartHTML:0000000105\r\n"
    "<html xmlns:v=\"urn:schemas-microsoft-com:vml\" xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:w=\"urn:schemas-microsoft-com:office:word\" "
    "xmlns:m=\"http://schemas.microsoft.com/office/2004/12/omml\">\r\n"
    "<head><meta http-equiv=Content-Type content=\"text/html; charset=utf-8\">"
    "<meta name=Generator content=\"Microsoft Word 15\"><link rel=File-List href=\"clip_filelist.xml\">"
    "<!--[if gte mso "
    "9]><xml><o:OfficeDocumentSettings><o:AllowPNG/></o:OfficeDocumentSettings></xml><![endif]-->"
    "<style><!-- p.MsoNormal {mso-style-parent:\"\"; margin:0cm;} --></style></head>\r\n"
    "<body lang=EN-US style='tab-interval:36.0pt'>\r\n<!--StartFragment-->"
    "<h1 class=MsoTitle style='mso-pagination:widow-orphan'>Getting <b "
    "style='mso-bidi-font-weight:normal'>started</b></h1>"
    "<p class=\"MsoListParagraph note\" style='text-indent:-18.0pt;mso-list:l0 level1 lfo1'>"
    "<![if !supportLists]><span style='font-family:Symbol;mso-fareast-font-family:Symbol'>"
    "<span style='mso-list:Ignore'>\xC2\xB7<span style='font:7.0pt \"Times New Roman\"'>&nbsp; "
    "</span></span></span>"
    "<![endif]>First step<o:p></o:p></p>"
    "<p class=MsoNormal><!--[if gte vml 1]><v:shape id=\"Picture_1\" o:spid=\"_x0000_i1025\">"
    "<v:imagedata src=\"clip_image001.png\" o:title=\"\"/></v:shape><![endif]-->"
    "<![if !vml]><img width=20 height=10 src=\"clip_image002.png\" v:shapes=\"Picture_1\"><![endif]>"
    "<span style='font-size:12.0pt;mso-bidi-font-size:11.0pt;color:red'>Red</span>"
    "<script>alert('pasted')</script><w:Sdt>in a field</w:Sdt></p>"
    "<table class=MsoTableGrid border=1><tr><td width=100 valign=top style='width:75pt;mso-border-alt:solid'>"
    "<p class=MsoNormal>Cell<o:p>&nbsp;</o:p></p></td></tr></table>"
    "<!--EndFragment-->\r\n</body>\r\n</html>";

TEST(CleanPastedHtml, WordClipboardKeepsTheTextAndLosesTheOfficeMarkup) {
  const QString cleaned = PastableHtml(QString::fromUtf8(kWordClipboard));
  EXPECT_EQ(cleaned,
            QString::fromUtf8("<h1>Getting <b>started</b></h1>"
                              "<p class=\"note\" style=\"text-indent:-18.0pt\">\xC2\xB7&nbsp; First step</p>"
                              "<p><img width=\"20\" height=\"10\" src=\"clip_image002.png\">"
                              "<span style=\"color:red\">Red</span>in a field</p>"
                              "<table border=\"1\"><tr><td width=\"100\" valign=\"top\" style=\"width:75pt\">"
                              "<p>Cell&nbsp;</p></td></tr></table>"));
}

TEST(CleanPastedHtml, ScriptsEventHandlersAndScriptLinksGo) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"<p onclick=\"steal()\" title=t>a<script type=text/javascript>if (1 < 2) alert(1)</script>b</p>",
       "<p title=\"t\">ab</p>"},
      {"<SCRIPT>x = '</scr' + 'ipt>';</SCRIPT>after", "after"},
      {"<img src=\"p.png\" ONERROR='x()'><body onload=y()>z", "<img src=\"p.png\">z"},
      {"<a href=\" javascript:go()\">1</a><a href=\"JaVaScRiPt:go()\">2</a><a href=\"vbscript:msgbox\">3</a>",
       "<a>1</a><a>2</a><a>3</a>"},
      // Written with references, blanks and control characters in the scheme.
      {"<a href=\"&#106;avascript:go()\">1</a><a href='&#x6A&#x61vascript:go()'>2</a>"
       "<a href=\"java&Tab;script:go()\">3</a><a href=\"javascript&colon;go()\">4</a>"
       "<a href=\"java\tscript:go()\">5</a>",
       "<a>1</a><a>2</a><a>3</a><a>4</a><a>5</a>"},
      {"<p style=\"width:expression(alert(1));color:blue\">s</p>", "<p style=\"color:blue\">s</p>"},
      {"<p style=\"width:exp/**/ression(alert(1));background:url( jav\\61script:go());"
       "behavior:url(x.htc)\">s</p>",
       "<p>s</p>"},
      {"<object classid=\"clsid:1\"><param name=a value=b><object>inner</object></object>kept", "kept"},
      {"<iframe src=\"x.htm\"><p>no</p></iframe><embed src=\"a.swf\">shown", "shown"},
      // An element never closed takes the rest with it.
      {"text<script>alert(1)", "text"},
      // Where a browser reads markup that looks like text, or text that
      // looks like markup, the markup is cleaned all the same.
      {"<!--><script>alert(1)</script>-->after", "-->after"},
      {"<noscript><p title=\"</noscript><img src=x onerror=alert(1)>\"></noscript>kept",
       "<img src=\"x\">\">kept"},
      {"<textarea><a title=\"</textarea><img src=x onerror=alert(1)>\"></textarea>", "<img src=\"x\">\">"},
      {"<\xC3\xA4 title=\"<img src=x onerror=alert(1)>\">", "<\xC3\xA4 title=\"<img src=\"x\">\">"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CleanPastedHtml(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;
}

TEST(CleanPastedHtml, OrdinaryMarkupStaysAsWritten) {
  const QString page = QStringLiteral(
      "<P align=center>Fish &amp; chips<BR><A href=\"two.htm#x\" target=_blank>on</A></P>\r\n"
      "<ul class=\"steps\"><li style=\"color: red; font-weight: bold;\">1 < 2 > 0</li></ul>"
      "<span class=x>styled</span><INPUT type=checkbox checked>");
  EXPECT_EQ(CleanPastedHtml(page), page);
  // A span left without attributes goes with its end tag; others stay.
  EXPECT_EQ(
      CleanPastedHtml(QStringLiteral("<span lang=EN-GB><span class=MsoX>a</span> b</span><span>c</span>")),
      QStringLiteral("<span lang=EN-GB>a b</span>c"));
  EXPECT_EQ(CleanPastedHtml(QString()), QString());
  EXPECT_EQ(CleanPastedHtml(QStringLiteral("a<!-- note -->b<!DOCTYPE html><?xml version=\"1.0\"?>c")),
            QStringLiteral("abc"));
  EXPECT_EQ(CleanPastedHtml(QStringLiteral("a < b </span> <")), QStringLiteral("a < b </span> <"));
}

TEST(CleanPastedHtml, FontsEmptyLinksAndPicturesNotFoundGoAndAreCounted) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkpath("art"));
  QFile there(dir.filePath("art/here.png"));
  ASSERT_TRUE(there.open(QIODevice::WriteOnly));
  there.close();
  const QString folder = dir.path() + '/';
  PasteReport report;
  const QString cleaned = CleanPastedHtml(
      QStringLiteral(
          "<p><a name=\"_Toc1\"></a><a href=\"x.htm\"> <span></span></a>"
          "<font face=\"Calibri\" size=\"2\">Calibri</font> <font color=red>red</font>"
          "<a href=\"p.htm\"><img src=\"art/here.png\"></a><img src=\"x.png\">"
          "<img src=\"file:///C:/Users/me/clip_image001.png\"><img src=\"https://example.org/a.png\">"
          "<a href=\"t.htm\"><b>text</b></a></p>"),
      [&folder](const QString& src) { return PictureFound(src, folder); }, &report);
  EXPECT_EQ(
      cleaned,
      QStringLiteral("<p> Calibri <font color=red>red</font><a href=\"p.htm\"><img src=\"art/here.png\"></a>"
                     "<img src=\"https://example.org/a.png\"><a href=\"t.htm\"><b>text</b></a></p>"));
  EXPECT_EQ(report.emptyLinks, 2);
  EXPECT_EQ(report.missingPictures, 2);
  EXPECT_EQ(PasteReportText(report),
            QStringLiteral("Pasting left out 2 empty links and 2 pictures that are not in the project."));
  EXPECT_EQ(PasteReportText({1, 0}), QStringLiteral("Pasting left out 1 empty link."));
  EXPECT_EQ(PasteReportText({}), QString());
  EXPECT_TRUE(PictureFound(QStringLiteral("art%2Fhere.png"), folder));
  EXPECT_TRUE(PictureFound(QStringLiteral("art\\here.png"), folder));
  EXPECT_FALSE(PictureFound(QStringLiteral("C:\\art\\here.png"), folder));
  EXPECT_FALSE(PictureFound(QString(), folder));
}

TEST(ClipboardFragment, OnlyTheCopiedPart) {
  EXPECT_EQ(
      ClipboardFragment(QStringLiteral("<html><body><!--StartFragment--><b>x</b><!--EndFragment--></body>")),
      QStringLiteral("<b>x</b>"));
  EXPECT_EQ(ClipboardFragment(QStringLiteral("<b>whole</b>")), QStringLiteral("<b>whole</b>"));
  // Without the marks the page around the copy is cleaned away.
  EXPECT_EQ(PastableHtml(QStringLiteral("<html><head><title>T</title></head><body><i>y</i></body></html>")),
            QStringLiteral("<i>y</i>"));
}

}  // namespace
