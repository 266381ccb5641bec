// The markers of a sitemap text (contents or index file) in the order they
// stand, whatever the lines look like: generators write whole items on one
// line, the program's own writer one parameter per line.
#pragma once

#include <QString>
#include <QStringView>

enum class SitemapTag {
  ListItem,     // "<LI>"
  ObjectStart,  // "<OBJECT "
  Keyword,      // <param name="Keyword" value="...">
  Name,         // <param name="Name" value="...">
  Local,        // <param name="Local" value="...">
  ListStart,    // "<UL>"
  ObjectEnd,    // "</OBJECT>"
  ListEnd,      // "</UL>"
};

struct SitemapToken {
  SitemapTag Tag = SitemapTag::ListItem;
  QString Value;  // Keyword, Name and Local only: the value, entities decoded
};

// Markers match in any letter case, but only with exactly the spacing and
// quotation marks shown above. A value is the text after its marker up to the
// next double quote on the same line, cut literally and then entity-decoded;
// with no further quote on that line it is empty. Text inside a value is
// never taken for a marker. Anything else is skipped.
class SitemapScanner {
 public:
  // Scans `text` from position `from`. The text must outlive the scanner.
  SitemapScanner(QStringView text, qsizetype from);

  // The next marker; false at the end of the text.
  bool Next(SitemapToken* token);

 private:
  QStringView text_;
  qsizetype pos_;
};

// Position just after the first "<UL>" (any letter case): sitemap readers
// skip everything before the outermost list. -1 when the text has none.
qsizetype SitemapListBegin(QStringView text);
