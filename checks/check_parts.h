// The parts Check project is made of, each over what the one before found:
// the files of the project folder, the pages with their links, and the
// context numbers.
#pragma once

#include <QHash>
#include <QList>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "checks/project_check.h"

namespace checks {

// Whether a name ends in ".htm" or ".html".
bool IsPageName(const QString& name);

// The files under the project folder, found without regard to letter case
// or "\", as the compiler finds them; symbolic links are followed to tell
// whether a name leaves the folder.
class ProjectFolder {
 public:
  explicit ProjectFolder(const QString& root);

  enum class Place { Missing, Inside, Outside };
  // Where a project-relative name ('/'-separated, no "..") leads; *onDisk
  // gets the name with the case it has on disk when it is Inside. May be
  // called from several threads at once.
  Place Locate(const QString& relative, QString* onDisk = nullptr);

  const QString& Root() const { return root; }
  // Every page (".htm", ".html") under the folder, relative, sorted.
  const QStringList& Pages() const { return pages; }

 private:
  Place LocateThroughDisk(const QString& relative, QString* onDisk);
  bool LeadsOutside(const QString& fullPath) const;

  QString root;
  QString canonicalRoot;
  QHash<QString, QString> onDisk;  // folded relative name -> relative name
  QSet<QString> symbolicLinks;     // relative names of listed symbolic links
  QSet<QString> listedFolders;     // folded relative names of the folders whose files were all listed
  QStringList pages;
  QMutex locating;                                    // guards located
  QHash<QString, std::pair<Place, QString>> located;  // relative name -> answer
};

// A reference as written, made a project-relative name: "\" read as "/",
// "%XX" decoded, "." and ".." followed, "#anchor" and "?query" cut off.
// Empty with *outside set when it climbs out of the folder or is absolute.
QString RelativeTarget(const QString& fromFolder, const QString& reference, bool* outside);

// The lines of a text: where each starts.
class LineStarts {
 public:
  LineStarts() = default;
  explicit LineStarts(const QString& text);
  int LineOf(qsizetype position) const;

 private:
  QList<qsizetype> starts{0};
};

// A set of names hashed by the standard library over their characters:
// much quicker than QSet on the many short names of a page's anchors.
struct NameHash {
  size_t operator()(const QString& name) const noexcept {
    return std::hash<std::u16string_view>()(
        std::u16string_view(QStringView(name).utf16(), size_t(name.size())));
  }
};
using NameSet = std::unordered_set<QString, NameHash>;

// What the Contents and Index need of the pages: which exist, and where.
struct PageChecks {
  QSet<QString> pages;              // folded relative names of the pages read
  QHash<QString, NameSet> anchors;  // folded page -> its folded anchors
  // Whether the page (folded) has the anchor (folded).
  bool HasAnchor(const QString& page, const QString& anchor) const {
    const auto found = anchors.constFind(page);
    return found != anchors.constEnd() && found->count(anchor) > 0;
  }
};

// Reads every page of the folder and the extra pages (relative names of
// pages that exist) on `threads` threads (0: one per core), and reports
// their broken and outside links, missing pictures, style sheets and
// scripts, and external links; with a spelling, also each misspelt word of
// a page, once, at its first line. The spelling is opened on one of the
// threads while the others read pages; when it gives none, no word is
// checked. The problems come page after page, whatever the threads.
PageChecks CheckPages(ProjectFolder& folder, const QStringList& extraPages, int codePage, int threads,
                      const SpellingSource& openSpelling, std::vector<CheckProblem>& problems);

// The [ALIAS] and [MAP] sections, their includes read in: aliases to
// missing pages, numbers used twice, aliases without a number and numbers
// without an alias, names compared without letter case.
void CheckContextNumbers(ProjectFolder& folder, const QString& projectName, const QStringList& projectLines,
                         int codePage, std::vector<CheckProblem>& problems);

}  // namespace checks
