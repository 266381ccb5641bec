// Page file names of created topics: the project's name prefix, a two-digit
// counter 01..99 and ".htm".
#pragma once

#include <QString>
#include <functional>

// Answers whether a file exists, given its full path.
using FileExistsFn = std::function<bool(const QString& fullPath)>;

// The page name with counter `counter` (1..99): prefix + two digits + ".htm".
QString NumberedPageName(const QString& namePrefix, int counter);

// The first numbered page name whose file does not exist in `projectFolder`.
// `fileExists` is asked with the full path; without it the disk is asked.
// When all 99 names are taken the result is empty: the caller must report
// that no further topic can be created.
QString NewPageName(const QString& projectFolder, const QString& namePrefix,
                    const FileExistsFn& fileExists = {});
