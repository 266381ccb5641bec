#include "spelling/word_list.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>

#include "platform/text_file.h"

namespace {
const QString kDictionaryKey = QStringLiteral("dictionary=");
}

QString WordListPath(const QString& projectFile) {
  const QFileInfo info(projectFile);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".words"));
}

Result<WordList> ReadWordList(const QString& path) {
  WordList list;
  if (!QFileInfo::exists(path)) return list;
  const Result<QByteArray> bytes = ReadFileBytes(path);
  if (!bytes) return Fail(bytes.Message());
  for (const QString& raw : SplitLines(QString::fromUtf8(*bytes))) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u'#')) continue;
    if (line.startsWith(kDictionaryKey))
      list.dictionary = line.mid(kDictionaryKey.size()).trimmed();
    else if (!list.words.contains(line))
      list.words.append(line);
  }
  return list;
}

Status WriteWordList(const QString& path, const WordList& list) {
  QStringList words = list.words;
  words.removeDuplicates();
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::sort(words.begin(), words.end(), [&](const QString& a, const QString& b) {
    const int order = collator.compare(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  QStringList lines{QStringLiteral("# Words spelling takes as correct in this project, one a line (Orvex).")};
  if (!list.dictionary.isEmpty()) lines.append(kDictionaryKey + list.dictionary);
  lines += words;
  return WriteFileBytes(path, JoinLines(lines).toUtf8());
}
