// Reading a project's files from disk into the model's plain form.
#pragma once

#include <QStringList>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"
#include "model/project_sources.h"

struct ProjectFiles {
  QStringList projectLines;
  QStringList aliasLines;  // the program's own alias file; empty when it is missing
  QStringList mapLines;    // the program's own map file; empty when it is missing
  std::vector<ContentsNode> contents;
  std::vector<IndexNode> index;
  ProjectSources sources;       // where the sitemaps are and how they were read
  QStringList problems;         // what could not be read (missing files too), each naming its file
  QStringList missingSitemaps;  // the contents or index files the project names that are not there
};

// Reads the project file, the contents and index files it names (or those
// named after it), the program's own alias and map files named after it,
// and the context numbers of the project file's [ALIAS] and [MAP] sections.
// Fails naming the file when the project file, or an alias or map file that
// is there, cannot be read, and when the project file is not a help project
// (binary content, no [OPTIONS] section). A missing contents,
// index, alias or map file reads as empty; a sitemap that cannot be
// understood (UTF-16, items the readers cannot read) is read as far as it
// goes and marked to be left as it is, with a problem that says why.
Result<ProjectFiles> ReadProjectFiles(const QString& projectPath);
