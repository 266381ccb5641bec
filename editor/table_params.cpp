#include "editor/table_params.h"

#include <limits>

QVariantMap TableParams::ToVariant() const {
  QVariantMap map;
  map.insert(QStringLiteral("NumRows"), numRows);
  map.insert(QStringLiteral("NumCols"), numCols);
  map.insert(QStringLiteral("TableAttrs"), tableAttrs);
  map.insert(QStringLiteral("CellAttrs"), cellAttrs);
  map.insert(QStringLiteral("Caption"), caption);
  return map;
}

QString TableAttrText(int border, int widthPercent) {
  QString text;
  if (border > 0) text += QStringLiteral("border=\"%1\" ").arg(border);
  text += QStringLiteral("width=\"%1%\"").arg(widthPercent);
  return text;
}

int IntegerErrorPosition(const QString& text, int* value) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    negative = text[i] == u'-';
    ++i;
  }
  int base = 10;
  if (i < n && text[i] == u'$') {
    base = 16;
    ++i;
  }
  if (i >= n) return int(qMin<qsizetype>(i + 1, std::numeric_limits<int>::max()));
  // Accumulated as a negative number, which has room for the smallest int.
  const qint64 limit =
      negative ? qint64(std::numeric_limits<int>::min()) : -qint64(std::numeric_limits<int>::max());
  qint64 acc = 0;
  for (; i < n; ++i) {
    int d = -1;
    if (text[i].unicode() < 128) {
      const char c = char(text[i].unicode());
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    }
    if (d < 0 || d >= base) return int(i + 1);
    acc = acc * base - d;
    if (acc < limit) return int(i + 1);
  }
  if (value) *value = int(negative ? acc : -acc);
  return 0;
}
