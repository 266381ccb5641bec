// What Save must know about how a project's files were read: where its
// contents and index files are (the project's own "Contents file=" and
// "Index file=" options), the head each of them had, whether the tree still
// gives the file as it was read, and which files must not be rewritten.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

#include "formats/sitemap/sitemap_nodes.h"

struct SitemapSource {
  QString path;            // full path of the file (where it is, or where it will be written)
  QString header;          // the text before its first item as read; empty: the program's own head
  QByteArray writtenForm;  // digest of the text the writer gives for the tree as it stands in the file
  QString readOnlyReason;  // not empty: the file could not be understood and is never rewritten
};

struct ProjectSources {
  SitemapSource contents;
  SitemapSource index;
  // Context numbers that the project file's [ALIAS] and [MAP] sections give
  // (their includes read in): page name as written, "\" turned into "/" and
  // case-folded -> number.
  QHash<QString, QString> contextNumbers;
  // Whether Save sets "Default topic=" to the first Contents topic (see
  // DefaultTopicFollowsContents); decided when the project was opened.
  bool defaultTopicFollowsContents = true;
  QStringList warnings;  // what opening could not read, each naming its file
};

// The full paths of the contents and index files: the project file's own
// "Contents file=" and "Index file=" values resolved against its folder
// ("\" or "/", any letter case), else the project path with ".hhc"/".hhk".
QString ContentsFilePath(const QString& projectFile, const QStringList& projectLines);
QString IndexFilePath(const QString& projectFile, const QStringList& projectLines);

// The digest that tells whether a sitemap text is still the one read.
QByteArray SitemapDigest(const QString& text);

// The key under which ContextNumbers holds a page ("Pages\A.htm#x" -> "pages/a.htm").
QString ContextPageKey(const QString& fileName);
// The number the project file's own sections give the page, or empty.
QString ProjectContextNumber(const ProjectSources& sources, const QString& fileName);
