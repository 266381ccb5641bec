// Reading a project's files from disk into the model's plain form.
#pragma once

#include <QStringList>
#include <vector>

#include "model/records.h"

struct ProjectFiles {
  QStringList ProjectLines;
  QStringList AliasLines;  // empty when the alias file is missing
  QStringList MapLines;    // empty when the map file is missing
  std::vector<ContentsNode> Contents;
  std::vector<IndexNode> Index;
  QStringList Problems;  // what could not be read, for the record
};

// Reads the project file and the contents, index, alias and map files named
// after it. Throws FileError when the project file cannot be read; a missing
// contents, index, alias or map file reads as empty.
ProjectFiles ReadProjectFiles(const QString& projectPath);
