#include "formats/context/map_alias_writer.h"

#include "platform/text_file.h"

Status WriteMapFile(const QString& path, const QStringList& mapLines, int codePage) {
  return WriteLinesFile(path, OneLineEach(mapLines), codePage);
}

Status WriteAliasFile(const QString& path, const QStringList& aliasLines, int codePage) {
  return WriteLinesFile(path, OneLineEach(aliasLines), codePage);
}
