#include "model/used_context_entries.h"

#include "model/context_numbers.h"

namespace {

const QString kSymbolStart = QStringLiteral("IDH_");

// Calls `found` with each text of `line` that begins with "IDH_" and ends
// right before `end`: the symbols a substring search for symbol + end finds.
template <typename Found>
void ForEachSymbol(const QString& line, QChar end, Found found) {
  for (qsizetype at = line.indexOf(kSymbolStart); at >= 0; at = line.indexOf(kSymbolStart, at + 1)) {
    for (qsizetype stop = line.indexOf(end, at + kSymbolStart.size()); stop >= 0;
         stop = line.indexOf(end, stop + 1)) {
      found(line.mid(at, stop - at));
    }
  }
}

}  // namespace

void UsedContextEntries::Rebuild(const QStringList& mapLines, const QStringList& aliasLines) {
  numbers.clear();
  mapSymbols.clear();
  aliasSymbols.clear();
  for (const QString& line : mapLines) AddMapLine(line);
  for (const QString& line : aliasLines) AddAliasLine(line);
}

void UsedContextEntries::AddMapLine(const QString& line) {
  numbers.unite(UsedContextNumbers({line}));
  ForEachSymbol(line, u' ', [this](const QString& symbol) { mapSymbols.insert(symbol); });
}

void UsedContextEntries::AddAliasLine(const QString& line) {
  ForEachSymbol(line, u'=', [this](const QString& symbol) { aliasSymbols.insert(symbol); });
}

bool UsedContextEntries::Taken(const QString& fileName, const QString& namePrefix) const {
  const QString number = CreatedContextNumber(fileName, namePrefix);
  if (!number.isEmpty() && numbers.contains(number)) return true;
  const QString symbol = CreatedContextSymbol(fileName);
  return mapSymbols.contains(symbol) || aliasSymbols.contains(symbol);
}
