// Plain rules of the help viewer: the URLs under which a compiled file's
// entries are shown, their content types, where contents and index links
// lead, and a simple text search over the topics.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

// The URL scheme of the viewer's pages (registered by RegisterChmUrlScheme()).
inline constexpr char kChmScheme[] = "orvex-chm";

// "orvex-chm:/sub/Page.htm" for the entry "/sub/Page.htm" (a missing leading
// slash is added; backslashes become slashes); fragment without "#".
QUrl ChmEntryUrl(const QString& entryPath, const QString& fragment = QString());
// The entry path ("/sub/Page.htm") a URL of the scheme names; empty for
// other URLs and for paths that climb out of the root.
QString ChmEntryPath(const QUrl& url);

// Content type of an entry by its extension: "text/html", "text/css",
// "image/png" ...; "application/octet-stream" when unknown.
QByteArray ChmMimeType(const QString& entryName);
// The charset label of a Windows code page ("windows-1251", "shift_jis",
// ...); "utf-8" for 0 (a language without ANSI code page); "windows-1252"
// for unknown ones.
QByteArray CharsetOfCodePage(int codePage);
// The content type served: text types carry the charset of the code page.
QByteArray ChmContentType(const QString& entryName, int codePage);

// Where a link written in a page or a sitemap file leads inside the compiled
// file: "ms-its:x.chm::/a.htm", "mk:@MSITStore:x.chm::/a.htm" and
// "its:x.chm::/a.htm" name the entry after "::"; a relative link is taken
// against `fromEntry`'s folder. Gives a URL of the scheme, an outside URL
// ("http:", "mailto:" ...) unchanged, or an invalid URL for nothing.
QUrl ChmLinkUrl(const QString& fromEntry, const QString& link);

// The text of an HTML page as the reader sees it, the same text the compiled
// file's full-text index is made of (see `ExtractPageText`): no tags,
// scripts, style rules or comments; entities decoded; runs of white space
// made one blank.
QString HtmlPlainText(const QString& html);
// The page's <title>, entities decoded and blanks trimmed; empty without one.
QString HtmlTitle(const QString& html);

struct TopicText {
  QString entryPath;
  QString title;
  QString text;
};

// The topics that contain every word of the query (letter case ignored), in
// the title or the text: their positions in `topics`, most hits first,
// equal ones in their order. Empty for a query without words.
// The words of a search, case-folded, each once.
QStringList QueryWords(const QString& query);
QList<int> SearchTopics(const QList<TopicText>& topics, const QString& query);
