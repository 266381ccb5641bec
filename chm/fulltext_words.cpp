#include "chm/fulltext_words.h"

#include <QStringView>

#include <algorithm>
#include <array>

#include "platform/html_text.h"

namespace {

// Elements inside a line of text: their tags do not end a word.
constexpr std::array<const char*, 25> kInlineElements = {
    "a",    "abbr", "acronym", "b",    "bdo",   "big",  "cite",   "code",   "dfn", "em",  "font", "i", "kbd",
    "nobr", "q",    "s",       "samp", "small", "span", "strike", "strong", "sub", "sup", "tt",   "u"};

// Elements whose content is no text of the page (or, <title>, kept apart).
constexpr std::array<const char*, 4> kRawTextElements = {"script", "style", "textarea", "title"};

bool IsNameIn(QStringView name, const auto& list) {
  return std::any_of(list.begin(), list.end(), [name](const char* n) {
    return name.compare(QLatin1StringView(n), Qt::CaseInsensitive) == 0;
  });
}

// Where the tag that starts at `from` (just after '<') ends: after its '>',
// quoted attribute values skipped; the end of the text when it has none.
qsizetype TagEnd(QStringView html, qsizetype from) {
  QChar quote;
  for (qsizetype k = from; k < html.size(); ++k) {
    const QChar c = html[k];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'"' || c == u'\'') {
      // Only a quote that opens an attribute value counts ("a='x'", not "don't").
      if (k > 0 && (html[k - 1] == u'=' || html[k - 1].isSpace())) quote = c;
    } else if (c == u'>') {
      return k + 1;
    }
  }
  return html.size();
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
  const QStringView view(html);
  const qsizetype n = view.size();
  qsizetype i = 0;
  while (i < n) {
    const qsizetype lt = view.indexOf(u'<', i);
    if (lt < 0) {
      body += view.mid(i);
      break;
    }
    body += view.mid(i, lt - i);
    i = lt;
    if (view.mid(i, 4) == u"<!--") {
      const qsizetype close = view.indexOf(u"-->", i + 4);
      i = close < 0 ? n : close + 3;
      body += u' ';
      continue;
    }
    qsizetype j = i + 1;
    const bool closing = j < n && view[j] == u'/';
    if (closing) ++j;
    if (j < n && !closing && (view[j] == u'!' || view[j] == u'?')) {  // <!DOCTYPE ...>, <?xml ...?>
      i = TagEnd(view, j);
      body += u' ';
      continue;
    }
    if (j >= n || !StartsTagName(view[j])) {  // not a tag: the '<' is text
      body += u'<';
      ++i;
      continue;
    }
    const qsizetype nameStart = j;
    while (j < n && (view[j].isLetterOrNumber() || view[j] == u'-' || view[j] == u':')) ++j;
    const QStringView name = view.mid(nameStart, j - nameStart);
    i = TagEnd(view, j);
    if (!closing && IsNameIn(name, kRawTextElements)) {
      const QString endTag = QStringLiteral("</") + name.toString();
      const qsizetype close = view.indexOf(endTag, i, Qt::CaseInsensitive);
      const qsizetype contentEnd = close < 0 ? n : close;
      if (page.title.isEmpty() && name.compare(u"title", Qt::CaseInsensitive) == 0)
        page.title = SimplifiedTitle(view.mid(i, contentEnd - i).toString());
      i = close < 0 ? n : TagEnd(view, close + 2);
      body += u' ';
      continue;
    }
    if (!IsNameIn(name, kInlineElements)) body += u' ';
  }
  page.body = DecodeHtmlEntities(body);
  return page;
}

QStringList FullTextWords(const QString& text) {
  QStringList words;
  const QString lower = text.toLower();
  const char16_t* p = reinterpret_cast<const char16_t*>(lower.constData());
  const qsizetype n = lower.size();
  qsizetype start = -1;
  auto endWord = [&](qsizetype end) {
    if (start >= 0) words.append(lower.mid(start, end - start));
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
      words.append(lower.mid(i, width));
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
