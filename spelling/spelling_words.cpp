#include "spelling/spelling_words.h"

#include <string_view>
#include <unordered_set>

#include "platform/html_text.h"
#include "platform/html_tokenizer.h"

namespace {

// Marks are letters' parts, never ASCII: the ASCII test spares a call per character.
bool IsMark(QChar c) { return c.unicode() >= 0x80 && c.isMark(); }
bool IsWordChar(QChar c) { return c.isLetterOrNumber() || IsMark(c) || c == u'_'; }
bool IsJoiner(QChar c) { return c == u'\'' || c == u'\u2019' || c == u'-'; }

// A piece between blanks that names an address or a file rather than words.
bool LooksLikeAddress(QStringView piece) {
  if (piece.contains(u"://") || piece.contains(u'\\') || piece.startsWith(u"www.", Qt::CaseInsensitive) ||
      piece.startsWith(u"mailto:", Qt::CaseInsensitive))
    return true;
  const qsizetype at = piece.indexOf(u'@');
  if (at > 0 && piece.indexOf(u'.', at) > at) return true;
  // A dot between two letters: "page.htm", "Qt.Core", "e.g."
  for (qsizetype i = 1; i + 1 < piece.size(); ++i) {
    if (piece[i] == u'.' && piece[i - 1].isLetterOrNumber() && piece[i + 1].isLetterOrNumber()) return true;
  }
  return false;
}

bool WorthChecking(QStringView word) {
  if (word.size() < 2) return false;
  bool lower = false;
  bool upperAfterFirst = false;
  bool letters = false;
  for (qsizetype i = 0; i < word.size(); ++i) {
    const QChar c = word[i];
    if (c.isDigit() || c == u'_' || c.isNumber()) return false;
    if (c.isLower()) lower = true;
    if (c.isUpper() && i > 0 && lower) upperAfterFirst = true;
    if (c.isLetter()) letters = true;
  }
  return letters && lower && !upperAfterFirst;
}

// Calls found(word, position) for each word worth checking in a piece
// between blanks that starts at `offset`.
template <typename Found>
void ForEachWordOfPiece(QStringView piece, qsizetype offset, const Found& found) {
  qsizetype i = 0;
  while (i < piece.size()) {
    if (!IsWordChar(piece[i])) {
      ++i;
      continue;
    }
    const qsizetype start = i;
    while (i < piece.size() &&
           (IsWordChar(piece[i]) || (IsJoiner(piece[i]) && i + 1 < piece.size() && IsWordChar(piece[i + 1]))))
      ++i;
    const QStringView word = piece.mid(start, i - start);
    if (WorthChecking(word)) found(word, offset + start);
  }
}

// Calls found(word, position) for each word of the text worth checking, in order.
template <typename Found>
void ForEachWord(QStringView text, const Found& found) {
  qsizetype i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i].isSpace()) ++i;
    const qsizetype start = i;
    while (i < text.size() && !text[i].isSpace()) ++i;
    if (i == start) break;
    const QStringView piece = text.mid(start, i - start);
    if (!LooksLikeAddress(piece)) ForEachWordOfPiece(piece, start, found);
  }
}

std::u16string_view Chars(QStringView text) { return {text.utf16(), size_t(text.size())}; }

enum class ElementKind { Other, Code, Inline };

// Elements whose text is code or keys, never prose.
constexpr std::string_view kCodeElements[] = {"code", "pre", "kbd",     "samp",     "tt",
                                              "var",  "xmp", "listing", "plaintext"};
// Elements inside a run of text: they do not part the words around them.
constexpr std::string_view kInlineElements[] = {
    "a",     "abbr", "acronym", "b",      "bdo", "big", "cite", "dfn", "em",  "font", "i",    "q",     "s",
    "small", "span", "strike",  "strong", "sub", "sup", "u",    "ins", "del", "mark", "nobr", "label", "wbr"};

