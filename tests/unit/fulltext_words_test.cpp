// The words of a page for the full-text search index.
#include <gtest/gtest.h>

#include "chm/fulltext_words.h"

namespace {

QStringList Words(const QString& html) { return FullTextWords(ExtractPageText(html).body); }

TEST(FullTextWords, TitleKeptApartFromTheText) {
  const PageText page = ExtractPageText(
      "<html><head><TITLE>  Fish &amp;\r\n Chips </TITLE></head><body><p>Body text</p></body></html>");
  EXPECT_EQ(page.title, "Fish & Chips");
  EXPECT_EQ(FullTextWords(page.body), QStringList({"body", "text"}));
  EXPECT_EQ(FullTextWords(page.title), QStringList({"fish", "chips"}));
}

TEST(FullTextWords, ScriptsStylesCommentsAndTagsAreNoText) {
  EXPECT_EQ(Words("<style>p { color: red }</style><script type=\"text/javascript\">var secret = 1;"
                  "if (a < b) x();</SCRIPT><!-- hidden <b>note</b> -->"
                  "<p class=\"x>y\" title='a > b'>shown</p><textarea>typed</textarea>"
                  "<img alt=\"picture words\" src=\"a.png\"><!DOCTYPE html>end"),
            QStringList({"shown", "end"}));
  // Unclosed script or comment: nothing after it is text.
  EXPECT_EQ(Words("before<script>var x;"), QStringList({"before"}));
  EXPECT_EQ(Words("before<!-- after"), QStringList({"before"}));
}

TEST(FullTextWords, InlineTagsJoinWordsOtherTagsSplitThem) {
  EXPECT_EQ(Words("<b>Hel</b>lo <A HREF=\"x.htm\">wor</A><span>ld</span>"), QStringList({"hello", "world"}));
  EXPECT_EQ(Words("one<br>two<p>three</p>four<td>five</td>six<div>seven"),
            QStringList({"one", "two", "three", "four", "five", "six", "seven"}));
}

TEST(FullTextWords, EntitiesAreDecodedAndLoneAngleBracketsAreText) {
  EXPECT_EQ(Words("caf&eacute; &#1087;&#1080;&#1074;&#1086; x&nbsp;y fish&amp;chips a < b 3<4"),
            QStringList({"café", "пиво", "x", "y", "fish", "chips", "a", "b", "3", "4"}));
}

TEST(FullTextWords, LowerCaseLettersDigitsAndUnderscores) {
  EXPECT_EQ(FullTextWords("ÉTÉ Straße u_strlen UErrorCode ICU4C don't 3.14 C++ e-mail"),
            QStringList({"été", "straße", "u_strlen", "uerrorcode", "icu4c", "don", "t", "3", "14", "c", "e",
                         "mail"}));
  EXPECT_EQ(FullTextWords("ПРИВЕТ, мир! Ελληνικά"), QStringList({"привет", "мир", "ελληνικά"}));
  // Combining marks stay in their word; a letter outside the BMP is a letter.
  EXPECT_EQ(FullTextWords(QString::fromUtf8("cafe\u0301 \U0001D400bc")),
            QStringList({QString::fromUtf8("cafe\u0301"), QString::fromUtf8("\U0001D400bc")}));
}

TEST(FullTextWords, ChineseAndKanaStandOneCharacterEach) {
  EXPECT_EQ(FullTextWords(QString::fromUtf8("検索ツールabc")),
            QStringList({QString::fromUtf8("検"), QString::fromUtf8("索"), QString::fromUtf8("ツ"),
                         QString::fromUtf8("ー"), QString::fromUtf8("ル"), "abc"}));
  EXPECT_EQ(FullTextWords(QString::fromUtf8("한국어 문서")),
            QStringList({QString::fromUtf8("한국어"), QString::fromUtf8("문서")}));
}

TEST(FullTextWords, EmptyPagesHaveNoWords) {
  EXPECT_TRUE(Words("").isEmpty());
  EXPECT_TRUE(Words("<html><head><title></title></head><body> \r\n </body></html>").isEmpty());
  EXPECT_TRUE(ExtractPageText("<html><body>x</body></html>").title.isEmpty());
}

}  // namespace
