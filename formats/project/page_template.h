// The page every new topic starts with, the rule that turns the project's
// language into the page's character set, and the default style sheet.
#pragma once

#include <QString>
#include <QStringList>

// The ANSI code page of the project's language: the last "Language" option
// line (containing "Language" and "=0x") whose locale identifier the system
// knows gives LocaleAnsiCodePage of it (0 for a Unicode-only language).
// -1 when no line gives one (no such line, malformed number, unknown locale).
int ProjectCodePage(const QStringList& projectLines);

// Why the project's files are read and written as Windows-1252 although it
// names a language: its "Language" line cannot be read, names a locale the
// system does not know, or a language whose code page is none or unknown.
// Empty when the code page is known, or when the project names no language.
QString CodePageProblem(const QStringList& projectLines);

// The new topic's page (lines joined by CR LF, none after the last): the
// style sheet is the project file's name with ".css"; the character-set line
// appears only when ProjectCodePage gives a code page. The title is used
// unchanged (nothing escaped).
QString BuildTopicPage(const QString& title, const QString& projectFile, const QStringList& projectLines);

// The default style sheet: ten lines, each followed by CR LF.
QString DefaultStyleSheet();
