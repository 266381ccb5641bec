// Text files as the program keeps them: read whole into lines, written whole
// with every line followed by CR LF, as 8-bit text in a code page.
//
// Writing is atomic: the new content goes to a file beside the target that is
// then renamed over it, so a failed save never leaves a truncated or empty
// file.
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

// Reads a whole file; fails with "Cannot open file <path>: <reason>" when it
// cannot (the reason is the system's: "No such file or directory").
Result<QByteArray> ReadFileBytes(const QString& path);
Result<QString> ReadTextFile(const QString& path, int codePage);
Result<QStringList> ReadLinesFile(const QString& path, int codePage);

// Replaces a file atomically: the whole new content is written and flushed
// beside it, every write checked, before it takes the file's name; on any
// failure the old file stays as it was. A link is written through. Fails
// with "Cannot create file <path>: <reason>" when the file cannot be made
// (read-only file, missing or read-only folder), "Unable to write to
// <path>: <reason>" when writing, the flush or the final rename fails; the
// reason is the system's ("No space left on device").
// `cannotCreate` ("%1" the file) begins the first kind of failure.
Status WriteFileBytes(const QString& path, const QByteArray& bytes,
                      const QString& cannotCreate = QStringLiteral("Cannot create file %1"));
Status WriteTextFile(const QString& path, const QString& text, int codePage);
Status WriteLinesFile(const QString& path, const QStringList& lines, int codePage);
