#include "platform/html_tokenizer.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Each token as one short line: T[text] S<name a=[v] b> E<name> C[comment] D[...] R<name>[raw].
QString Dump(const QString& html, HtmlTokenizer::QuoteRule rule = HtmlTokenizer::QuoteRule::Browser) {
  QStringList out;
  HtmlTokenizer tokenizer(html, 0, rule);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    const QString span = html.mid(token.begin, token.end - token.begin);
    switch (token.type) {
      case HtmlTokenType::Text:
        out << QStringLiteral("T[") + token.content.toString() + QChar(u']');
        break;
      case HtmlTokenType::StartTag:
      case HtmlTokenType::EndTag: {
        QString tag = (token.type == HtmlTokenType::StartTag ? QStringLiteral("S<") : QStringLiteral("E<")) +
                      token.name.toString();
        for (const HtmlAttribute& a : token.attributes)
          tag += QChar(u' ') + a.name.toString() +
                 (a.hasValue ? QStringLiteral("=[") + a.Value() + QChar(u']') : QString());
        if (token.selfClosing) tag += QChar(u'/');
        out << tag + QChar(u'>') + (token.unterminated ? QStringLiteral("…") : QStringLiteral(""));
        break;
      }
      case HtmlTokenType::Comment:
        out << QStringLiteral("C[") + token.content.toString() + QChar(u']');
        break;
      case HtmlTokenType::Declaration:
        out << QStringLiteral("D[") + span + QChar(u']');
        break;
      case HtmlTokenType::RawText:
        out << QStringLiteral("R<") + token.name.toString() + QStringLiteral(">[") +
                   token.content.toString() + QChar(u']');
        break;
    }
  }
  return out.join(u' ');
}

struct Case {
  const char* name;
  const char* html;
  const char* tokens;  // as Dump writes them
};

}  // namespace

TEST(HtmlTokenizer, QuotingAsABrowserReadsIt) {
  const Case cases[] = {
      {"double, single and no quotes", "<a href=\"x y\" title='it\"s' id=z>",
       "S<a href=[x y] title=[it\"s] id=[z]>"},
      {"> inside a quoted value", "<a title=\"1 > 0\">t</a>", "S<a title=[1 > 0]> T[t] E<a>"},
      {"line breaks inside a quoted value", "<a title=\"one\ntwo\">", "S<a title=[one\ntwo]>"},
      {"a quote not after = is part of the name", "<p don't>x", "S<p don't> T[x]"},
      {"a quote inside an unquoted value", "<p title=don't>x", "S<p title=[don't]> T[x]"},
      {"blanks around =", "<a  href = \"u\"  >", "S<a href=[u]>"},
      {"attribute without value, > right after =", "<input checked value=>", "S<input checked value=[]>"},
      {"entities decoded in values", "<a title=\"Fish &amp; Chips\">", "S<a title=[Fish & Chips]>"},
      {"self-closing and stray slashes", "<br/><img / src=a.gif />", "S<br/> S<img src=[a.gif]/>"},
      {"a value glued to the next name", "<a b=\"1\"c=2>", "S<a b=[1] c=[2]>"},
      {"= starting a name", "<a =x>", "S<a =x>"},
      {"repeated names all kept", "<a id=1 ID=2>", "S<a id=[1] ID=[2]>"},
      {"end tags ignore attributes", "</b class=\"x>y\">z", "E<b> T[z]"},
      {"< before no letter is text", "a < b <3 <>", "T[a < b <3 <>]"},
      {"unclosed quote runs to the end", "<a title=\"open>text", "S<a title=[open>text]>…"},
      {"unclosed tag runs to the end", "text<b", "T[text] S<b>…"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Dump(QString::fromUtf8(c.html)), QString::fromUtf8(c.tokens)) << c.name;
}

TEST(HtmlTokenizer, CommentsDeclarationsAndRawText) {
  const Case cases[] = {
      {"comment with tags and quotes", "a<!-- <b> \" -->b", "T[a] C[ <b> \" ] T[b]"},
      {"empty comments", "<!--><!--->x", "C[] C[] T[x]"},
      {"comment ended by --!>", "<!-- a --!>b", "C[ a ] T[b]"},
      {"unclosed comment", "<!-- a <b>", "C[ a <b>]"},
      {"doctype, processing instruction, bogus end tag", "<!DOCTYPE html><?xml v?></ x>y",
       "D[<!DOCTYPE html>] D[<?xml v?>] D[</ x>] T[y]"},
      {"script holds tags and quotes as text", "<script>if (a<b) x='</b>';</script>t",
       "S<script> R<script>[if (a<b) x='</b>';] E<script> T[t]"},
      {"style ends at its own end tag in any case", "<STYLE type=text/css>p{}</style >x",
       "S<STYLE type=[text/css]> R<STYLE>[p{}] E<style> T[x]"},
      {"title and textarea are raw text", "<title>a <b>c</b></title><textarea><p></textarea>",
       "S<title> R<title>[a <b>c</b>] E<title> S<textarea> R<textarea>[<p>] E<textarea>"},
      {"a longer name does not end raw text", "<script></scripts></script>",
       "S<script> R<script>[</scripts>] E<script>"},
      {"unclosed script runs to the end", "<script>x<p>", "S<script> R<script>[x<p>]"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Dump(QString::fromUtf8(c.html)), QString::fromUtf8(c.tokens)) << c.name;
}

TEST(HtmlTokenizer, LineRuleEndsAnUnclosedQuoteWithItsLine) {
  EXPECT_EQ(Dump(QStringLiteral("<param name=\"Name\" value=\"Broken\n<param name=\"Local\">"),
                 HtmlTokenizer::QuoteRule::LineEndsQuote),
            QStringLiteral("S<param name=[Name] value=[]>… T[\n] S<param name=[Local]>"));
  EXPECT_EQ(Dump(QStringLiteral("<p title=\"a\nb\">"), HtmlTokenizer::QuoteRule::Browser),
            QStringLiteral("S<p title=[a\nb]>"));
}
