// The pop-up script file's names and lines, and the page head the links need.
#include <gtest/gtest.h>

#include "app/training_card_message.h"
#include "features/help_objects.h"
#include "features/popup_texts.h"

namespace {

QStringList Lines(int upTo) {
  QStringList lines{"popfont=\"Courier,10\""};
  for (int i = 1; i <= upTo; ++i) lines << QStringLiteral("P%1=\"text %1\"").arg(i);
  return lines;
}

const QString kHead = PopupHeadObject() + PopupScriptTag("DemoP.js");

}  // namespace

TEST(PopupNames, ScriptFileIsTheProjectWithPJs) {
  EXPECT_EQ(PopupScriptPath("/help/Demo.hhp"),
            "/help/Demo"
            "P.js");
  EXPECT_EQ(PopupScriptFileName("/help/My Demo.hhp"), "My DemoP.js");
  EXPECT_EQ(PopupScriptPath("/help.d/Demo"), "/help.d/DemoP.js");
}

TEST(PopupNames, FirstOfANewFileIsP1AndTwelveGiveP13) {
  EXPECT_EQ(NextPopupName(Lines(0)), "P1");
  EXPECT_EQ(NextPopupName({}), "P1");
  EXPECT_EQ(NextPopupName(Lines(12)), "P13");
}

TEST(PopupNames, ALineThatBeginsWithTheNameKeepsItTaken) {
  QStringList lines = Lines(12);
  lines.removeAt(1);                           // the P1 line
  EXPECT_FALSE(IsPopupNameFree("P1", lines));  // P10, P11, P12 begin with P1
  EXPECT_EQ(NextPopupName(lines), "P13");
  EXPECT_TRUE(IsPopupNameFree("p13", Lines(12)));
  EXPECT_FALSE(IsPopupNameFree("P", Lines(1)));
  // Without the lines P10..P12, P1 is free again.
  EXPECT_EQ(NextPopupName(QStringList{"popfont=\"Courier,10\"", "P2=\"b\""}), "P1");
}

TEST(PopupLines, TextKeepsItsLettersButCannotBreakTheScript) {
  EXPECT_EQ(PopupScriptLine("P1", "Plain text, with 'single' quotes", 1252),
            "P1=\"Plain text, with 'single' quotes\"");
  EXPECT_EQ(PopupScriptLine("P2", "say \"hi\" C:\\dir", 1252), "P2=\"say \\\"hi\\\" C:\\\\dir\"");
  EXPECT_EQ(PopupScriptLine("P3", "two\r\nlines\ttab", 1252), "P3=\"two\\r\\nlines\\ttab\"");
  // Letters of the code page stay; the rest become \u escapes.
  EXPECT_EQ(JsStringBody(QString::fromUtf8("Grüße"), 1252), QString::fromUtf8("Grüße"));
  EXPECT_EQ(JsStringBody(QString::fromUtf8("Я"), 1252), "\\u042f");
  EXPECT_EQ(JsStringBody(QString::fromUtf8("Я"), 1251), QString::fromUtf8("Я"));
  EXPECT_EQ(JsStringBody(QString(QChar(0x2028)), 1252), "\\u2028");
}

TEST(PopupLinks, LinkCallsTheControlAndEscapesItsText) {
  EXPECT_EQ(
      PopupLink("P4", "a <b> & \"c\""),
      "<A href=\"Javascript:popup.textpopup(P4,popfont,10,10,0,-1)\">a &lt;b&gt; &amp; &quot;c&quot;</A>");
}

TEST(PopupHead, ObjectAndScriptTagAreTheFixedLines) {
  EXPECT_EQ(PopupHeadObject(),
            "<OBJECT id=popup type=\"application/x-oleobject\" "
            "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\"><PARAM name=\"Command\" value=\"HH "
            "Version\"></OBJECT>\r\n");
  EXPECT_EQ(PopupScriptTag("DemoP.js"), "<script language=javascript src=\"DemoP.js\"></script>\r\n");
}

TEST(PopupHead, GoesBeforeTheHeadEndOrInFrontOfAPageWithoutOne) {
  EXPECT_EQ(WithPopupHead("<html><head><title>T</title></head><body>x</body></html>", "DemoP.js"),
            "<html><head><title>T</title>" + kHead + "</head><body>x</body></html>");
  EXPECT_EQ(WithPopupHead("<P>no head</P>", "DemoP.js"), kHead + "<P>no head</P>");
}

TEST(PopupHead, IsRecognisedInAnyFormAndAddedOnce) {
  const QString once = WithPopupHead("<HTML><HEAD></HEAD><BODY></BODY></HTML>", "DemoP.js");
  EXPECT_EQ(WithPopupHead(once, "DemoP.js"), once);
  // The form an editor may give back: lower case, other quoting, line breaks.
  const QString rewritten =
      "<html><head><object type='application/x-oleobject'\n  ID=\"popup\"\r\n"
      " CLASSID=clsid:ADB880A6-D8FF-11CF-9377-00AA003B7A11><param name=command value=\"HH "
      "Version\"></object>\n"
      "<SCRIPT src='demop.js' LANGUAGE=\"JavaScript\"></SCRIPT></head><body></body></html>";
  EXPECT_TRUE(HasPopupHeadObject(rewritten));
  EXPECT_TRUE(HasPopupScriptTag(rewritten, "DemoP.js"));
  EXPECT_EQ(WithPopupHead(rewritten, "DemoP.js"), rewritten);
}

