#include "formats/sitemap/sitemap_scanner.h"

#include "platform/html_text.h"

namespace {

enum class Element { Other, ListItem, List, Object, Param };

Element ElementOf(QStringView name) {
  const auto is = [name](QStringView known) { return name.compare(known, Qt::CaseInsensitive) == 0; };
  switch (name.size()) {
    case 2:
      return is(u"LI") ? Element::ListItem : is(u"UL") ? Element::List : Element::Other;
    case 5:
      return is(u"PARAM") ? Element::Param : Element::Other;
    case 6:
      return is(u"OBJECT") ? Element::Object : Element::Other;
    default:
      return Element::Other;
  }
}

QString Decoded(QStringView raw) {
  return raw.contains(u'&') ? DecodeHtmlEntities(raw.toString()) : raw.toString();
}

}  // namespace

SitemapScanner::SitemapScanner(QStringView text, qsizetype from)
    : tokenizer(text, from < 0 ? text.size() : from, HtmlTokenizer::QuoteRule::LineEndsQuote),
      pos(from < 0 ? text.size() : from) {}

bool SitemapScanner::Next(SitemapToken* token) {
  while (tokenizer.Next(&tag)) {
    pos = tag.end;
    start = tag.begin;
    const bool closing = tag.type == HtmlTokenType::EndTag;
    if (!closing && tag.type != HtmlTokenType::StartTag) continue;
    const Element element = ElementOf(tag.name);
    if (element == Element::Param && !closing) {
      if (ReadParam(token)) return true;
      continue;
    }
    token->name.clear();
    token->value.clear();
    switch (element) {
      case Element::ListItem:
        if (closing) continue;  // </LI> ends nothing the readers keep
        token->tag = SitemapTag::ListItem;
        return true;
      case Element::List:
        token->tag = closing ? SitemapTag::ListEnd : SitemapTag::ListStart;
        return true;
      case Element::Object:
        token->tag = closing ? SitemapTag::ObjectEnd : SitemapTag::ObjectStart;
        return true;
      case Element::Param:
      case Element::Other:
        continue;
    }
  }
  pos = tokenizer.Position();
  return false;
}

// The parameter of the <param> tag just read; false when it has no name (a
// name whose quoted value its line ends counts as none).
bool SitemapScanner::ReadParam(SitemapToken* token) {
  const HtmlAttribute* nameAttribute = tag.Attribute(u"name");
  if (!nameAttribute || !nameAttribute->hasValue) return false;
  if (tag.unterminated && nameAttribute == &tag.attributes.back() && nameAttribute->rawValue.isEmpty())
    return false;
  const QStringView name = nameAttribute->rawValue;
  const HtmlAttribute* valueAttribute = tag.Attribute(u"value");
  const QStringView value = valueAttribute ? valueAttribute->rawValue : QStringView();
  // The usual names are shared, not allocated once per parameter.
  static const QString kShared[] = {QStringLiteral("Name"), QStringLiteral("Local"),
                                    QStringLiteral("Keyword"), QStringLiteral("ImageNumber"),
                                    QStringLiteral("See Also")};
  token->name.clear();
  for (const QString& shared : kShared) {
    if (name == shared) token->name = shared;
  }
  if (token->name.isNull()) token->name = Decoded(name);
  const QStringView key = QStringView(token->name).trimmed();
  if (key.compare(u"Keyword", Qt::CaseInsensitive) == 0)
    token->tag = SitemapTag::Keyword;
  else if (key.compare(u"Name", Qt::CaseInsensitive) == 0)
    token->tag = SitemapTag::Name;
  else if (key.compare(u"Local", Qt::CaseInsensitive) == 0)
    token->tag = SitemapTag::Local;
  else
    token->tag = SitemapTag::Param;
  token->value = Decoded(value);
  return true;
}

qsizetype SitemapListBegin(QStringView text) {
  SitemapScanner scanner(text, 0);
  SitemapToken token;
  while (scanner.Next(&token)) {
    if (token.tag == SitemapTag::ListStart) return scanner.Position();
  }
  return -1;
}
