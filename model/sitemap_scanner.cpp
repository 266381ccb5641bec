#include "model/sitemap_scanner.h"

#include "platform/html_text.h"

namespace {

struct Marker {
  QLatin1StringView Text;
  SitemapTag Tag;
  bool HasValue;
};

// Every marker begins with "<", so only the places of "<" need a look.
constexpr Marker kMarkers[] = {
    {QLatin1StringView("<LI>"), SitemapTag::ListItem, false},
    {QLatin1StringView("<OBJECT "), SitemapTag::ObjectStart, false},
    {QLatin1StringView("<PARAM NAME=\"KEYWORD\" VALUE=\""), SitemapTag::Keyword, true},
    {QLatin1StringView("<PARAM NAME=\"NAME\" VALUE=\""), SitemapTag::Name, true},
    {QLatin1StringView("<PARAM NAME=\"LOCAL\" VALUE=\""), SitemapTag::Local, true},
    {QLatin1StringView("<UL>"), SitemapTag::ListStart, false},
    {QLatin1StringView("</OBJECT>"), SitemapTag::ObjectEnd, false},
    {QLatin1StringView("</UL>"), SitemapTag::ListEnd, false},
};

const Marker* MarkerAt(QStringView text, qsizetype pos) {
  const QStringView rest = text.mid(pos);
  for (const Marker& marker : kMarkers) {
    if (rest.startsWith(marker.Text, Qt::CaseInsensitive)) return &marker;
  }
  return nullptr;
}

// Position of the double quote that closes a value starting at `from`, or -1
// when the line ends first.
qsizetype ClosingQuote(QStringView text, qsizetype from) {
  for (qsizetype i = from; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c == u'"') return i;
    if (c == u'\r' || c == u'\n') return -1;
  }
  return -1;
}

}  // namespace

SitemapScanner::SitemapScanner(QStringView text, qsizetype from)
    : text_(text), pos_(from < 0 ? text.size() : from) {}

bool SitemapScanner::Next(SitemapToken* token) {
  while (pos_ < text_.size()) {
    const qsizetype open = text_.indexOf(u'<', pos_);
    if (open < 0) {
      pos_ = text_.size();
      return false;
    }
    const Marker* marker = MarkerAt(text_, open);
    if (!marker) {
      pos_ = open + 1;
      continue;
    }
    token->Tag = marker->Tag;
    token->Value.clear();
    const qsizetype valueBegin = open + marker->Text.size();
    pos_ = valueBegin;
    if (marker->HasValue) {
      const qsizetype close = ClosingQuote(text_, valueBegin);
      if (close >= 0) {
        const QStringView raw = text_.mid(valueBegin, close - valueBegin);
        token->Value = raw.contains(u'&') ? DecodeHtmlEntities(raw.toString()) : raw.toString();
        pos_ = close + 1;
      }
    }
    return true;
  }
  return false;
}

qsizetype SitemapListBegin(QStringView text) {
  const QLatin1StringView listStart("<UL>");
  const qsizetype at = text.indexOf(listStart, 0, Qt::CaseInsensitive);
  return at < 0 ? -1 : at + listStart.size();
}
