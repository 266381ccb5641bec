#include "chm/ansi_text.h"

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orvex {

QString ansiToString(const QByteArray& bytes) { return DecodeCodePage(bytes, 1252); }

QByteArray stringToAnsi(const QString& text) { return EncodeCodePage(text, 1252); }

QStringList splitTextLines(const QString& text) { return SplitLines(text); }

QByteArray joinAnsiLines(const QStringList& lines) { return EncodeCodePage(JoinLines(lines), 1252); }

}  // namespace orvex
