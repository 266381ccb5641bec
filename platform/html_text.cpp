#include "platform/html_text.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/html_entity_table.h"

QString EscapeHtml(const QString& text) {
  QString out;
  out.reserve(text.size() + text.size() / 8);
  for (QChar c : text) {
    switch (c.unicode()) {
      case '&':
        out += QLatin1String("&amp;");
        break;
      case '<':
        out += QLatin1String("&lt;");
        break;
      case '>':
        out += QLatin1String("&gt;");
        break;
      case '"':
        out += QLatin1String("&quot;");
        break;
      default:
        out += c;
    }
  }
  return out;
}

QString EscapeAttributeValue(const QString& text) {
  QString out = EscapeHtml(text);
  for (qsizetype i = out.size() - 1; i >= 0; --i) {
    const char16_t u = out[i].unicode();
    // NUL stays as it is: no reader takes "&#0;" back, and it ends no line.
    if ((u > 0 && u < 0x20) || u == 0x7f) out.replace(i, 1, QStringLiteral("&#%1;").arg(int(u)));
  }
  return out;
}

namespace {

// Longest name in the table is 8 characters ("thetasym"); numeric references
// are at most "#x10FFFF" or "#1114111".
constexpr qsizetype kMaxEntityBody = 10;

bool LookUpNamed(const QString& name, char32_t* codePoint) {
  const QByteArray key = name.toLatin1();
  const auto* begin = std::begin(kNamedEntities);
  const auto* end = std::end(kNamedEntities);
  const auto* it = std::lower_bound(begin, end, key, [](const NamedEntity& e, const QByteArray& k) {
    return std::strcmp(e.name, k.constData()) < 0;
  });
  if (it == end || key != it->name) return false;
  *codePoint = it->codePoint;
  return true;
}

bool ParseNumeric(const QString& body, char32_t* codePoint) {
  // body starts with '#'
  bool ok = false;
  uint value = 0;
  if (body.size() > 2 && (body[1] == u'x' || body[1] == u'X')) {
    const QString digits = body.mid(2);
    for (QChar c : digits)
      if (!isxdigit(c.toLatin1())) return false;
    value = digits.toUInt(&ok, 16);
  } else if (body.size() > 1) {
    const QString digits = body.mid(1);
    for (QChar c : digits)
      if (!c.isDigit() || c.unicode() > '9') return false;
    value = digits.toUInt(&ok, 10);
  }
  if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
  *codePoint = value;
  return true;
}

}  // namespace

QString DecodeHtmlEntities(const QString& text) {
  if (!text.contains(u'&')) return text;
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n) {
    const QChar c = text[i];
    if (c != u'&') {
      out += c;
      ++i;
      continue;
    }
    const qsizetype semi = text.indexOf(u';', i + 1);
    if (semi > i + 1 && semi - i - 1 <= kMaxEntityBody) {
      const QString body = text.mid(i + 1, semi - i - 1);
      char32_t cp = 0;
      const bool found = body.startsWith(u'#') ? ParseNumeric(body, &cp) : LookUpNamed(body, &cp);
      if (found) {
        out += QString::fromUcs4(&cp, 1);
        i = semi + 1;
        continue;
      }
    }
    out += c;
    ++i;
  }
  return out;
}
