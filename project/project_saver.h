// Writing a project's own files from the model, in the order Save writes
// them: contents file, index file, map file, alias file, project file, and
// then the project's place at the top of the recent list.
#pragma once

#include <QStringList>
#include <vector>

#include "model/records.h"
#include "project/project_sources.h"

struct ProjectSnapshot {
  QString ProjectFile;
  std::vector<ContentsNode> Contents;
  std::vector<IndexNode> Index;
  QStringList MapLines;
  QStringList AliasLines;
};

// projectLines get their save-time update (first topic) and are written.
// The contents and index files go where `sources` says, with the head they
// had; one whose tree still gives the text it was read as, or that could
// not be understood when it was read, is left as it is on disk. The map and
// alias files are written when they have lines, exist, or the project file
// includes them. Throws FileError at the first file that cannot be written;
// the files after it stay as they were and the recent list is not touched.
void SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines, ProjectSources& sources,
                      const QString& settingsFile);
// The same for a project whose sitemaps were not read (a new project).
void SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines, const QString& settingsFile);
