// The words of a help page as the full-text search index holds them: the
// text a reader sees (tags, scripts, style rules and comments left out,
// entities decoded), the title apart, split into lower-case words.
#pragma once

#include <QString>
#include <QList>
#include <QStringList>
#include <QStringView>

struct PageText {
  QString title;  // the text of the page's <title>, blanks made one and trimmed
  QString body;   // everything else a reader sees; words are kept apart by blanks
};

// The title and the text of an HTML page. Inline elements (<b>, <a>, <span>
// ...) join the text on both sides ("<b>Hel</b>lo" is "Hello"); any other
// tag ends a word. Tags are read as a browser reads them (see
// `HtmlTokenizer`); the contents of <script>, <style>, <textarea>, <iframe>,
// <noembed>, <noframes>, <noscript> and comments are left out. A '<' that starts no tag
// is text.
PageText ExtractPageText(const QString& html);

// The words of a text in their order, in lower case. A word is a run of
// letters, digits, combining marks and '_'; each Chinese character and each
// kana is a word of its own (those scripts write no blanks between words).
QStringList FullTextWords(const QString& text);
// The same words of a text already in lower case, as views into it.
QList<QStringView> FullTextWordViews(QStringView lowered);
