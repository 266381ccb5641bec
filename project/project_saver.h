// Writing a project's own files from the model, in the order Save writes
// them: contents file, index file, map file, alias file, project file, and
// then the project's place at the top of the recent list.
#pragma once

#include <QStringList>
#include <vector>

#include "model/records.h"

struct ProjectSnapshot {
  QString ProjectFile;
  std::vector<ContentsNode> Contents;
  std::vector<IndexNode> Index;
  QStringList MapLines;
  QStringList AliasLines;
};

// projectLines get their save-time update (first topic) and are written.
// Throws FileError at the first file that cannot be written; the files after
// it stay as they were and the recent list is not touched.
void SaveProjectFiles(const ProjectSnapshot& project, QStringList& projectLines, const QString& settingsFile);
