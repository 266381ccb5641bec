// The project's word list: words spelling takes as correct in this project,
// kept beside the project file as "<project name>.words" (UTF-8, one word a
// line, "#" starts a comment), with the dictionary chosen for the project
// when it is not the one of the project's language ("dictionary=en_GB").
#pragma once

#include <QString>
#include <QStringList>

#include "platform/result.h"

struct WordList {
  QStringList words;
  QString dictionary;  // chosen for the project; empty: the one of its language
};

// "C:/help/Guide.words" for "C:/help/Guide.hhp".
QString WordListPath(const QString& projectFile);

// The list in the file; an empty one when there is no file yet.
Result<WordList> ReadWordList(const QString& path);
// Replaces the file (the words sorted, each once); fails naming the file.
Status WriteWordList(const QString& path, const WordList& list);
