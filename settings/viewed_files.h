// What the viewer remembers of the compiled files it showed: the topic shown
// last and the window's place, per file, for the twenty files viewed last.
// Kept in the settings file, section "[Viewed files]": File1 (the file
// viewed last) to File20, with Topic1, Window1, ... beside each.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "platform/result.h"

struct ViewedFile {
  QString file;       // the compiled file's full path
  QString topic;      // the entry shown last ("/Page.htm#part"); may be empty
  QByteArray window;  // the window's geometry as Qt saves it; may be empty
};

constexpr int kViewedFilesKept = 20;

// What was remembered of `file` (a full path, compared exactly); nothing
// when the file is not among those kept.
std::optional<ViewedFile> ReadViewedFile(const QString& settingsFile, const QString& file);

// Puts `viewed` first, dropping an older record of the same file and, past
// kViewedFilesKept, the oldest one. A path or topic holding a line break is
// not kept (it cannot stand on one line). Fails with the settings file's
// name and the reason when it cannot be written.
Status RememberViewedFile(const QString& settingsFile, const ViewedFile& viewed);
