// Conversion between the 8-bit text of a Windows code page and QString.
//
// Files keep their bytes: decoding and then encoding any byte sequence gives
// back the very same bytes. Bytes a code page leaves undefined decode to
// stand-in characters (0x80-0x9F to the C1 controls U+0080-U+009F where the
// code page does not use them, any other to the lone surrogate U+DC00 + byte)
// that encode back to the byte. A character the code page cannot hold is
// written as the decimal numeric character reference "&#N;" (N the code point).
#pragma once

#include <QByteArray>
#include <QString>

// Supported: 1250-1258, 874, 932, 936, 949, 950, 437, 850. Anything else,
// 0 included, means Windows-1252.
QString DecodeCodePage(const QByteArray& bytes, int codePage);
QByteArray EncodeCodePage(const QString& text, int codePage);

// The code page actually used for codePage (1252 for 0 or unknown ones).
int EffectiveCodePage(int codePage);
