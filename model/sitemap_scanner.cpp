#include "model/sitemap_scanner.h"

#include "platform/html_text.h"

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }
bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }
bool IsNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}

enum class Element { Other, ListItem, List, Object, Param };

Element ElementOf(QStringView name) {
  if (name.compare(u"LI", Qt::CaseInsensitive) == 0) return Element::ListItem;
  if (name.compare(u"UL", Qt::CaseInsensitive) == 0) return Element::List;
  if (name.compare(u"OBJECT", Qt::CaseInsensitive) == 0) return Element::Object;
  if (name.compare(u"PARAM", Qt::CaseInsensitive) == 0) return Element::Param;
  return Element::Other;
}

// Position just after the ">" that ends a tag whose attributes start at
// `from`, skipping quoted values; the text's end when none.
qsizetype TagEnd(QStringView text, qsizetype from) {
  char16_t quote = 0;
  for (qsizetype i = from; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (quote) {
      if (c == quote)
        quote = 0;
      else if (IsLineEnd(c))
        quote = 0;  // an unclosed quote ends with its line
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return text.size();
}

QString Decoded(QStringView raw) {
  return raw.contains(u'&') ? DecodeHtmlEntities(raw.toString()) : raw.toString();
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
    if (text_.mid(open, 4) == u"<!--") {
      const qsizetype end = text_.indexOf(u"-->", open + 4);
      pos_ = end < 0 ? text_.size() : end + 3;
      continue;
    }
    start_ = open;
    qsizetype i = open + 1;
    const bool closing = i < text_.size() && text_.at(i) == u'/';
    if (closing) ++i;
    const qsizetype nameBegin = i;
    while (i < text_.size() && IsNameChar(text_.at(i).unicode())) ++i;
    const Element element = ElementOf(text_.mid(nameBegin, i - nameBegin));
    const bool ends =
        i == text_.size() || IsBlank(text_.at(i).unicode()) || text_.at(i) == u'>' || text_.at(i) == u'/';
    if (element == Element::Other || !ends) {
      pos_ = open + 1;
      continue;
    }
    if (element == Element::Param && !closing) {
      if (ReadParam(i, token)) return true;
      continue;
    }
    pos_ = TagEnd(text_, i);
    token->Name.clear();
    token->Value.clear();
    switch (element) {
      case Element::ListItem:
        if (closing) continue;  // </LI> ends nothing the readers keep
        token->Tag = SitemapTag::ListItem;
        return true;
      case Element::List:
        token->Tag = closing ? SitemapTag::ListEnd : SitemapTag::ListStart;
        return true;
      case Element::Object:
        token->Tag = closing ? SitemapTag::ObjectEnd : SitemapTag::ObjectStart;
        return true;
      case Element::Param:
      case Element::Other:
        continue;
    }
  }
  return false;
}

// The attributes of a <param> tag from `from` on. A quoted value that its
// line ends gives an empty value, and scanning goes on at that line end.
bool SitemapScanner::ReadParam(qsizetype from, SitemapToken* token) {
  QString name;
  QString value;
  bool hasName = false;
  qsizetype i = from;
  const qsizetype n = text_.size();
  while (true) {
    while (i < n && IsBlank(text_.at(i).unicode())) ++i;
    if (i >= n) break;
    const char16_t c = text_.at(i).unicode();
    if (c == u'>') {
      ++i;
      break;
    }
    if (c == u'/') {
      ++i;
      continue;
    }
    const qsizetype attrBegin = i;
    while (i < n && !IsBlank(text_.at(i).unicode()) && text_.at(i) != u'=' && text_.at(i) != u'>' &&
           text_.at(i) != u'/')
      ++i;
    if (i == attrBegin) {  // a stray "=" or quote
      ++i;
      continue;
    }
    const QStringView attr = text_.mid(attrBegin, i - attrBegin);
    qsizetype j = i;
    while (j < n && IsBlank(text_.at(j).unicode())) ++j;
    QString attrValue;
    if (j < n && text_.at(j) == u'=') {
      ++j;
      while (j < n && IsBlank(text_.at(j).unicode())) ++j;
      if (j < n && (text_.at(j) == u'"' || text_.at(j) == u'\'')) {
        const char16_t quote = text_.at(j).unicode();
        qsizetype k = j + 1;
        while (k < n && text_.at(k) != quote && !IsLineEnd(text_.at(k).unicode())) ++k;
        if (k >= n || text_.at(k) != quote) {
          // The line ends inside the value: what was read so far counts, empty.
          if (attr.compare(u"name", Qt::CaseInsensitive) == 0) hasName = false;
          i = k;
          break;
        }
        attrValue = Decoded(text_.mid(j + 1, k - j - 1));
        i = k + 1;
      } else {
        qsizetype k = j;
        while (k < n && !IsBlank(text_.at(k).unicode()) && text_.at(k) != u'>') ++k;
        attrValue = Decoded(text_.mid(j, k - j));
        i = k;
      }
    }
    if (attr.compare(u"name", Qt::CaseInsensitive) == 0) {
      name = attrValue;
      hasName = true;
    } else if (attr.compare(u"value", Qt::CaseInsensitive) == 0) {
      value = attrValue;
    }
  }
  pos_ = i;
  if (!hasName) return false;
  const QString key = name.trimmed();
  if (key.compare(u"Keyword", Qt::CaseInsensitive) == 0)
    token->Tag = SitemapTag::Keyword;
  else if (key.compare(u"Name", Qt::CaseInsensitive) == 0)
    token->Tag = SitemapTag::Name;
  else if (key.compare(u"Local", Qt::CaseInsensitive) == 0)
    token->Tag = SitemapTag::Local;
  else
    token->Tag = SitemapTag::Param;
  token->Name = name;
  token->Value = value;
  return true;
}

qsizetype SitemapListBegin(QStringView text) {
  SitemapScanner scanner(text, 0);
  SitemapToken token;
  while (scanner.Next(&token)) {
    if (token.Tag == SitemapTag::ListStart) return scanner.Position();
  }
  return -1;
}
