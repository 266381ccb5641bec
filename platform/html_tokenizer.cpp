#include "platform/html_tokenizer.h"

#include <array>

#include "platform/html_text.h"

namespace {

// The blanks of HTML (a CR in a page is one too).
bool IsBlank(QChar c) {
  const char16_t u = c.unicode();
  return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f';
}

bool IsLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

// Elements whose content a browser reads as text up to their end tag
// (<noscript> too: every browser that shows our pages runs scripts);
// <plaintext> to the end of the text.
constexpr std::array<QStringView, 10> kRawTextElements = {u"script",  u"style",    u"xmp",      u"iframe",
                                                          u"noembed", u"noframes", u"noscript", u"textarea",
                                                          u"title",   u"plaintext"};

bool IsRawTextElement(QStringView name) {
  // Most tags are none of them: their first letter or length says so at once.
  if (name.size() < 3 || name.size() > 9) return false;
  switch (name[0].unicode() | 0x20) {
    case u'i':
    case u'n':
    case u'p':
    case u's':
    case u't':
    case u'x':
      break;
    default:
      return false;
  }
  for (QStringView raw : kRawTextElements)
    if (name.size() == raw.size() && name.compare(raw, Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace

QString HtmlAttribute::Value() const {
  return rawValue.contains(u'&') ? DecodeHtmlEntities(rawValue.toString()) : rawValue.toString();
}

const HtmlAttribute* HtmlToken::Attribute(QStringView attributeName) const {
  for (const HtmlAttribute& a : attributes)
    if (a.name.compare(attributeName, Qt::CaseInsensitive) == 0) return &a;
  return nullptr;
}

HtmlTokenizer::HtmlTokenizer(QStringView text, qsizetype from, QuoteRule quoteRule)
    : text(text), pos(qBound(qsizetype(0), from, text.size())), quoteRule(quoteRule) {}

// Whether a '<' at `at` starts markup: 1 for a start tag, 2 for an end tag,
// 3 for a comment or declaration; 0 when it is text.
qsizetype HtmlTokenizer::MarkupAt(qsizetype at) const {
  if (at + 1 >= text.size()) return 0;
  const QChar next = text[at + 1];
  if (StartsTagName(next)) return 1;
  if (next == u'/') return at + 2 < text.size() && StartsTagName(text[at + 2]) ? 2 : 3;
  if (next == u'!' || next == u'?') return 3;
  return 0;
}

bool HtmlTokenizer::Next(HtmlToken* token) {
  token->name = {};
  token->content = {};
  token->attributes.clear();
  token->selfClosing = false;
  token->unterminated = false;
  token->begin = pos;
  if (!rawTextElement.isEmpty()) {
    ReadRawText(token);
    return true;
  }
  const qsizetype n = text.size();
  if (pos >= n) return false;
  if (text[pos] != u'<' || MarkupAt(pos) == 0) {
    qsizetype at = pos;
    while (true) {
      at = text.indexOf(u'<', at + 1);
      if (at < 0 || MarkupAt(at) != 0) break;
    }
    token->type = HtmlTokenType::Text;
    token->end = at < 0 ? n : at;
    token->content = text.mid(pos, token->end - pos);
    pos = token->end;
    return true;
  }
  const qsizetype kind = MarkupAt(pos);
  if (kind == 1) {
    token->type = HtmlTokenType::StartTag;
    ReadTag(token, pos + 1);
    if (!token->unterminated && IsRawTextElement(token->name)) rawTextElement = token->name;
    return true;
  }
  if (kind == 2) {
    token->type = HtmlTokenType::EndTag;
    ReadTag(token, pos + 2);
    token->attributes.clear();  // a browser ignores them
    token->selfClosing = false;
    return true;
  }
  if (text.mid(pos, 4) == u"<!--") {
    token->type = HtmlTokenType::Comment;
    qsizetype contentEnd = -1;
    qsizetype end = -1;
    if (text.mid(pos + 4, 1) == u">") {  // "<!-->"
      contentEnd = pos + 4;
      end = pos + 5;
    } else if (text.mid(pos + 4, 2) == u"->") {  // "<!--->"
      contentEnd = pos + 4;
      end = pos + 6;
    } else {
      // The first "-->" or "--!>".
      for (qsizetype at = text.indexOf(u"--", pos + 4); at >= 0; at = text.indexOf(u"--", at + 1)) {
        const QStringView after = text.mid(at + 2, 2);
        if (after.startsWith(u'>') || after == u"!>") {
          contentEnd = at;
          end = at + 2 + (after.startsWith(u'>') ? 1 : 2);
          break;
        }
      }
    }
    if (end < 0) {
      token->unterminated = true;
      contentEnd = end = n;
    }
    token->content = text.mid(pos + 4, contentEnd - pos - 4);
    token->end = pos = end;
    return true;
  }
  // <!DOCTYPE ...>, <?...>, <![...]>, </ followed by no name: up to the first '>'.
  token->type = HtmlTokenType::Declaration;
  const qsizetype close = text.indexOf(u'>', pos + 2);
  token->unterminated = close < 0;
  token->end = pos = close < 0 ? n : close + 1;
  return true;
}

// Reads the name and attributes of a tag whose name starts at `nameStart`;
// sets the token's end and the position after it.
void HtmlTokenizer::ReadTag(HtmlToken* token, qsizetype nameStart) {
  const qsizetype n = text.size();
  qsizetype i = nameStart;
  while (i < n && !IsBlank(text[i]) && text[i] != u'/' && text[i] != u'>') ++i;
  token->name = text.mid(nameStart, i - nameStart);
  const bool lineRule = quoteRule == QuoteRule::LineEndsQuote;
  while (true) {
    // Before an attribute name: blanks and stray slashes.
    while (i < n && (IsBlank(text[i]) || text[i] == u'/')) {
      if (text[i] == u'/' && i + 1 < n && text[i + 1] == u'>') {
        token->selfClosing = true;
        ++i;
        break;
      }
      ++i;
    }
    if (i >= n) {
      token->unterminated = true;
      break;
    }
    if (text[i] == u'>') {
      ++i;
      break;
    }
    HtmlAttribute attribute;
    const qsizetype attributeStart = i++;  // the first character belongs to the name, even "="
    while (i < n && !IsBlank(text[i]) && text[i] != u'/' && text[i] != u'>' && text[i] != u'=') ++i;
    attribute.name = text.mid(attributeStart, i - attributeStart);
    qsizetype j = i;
    while (j < n && IsBlank(text[j])) ++j;
    if (j < n && text[j] == u'=') {
      ++j;
      while (j < n && IsBlank(text[j])) ++j;
      attribute.hasValue = true;
      if (j < n && (text[j] == u'"' || text[j] == u'\'')) {
        const QChar quote = text[j];
        qsizetype k = j + 1;
        while (k < n && text[k] != quote && !(lineRule && IsLineEnd(text[k]))) ++k;
        if (k < n && text[k] == quote) {
          attribute.rawValue = text.mid(j + 1, k - j - 1);
          i = k + 1;
        } else {
          // The text, or under the line rule its line, ends inside the value:
          // so does the tag. The line rule keeps none of such a value.
          if (!lineRule) attribute.rawValue = text.mid(j + 1);
          token->attributes.append(attribute);
          token->unterminated = true;
          i = k;
          break;
        }
      } else {
        qsizetype k = j;
        while (k < n && !IsBlank(text[k]) && text[k] != u'>') ++k;
        attribute.rawValue = text.mid(j, k - j);
        i = k;
      }
    }
    token->attributes.append(attribute);
  }
  token->end = pos = i;
}

// Where the raw text of the pending element ends: at its end tag, or the text's end.
qsizetype HtmlTokenizer::RawTextEnd() const {
  const qsizetype n = text.size();
  if (rawTextElement.compare(u"plaintext", Qt::CaseInsensitive) == 0) return n;
  for (qsizetype at = text.indexOf(u"</", pos); at >= 0; at = text.indexOf(u"</", at + 2)) {
    const qsizetype after = at + 2 + rawTextElement.size();
    if (after > n ||
        text.mid(at + 2, rawTextElement.size()).compare(rawTextElement, Qt::CaseInsensitive) != 0)
      continue;
    if (after == n || IsBlank(text[after]) || text[after] == u'/' || text[after] == u'>') return at;
  }
  return n;
}

bool HtmlTokenizer::RawTextEnds() const { return !rawTextElement.isEmpty() && RawTextEnd() < text.size(); }

void HtmlTokenizer::ReadRawText(HtmlToken* token) {
  token->type = HtmlTokenType::RawText;
  token->name = rawTextElement;
  const qsizetype end = RawTextEnd();
  rawTextElement = {};
  token->content = text.mid(pos, end - pos);
  token->end = pos = end;
}

QString HtmlTitleText(QStringView html) {
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type == HtmlTokenType::RawText && token.IsNamed(u"title"))
      return DecodeHtmlEntities(token.content.toString()).simplified();
  }
  return {};
}
