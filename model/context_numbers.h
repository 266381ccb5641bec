// Help context numbers of topics: the map lines ("#define IDH_stem  number")
// and alias lines ("IDH_stem=FileName") of a project, held as line lists.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The context number text of the topic whose page is `fileName`, or an empty
// string when it has none. The alias line that contains `fileName` gives the
// symbol (its text before "="); without such a line the symbol is `fileName`
// itself. The first map line that contains the symbol followed by a blank
// gives the value: the rest of that line (at most 255 characters) without
// leading and trailing blanks and control characters. Only a whole integer
// counts; it is returned as written. All tests are case-sensitive substring
// tests, and the first matching line wins.
QString ContextNumberOf(const QString& fileName, const QStringList& aliasLines, const QStringList& mapLines);

// The context number a created page gets: "1" followed by the counter, the
// characters of `fileName` after `namePrefix` up to its first "." (so
// Help07.htm gives 107 and Help123.htm 1123). Empty when `fileName` does not
// begin with the prefix or the counter is empty.
QString CreatedContextNumber(const QString& fileName, const QString& namePrefix);

// The symbol of a created page's map and alias lines: "IDH_" and `fileName`
// without its extension.
QString CreatedContextSymbol(const QString& fileName);

// Appends the map line and the alias line of a created topic, with the number
// of `CreatedContextNumber`. Nothing is added when that number is empty.
// Returns whether the two lines were added.
bool AddContextEntries(const QString& fileName, const QString& namePrefix, QStringList& mapLines,
                       QStringList& aliasLines);

// Whether a created page named `fileName` would clash with the lines already
// there: its number or its symbol is defined by a map line, or an alias line
// gives its symbol. `usedNumbers` holds the values of `UsedContextNumbers`.
bool ContextEntriesTaken(const QString& fileName, const QString& namePrefix, const QSet<QString>& usedNumbers,
                         const QStringList& mapLines, const QStringList& aliasLines);

// The values of all map lines ("#define symbol value"), as written.
QSet<QString> UsedContextNumbers(const QStringList& mapLines);

// Removes the alias line and the map line that `ContextNumberOf` would read
// for `fileName` (each only when found).
void RemoveContextEntries(const QString& fileName, QStringList& mapLines, QStringList& aliasLines);
