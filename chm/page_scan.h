#pragma once
// Finding the files a help project's pages need: pages linked from pages,
// pictures, scripts, style sheets, pictures named in OBJECT parameters
// (splash screens) and in url(...) of style sheets.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

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

// A reference as a page or style sheet writes it, and where.
struct PageReference {
  QString value;           // as written ("two.htm#x", "pic.png")
  qsizetype position = 0;  // of the value in the text
  int line = 0;            // the line it stands on (1 for the first); set by ScanProject
};

// What one page or style sheet holds: its references and the anchors it
// defines (<A NAME=...>, id=...).
struct PageContent {
  QList<PageReference> references;
  QStringList anchors;
};

PageContent ScanPageText(const QString& text, bool styleSheet);

// A file a project names: in [FILES], as its default topic, by an alias, as
// its contents or index file.
struct ScanSeed {
  QString name;          // as written, relative to the project folder
  QString origin;        // who names it, for messages ("My Guide.hhp, line 14")
  bool required = true;  // a missing one is an error; else a warning (an alias's page)
};

struct ScannedFile {
  QString name;  // relative to the project folder, '/'-separated, the case on disk
  QByteArray bytes;
  QString text;   // contents and index files (".hhc", ".hhk"): the bytes decoded; else empty
  QString title;  // pages: the <TITLE>, blanks folded; empty when it has none
};

// A page's <TITLE>, blanks folded; empty when it has none.
QString PageTitle(const QString& text);

struct ScanProblem {
  QString target;        // the file (or file#anchor) that is missing
  QString origin;        // who names it ("sub/page.htm, line 3")
  bool required = true;  // false for a seed that need not exist
};

struct ProjectScan {
  QList<ScannedFile> files;  // seeds first, then what they reach, each once
  QList<ScanProblem> missingFiles;
  QList<ScanProblem> brokenAnchors;
  QStringList unreadable;      // files that exist but could not be read: the reason, naming the file
  QList<ScanProblem> outside;  // left out: named by a path out of the folder, or a link that leads out
};

// Reads the seeds and every file they reach through pages (".htm",
// ".html", sitemaps) and style sheets, following links, pictures, scripts,
// OBJECT parameters that name files, url(...) and @import; names match
// without regard to case or "\". External and script links are not files.
// Pages are decoded with decode; threads read and scan in parallel
// (0: every core). fileDone, when given, is called with each file of the
// result as soon as it is read, in the order of the result, on the
// calling thread.
ProjectScan ScanProject(const QString& projectFolder, const QList<ScanSeed>& seeds,
                        const std::function<QString(const QByteArray&)>& decode, int threads,
                        const std::function<void(const ScannedFile&)>& fileDone = {});

}  // namespace orvex
