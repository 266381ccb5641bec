#include "project/map_alias.h"

#include "platform/text_file.h"

void WriteMapFile(const QString& path, const QStringList& mapLines, int codePage) {
  WriteLinesFile(path, mapLines, codePage);
}

void WriteAliasFile(const QString& path, const QStringList& aliasLines, int codePage) {
  WriteLinesFile(path, aliasLines, codePage);
}
