// Content types of the files a help project holds, for serving them to the
// web views (a style sheet sent as anything but text/css is not applied).
#pragma once

#include <QByteArray>
#include <QString>

// By the file name's extension, letters in any case; empty when unknown.
QByteArray HelpFileMimeType(const QString& fileName);
