// Text files as the program keeps them: read whole into lines, written whole
// with every line followed by CR LF, as 8-bit text in a code page.
//
// Writing is atomic: the new content goes to a file beside the target that is
// then renamed over it, so a failed save never leaves a truncated file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "platform/result.h"

// Splits at CR LF, lone CR and lone LF; a final line end adds no empty line.
QStringList SplitLines(const QString& text);
// Every line followed by CR LF.
QString JoinLines(const QStringList& lines);

// The lines of a line-based file (project, map, alias file) as they can be
// written: a line break inside a line would start a line of its own there,
// so each CR or LF in a line becomes a blank. Everything else stays.
QStringList OneLineEach(const QStringList& lines);

// Reads a whole file; fails with "Cannot open file <path>" when it cannot.
Result<QByteArray> ReadFileBytes(const QString& path);
Result<QString> ReadTextFile(const QString& path, int codePage);
Result<QStringList> ReadLinesFile(const QString& path, int codePage);

// Replaces a file atomically. Fails with "Cannot create file <path>" when the
// file cannot be made (read-only file, missing or read-only folder), "Unable
// to write to <path>" when writing or the final rename fails.
Status WriteFileBytes(const QString& path, const QByteArray& bytes);
Status WriteTextFile(const QString& path, const QString& text, int codePage);
Status WriteLinesFile(const QString& path, const QStringList& lines, int codePage);
