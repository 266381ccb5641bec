// One Hunspell dictionary, opened from its .aff and .dic files. Hunspell
// works in the dictionary's own encoding (the affix file's SET line, often
// ISO-8859-x); words go in and suggestions come out as QString. Not safe to
// use from two threads at once.
#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/result.h"

class Hunspell;
struct UConverter;

class HunspellDictionary {
 public:
  // Fails naming the file when a file cannot be read or its encoding is unknown.
  static Result<std::unique_ptr<HunspellDictionary>> Open(const QString& affixFile, const QString& wordsFile);
  ~HunspellDictionary();

  bool Spell(const QString& word);
  QStringList Suggest(const QString& word);
  // Takes the word as correct from now on (the dictionary's files stay as they are).
  void Add(const QString& word);
  // As the SET line names it ("UTF-8", "ISO8859-1").
  QString Encoding() const { return encoding; }

 private:
  HunspellDictionary() = default;
  // False when the dictionary's encoding cannot hold the word.
  bool Encode(const QString& word, std::string* bytes);
  QString Decode(const std::string& bytes);

  std::unique_ptr<Hunspell> hunspell;
  UConverter* converter = nullptr;
  QString encoding;
};
