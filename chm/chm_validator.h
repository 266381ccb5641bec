// Checking a compiled help file's structure before the reading library is
// asked anything: chmlib trusts every size, offset and link it finds, so a
// damaged or hostile file can make it loop forever, divide by zero or read
// past its buffers. What it will use is checked here first.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "platform/result.h"

namespace orvex {

// Checks the file at path: the header and directory against the file's
// size, the directory's chunk chains (each chunk visited once), every entry
// inside its section, the compressed section's reset table and control
// data. The failure says what is wrong, naming the file.
Status ValidateChmFile(const QString& path);

// An entry of a compiled file's directory as stored.
struct ChmListedEntry {
  QByteArray name;
  quint64 space = 0;
  quint64 start = 0;
  quint64 length = 0;
};

// The same on a file already open for reading (a regular file, read with
// pread, so the caller can go on reading exactly what was checked); name is
// used in the message. When entries is given, a sound file's entries go
// there: those of every listing chunk, whether the listing chain or only
// the index leads to it (some compilers name a later chunk as the first).
Status ValidateChmDescriptor(int fd, const QString& name, QList<ChmListedEntry>* entries = nullptr);

// The same on a file's bytes; name is used in the message.
Status ValidateChmBytes(const QByteArray& bytes, const QString& name);

}  // namespace orvex