TEST(PopupHead, OnlyTheMissingPartIsAdded) {
  const QString objectOnly = "<HEAD>" + PopupHeadObject() + "</HEAD>";
  EXPECT_EQ(WithPopupHead(objectOnly, "DemoP.js"), "<HEAD>" + kHead + "</HEAD>");
  // Another object, another script: not the ones the links need.
  const QString others =
      "<HEAD><OBJECT id=splash classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\"></OBJECT>"
      "<OBJECT id=popup classid=\"clsid:00000000-0000-0000-0000-000000000000\"></OBJECT>"
      "<script src=\"OtherP.js\"></script><objectx id=popup></HEAD>";
  EXPECT_FALSE(HasPopupHeadObject(others));
  EXPECT_FALSE(HasPopupScriptTag(others, "DemoP.js"));
  // Unterminated tags end the search without a hang.
  EXPECT_FALSE(HasPopupHeadObject("<OBJECT id=\"popup"));
  EXPECT_FALSE(HasPopupScriptTag("<script src=", "DemoP.js"));
}

TEST(SplashObjects, FiveSecondsIsTheDescribedText) {
  EXPECT_EQ(SplashObject("logo.bmp", 5000),
            "<OBJECT id=splash type=\"application/x-oleobject\"\r\n"
            "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
            "<PARAM name=\"Command\" value=\"Splash\">\r\n"
            "<PARAM name=\"Item1\" value=\"logo.bmp\">\r\n"
            "<PARAM name=\"Item2\" value=\"5000\">\r\n"
            "</OBJECT>");
  EXPECT_TRUE(SplashObject("a\"b.gif", 1000).contains("value=\"a&quot;b.gif\""));
}

TEST(SplashObjects, TimeBoxTextGivesSeconds) {
  EXPECT_EQ(SplashSeconds("1"), 1);
  EXPECT_EQ(SplashSeconds("60"), 60);
  EXPECT_EQ(SplashSeconds("90"), 90);  // confirmed with Enter before the box could bring it into range
  EXPECT_EQ(SplashSeconds("abc"), 1);
  EXPECT_EQ(SplashSeconds(""), 1);
  EXPECT_EQ(SplashSeconds("-4"), 1);
  EXPECT_EQ(SplashSeconds("0"), 1);
}

TEST(TrainingCardTexts, ValuesAreJoinedUntrimmedWithACommaAndABlank) {
  EXPECT_EQ(TrainingCardButtonFor("Try it", " 7 ", ""),
            "<INPUT type=button name=\"tcard\" Value=\"Try it\" Alt=\" 7 , \">");
  EXPECT_EQ(TrainingCardButtonFor("Go", "5", "abc"),
            "<INPUT type=button name=\"tcard\" Value=\"Go\" Alt=\"5, abc\">");
  EXPECT_EQ(TrainingCardButtonFor("Say \"go\"", "1", "a>b"),
            "<INPUT type=button name=\"tcard\" Value=\"Say &quot;go&quot;\" Alt=\"1, a&gt;b\">");
}

TEST(TrainingCardTexts, WParamIsASigned32BitNumberOrHex) {
  EXPECT_TRUE(IsWParamNumber(" 7 "));
  EXPECT_TRUE(IsWParamNumber("-12"));
  EXPECT_TRUE(IsWParamNumber("+3"));
  EXPECT_TRUE(IsWParamNumber("$1F"));
  EXPECT_FALSE(IsWParamNumber(""));
  EXPECT_FALSE(IsWParamNumber("  "));
  EXPECT_FALSE(IsWParamNumber("7a"));
  EXPECT_FALSE(IsWParamNumber("0x1F"));
  EXPECT_FALSE(IsWParamNumber("9999999999"));
}

// The viewer's signal and the program's notice read a card's values by one rule.
TEST(TrainingCardTexts, MessageValuesReadAsTheDialogReadsNumbers) {
  const TrainingCardValues hex = ReadTrainingCardMessage("$10", " $1F ");
  EXPECT_EQ(hex.wParam, 16);
  EXPECT_EQ(hex.lParam, 31);
  EXPECT_EQ(hex.lParamText, "31");
  const TrainingCardValues text = ReadTrainingCardMessage("x", " see page 2 ");
  EXPECT_EQ(text.wParam, 0);
  EXPECT_EQ(text.lParam, 0);
  EXPECT_EQ(text.lParamText, "see page 2");
  EXPECT_EQ(ReadTrainingCardMessage("-7", "").lParamText, "0");
  EXPECT_EQ(ReadTrainingCardMessage("1", "99999999999").lParamText, "99999999999");  // past 32 bits: a text
  EXPECT_EQ(TrainingCardMessageText(ReadTrainingCardMessage("$10", "").wParam, "$10"),
            " TCard message: \r\nwParam=16\r\nlParam=16");
}
