// What spelling looks at: the words of a text worth checking, found by one
// rule for the pages Check project reads and the text the editor shows, and
// what answers whether a word is spelt right.
#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QString>
#include <QStringView>

// A word of a text and where it starts.
struct TextWord {
  QString text;
  qsizetype position = 0;
};

// The words of plain text to check. A word is a run of letters (with their
// marks) and digits, apostrophes and hyphens only inside it. Left out: words
// of one letter, words with digits or "_", words in capitals ("HTML"),
// words with a capital inside ("JavaScript"), and whatever stands in a
// blank-separated piece that looks like an address or a file name
// ("http://...", "www.", "name@host", "page.htm", "C:\\path").
QList<TextWord> TextWords(QStringView text);

// A word of a page with the line (1-based) it is first written on.
struct PageWord {
  QString text;
  int line = 1;
};

// The distinct words of a page's HTML as a reader sees them: text outside
// <code>, <pre>, <kbd>, <samp>, <tt>, <var>, scripts, styles and the title,
// entities decoded; inline tags ("mis<B>spelt</B>") do not part a word.
QList<PageWord> PageWords(QStringView html);

// Answers whether words are spelt right (a dictionary with a word list).
class WordSpelling {
 public:
  virtual ~WordSpelling() = default;
  // Why words are not checked (no dictionary); empty when they are.
  virtual QString NotChecked() const = 0;
  // Whether the word is spelt right; may be called from several threads at once.
  virtual bool IsCorrect(const QString& word) const = 0;
};

// Gives the spelling of the project's words, on one of the check's threads.
using SpellingSource = std::function<std::shared_ptr<const WordSpelling>()>;
