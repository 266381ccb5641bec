#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

QByteArray AllBytes() {
  QByteArray bytes;
  for (int b = 0; b < 256; ++b) bytes.append(char(b));
  return bytes;
}

const int kCodePages[] = {1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257,
                          1258, 874,  932,  936,  949,  950,  437,  850};

}  // namespace

TEST(CodePage, EveryByteSurvivesDecodeAndEncode) {
  for (int cp : kCodePages) {
    const QByteArray bytes = AllBytes();
    const QString text = DecodeCodePage(bytes, cp);
    EXPECT_EQ(EncodeCodePage(text, cp), bytes) << "code page " << cp;
    // Twice through gives the same again.
    EXPECT_EQ(DecodeCodePage(EncodeCodePage(text, cp), cp), text) << "code page " << cp;
  }
}

TEST(CodePage, SingleByteTablesAreOneToOne) {
  for (int cp : {1252, 1251}) {
    for (int b = 0; b < 256; ++b) {
      const QByteArray one(1, char(b));
      const QString text = DecodeCodePage(one, cp);
      ASSERT_EQ(text.size(), 1) << cp << " byte " << b;
      EXPECT_EQ(EncodeCodePage(text, cp), one) << cp << " byte " << b;
    }
  }
}

TEST(CodePage, KnownCharacters) {
  EXPECT_EQ(DecodeCodePage(QByteArray("\x80\xE9\x9F", 3), 1252), QString::fromUtf16(u"\u20AC\u00E9\u0178"));
  EXPECT_EQ(DecodeCodePage(QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2", 6), 1251), QString::fromUtf16(u"Привет"));
  EXPECT_EQ(EncodeCodePage(QString::fromUtf16(u"Привет"), 1251), QByteArray("\xCF\xF0\xE8\xE2\xE5\xF2"));
  // Undefined bytes of 1252 decode to the C1 controls, like Windows does.
  EXPECT_EQ(DecodeCodePage(QByteArray("\x81\x8D\x8F\x90\x9D", 5), 1252),
            QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D"));
  // 0 and unknown code pages mean Windows-1252.
  EXPECT_EQ(DecodeCodePage(QByteArray("\x80"), 0), QString::fromUtf16(u"\u20AC"));
  EXPECT_EQ(EncodeCodePage(QString::fromUtf16(u"\u20AC"), 4711), QByteArray("\x80"));
  EXPECT_EQ(EffectiveCodePage(0), 1252);
  EXPECT_EQ(EffectiveCodePage(1251), 1251);
}

TEST(CodePage, UnmappableCharactersBecomeNumericReferences) {
  struct Case {
    QString text;
    int cp;
    QByteArray bytes;
  };
  const Case cases[] = {
      {QString::fromUtf16(u"a\u4E2Db"), 1252, "a&#20013;b"},
      {QString::fromUtf16(u"\u00E9"), 1251, "&#233;"},
      {QString::fromUcs4(U"x\U0001F600y"), 1252, "x&#128512;y"},  // the code point, not surrogates
      {QString::fromUcs4(U"x\U0001F600y"), 932, "x&#128512;y"},
      {QString::fromUtf16(u"\u0416"), 932, "\x84\x47"},
      {QString::fromUtf16(u"\u00E9\uFF05\u20AC"), 932, "&#233;\x81\x93&#8364;"},
  };
  for (const Case& c : cases) EXPECT_EQ(EncodeCodePage(c.text, c.cp), c.bytes) << c.text.toStdString();
}

TEST(CodePage, MultiByteTextRoundTrips) {
  const QString japanese = QString::fromUtf16(u"日本語のヘルプ ｶﾀｶﾅ ①Ⅱ ≒ 髙﨑 ~\\");
  const QByteArray bytes = EncodeCodePage(japanese, 932);
  EXPECT_FALSE(bytes.contains("&#")) << bytes.toStdString();
  EXPECT_EQ(DecodeCodePage(bytes, 932), japanese);

  // Stray lead bytes, bad trail bytes and the NEC/IBM duplicate of 0xFA5C.
  const QByteArray odd("\x93\xFA\x81\x7F\x82\xA0\xED\x40\xFA\x5C\x85\x40z\x82", 14);
  for (int cp : {932, 936, 949, 950}) EXPECT_EQ(EncodeCodePage(DecodeCodePage(odd, cp), cp), odd) << cp;
}
