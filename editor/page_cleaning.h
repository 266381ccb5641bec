// How a page the editor gives back is written into its file: clean, stable
// HTML that reads well in the source view.
#pragma once

#include <QSet>
#include <QString>
#include <QStringView>

#include "editor/page_split.h"

// The style attributes of a page as it was loaded (their values, blanks
// made one and a last ";" left off): the author's own, which cleaning keeps.
QSet<QString> AuthorStyles(QStringView html);

// The page's body (or whole page) as it is stored:
// - block elements stand on lines of their own: a line break before each
//   block's start tag and after its end tag, and inside lists, tables and
//   other containers after the start tag and before the end tag; blanks and
//   line breaks around those breaks (where a browser shows none) go, so the
//   text begins and ends with one line break; <BR> ends its line;
// - styles the browser engine wrote while editing go: font sizes in pixels,
//   font families, rgb() colours, the engine's defaults (font-style: normal,
//   text-indent: 0px, -webkit-..., ...); a style found in authorStyles stays
//   whole; a span left without attributes loses its tags;
// - a no-break space next to a word and an inline tag, or last after a word
//   in its block, becomes a plain blank or goes; runs of them stay;
// - a block that may not stand in a paragraph (a list, a table, a heading,
//   another paragraph) ends it, and the paragraph's text after the block
//   gets a paragraph of its own with the same attributes; a paragraph left
//   empty that way, or a bare <P></P> between blocks, goes;
// - what is inside <PRE>, comments, scripts and styles stays as written.
// Cleaning cleaned HTML changes nothing.
QString CleanPageBody(QStringView body, const QSet<QString>& authorStyles = {});

// The page's text from its parts and its body (the body element, tags and
// all, or the whole page for parts.whole) as the editor gives it back:
// the body cleaned, between the parts' prefix and suffix as they were.
QString StoredPageText(const PageParts& parts, QStringView body, const QSet<QString>& authorStyles);
