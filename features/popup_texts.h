// Pop-up texts: the project's pop-up script file (one JavaScript assignment
// per line: "popfont" and one "P<n>" variable per text) and the HTML that a
// topic needs to show them (the HTML Help control object in its head, the
// script tag that loads the file, and the links).
#pragma once

#include <QString>
#include <QStringList>

// The pop-up script file of a project: the project file with its extension
// replaced by "P.js" (D:/Help/Demo.hhp -> D:/Help/DemoP.js).
QString PopupScriptPath(const QString& projectFile);
// Its bare file name, as pages refer to it (DemoP.js).
QString PopupScriptFileName(const QString& projectFile);

// True when no line of the file begins with the candidate name. This is a
// plain prefix test on whole lines: a "P10=..." line keeps "P1" taken.
bool IsPopupNameFree(const QString& candidate, const QStringList& lines);
// The first of P1, P2, P3, ... that IsPopupNameFree allows.
QString NextPopupName(const QStringList& lines);

// The text as the body of a double-quoted JavaScript string: backslash,
// double quote and line breaks are escaped, and so is every character the
// file's code page cannot hold (\uXXXX), so the file stays valid script
// whatever was typed. Everything else is kept as typed.
QString JsStringBody(const QString& text, int codePage);
// One line of the script file: name="text".
QString PopupScriptLine(const QString& name, const QString& text, int codePage);

// The address of the link that shows pop-up variable `name`.
QString PopupHref(const QString& name);
// The link that shows pop-up variable `name`; linkText is plain text and is
// escaped for HTML.
QString PopupLink(const QString& name, const QString& linkText);

// The HTML Help control object that the links call (one line with CR LF).
QString PopupHeadObject();
// The script tag that loads the pop-up script file (one line with CR LF).
QString PopupScriptTag(const QString& scriptFileName);

// Whether a page already holds the pop-up object (an OBJECT with id popup and
// the HTML Help control's class id) or the script tag for the file, in any
// letter case, quoting, attribute order or line breaks.
bool HasPopupHeadObject(const QString& html);
bool HasPopupScriptTag(const QString& html, const QString& scriptFileName);

// The page with whichever of the two is missing inserted before its first
// "</HEAD>" (any case), or in front of the whole text when it has none.
// Gives the text unchanged when both are there.
QString WithPopupHead(const QString& html, const QString& scriptFileName);
