#pragma once
// 8-bit text as the help tools read and write it: Windows-1252, converted
// losslessly (the five bytes that code page leaves undefined map to the
// control characters of the same value and back).

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvex {

QString ansiToString(const QByteArray &bytes);
// Characters outside the code page become '?'.
QByteArray stringToAnsi(const QString &text);
// Splits at CR LF, LF or a lone CR; a final line break adds no empty line.
QStringList splitTextLines(const QString &text);
// Every line followed by CR LF.
QByteArray joinAnsiLines(const QStringList &lines);

} // namespace orvex
