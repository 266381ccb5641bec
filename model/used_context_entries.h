// What the map and alias lines of a project already use, held as sets so that
// choosing the page name of a new topic does not read every line again: the
// context numbers the map lines define, and the "IDH_" symbols a map line
// holds followed by a blank or an alias line followed by "=".
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

class UsedContextEntries {
 public:
  void Rebuild(const QStringList& mapLines, const QStringList& aliasLines);
  void AddMapLine(const QString& line);
  void AddAliasLine(const QString& line);
  // The answer of ContextEntriesTaken (model/context_numbers.h) for the lines
  // given so far.
  bool Taken(const QString& fileName, const QString& namePrefix) const;

 private:
  QSet<QString> numbers;
  QSet<QString> mapSymbols;    // each "IDH_..." of a map line, up to each blank after it
  QSet<QString> aliasSymbols;  // each "IDH_..." of an alias line, up to each "=" after it
};
