#include "editor/card_conversions.h"

#include <gtest/gtest.h>

namespace {

const QString kObjectTail = QStringLiteral(
    "\r\ntype=\"application/x-oleobject\"\r\n"
    "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
    "<PARAM name=\"Command\" value=\"TCard\">\r\n");

QString ExpectedObject(int number, const QString& caption, const QString& values) {
  return QStringLiteral("<OBJECT id=tcard%1").arg(number) + kObjectTail +
         QStringLiteral(
             "<PARAM name=\"Button\" value=\"%1\">\r\n"
             "<param name=\"Item1\" value=\"%2\"></OBJECT>")
             .arg(caption, values);
}

TEST(CardButtonsToObjects, StandardButtonBecomesSixLineObject) {
  const QString page = QStringLiteral(
      "<P>Before</P><INPUT type=button name=\"tcard\" Value=\"Next\" Alt=\"1, 2\"><P>After</P>");
  const QString stored = CardButtonsToObjects(page);
  EXPECT_EQ(stored, QStringLiteral("<P>Before</P>") + ExpectedObject(1, "Next", "1, 2") +
                        QStringLiteral("<P>After</P>"));
  // Six lines, CR LF between them and none after the last.
  const QString object = ExpectedObject(1, "Next", "1, 2");
  EXPECT_EQ(object.count(QStringLiteral("\r\n")), 5);
  EXPECT_TRUE(object.endsWith(QStringLiteral("</OBJECT>")));
}

TEST(CardButtonsToObjects, TextFieldBeforeCardCountsTowardsNumber) {
  const QString field = QStringLiteral("<INPUT type=text name=\"x\" value=\"abc\">");
  const QString page = field + QStringLiteral("<INPUT type=button name=\"tcard\" Value=\"Go\" Alt=\"5\">");
  EXPECT_EQ(CardButtonsToObjects(page), field + ExpectedObject(2, "Go", "5"));
}

struct ButtonCase {
  const char* name;
  const char* tag;
  const char* caption;
  const char* values;
};

TEST(CardButtonsToObjects, CaptionAndMessageValuesAreCutFromTheTag) {
  const ButtonCase cases[] = {
      {"unquoted alt runs to a blank or >", "<INPUT type=button Value=\"A\" Alt=1,2>", "A", "1,2"},
      {"no value gives empty caption", "<INPUT type=button Alt=\"7\">", "", "7"},
      {"unquoted value ends at blank", "<INPUT type=button Value=Press me Alt=\"3\">", "Press", "3"},
      {"unquoted value ends at >", "<INPUT type=button Value=Press>", "Press", ""},
      {"single quotes may hold a double quote", "<INPUT type=button Value='Say \"hi\"' Alt='1'>",
       "Say &quot;hi&quot;", "1"},
      {"> inside a quoted value", "<INPUT type=button Value=\"a > b\" Alt=\"2\">", "a > b", "2"},
      {"entities stay as written", "<INPUT type=button Value=\"Tom &amp; Jerry\" Alt=\"3\">",
       "Tom &amp; Jerry", "3"},
      {"the first of two values counts", "<INPUT type=button Value=\"One\" value=\"Two\">", "One", ""},
      {"quoted type with the card's name", "<input type=\"button\" name='tcard' value=\"N\" alt=\"4\">", "N",
       "4"},
      {"markers in any case, letters kept", "<input TYPE=Button vAlUe=\"MiXeD\" aLt=\"x y\">", "MiXeD",
       "x y"},
      {"no alt at all", "<INPUT type=button Value=\"Only\">", "Only", ""},
  };
  for (const ButtonCase& c : cases) {
    EXPECT_EQ(CardButtonsToObjects(QString::fromUtf8(c.tag)),
              ExpectedObject(1, QString::fromUtf8(c.caption), QString::fromUtf8(c.values)))
        << c.name;
  }
}

TEST(CardButtonsToObjects, NonButtonsPassUnchanged) {
  const char* const pages[] = {
      "<INPUT type=\"button\" Value=\"Print\" onclick=\"print()\">",  // the page's own button
      "<!-- <INPUT type=button Value=\"A\"> -->",                     // in a comment
      "<P title=\"<INPUT type=button Value=A>\">x</P>",               // in a value
      "<script>s = '<INPUT type=button Value=A>';</script>",          // in a script
      "<INPUT type=button Value=\"never closed>",                     // its quote swallows the rest
      "<INPUT type=checkbox checked>",
      "<INPUTtype=button>",  // no blank after the word
      "plain text without tags",
      "",
  };
  for (const char* page : pages) {
    const QString text = QString::fromUtf8(page);
    EXPECT_EQ(CardButtonsToObjects(text), text) << page;
  }
}

TEST(CardButtonsToObjects, UnterminatedTagEndsAndKeepsTheRest) {
  const QString page = QStringLiteral(
      "<INPUT type=button Value=\"A\" Alt=\"1\"> then <INPUT type=button Value=\"B\" never closed");
  const QString stored = CardButtonsToObjects(page);
  EXPECT_EQ(stored, ExpectedObject(1, "A", "1") +
                        QStringLiteral(" then <INPUT type=button Value=\"B\" never closed"));
}

TEST(CardButtonsToObjects, LengthChangingUpperCaseDoesNotShiftPositions) {
  // "ß" upper-cases to "SS"; a search in an upper-cased copy would cut the
  // text at the wrong places.
  const QString page =
      QStringLiteral("<P>Straße ßßß</P><INPUT type=button Value=\"Weiß\" Alt=\"groß\"><P>Fuß</P>");
  EXPECT_EQ(CardButtonsToObjects(page), QStringLiteral("<P>Straße ßßß</P>") +
                                            ExpectedObject(1, "Weiß", "groß") + QStringLiteral("<P>Fuß</P>"));
}

TEST(CardObjectsToButtons, CardObjectBecomesButton) {
  const QString page =
      QStringLiteral("<P>x</P>") + ExpectedObject(4, "Next", "1, 2") + QStringLiteral("<P>y</P>");
  EXPECT_EQ(CardObjectsToButtons(page),
            QStringLiteral("<P>x</P><INPUT type=button name=\"tcard\" Value=\"Next\" "
                           "Alt=\"1, 2\"><P>y</P>"));
}

TEST(CardObjectsToButtons, OtherObjectsPassUnchanged) {
  const QString splash = QStringLiteral(
      "<OBJECT id=hhctrl type=\"application/x-oleobject\"\r\n"
      "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
      "<PARAM name=\"Command\" value=\"Splash\">\r\n"
      "<PARAM name=\"Item1\" value=\"pic.gif\"></OBJECT>");
  const QString popup = QStringLiteral(
      "<object type=\"application/x-oleobject\"><param name=\"Command\" value=\"TextPopup\"></object>");
  const QString page = QStringLiteral("a") + splash + QStringLiteral("b") + popup + QStringLiteral("c");
  EXPECT_EQ(CardObjectsToButtons(page), page);
  EXPECT_EQ(CardButtonsToObjects(page), page);
}

TEST(CardObjectsToButtons, ExtraParametersAreDroppedAndMissingOnesEmpty) {
  const QString withItem2 = QStringLiteral(
      "<object id=tcard9 type=\"application/x-oleobject\">"
      "<param name=\"Command\" value=\"TCard\">"
      "<param name=\"Button\" value=\"Go\">"
      "<param name=\"Item1\" value=\"3, 4\">"
      "<param name=\"Item2\" value=\"extra\"></object>");
  EXPECT_EQ(CardObjectsToButtons(withItem2),
            QStringLiteral("<INPUT type=button name=\"tcard\" Value=\"Go\" Alt=\"3, 4\">"));
  const QString bare = QStringLiteral("<OBJECT id=tcard1><PARAM name=\"Command\" value=\"TCard\"></OBJECT>");
  EXPECT_EQ(CardObjectsToButtons(bare),
            QStringLiteral("<INPUT type=button name=\"tcard\" Value=\"\" Alt=\"\">"));
}

TEST(CardObjectsToButtons, UnterminatedObjectEndsAndKeepsTheRest) {
  const QString page = QStringLiteral("x") + ExpectedObject(1, "A", "1") +
                       QStringLiteral("<OBJECT id=tcard2 <PARAM name=\"Command\" value=\"TCard\">");
  EXPECT_EQ(CardObjectsToButtons(page),
            QStringLiteral("x<INPUT type=button name=\"tcard\" Value=\"A\" Alt=\"1\">"
                           "<OBJECT id=tcard2 <PARAM name=\"Command\" value=\"TCard\">"));
}

TEST(CardConversions, TwoCardsAreRenumberedByPositionAfterLoadAndStore) {
  // Stored with stale ids, loaded into the editor, stored again.
  const QString stored = QStringLiteral("<INPUT type=text>") + ExpectedObject(7, "One", "1") +
                         QStringLiteral(" and ") + ExpectedObject(3, "Two", "2");
  const QString again = CardButtonsToObjects(CardObjectsToButtons(stored));
  EXPECT_EQ(again, QStringLiteral("<INPUT type=text>") + ExpectedObject(2, "One", "1") +
                       QStringLiteral(" and ") + ExpectedObject(3, "Two", "2"));
}

TEST(CardConversions, ButtonRoundTripIsExact) {
  const QString page = QStringLiteral(
      "<BODY>\r\n<INPUT type=button name=\"tcard\" Value=\"Schritt 1\" Alt=\"10, Ä\">\r\n"
      "<INPUT type=button name=\"tcard\" Value=\"\" Alt=\"\"></BODY>");
  EXPECT_EQ(CardObjectsToButtons(CardButtonsToObjects(page)), page);
}

}  // namespace
