// Reading a file named by a project (an include, a sitemap, a page) without
// trusting what it is: only a regular file is read, never a FIFO, a device
// or a folder, and never more than a size limit, so a crafted name cannot
// make a read block or grow without end.
#pragma once

#include <QByteArray>
#include <QString>

#include <atomic>

#include "platform/result.h"

// Limits on what a project names: its project file (and the map and alias
// files beside it), each file it packs, and all those files together.
inline constexpr qint64 kMaxProjectFileBytes = qint64(64) << 20;
inline constexpr qint64 kMaxInputFileBytes = qint64(256) << 20;
inline constexpr qint64 kMaxInputTotalBytes = qint64(1) << 30;

// The bytes of the regular file at `path`, at most `maxBytes` of them. The
// failure names the file and says why: not there, not a regular file,
// larger than the limit, unreadable.
Result<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);

// The same for a file that must lie inside `folder`: where the file opened
// is, its links followed, is judged against the folder with its links
// followed. A file that lies elsewhere (a link to /etc/passwd, a linked
// folder) is not read: the failure then says "<path> links outside the
// project: left out" and `outside` (when given) is set.
Result<QByteArray> ReadRegularFileInside(const QString& path, const QString& folder, qint64 maxBytes,
                                         bool* outside = nullptr);

// Whether a reference written in a project leads out of its folder as it is
// written, before any link: an absolute path ("/etc/passwd", "C:\x", "\\server\x")
// or one that climbs above the folder ("../x", "a/../../x").
bool WrittenOutsideFolder(const QString& reference);

// One file a project packs, `name` relative to `projectFolder`: inside the
// folder, regular, at most kMaxInputFileBytes, and while all files read
// so far (counted in `totalBytes`) stay within kMaxInputTotalBytes.
Result<QByteArray> ReadProjectInput(const QString& projectFolder, const QString& name,
                                    std::atomic<qint64>& totalBytes, bool* outside = nullptr);
