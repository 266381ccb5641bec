// Files that tests set up and check. A failure of the file layer fails the
// test with its message (and reads as empty), so a setup step that could not
// write its file is never mistaken for the behaviour under test.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "model/project_reader.h"
#include "platform/text_file.h"

inline QByteArray BytesOf(const QString& path) {
  Result<QByteArray> bytes = ReadFileBytes(path);
  if (!bytes) ADD_FAILURE() << bytes.Message().toStdString();
  return bytes ? std::move(*bytes) : QByteArray();
}

inline QStringList LinesOf(const QString& path, int codePage) {
  Result<QStringList> lines = ReadLinesFile(path, codePage);
  if (!lines) ADD_FAILURE() << lines.Message().toStdString();
  return lines ? std::move(*lines) : QStringList();
}

inline ProjectFiles ProjectOnDisk(const QString& projectFile) {
  Result<ProjectFiles> files = ReadProjectFiles(projectFile);
  if (!files) ADD_FAILURE() << files.Message().toStdString();
  return files ? std::move(*files) : ProjectFiles();
}

inline void ExpectWritten(const Status& written) {
  if (!written) ADD_FAILURE() << written.Message().toStdString();
}

inline void PutFile(const QString& path, const QByteArray& bytes) {
  ExpectWritten(WriteFileBytes(path, bytes));
}

inline void PutText(const QString& path, const QString& text, int codePage) {
  ExpectWritten(WriteTextFile(path, text, codePage));
}

inline void PutLines(const QString& path, const QStringList& lines, int codePage) {
  ExpectWritten(WriteLinesFile(path, lines, codePage));
}
