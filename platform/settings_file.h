// Where the program keeps its settings (the recent list, window places,
// add-in folders): one file per user, in the user's configuration folder,
// never beside the program.
#pragma once

#include <QString>

#include "platform/result.h"

// <configuration folder>/orvex/orvex.ini: $XDG_CONFIG_HOME/orvex/orvex.ini,
// ~/.config/orvex/orvex.ini when that is not set.
QString UserSettingsFile();

// The file older versions kept beside the program: its path with the
// extension replaced by ".ini" (appended when it has none).
QString SettingsFileBesideProgram(const QString& programPath);

// Moves the settings file beside the program (`oldPath`) to `userPath` once:
// only when the old file exists and the user has no settings file yet. The
// old file is taken away after its copy is in place; when it cannot be taken
// away (a read-only program folder) the copy stays and the old file is
// never read again. Fails with a message naming the file and the reason.
Status MoveOldSettings(const QString& oldPath, const QString& userPath);
