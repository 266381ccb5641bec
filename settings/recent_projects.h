// The recent-project list in the settings file: section "FileHistory", keys
// "File1" (the most recently saved project) to "File5" (the oldest).
#pragma once

#include <QString>
#include <QStringList>

#include "platform/result.h"

// Values of File1, File2, ... up to the first empty or missing one, at most
// five. A missing settings file gives an empty list.
QStringList ReadRecentProjects(const QString& settingsPath);

// The five entries after saving projectPath, given the entries read (File1 on,
// stopping after the first empty one): projectPath moves to the top; an
// exact (case-sensitive) match of it is taken out of its old place (the last
// match when there are several), otherwise the fifth entry drops out.
// Always five entries, empty ones as empty strings.
QStringList HistoryAfterSave(const QStringList& entries, const QString& projectPath);

// Puts projectPath at the top of the list and writes File1 to File5; a
// path holding a line break is left out (it cannot stand on one line).
// Fails with "Unable to write to <settingsPath>" when the file cannot be written.
Status AddToHistory(const QString& settingsPath, const QString& projectPath);

// Takes projectPath (an exact match) out of the list, the entries after it
// moving up. Fails with "Unable to write to <settingsPath>".
Status RemoveFromHistory(const QString& settingsPath, const QString& projectPath);
