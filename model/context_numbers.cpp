#include "model/context_numbers.h"

#include <algorithm>

namespace {

constexpr qsizetype kMaxValueLength = 255;

struct SymbolLookup {
  qsizetype aliasLine = -1;  // index of the alias line that names the file, or -1
  QString symbol;            // what the map lines are searched for (without the blank)
};

// The alias line naming `fileName` and the symbol it gives. An alias line
// without "=" (or with nothing before it) gives an empty symbol, which must
// not be looked up: it would match any map line holding a blank.
SymbolLookup FindSymbol(const QString& fileName, const QStringList& aliasLines) {
  SymbolLookup lookup;
  lookup.symbol = fileName;
  for (qsizetype i = 0; i < aliasLines.size(); ++i) {
    const QString& line = aliasLines.at(i);
    if (!line.contains(fileName)) continue;
    lookup.aliasLine = i;
    const qsizetype eq = line.indexOf(u'=');
    lookup.symbol = eq < 0 ? QString() : line.left(eq);
    break;
  }
  return lookup;
}

// Index of the first map line holding `symbol` followed by a blank, and the
// position of that blank; -1 when none.
qsizetype FindMapLine(const QString& symbol, const QStringList& mapLines, qsizetype* blankAt) {
  if (symbol.isEmpty()) return -1;
  const QString needle = symbol + u' ';
  for (qsizetype i = 0; i < mapLines.size(); ++i) {
    const qsizetype at = mapLines.at(i).indexOf(needle);
    if (at >= 0) {
      *blankAt = at + symbol.size();
      return i;
    }
  }
  return -1;
}

// Leading and trailing blanks and control characters removed.
QString TrimBlanksAndControls(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text.at(begin).unicode() <= u' ') ++begin;
  while (end > begin && text.at(end - 1).unicode() <= u' ') --end;
  return text.mid(begin, end - begin).toString();
}

// A whole decimal integer, optionally signed, that fits 32 bits.
bool IsWholeInteger(const QString& text) {
  if (text.isEmpty()) return false;
  qsizetype i = (text.at(0) == u'+' || text.at(0) == u'-') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text.at(i) < u'0' || text.at(i) > u'9') return false;
  }
  bool ok = false;
  text.toInt(&ok, 10);
  return ok;
}

// FileName without its extension (the part from its last "." on, when that
// dot stands after the last path separator).
QString WithoutExtension(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(u'.');
  const qsizetype separator = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
  return dot > separator ? fileName.left(dot) : fileName;
}

}  // namespace

QString ContextNumberOf(const QString& fileName, const QStringList& aliasLines, const QStringList& mapLines) {
  if (fileName.isEmpty()) return {};
  const SymbolLookup lookup = FindSymbol(fileName, aliasLines);
  qsizetype blankAt = -1;
  const qsizetype line = FindMapLine(lookup.symbol, mapLines, &blankAt);
  if (line < 0) return {};
  const QString value = TrimBlanksAndControls(QStringView(mapLines.at(line)).mid(blankAt, kMaxValueLength));
  return IsWholeInteger(value) ? value : QString();
}

QString CreatedContextNumber(const QString& fileName, const QString& namePrefix) {
  if (!fileName.startsWith(namePrefix)) return {};
  QString counter = fileName.mid(namePrefix.size());
  const qsizetype dot = counter.indexOf(u'.');
  if (dot >= 0) counter.truncate(dot);
  if (counter.isEmpty()) return {};
  return u'1' + counter;
}

QString CreatedContextSymbol(const QString& fileName) {
  return QStringLiteral("IDH_") + WithoutExtension(fileName);
}

bool AddContextEntries(const QString& fileName, const QString& namePrefix, QStringList& mapLines,
                       QStringList& aliasLines) {
  const QString number = CreatedContextNumber(fileName, namePrefix);
  if (number.isEmpty()) return false;
  const QString symbol = CreatedContextSymbol(fileName);
  mapLines.append(QStringLiteral("#define ") + symbol + QStringLiteral("  ") + number);
  aliasLines.append(symbol + u'=' + fileName);
  return true;
}

QSet<QString> UsedContextNumbers(const QStringList& mapLines) {
  QSet<QString> numbers;
  for (const QString& line : mapLines) {
    const QStringList words = line.simplified().split(u' ');
    if (words.size() >= 3 && words.first() == QLatin1String("#define")) numbers.insert(words.at(2));
  }
  return numbers;
}

bool ContextEntriesTaken(const QString& fileName, const QString& namePrefix, const QSet<QString>& usedNumbers,
                         const QStringList& mapLines, const QStringList& aliasLines) {
  const QString number = CreatedContextNumber(fileName, namePrefix);
  if (!number.isEmpty() && usedNumbers.contains(number)) return true;
  const QString symbol = CreatedContextSymbol(fileName);
  const QString defined = symbol + u' ';
  const QString aliased = symbol + u'=';
  const auto holds = [](const QStringList& lines, const QString& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const QString& line) { return line.contains(text); });
  };
  return holds(mapLines, defined) || holds(aliasLines, aliased);
}

void RemoveContextEntries(const QString& fileName, QStringList& mapLines, QStringList& aliasLines) {
  if (fileName.isEmpty()) return;
  const SymbolLookup lookup = FindSymbol(fileName, aliasLines);
  if (lookup.aliasLine >= 0) aliasLines.removeAt(lookup.aliasLine);
  qsizetype blankAt = -1;
  const qsizetype line = FindMapLine(lookup.symbol, mapLines, &blankAt);
  if (line >= 0) mapLines.removeAt(line);
}
