// Writing a project's own files from the model, in the order Save writes
// them: contents file, index file, map file, alias file, project file.
#pragma once

#include <QStringList>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"
#include "model/project_sources.h"

struct ProjectSnapshot {
  QString projectFile;
  std::vector<ContentsNode> contents;
  std::vector<IndexNode> index;
  QStringList mapLines;
  QStringList aliasLines;
};

// projectLines get their save-time update (first topic) and are written.
// The contents and index files go where `sources` says, with the head they
// had; one whose tree still gives the text it was read as, or that could
// not be understood when it was read, is left as it is on disk. The map and
// alias files are written when they have lines, exist, or the project file
// includes them. The save stops at the first file that cannot be written
// and fails naming it; the files after it stay as they were. A file of the
// project that is a symbolic link to a file outside the project folder is
// not written through: the save stops before any file is written.
Status SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines, ProjectSources& sources);
// The same for a project whose sitemaps were not read (a new project).
Status SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines);

// The project's own files that Save writes, in the order it writes them.
QStringList ProjectFilesSaved(const QString& projectFile, const QStringList& projectLines);
