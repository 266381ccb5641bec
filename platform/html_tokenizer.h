// The one reader of HTML markup for every part of the program that looks at
// tags: it cuts a text into text runs, start and end tags with their
// attributes, comments, declarations and the raw text of elements such as
// <script> and <style>, by the rules a browser follows, so that the editor,
// the paste cleaner, the sitemap readers, the full-text index and the
// viewer's search all agree on what a page says.
#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

enum class HtmlTokenType {
  Text,         // a run of text; a '<' that starts no markup belongs to it
  StartTag,     // <name attributes...> or <name .../>
  EndTag,       // </name ...>
  Comment,      // <!-- ... -->
  Declaration,  // <!DOCTYPE ...>, <?xml ...?>, <![CDATA[...]]>, </ followed by no name
  RawText,      // the content of a raw-text element (script, style, title, textarea, ...)
};

struct HtmlAttribute {
  QStringView name;      // as written
  QStringView rawValue;  // as written, without its quotes; empty when none
  bool hasValue = false;
  // The value with its character entities decoded.
  QString Value() const;
};

struct HtmlToken {
  HtmlTokenType type = HtmlTokenType::Text;
  qsizetype begin = 0;  // where the token starts in the text
  qsizetype end = 0;    // just after it
  // Tags: the name as written. Raw text: the name of its element.
  QStringView name;
  // Text and raw text: the text; comments: what stands between <!-- and -->.
  QStringView content;
  // Start tags: every attribute in the order written (repeated names too).
  QVarLengthArray<HtmlAttribute, 8> attributes;
  bool selfClosing = false;   // a start tag that ends with "/>"
  bool unterminated = false;  // the text (or, see below, the line) ended inside the markup

  bool IsNamed(QStringView tagName) const { return name.compare(tagName, Qt::CaseInsensitive) == 0; }
  // The first attribute of that name (any letter case), as a browser keeps it; null when none.
  const HtmlAttribute* Attribute(QStringView attributeName) const;
};

// Reads markup as a browser does:
// - "<" followed by a letter starts a tag, "</" followed by a letter an end
//   tag; "<" before anything else is text;
// - a tag name runs to a blank, "/" or ">"; attribute names to a blank, "/",
//   ">" or "="; a value is quoted with " or ' (and then may hold blanks,
//   line breaks and ">") or unquoted, running to a blank or ">"; a quote
//   anywhere else is part of a name or an unquoted value ("don't" is no quote);
// - comments run from "<!--" to "-->" ("<!-->" is an empty one); "<!...>" and
//   "<?...>" end at their first ">";
// - the content of script, style, xmp, iframe, noembed, noframes, noscript,
//   textarea and title runs to the first end tag of the same name and is one
//   raw-text token, whatever it holds; plaintext runs to the end of the text.
// Markup that the text ends inside runs to the text's end (unterminated).
class HtmlTokenizer {
 public:
  enum class QuoteRule {
    Browser,
    // Sitemap files written by hand: a quoted value that its line ends
    // before its closing quote is empty, and its tag ends at that line end.
    LineEndsQuote,
  };

  // Reads `text` from position `from`; the text must outlive the tokenizer.
  explicit HtmlTokenizer(QStringView text, qsizetype from = 0, QuoteRule quoteRule = QuoteRule::Browser);

  // The next token; false at the end of the text.
  bool Next(HtmlToken* token);
  // Just after the token given last.
  qsizetype Position() const { return pos; }
  // Reads what follows the raw-text element whose start tag was given last
  // as markup, not as its raw text: for a reader that keeps a page whose
  // <title> or <textarea> never ends from losing the rest to it.
  void LeaveRawText() { rawTextElement = {}; }
  // Whether the raw-text element whose start tag was given last ends before the text does.
  bool RawTextEnds() const;

 private:
  void ReadTag(HtmlToken* token, qsizetype nameStart);
  void ReadRawText(HtmlToken* token);
  qsizetype RawTextEnd() const;
  qsizetype MarkupAt(qsizetype at) const;

  QStringView text;
  qsizetype pos;
  QuoteRule quoteRule;
  QStringView rawTextElement;  // set after the start tag of a raw-text element
};

// The text of the first <title> of `html`, entities decoded and runs of
// blanks made one, trimmed; empty when it has none.
QString HtmlTitleText(QStringView html);
