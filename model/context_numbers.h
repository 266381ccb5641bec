// Help context numbers of topics: the map lines ("#define IDH_stem  number")
// and alias lines ("IDH_stem=FileName") of a project, held as line lists.
#pragma once

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

// Appends the map line and the alias line of a created topic. The counter is
// the (at most) two characters of `fileName` that follow `namePrefix`, cut
// before a "."; the number is "1" followed by that counter. Nothing is added
// when `fileName` does not begin with the prefix or the counter is empty.
// Returns whether the two lines were added.
bool AddContextEntries(const QString& fileName, const QString& namePrefix, QStringList& mapLines,
                       QStringList& aliasLines);

// Removes the alias line and the map line that `ContextNumberOf` would read
// for `fileName` (each only when found).
void RemoveContextEntries(const QString& fileName, QStringList& mapLines, QStringList& aliasLines);
