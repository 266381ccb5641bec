#pragma once
// Finding the files a help project's pages need: pages linked from pages,
// pictures, scripts, style sheets, pictures named in OBJECT parameters
// (splash screens) and in url(...) of style sheets.

#include <QString>
#include <QStringList>

namespace orvex {

// The raw references written in a page (HTML) or a style sheet: link and
// source attributes, every PARAM value, url(...) and @import targets.
QStringList PageReferences(const QString& text, bool styleSheet);

// A reference resolved against the folder (relative to the project folder,
// '/'-separated, empty for the project folder itself) of the file that holds
// it. Empty when the reference is not a local file inside the project folder
// (a URL with a scheme, an absolute path, one that climbs out, "#anchor").
QString ResolveReference(const QString& fromFolder, const QString& reference);

// Starting from seeds (project-relative names), every existing file that the
// seeds reach, seeds included, each once (compared without case), in the
// order found, with the case it has on disk. Names listed in scanOnly are
// read for references but not returned (contents and index files).
QStringList GatherProjectFiles(const QString& projectFolder, const QStringList& seeds,
                               const QStringList& scanOnly = {});

}  // namespace orvex
