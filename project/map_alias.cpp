#include "project/map_alias.h"

#include "platform/text_file.h"

void WriteMapFile(const QString& path, const QStringList& mapLines, int codePage) {
  WriteLinesFile(path, OneLineEach(mapLines), codePage);
}

void WriteAliasFile(const QString& path, const QStringList& aliasLines, int codePage) {
  WriteLinesFile(path, OneLineEach(aliasLines), codePage);
}
