// Reading the window types of a compiled file (#WINDOWS, its strings in
// #STRINGS) back into [WINDOWS] lines of a project file.
#pragma once

#include "chm/system_files.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace orvex {

// The window types of #WINDOWS: its count and entry size, then one entry
// each; strings are offsets into #STRINGS, decoded with ChmTextToString in
// codePage. Only the members the entry marks as set are set. Entries past
// the end, or of a size too small to hold a window type, are left out.
QList<ChmWindowType> ParseWindowsFile(const QByteArray& windows, const QByteArray& strings, int codePage);

// The [WINDOWS] line of a window type, as ParseWindowLine reads it back:
// texts quoted (without quotes or line breaks of their own; empty ones
// bare), numbers
// decimal, flags and styles in hex, unset members empty.
QString WindowLine(const ChmWindowType& window);

}  // namespace orvex
