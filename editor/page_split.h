// How a page text is cut up for the editor: the text before the <BODY> tag
// (doctype, <HTML>, the whole head) is kept verbatim and never shown to the
// browser engine as editable content; the body goes to the engine; whatever
// followed </BODY> is kept verbatim too. The editor gives back
// prefix + the body as edited + suffix, so a head the engine would rearrange
// (an OBJECT in the head, comments, line breaks) comes back untouched.
#pragma once

#include <QString>

struct PageParts {
  // Text before the body tag, kept as given.
  QString prefix;
  // The body start tag as written ("<BODY bgColor=#ffffff>"), or empty when
  // the text had none.
  QString bodyTag;
  // What stood between the body start tag and the body end tag.
  QString bodyContent;
  // Text after the body end tag (or from </HTML> on when </BODY> is missing).
  QString suffix;
  // The text's head could not be told apart from its body (an <HTML> or
  // <HEAD> without </HEAD> and without <BODY>): the whole document is served
  // as given and written back whole by the editor.
  bool whole = false;
};

// Never fails: any text gives parts whose pieces, joined, cover the page.
PageParts SplitPage(const QString& html);

// The document the engine is given for the parts: the doctype and the head
// elements that matter for display (LINK, STYLE, TITLE) from the prefix,
// then the body start tag, the body content and the closing tags. Nothing
// that followed </BODY> is served, so the engine cannot move it into the body.
QString ServedPage(const PageParts& parts);

// The text of the first <TITLE> in the prefix, entities decoded and blanks
// collapsed as a browser shows it.
QString PageTitle(const PageParts& parts);

// The page NewDocument starts with.
QString EmptyPageHtml();
