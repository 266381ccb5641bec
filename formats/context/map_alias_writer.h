// Writing the map file (.h) and the alias file (.ali) from their lines.
#pragma once

#include <QString>
#include <QStringList>

#include "platform/result.h"

// Each line followed by CR LF (a line break inside a line becomes a blank), in the code page, replacing the
// file atomically; an empty list gives an empty file. The failure names the
// file ("Cannot create file <path>", "Unable to write to <path>").
Status WriteMapFile(const QString& path, const QStringList& mapLines, int codePage);
Status WriteAliasFile(const QString& path, const QStringList& aliasLines, int codePage);
