// Character entities in HTML text: escaping text for attribute values and
// element content, and decoding the entities that pages and sitemaps contain.
#pragma once

#include <QString>

// Only these start a tag name for a browser; "<" before anything else is text.
inline bool StartsTagName(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Replaces & < > and " by &amp; &lt; &gt; and &quot;; nothing else changes.
QString EscapeHtml(const QString& text);

// EscapeHtml, and control characters (line breaks, tabs, ...; not NUL) as
// numeric references ("&#10;"): a value of one attribute of one line of a sitemap,
// read back as it was.
QString EscapeAttributeValue(const QString& text);

// Replaces the named entities of HTML 4 (plus &apos;) and the numeric
// references &#N; and &#xH; by their characters. An entity must end with ";".
// Unknown names, malformed or out-of-range references are left as they are.
QString DecodeHtmlEntities(const QString& text);
