#include "chm/fulltext_words.h"

#include <QStringView>

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/html_text.h"
#include "platform/html_tokenizer.h"

namespace {

// Elements inside a line of text: their tags do not end a word.
constexpr std::array<const char*, 25> kInlineElements = {
    "a",    "abbr", "acronym", "b",    "bdo",   "big",  "cite",   "code",   "dfn", "em",  "font", "i", "kbd",
    "nobr", "q",    "s",       "samp", "small", "span", "strike", "strong", "sub", "sup", "tt",   "u"};

// Raw-text elements whose content a reader does not see as the page's text
// (the title is kept apart). Any other raw text (<xmp>) is shown as it stands.
constexpr std::array<const char*, 8> kHiddenRawText = {"script", "style",   "textarea", "title",
                                                       "iframe", "noembed", "noframes", "noscript"};

// Whether a tag's name is one of the list (all short lower-case ASCII
// names), without regard to case.
bool IsNameIn(QStringView name, const auto& list) {
  char lower[10];
  if (name.size() >= qsizetype(sizeof lower)) return false;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t c = name[i].unicode();
    if (c >= 0x80) return false;
    lower[i] = char(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
  }
  lower[name.size()] = '\0';
  return std::any_of(list.begin(), list.end(),
                     [&](const char* n) { return n[0] == lower[0] && std::strcmp(n, lower) == 0; });
}

QString SimplifiedTitle(const QString& raw) { return DecodeHtmlEntities(raw).simplified(); }

// Words of the scripts written without blanks stand one character each.
bool IsSingleCharacterWord(char32_t c) {
  switch (QChar::script(c)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
      return true;
    default:
      return false;
  }
}

bool IsWordCharacter(char32_t c) {
  if (c == u'_') return true;
  if (c < 0x80) return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return QChar::isLetterOrNumber(c) || QChar::isMark(c);
}

}  // namespace

PageText ExtractPageText(const QString& html) {
  PageText page;
  QString body;
  body.reserve(html.size());
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    switch (token.type) {
      case HtmlTokenType::Text:
        body += token.content;
        break;
      case HtmlTokenType::RawText:
        if (token.IsNamed(u"title") && page.title.isEmpty())
          page.title = SimplifiedTitle(token.content.toString());
        body += IsNameIn(token.name, kHiddenRawText) ? QStringView(u" ") : token.content;
        break;
      case HtmlTokenType::StartTag:
      case HtmlTokenType::EndTag:
        if (!IsNameIn(token.name, kInlineElements)) body += u' ';
        break;
      case HtmlTokenType::Comment:
      case HtmlTokenType::Declaration:
        body += u' ';
        break;
    }
  }
  page.body = DecodeHtmlEntities(body);
  return page;
}

QList<QStringView> FullTextWordViews(QStringView lowered) {
  QList<QStringView> words;
  const char16_t* p = lowered.utf16();
  const qsizetype n = lowered.size();
  qsizetype start = -1;
  auto endWord = [&](qsizetype end) {
    if (start >= 0) words.append(lowered.sliced(start, end - start));
    start = -1;
  };
  for (qsizetype i = 0; i < n;) {
    char32_t c = p[i];
    qsizetype width = 1;
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(p[i + 1])) {
      c = QChar::surrogateToUcs4(p[i], p[i + 1]);
      width = 2;
    }
    if (c >= 0x2E80 && IsSingleCharacterWord(c)) {
      endWord(i);
      words.append(lowered.sliced(i, width));
    } else if (IsWordCharacter(c)) {
      if (start < 0) start = i;
    } else {
      endWord(i);
    }
    i += width;
  }
  endWord(n);
  return words;
}

QStringList FullTextWords(const QString& text) {
  const QString lower = text.toLower();
  QStringList words;
  for (QStringView word : FullTextWordViews(lower)) words.append(word.toString());
  return words;
}
