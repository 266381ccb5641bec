// The project file (.hhp): the lines a new project gets, the save-time update
// of its first-topic lines, and the names derived from its path.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The same string with every blank (code 32) replaced by "_".
QString BlankToUnderscore(const QString& text);

// The file name part of a path (after the last "/" or "\").
QString FileNamePart(const QString& path);
// The path with the extension of its file name (from its last ".") replaced
// by ext ("" removes it); a name without extension gets ext appended.
QString ReplaceExtension(const QString& path, const QString& ext);
// The file name without its extension: "My Guide" for ".../My Guide.hhp".
QString ProjectBaseName(const QString& projectFile);
// The base name with blanks replaced: "My_Guide".
QString ProjectNamePrefix(const QString& projectFile);

// What the new-project dialog gave when it was confirmed.
struct NewProjectChoice {
  QString title;     // the project title
  QString language;  // normally "0x0409 English (United States)"
};

// The 22 lines of a new project's file; 21 without a choice (dialog
// cancelled): then the title is the base name and there is no language line.
QStringList NewProjectLines(const QString& projectFile, const std::optional<NewProjectChoice>& choice);

// The save-time update, given firstTopicFile (the FileName of the first
// top-level Contents node; nullopt for an empty Contents tree):
// - with setDefaultTopic, every line beginning with "Default topic=" becomes
//   "Default topic=" + firstTopicFile;
// - the first [FILES] section (header in any case) gets firstTopicFile
//   without its "#anchor" as its first line when no line of it names that
//   page yet ("\" or "/", any letter case). A new project's placeholder
//   line (name prefix + "001.htm") that names no file in the project folder
//   is replaced instead; no other line is touched, none removed.
QStringList UpdateProjectLines(const QStringList& lines, const std::optional<QString>& firstTopicFile,
                               const QString& projectFile, bool setDefaultTopic = true);

// A [FILES] line or page name as a comparable key: "\" as "/", no "./",
// case-folded.
QString ListedKey(const QString& name);
// The lines with every line of a [FILES] section that names one of `pages`
// removed ("\" or "/", any letter case; a page's "#anchor" ignored). Other
// sections and lines stay as they are.
QStringList RemoveListedFiles(const QStringList& lines, const QStringList& pages);

// Whether saves keep "Default topic=" on the first Contents topic: true
// when, as the project was opened, it named that topic, named none, or the
// Contents was empty (the program's own projects); false when it names
// another page (a project made elsewhere, whose home page stays).
bool DefaultTopicFollowsContents(const QStringList& lines, const std::optional<QString>& firstTopicFile);

// The locale identifier a "Language" option line names: a line containing
// "Language" and "=0x"; the text after the first "=0x", cut before its first
// blank (or at the end of the line), read as a hexadecimal number. nullopt
// when the line gives none (no valid hexadecimal number).
std::optional<int> LanguageLineLcid(const QString& line);

// The value of the first "Language=" option (everything after "="), if any.
std::optional<QString> ProjectLanguage(const QStringList& lines);
