// Which Hunspell dictionary suits a project: its language from the
// "Language" line, the dictionaries installed (Debian's hunspell-* packages
// put them in /usr/share/hunspell), and what to say when none is.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A dictionary's two files: "en_US.aff" (affixes) and "en_US.dic" (words).
struct DictionaryFiles {
  QString name;  // "en_US"
  QString affixFile;
  QString wordsFile;
};

// Where dictionaries are looked for, in order: the folders of $DICPATH
// (separated by ':'), then /usr/share/hunspell, /usr/share/myspell and
// /usr/share/myspell/dicts.
QStringList DictionaryFolders();

// The names of the installed dictionaries (an .aff with its .dic), sorted,
// each once (the first folder that has it wins).
QStringList InstalledDictionaries(const QStringList& folders);
std::optional<DictionaryFiles> FindDictionary(const QString& name, const QStringList& folders);

// The language a project's words are in: the last "Language" line that names
// a locale the system knows; the system's language when none does.
int ProjectLanguageLcid(const QStringList& projectLines);

// The dictionary names that suit a language, best first: "en_US" for
// 0x0409, "de_DE" for 0x0407, "sr_Latn_RS" then "sr_RS" for 0x081A, and
// the language alone ("en") last; empty for an LCID ICU does not know.
QStringList DictionaryNamesFor(int lcid);

// The installed dictionary for a language: the first of DictionaryNamesFor
// that is installed, else the first installed one of the same language
// ("de_AT" for Swiss German when only it is there).
std::optional<DictionaryFiles> DictionaryForLanguage(int lcid, const QStringList& folders);

// What is said when a language has no dictionary:
// "No spelling dictionary for Japanese (Japan) is installed ...".
QString NoDictionaryMessage(int lcid);
// ... and when the dictionary chosen for the project is not installed.
QString ChosenDictionaryMissingMessage(const QString& name);
