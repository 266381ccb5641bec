// The desktop's trash (the freedesktop home trash and the trash folders of
// other disks): deleted files go there so that the user can bring them back.
#pragma once

#include <QString>

#include "platform/result.h"

// Whether files can be moved to the trash: the home trash folder exists or
// could be made. Without it nothing is moved there.
bool TrashAvailable();

// Moves a file to the trash; fails naming the file when it cannot be moved
// (the file then stays where it was). `trashedPath`, when given, learns
// where the trash keeps it.
Status MoveToTrash(const QString& path, QString* trashedPath = nullptr);

// Puts a file that MoveToTrash moved (now at `trashedPath`) back at `path`
// and drops the trash's note about it; fails naming the file when it is no
// longer in the trash or `path` is taken.
Status RestoreFromTrash(const QString& trashedPath, const QString& path);
