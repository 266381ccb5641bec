// HTML that comes into a page from another program's clipboard: only the
// part that was copied, and nothing that would run in the viewer or that
// only the office program that wrote it understands.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The copied part of clipboard HTML (between <!--StartFragment--> and
// <!--EndFragment-->); the whole text when it has no such marks.
QString ClipboardFragment(const QString& html);

// The HTML without scripts and the office program's markup:
// - script, style, head, title, xml, object, applet, iframe, frameset and
//   the raw-text elements (textarea, noscript, xmp, ...) go with their
//   content; meta, link, base, embed and frame tags go;
// - elements with a prefix (o:p, w:..., v:..., m:...) lose their tags and keep
//   their text; html and body tags go, and so do spans left without attributes;
// - comments go, conditional ones (<!--[if ...]>...<![endif]-->) whole; the
//   marks of <![if ...]> ... <![endif]> blocks go and their content stays;
//   declarations and processing instructions go;
// - attributes: event handlers (on...), prefixed names (o:spid, xmlns:v) and
//   URLs with a script scheme (javascript:, vbscript:) go; style loses its
//   mso-... declarations and those that could run script (expression(...),
//   behavior, url(javascript:...)), class its Mso... names, and an attribute
//   left empty goes.
// - the word processor's fonts go: font-family, font-size and font
//   declarations, and face and size of <font> (a font left without
//   attributes loses its tags, as a span does);
// - links with neither text nor a picture go (their tags);
// - with pictureFound given, pictures it does not find go.
// Text and the other tags stay as written. Tags are read as a browser reads
// them, so nothing the browser would take for markup passes as text.
struct PasteReport {
  int emptyLinks = 0;       // links dropped for having no text or picture
  int missingPictures = 0;  // pictures dropped for being nowhere
};
using PictureCheck = std::function<bool(const QString& src)>;
QString CleanPastedHtml(const QString& html, const PictureCheck& pictureFound = {},
                        PasteReport* report = nullptr);

// What pasting clipboard HTML puts into the page: its copied part, cleaned.
inline QString PastableHtml(const QString& clipboardHtml, const PictureCheck& pictureFound = {},
                            PasteReport* report = nullptr) {
  return CleanPastedHtml(ClipboardFragment(clipboardHtml), pictureFound, report);
}

// Whether a picture's src leads to a picture a page in `folder` can show:
// a web or data address, or a file that is there (a relative one found from
// the folder).
bool PictureFound(const QString& src, const QString& folder);

// The status line that says what pasting left out; empty when nothing.
QString PasteReportText(const PasteReport& report);

// The declarations of a style attribute's value, split at each ";" outside
// quotes and brackets, as written.
QStringList CssDeclarations(const QString& style);
