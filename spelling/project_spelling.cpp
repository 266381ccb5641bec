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
  spelling->m_projectFile = projectFile;
  const Result<WordList> list = ReadWordList(WordListPath(projectFile));
  if (!list) {
    spelling->m_notChecked = list.Message();
    return spelling;
  }
  spelling->m_listed = list->Words;
  for (const QString& word : list->Words) spelling->m_words.insert(PlainApostrophes(word));
  spelling->m_chosen = list->Dictionary;
  const int lcid = ProjectLanguageLcid(projectLines);
  const std::optional<DictionaryFiles> files = list->Dictionary.isEmpty()
                                                   ? DictionaryForLanguage(lcid, folders)
                                                   : FindDictionary(list->Dictionary, folders);
  if (!files) {
    spelling->m_notChecked = list->Dictionary.isEmpty() ? NoDictionaryMessage(lcid)
                                                        : ChosenDictionaryMissingMessage(list->Dictionary);
    return spelling;
  }
  Result<std::unique_ptr<HunspellDictionary>> dictionary =
      HunspellDictionary::Open(files->AffixFile, files->WordsFile);
  if (!dictionary) {
    spelling->m_notChecked = dictionary.Message();
    return spelling;
  }
  spelling->m_dictionary = std::move(*dictionary);
  spelling->m_dictionaryName = files->Name;
  return spelling;
}

ProjectSpelling::~ProjectSpelling() = default;

bool ProjectSpelling::InList(const QString& word) const {
  if (m_words.contains(word)) return true;
  // "Orvex" at the start of a sentence for "orvex" in the list.
  if (word.size() > 1 && word.at(0).isUpper()) return m_words.contains(word.at(0).toLower() + word.mid(1));
  return false;
}

bool ProjectSpelling::IsCorrect(const QString& word) const {
  const QString plain = PlainApostrophes(word);
  QMutexLocker lock(&m_mutex);
  if (!m_dictionary || InList(plain)) return true;
  const auto known = m_known.constFind(plain);
  if (known != m_known.constEnd()) return *known;
  const bool correct = m_dictionary->Spell(plain);
  m_known.insert(plain, correct);
  return correct;
}

QStringList ProjectSpelling::Suggestions(const QString& word) const {
  QMutexLocker lock(&m_mutex);
  return m_dictionary ? m_dictionary->Suggest(PlainApostrophes(word)) : QStringList();
}

Status ProjectSpelling::AddWord(const QString& word) {
  QMutexLocker lock(&m_mutex);
  WordList list{m_listed, m_chosen};
  list.Words.append(word);
  if (Status written = WriteWordList(WordListPath(m_projectFile), list); !written) return written;
  m_listed = list.Words;
  m_words.insert(PlainApostrophes(word));
  return {};
}

void ProjectSpelling::IgnoreWord(const QString& word) {
  QMutexLocker lock(&m_mutex);
  m_words.insert(PlainApostrophes(word));
}

SpellingSource ProjectSpellingSource(const QString& projectFile, const QStringList& projectLines) {
  return [projectFile, projectLines]() -> std::shared_ptr<const WordSpelling> {
    return ProjectSpelling::Open(projectFile, projectLines);
  };
}
