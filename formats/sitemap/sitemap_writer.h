// Writing the Contents tree to the contents file (.hhc) and the Index tree to
// the index file (.hhk) in the HTML Help sitemap format.
//
// Captions, topic captions and file names are written with & < > and "
// as character entities and control characters (line breaks) as numeric
// references, so that every value reads back as it was.
#pragma once

#include <QString>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"

// Appends the entries of one level (and, nested, of its children) to out,
// each line followed by CR LF, ending the level with "</UL>".
void WriteContentsLevel(QString& out, const std::vector<ContentsNode>& level);
// topLevel: the nodes are keywords of the Index tree's first level.
void WriteIndexLevel(QString& out, const std::vector<IndexNode>& level, bool topLevel);

// The whole file texts. `header` is the text a file had before its first
// item (the reader gives it): it replaces the program's own head, so that
// a file made elsewhere keeps its head, its properties object and its list
// tag. Nodes read from a file keep every parameter they had, in order.
QString ContentsFileText(const std::vector<ContentsNode>& forest, const QString& header = QString());
QString IndexFileText(const std::vector<IndexNode>& forest, const QString& header = QString());

// Write the file texts in the code page, replacing the files atomically.
// The failure names the file ("Cannot create file <path>", "Unable to write to <path>").
Status WriteContentsFile(const QString& path, const std::vector<ContentsNode>& forest, int codePage);
Status WriteIndexFile(const QString& path, const std::vector<IndexNode>& forest, int codePage);
