// HTML that comes into a page from another program's clipboard: only the
// part that was copied, and nothing that would run in the viewer or that
// only the office program that wrote it understands.
#pragma once

#include <QString>

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
// Text and the other tags stay as written. Tags are read as a browser reads
// them, so nothing the browser would take for markup passes as text.
QString CleanPastedHtml(const QString& html);

// What pasting clipboard HTML puts into the page: its copied part, cleaned.
inline QString PastableHtml(const QString& clipboardHtml) {
  return CleanPastedHtml(ClipboardFragment(clipboardHtml));
}
