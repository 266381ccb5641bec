// The desktop's trash (the freedesktop home trash and the trash folders of
// other disks): deleted files go there so that the user can bring them back.
#pragma once

#include <QString>

#include "platform/result.h"

// Whether files can be moved to the trash: the home trash folder exists or
// could be made. Without it nothing is moved there.
bool TrashAvailable();

// Moves a file to the trash; fails naming the file when it cannot be moved
// (the file then stays where it was).
Status MoveToTrash(const QString& path);
