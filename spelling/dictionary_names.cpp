#include "spelling/dictionary_names.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include "platform/locale_info.h"
#include "formats/project/project_file.h"

QStringList DictionaryFolders() {
  QStringList folders;
  for (const QString& folder : qEnvironmentVariable("DICPATH").split(u':', Qt::SkipEmptyParts))
    folders.append(folder);
  folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
          << QStringLiteral("/usr/share/myspell/dicts");
  return folders;
}

std::optional<DictionaryFiles> FindDictionary(const QString& name, const QStringList& folders) {
  if (name.isEmpty() || name.contains(u'/')) return std::nullopt;
  for (const QString& folder : folders) {
    const QDir dir(folder);
    const QString affix = dir.filePath(name + QStringLiteral(".aff"));
    const QString words = dir.filePath(name + QStringLiteral(".dic"));
    if (QFileInfo(affix).isFile() && QFileInfo(words).isFile()) return DictionaryFiles{name, affix, words};
  }
  return std::nullopt;
}

QStringList InstalledDictionaries(const QStringList& folders) {
  QSet<QString> names;
  for (const QString& folder : folders) {
    const QDir dir(folder);
    for (const QFileInfo& affix :
         dir.entryInfoList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable)) {
      if (QFileInfo(dir.filePath(affix.completeBaseName() + QStringLiteral(".dic"))).isFile())
        names.insert(affix.completeBaseName());
    }
  }
  QStringList sorted(names.cbegin(), names.cend());
  sorted.sort();
  return sorted;
}

int ProjectLanguageLcid(const QStringList& projectLines) {
  int lcid = 0;
  for (const QString& line : projectLines) {
    const std::optional<int> named = LanguageLineLcid(line);
    if (named && IsValidLocale(*named)) lcid = *named;
  }
  return lcid > 0 ? lcid : SystemDefaultLcid();
}

QStringList DictionaryNamesFor(int lcid) {
  const QStringList parts = LocaleNameOf(lcid).split(u'_', Qt::SkipEmptyParts);
  if (parts.isEmpty()) return {};
  QStringList names{parts.join(u'_')};
  // Without the script: "sr_Latn_RS" -> "sr_RS".
  if (parts.size() == 3) names.append(parts.at(0) + u'_' + parts.at(2));
  names.append(parts.at(0));
  names.removeDuplicates();
  return names;
}

std::optional<DictionaryFiles> DictionaryForLanguage(int lcid, const QStringList& folders) {
  const QStringList names = DictionaryNamesFor(lcid);
  for (const QString& name : names) {
    if (std::optional<DictionaryFiles> found = FindDictionary(name, folders)) return found;
  }
  if (names.isEmpty()) return std::nullopt;
  const QString language = names.last() + u'_';
  for (const QString& name : InstalledDictionaries(folders)) {
    if (name.startsWith(language)) return FindDictionary(name, folders);
  }
  return std::nullopt;
}

QString NoDictionaryMessage(int lcid) {
  QString language = LocaleLanguageName(lcid);
  if (language.isEmpty()) language = LcidText(lcid);
  return QStringLiteral(
             "No spelling dictionary for %1 is installed: spelling is not checked. Install Debian's "
             "hunspell package for the language, or choose an installed dictionary in Tools > Spelling "
             "dictionary.")
      .arg(language);
}

QString ChosenDictionaryMissingMessage(const QString& name) {
  return QStringLiteral(
             "The spelling dictionary %1 chosen for this project is not installed: spelling is not "
             "checked. Install it, or choose another in Tools > Spelling dictionary.")
      .arg(name);
}
