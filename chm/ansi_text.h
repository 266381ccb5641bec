#pragma once
// 8-bit text as the help tools read and write it: Windows-1252, through the
// program's code-page layer (every byte survives a round trip).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvex {

QString AnsiToString(const QByteArray& bytes);
// Characters outside the code page become numeric character references.
QByteArray StringToAnsi(const QString& text);
// Splits at CR LF, LF or a lone CR; a final line break adds no empty line.
QStringList SplitTextLines(const QString& text);
// Every line followed by CR LF.
QByteArray JoinAnsiLines(const QStringList& lines);

}  // namespace orvex
