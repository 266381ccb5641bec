// HTML that comes into a page from another program's clipboard: only the
// part that was copied, and nothing that would run in the viewer or that
// only the office program that wrote it understands.
#pragma once

#include <QString>

// The copied part of clipboard HTML (between <!--StartFragment--> and
// <!--EndFragment-->); the whole text when it has no such marks.
QString ClipboardFragment(const QString& html);

// The HTML without scripts and the office program's markup:
// - script, style, head, title, xml, object, embed, applet, iframe, frame
//   and frameset elements go with their content; meta, link and base tags go;
// - elements with a prefix (o:p, w:..., v:..., m:...) lose their tags and keep
//   their text; html and body tags go, and so do spans left without attributes;
// - conditional comments (<!--[if ...]>...<![endif]-->) go whole, the marks of
//   <![if ...]> ... <![endif]> blocks go and their content stays; declarations
//   and processing instructions go, other comments stay;
// - attributes: event handlers (on...), prefixed names (o:spid, xmlns:v) and
//   URLs with a script scheme (javascript:, vbscript:) go; style loses its
//   mso-... declarations and any expression(...), class its Mso... names, and
//   an attribute left empty goes.
// Text and the other tags stay as written.
QString CleanPastedHtml(const QString& html);

// What pasting clipboard HTML puts into the page: its copied part, cleaned.
inline QString PastableHtml(const QString& clipboardHtml) {
  return CleanPastedHtml(ClipboardFragment(clipboardHtml));
}
