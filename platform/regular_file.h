// Reading a file named by a project (an include, a sitemap) without trusting
// what it is: only a regular file is read, never a FIFO, a device or a
// folder, and never more than a size limit, so a crafted name cannot make a
// read block or grow without end.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

// The bytes of the regular file at `path`, at most `maxBytes` of them. The
// failure names the file and says why: not there, not a regular file,
// larger than the limit, unreadable.
Result<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);
