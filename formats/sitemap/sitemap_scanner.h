// The tags of a sitemap text (contents or index file) in the order they
// stand, whatever the lines look like: generators write whole items on one
// line, the program's own writer one parameter per line, hand-written files
// pad, quote and close their tags as HTML allows.
#pragma once

#include <QString>
#include <QStringView>

#include "platform/html_tokenizer.h"

enum class SitemapTag {
  ListItem,     // <LI ...>
  ObjectStart,  // <OBJECT ...>
  Keyword,      // <param name="Keyword" value="...">
  Name,         // <param name="Name" value="...">
  Local,        // <param name="Local" value="...">
  Param,        // any other <param name="..." value="...">
  ListStart,    // <UL ...>
  ObjectEnd,    // </OBJECT>
  ListEnd,      // </UL>
};

struct SitemapToken {
  SitemapTag tag = SitemapTag::ListItem;
  QString name;   // parameters: the name as written
  QString value;  // parameters: the value, entities decoded
};

// Tags are read as a browser reads them (see `HtmlTokenizer`): names match
// in any letter case; attributes may be padded with blanks, quoted with " or
// ' or not quoted, and a tag may end with "/>"; the first of two attributes
// of one name counts. One rule is the sitemap's own: a quoted value runs to
// its closing quote on the same line; when the line ends first the value is
// empty and the tag ends there. Text inside a value or a comment is never
// taken for a tag. Anything else (</LI>, other tags, text) is skipped.
class SitemapScanner {
 public:
  // Scans `text` from position `from`. The text must outlive the scanner.
  SitemapScanner(QStringView text, qsizetype from);

  // The next tag; false at the end of the text.
  bool Next(SitemapToken* token);
  // Where the scanner stands: just after the tag it gave last.
  qsizetype Position() const { return pos; }
  // Where the tag it gave last begins.
  qsizetype TagStart() const { return start; }

 private:
  bool ReadParam(SitemapToken* token);

  HtmlTokenizer tokenizer;
  HtmlToken tag;
  qsizetype pos;
  qsizetype start = 0;
};

// Position just after the first <UL> tag (any letter case, attributes
// allowed): sitemap readers skip everything before the outermost list. -1
// when the text has none.
qsizetype SitemapListBegin(QStringView text);
