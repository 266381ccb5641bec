// Finding the file that a name written in a project means. Projects made on
// Windows write "\" as well as "/" and do not care about letter case; on
// Linux the exact name is taken when it exists, else each part of the path
// is matched without case. The author's spelling in the files is never
// rewritten: only the path used to reach the file differs.
#pragma once

#include <QString>

// The path of `reference` (relative to `folder`, or absolute) on this
// system: "\" read as "/", "." and ".." followed, each part taken as written
// when it exists and otherwise from the folder's entries compared without
// case (the first in sorted order when several match). From the first part
// that matches nothing on, the rest is kept as written, so the result of a
// missing file names where it would be.
QString ResolveProjectPath(const QString& folder, const QString& reference);

// A reference without its "#anchor" and "?query" parts ("a.htm#top" -> "a.htm").
QString WithoutAnchor(const QString& reference);

// The path with the links of its existing part followed, the rest as
// written ("link/new.hhc" -> "/real/folder/new.hhc").
QString ResolvedPath(const QString& path);
// Whether `path` lies inside `folder` once the links of both are followed
// (for a path that does not exist yet, those of its existing part).
bool InsideFolder(const QString& path, const QString& folder);
// Whether the resolved `realPath` lies below the resolved `realFolder`.
bool UnderFolder(const QString& realPath, const QString& realFolder);

// `path` ("/"-separated) taken from `fromFolder` ("" for the project folder):
// empty parts and "." skipped, ".." going up a folder. Empty, with *above
// set, when it climbs above the project folder.
QString JoinRelativePath(const QString& fromFolder, const QString& path, bool* above);