// What an element is to the words, by its name in any letter case.
ElementKind KindOf(QStringView name) {
  // The names are short and in ASCII: compared as lower-case bytes. Other
  // names go through Qt's comparison, which folds letter case beyond ASCII.
  char lower[16];
  bool ascii = name.size() <= qsizetype(sizeof lower);
  for (qsizetype i = 0; ascii && i < name.size(); ++i) {
    char16_t c = name[i].unicode();
    if (c >= 0x80) ascii = false;
    lower[i] = char(c >= u'A' && c <= u'Z' ? c + 32 : c);
  }
  if (ascii) {
    const std::string_view folded(lower, size_t(name.size()));
    for (std::string_view code : kCodeElements)
      if (folded == code) return ElementKind::Code;
    for (std::string_view inlineName : kInlineElements)
      if (folded == inlineName) return ElementKind::Inline;
    return ElementKind::Other;
  }
  for (std::string_view code : kCodeElements)
    if (name.compare(QLatin1StringView(code.data(), qsizetype(code.size())), Qt::CaseInsensitive) == 0)
      return ElementKind::Code;
  for (std::string_view inlineName : kInlineElements)
    if (name.compare(QLatin1StringView(inlineName.data(), qsizetype(inlineName.size())),
                     Qt::CaseInsensitive) == 0)
      return ElementKind::Inline;
  return ElementKind::Other;
}

}  // namespace

QList<TextWord> TextWords(QStringView text) {
  QList<TextWord> words;
  ForEachWord(text, [&](QStringView word, qsizetype position) {
    words.append(TextWord{word.toString(), position});
  });
  return words;
}

QList<PageWord> PageWords(QStringView html) {
  QList<PageWord> words;
  // The words met, as views of the texts in `words` (their characters stay
  // where they are while the list grows); hashed by the standard library,
  // which is much quicker than QHash on such short strings.
  std::unordered_set<std::u16string_view> seen;
  QString run;                                // the text of the run being read, entities decoded
  QList<std::pair<qsizetype, int>> runLines;  // where in run each text token starts, and its line
  int line = 1;
  qsizetype counted = 0;  // html up to here has its line ends counted
  const auto lineAt = [&](qsizetype position) {
    for (; counted < position; ++counted)
      if (html[counted] == u'\n') ++line;
    return line;
  };
  const auto endRun = [&] {
    if (run.isEmpty()) return;
    // The line of a word: that of the last text token it starts after, and
    // the line ends between. Words come in order, so both only move on.
    qsizetype token = 0;
    qsizetype from = runLines.front().first;  // run up to here has its line ends counted
    int breaks = 0;
    ForEachWord(run, [&](QStringView word, qsizetype position) {
      // Looked up without a copy; only a word not seen on the page is copied.
      if (seen.count(Chars(word))) return;
      const QString text = word.toString();
      seen.insert(Chars(text));
      for (; token + 1 < runLines.size() && runLines.at(token + 1).first <= position; ++token) {
        from = runLines.at(token + 1).first;
        breaks = 0;
      }
      breaks += static_cast<int>(QStringView(run).mid(from, position - from).count(u'\n'));
      from = position;
      words.append(PageWord{text, runLines.at(token).second + breaks});
    });
    run.clear();
    runLines.clear();
  };
  int codeDepth = 0;
  HtmlTokenizer tokens(html);
  HtmlToken token;
  while (tokens.Next(&token)) {
    switch (token.type) {
      case HtmlTokenType::Text:
        if (codeDepth > 0) break;
        runLines.append({run.size(), lineAt(token.begin)});
        if (token.content.contains(u'&'))
          run += DecodeHtmlEntities(token.content.toString());
        else
          run += token.content;
        break;
      case HtmlTokenType::StartTag:
      case HtmlTokenType::EndTag:
        switch (KindOf(token.name)) {
          case ElementKind::Code:
            endRun();
            if (token.type == HtmlTokenType::EndTag)
              codeDepth = std::max(0, codeDepth - 1);
            else if (!token.selfClosing)
              ++codeDepth;
            break;
          case ElementKind::Other:
            endRun();
            break;
          case ElementKind::Inline:
            break;
        }
        break;
      case HtmlTokenType::RawText:
      case HtmlTokenType::Comment:
      case HtmlTokenType::Declaration:
        endRun();
        break;
    }
  }
  endRun();
  return words;
}
