#include "spelling/project_spelling.h"

#include <QMutexLocker>

#include "spelling/hunspell_dictionary.h"
#include "spelling/word_list.h"

namespace {
// Dictionaries write the apostrophe as the typewriter's.
QString PlainApostrophes(QString word) { return word.replace(u'\u2019', u'\''); }
}  // namespace

std::shared_ptr<ProjectSpelling> ProjectSpelling::Open(const QString& projectFile,
                                                       const QStringList& projectLines,
                                                       const QStringList& folders) {
  std::shared_ptr<ProjectSpelling> spelling(new ProjectSpelling);
  spelling->projectFile = projectFile;
  const Result<WordList> list = ReadWordList(WordListPath(projectFile));
  if (!list) {
    spelling->notChecked = list.Message();
    return spelling;
  }
  spelling->listed = list->words;
  for (const QString& word : list->words) spelling->words.insert(PlainApostrophes(word));
  spelling->chosen = list->dictionary;
  const int lcid = ProjectLanguageLcid(projectLines);
  const std::optional<DictionaryFiles> files = list->dictionary.isEmpty()
                                                   ? DictionaryForLanguage(lcid, folders)
                                                   : FindDictionary(list->dictionary, folders);
  if (!files) {
    spelling->notChecked = list->dictionary.isEmpty() ? NoDictionaryMessage(lcid)
                                                      : ChosenDictionaryMissingMessage(list->dictionary);
    return spelling;
  }
  Result<std::unique_ptr<HunspellDictionary>> dictionary =
      HunspellDictionary::Open(files->affixFile, files->wordsFile);
  if (!dictionary) {
    spelling->notChecked = dictionary.Message();
    return spelling;
  }
  spelling->dictionary = std::move(*dictionary);
  spelling->dictionaryName = files->name;
  return spelling;
}

ProjectSpelling::~ProjectSpelling() = default;

bool ProjectSpelling::InList(const QString& word) const {
  if (words.contains(word)) return true;
  // "Orvex" at the start of a sentence for "orvex" in the list.
  if (word.size() > 1 && word.at(0).isUpper()) return words.contains(word.at(0).toLower() + word.mid(1));
  return false;
}

bool ProjectSpelling::IsCorrect(const QString& word) const {
  const QString plain = PlainApostrophes(word);
  QMutexLocker lock(&mutex);
  if (!dictionary || InList(plain)) return true;
  const auto found = known.constFind(plain);
  if (found != known.constEnd()) return *found;
  const bool correct = dictionary->Spell(plain);
  known.insert(plain, correct);
  return correct;
}

QStringList ProjectSpelling::Suggestions(const QString& word) const {
  QMutexLocker lock(&mutex);
  return dictionary ? dictionary->Suggest(PlainApostrophes(word)) : QStringList();
}

Status ProjectSpelling::AddWord(const QString& word) {
  QMutexLocker lock(&mutex);
  WordList list{listed, chosen};
  list.words.append(word);
  if (Status written = WriteWordList(WordListPath(projectFile), list); !written) return written;
  listed = list.words;
  words.insert(PlainApostrophes(word));
  return {};
}

void ProjectSpelling::IgnoreWord(const QString& word) {
  QMutexLocker lock(&mutex);
  words.insert(PlainApostrophes(word));
}

SpellingSource ProjectSpellingSource(const QString& projectFile, const QStringList& projectLines) {
  return [projectFile, projectLines]() -> std::shared_ptr<const WordSpelling> {
    return ProjectSpelling::Open(projectFile, projectLines);
  };
}
