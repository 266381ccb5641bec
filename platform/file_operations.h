// Making folders and removing files, each failure naming the path and the
// system's reason.
#pragma once

#include <QString>

#include "platform/result.h"

// Makes `folder` with every missing folder above it; fails with "Cannot
// create folder <folder>: <reason>".
Status MakeFolder(const QString& folder);

// Removes a file; fails with "Cannot delete file <path>: <reason>".
Status RemoveFile(const QString& path);
