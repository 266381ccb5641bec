#include "platform/html_text.h"

#include <gtest/gtest.h>

TEST(EscapeHtml, EscapesTheFourMarkupCharacters) {
  EXPECT_EQ(EscapeHtml(QStringLiteral("Say \"A & B\" <now>")),
            QStringLiteral("Say &quot;A &amp; B&quot; &lt;now&gt;"));
  EXPECT_EQ(EscapeHtml(QStringLiteral("it's 100% é")), QStringLiteral("it's 100% é"));
  EXPECT_EQ(EscapeHtml(QString()), QString());
}

TEST(DecodeHtmlEntities, Table) {
  struct Case {
    const char* in;
    QString out;
  };
  const Case cases[] = {
      {"&amp;&lt;&gt;&quot;&apos;", QStringLiteral("&<>\"'")},
      {"a&nbsp;b", QString::fromUtf16(u"a\u00A0b")},
      {"&eacute;t&eacute; &Eacute;", QString::fromUtf16(u"\u00E9t\u00E9 \u00C9")},
      {"&yuml;&iexcl;&AElig;", QString::fromUtf16(u"\u00FF\u00A1\u00C6")},
      {"&euro; &mdash; &thetasym; &Omega;", QString::fromUtf16(u"\u20AC \u2014 \u03D1 \u03A9")},
      {"&#65;&#x42;&#X43;", QStringLiteral("ABC")},
      {"&#128512;", QString::fromUcs4(U"\U0001F600")},
      // Left as they are: unknown names, wrong case, no ";", bad numbers.
      {"&foo; &AMP; &amp &#; &#x; &#12a; &#0; &#xD800; &#x110000;",
       QStringLiteral("&foo; &AMP; &amp &#; &#x; &#12a; &#0; &#xD800; &#x110000;")},
      {"R&D; & more", QStringLiteral("R&D; & more")},
      {"&&amp;;", QStringLiteral("&&;")},
      {"tail &", QStringLiteral("tail &")},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeHtmlEntities(QString::fromUtf8(c.in)), c.out) << c.in;
}

TEST(DecodeHtmlEntities, UndoesEscapeHtml) {
  const QString samples[] = {
      QStringLiteral("Tom & Jerry <\"quoted\"> &amp; literally"),
      QStringLiteral("&lt;already escaped&gt;"),
      QString::fromUtf16(u"Gr\u00FC\u00DFe & \u4E2D\u6587"),
  };
  for (const QString& s : samples) EXPECT_EQ(DecodeHtmlEntities(EscapeHtml(s)), s);
}
