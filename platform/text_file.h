// Text files as the program keeps them: read whole into lines, written whole
// with every line followed by CR LF, as 8-bit text in a code page.
//
// Writing is atomic: the new content goes to a file beside the target that is
// then renamed over it, so a failed save never leaves a truncated file.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <stdexcept>

// A file that cannot be read or written; message() is the text shown to the
// user ("Cannot create file %s", "Cannot open file %s", "Unable to write to %s").
class FileError : public std::runtime_error {
 public:
  explicit FileError(const QString& message);
  QString message() const { return message_; }

 private:
  QString message_;
};

// Splits at CR LF, lone CR and lone LF; a final line end adds no empty line.
QStringList SplitLines(const QString& text);
// Every line followed by CR LF.
QString JoinLines(const QStringList& lines);

// The lines of a line-based file (project, map, alias file) as they can be
// written: a line break inside a line would start a line of its own there,
// so each CR or LF in a line becomes a blank. Everything else stays.
QStringList OneLineEach(const QStringList& lines);

// Reads a whole file; FileError "Cannot open file <path>" when it cannot.
QByteArray ReadFileBytes(const QString& path);
QString ReadTextFile(const QString& path, int codePage);
QStringList ReadLinesFile(const QString& path, int codePage);

// Replaces a file atomically. FileError "Cannot create file <path>" when the
// file cannot be made (read-only file, missing or read-only folder), "Unable
// to write to <path>" when writing or the final rename fails.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
void WriteTextFile(const QString& path, const QString& text, int codePage);
void WriteLinesFile(const QString& path, const QStringList& lines, int codePage);
