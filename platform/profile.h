// Profile strings: reading and writing "key=value" entries of an
// initialisation file with [sections], as the Windows profile functions do.
//
// Section and key names compare case-insensitively; surrounding blanks of
// names and values are ignored, and a value in matching quotes is read
// without them. Writing a key changes only that key's line (or adds the key,
// its section, or the file): every other line, comment and line end stays
// byte for byte. The file is UTF-8 text; other lines need not be.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

// The value of key in section of the file's text, or defaultValue.
QString ProfileValue(const QByteArray& fileText, const QString& section, const QString& key,
                     const QString& defaultValue);
// The file's text with key in section set to value.
QByteArray SetProfileValue(const QByteArray& fileText, const QString& section, const QString& key,
                           const QString& value);

// The same on a file. A missing or unreadable file reads as empty.
QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue);
// Creates the file (and its folder) when missing. Fails with "Unable to
// write to <path>" when it cannot be written.
Status WriteProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& value);

// The file's bytes, empty when it is missing or unreadable.
QByteArray ReadProfileFile(const QString& path);
// Writes a whole profile text; fails with "Unable to write to <path>: <reason>".
Status WriteProfileFile(const QString& path, const QByteArray& fileText);
