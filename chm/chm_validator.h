// Checking a compiled help file's structure before the reading library is
// asked anything: chmlib trusts every size, offset and link it finds, so a
// damaged or hostile file can make it loop forever, divide by zero or read
// past its buffers. What it will use is checked here first.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

namespace orvex {

// Checks the file at path: the header and directory against the file's
// size, the directory's chunk chains (each chunk visited once), every entry
// inside its section, the compressed section's reset table and control
// data. The failure says what is wrong, naming the file.
Status ValidateChmFile(const QString& path);

// The same on a file's bytes; name is used in the message.
Status ValidateChmBytes(const QByteArray& bytes, const QString& name);

}  // namespace orvex
