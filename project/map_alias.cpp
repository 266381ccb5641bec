#include "project/map_alias.h"

#include "platform/text_file.h"

Status WriteMapFile(const QString& path, const QStringList& mapLines, int codePage) {
  return WriteLinesFile(path, OneLineEach(mapLines), codePage);
}

Status WriteAliasFile(const QString& path, const QStringList& aliasLines, int codePage) {
  return WriteLinesFile(path, OneLineEach(aliasLines), codePage);
}
