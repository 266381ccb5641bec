// Page file names of created topics: the project's name prefix, a counter of
// at least two digits (01..99, then 100, 101, ...) and ".htm".
#pragma once

#include <QString>
#include <functional>

// The highest counter a created page can get.
inline constexpr int kLastPageCounter = 99999;

// Answers whether a file exists, given its full path.
using FileExistsFn = std::function<bool(const QString& fullPath)>;

// The page name with counter `counter` (1 up to kLastPageCounter): prefix +
// the counter with a leading zero below 10 + ".htm".
QString NumberedPageName(const QString& namePrefix, int counter);

// The first numbered page name whose file does not exist in `projectFolder`.
// `fileExists` is asked with the full path; without it the disk is asked.
// When every counter up to kLastPageCounter is taken the result is empty: the
// caller must report that no further topic can be created.
QString NewPageName(const QString& projectFolder, const QString& namePrefix,
                    const FileExistsFn& fileExists = {});
