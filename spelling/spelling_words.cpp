#include "spelling/spelling_words.h"

#include <QSet>

#include "platform/html_text.h"
#include "platform/html_tokenizer.h"

namespace {

bool IsWordChar(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == u'_'; }
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

void AddWords(QStringView piece, qsizetype offset, QList<TextWord>& words) {
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
    if (WorthChecking(word)) words.append(TextWord{word.toString(), offset + start});
  }
}

// Elements whose text is code or keys, never prose.
bool IsCodeElement(QStringView name) {
  static const QStringView kNames[] = {u"code", u"pre", u"kbd",     u"samp",     u"tt",
                                       u"var",  u"xmp", u"listing", u"plaintext"};
  for (QStringView code : kNames)
    if (name.compare(code, Qt::CaseInsensitive) == 0) return true;
  return false;
}

// Elements inside a run of text: they do not part the words around them.
bool IsInline(QStringView name) {
  static const QStringView kNames[] = {u"a",    u"abbr",   u"acronym", u"b",     u"bdo", u"big", u"cite",
                                       u"dfn",  u"em",     u"font",    u"i",     u"q",   u"s",   u"small",
                                       u"span", u"strike", u"strong",  u"sub",   u"sup", u"u",   u"ins",
                                       u"del",  u"mark",   u"nobr",    u"label", u"wbr"};
  for (QStringView inlineName : kNames)
    if (name.compare(inlineName, Qt::CaseInsensitive) == 0) return true;
  return false;
}

}  // namespace

QList<TextWord> TextWords(QStringView text) {
  QList<TextWord> words;
  qsizetype i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i].isSpace()) ++i;
    const qsizetype start = i;
    while (i < text.size() && !text[i].isSpace()) ++i;
    if (i == start) break;
    const QStringView piece = text.mid(start, i - start);
    if (!LooksLikeAddress(piece)) AddWords(piece, start, words);
  }
  return words;
}

QList<PageWord> PageWords(QStringView html) {
  QList<PageWord> words;
  QSet<QString> seen;
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
    for (const TextWord& word : TextWords(run)) {
      if (seen.contains(word.Text)) continue;
      seen.insert(word.Text);
      // The line of the last text token the word starts after, and the line ends between.
      auto start = runLines.cbegin();
      for (auto it = runLines.cbegin(); it != runLines.cend() && it->first <= word.Position; ++it) start = it;
      const int wordLine =
          start->second +
          static_cast<int>(QStringView(run).mid(start->first, word.Position - start->first).count(u'\n'));
      words.append(PageWord{word.Text, wordLine});
    }
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
        if (IsCodeElement(token.name)) {
          endRun();
          if (token.type == HtmlTokenType::EndTag)
            codeDepth = std::max(0, codeDepth - 1);
          else if (!token.selfClosing)
            ++codeDepth;
        } else if (!IsInline(token.name)) {
          endRun();
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
