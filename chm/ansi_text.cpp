#include "chm/ansi_text.h"

#include "platform/codepage.h"
#include "platform/text_file.h"

namespace orvex {

QString AnsiToString(const QByteArray& bytes) { return DecodeCodePage(bytes, 1252); }

QByteArray StringToAnsi(const QString& text) { return EncodeCodePage(text, 1252); }

QStringList SplitTextLines(const QString& text) { return SplitLines(text); }

QByteArray JoinAnsiLines(const QStringList& lines) { return EncodeCodePage(JoinLines(lines), 1252); }

}  // namespace orvex
