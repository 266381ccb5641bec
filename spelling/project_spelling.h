// The spelling of one project: the dictionary of its language (or the one
// chosen for it) with the project's word list. Safe to share between the
// editor and a running Check project.
#pragma once

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/result.h"
#include "spelling/spelling_words.h"
#include "spelling/dictionary_names.h"
#include "platform/result.h"
#include "spelling/spelling_words.h"

class HunspellDictionary;

class ProjectSpelling : public WordSpelling {
 public:
  // Opens the dictionary and reads the word list. Never fails: when there is
  // no dictionary, NotChecked() says so and every word counts as correct.
  static std::shared_ptr<ProjectSpelling> Open(const QString& projectFile, const QStringList& projectLines,
                                               const QStringList& folders = DictionaryFolders());
  ~ProjectSpelling() override;

  QString NotChecked() const override { return notChecked; }
  bool IsCorrect(const QString& word) const override;

  const QString& ProjectFile() const { return projectFile; }
  // "en_US"; empty without a dictionary.
  const QString& DictionaryName() const { return dictionaryName; }
  // The dictionary chosen for the project in its word list; empty: its language's.
  const QString& ChosenDictionary() const { return chosen; }
  QStringList Suggestions(const QString& word) const;

  // Adds the word to the project's word list file, which is written at once;
  // on failure nothing changes and the message names the file.
  Status AddWord(const QString& word);
  // Takes the word as correct while this project stays open.
  void IgnoreWord(const QString& word);

 private:
  ProjectSpelling() = default;
  bool InList(const QString& word) const;

  mutable QMutex mutex;  // guards everything below that changes
  std::unique_ptr<HunspellDictionary> dictionary;
  mutable QHash<QString, bool> known;  // word -> spelt right, as the dictionary answered
  QSet<QString> words;                 // the word list and the words ignored
  QStringList listed;                  // the word list as in its file
  QString projectFile;
  QString dictionaryName;
  QString chosen;
  QString notChecked;
};

// For Check project: opens the project's spelling on the check's thread.
SpellingSource ProjectSpellingSource(const QString& projectFile, const QStringList& projectLines);
