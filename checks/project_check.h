// Check project: the problems a help project can compile with and still
// ship broken, found over its project file, its Contents and Index trees,
// its context numbers and every page in its folder. Pages are read, never
// written, and external links are listed, never fetched.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "formats/sitemap/sitemap_nodes.h"
#include "platform/result.h"
#include "spelling/spelling_words.h"

enum class CheckSeverity { Error, Warning, Note };

// What a problem is; the order is the one the Problems pane groups them in.
enum class CheckKind {
  BrokenLink,          // a link to a page or an anchor that does not exist
  MissingFile,         // a picture, style sheet, script or [FILES] entry that does not exist
  OutsideLink,         // a link that leaves the project folder (symbolic links followed)
  MissingTopicPage,    // a Contents item whose page does not exist
  OrphanPage,          // a page no Contents item leads to
  MissingKeywordPage,  // an Index keyword whose page does not exist
  NoKeyword,           // a topic no keyword leads to
  AliasMissingPage,    // an alias whose page does not exist
  DuplicateNumber,     // a context number given twice
  AliasWithoutNumber,  // an alias no map line gives a number
  NumberWithoutAlias,  // a map line no alias uses
  DuplicateTitle,      // two pages in the Contents under the same title
  ExternalLink,        // a link to the web or to mail, for the author to look over
  Spelling,            // a word neither the dictionary nor the project's word list knows
};

// "broken-link", as `orvex --check` prints the kind.
QString CheckKindName(CheckKind kind);
// "Broken links", as the Problems pane heads the group.
QString CheckKindCaption(CheckKind kind);
CheckSeverity SeverityOf(CheckKind kind);
// "error", "warning", "note".
QString SeverityName(CheckSeverity severity);

struct CheckProblem {
  CheckKind kind = CheckKind::BrokenLink;
  QString file;  // relative to the project folder, '/'-separated, as on disk where it exists
  int line = 1;  // 1-based line in File
  QString text;
  QString page;        // the page the problem is on or about, relative; empty for none
  QString topicTitle;  // the Contents title of Page; empty when Page is no topic
};

// What the check reads besides the page files: the project as it stands,
// which for an open project includes trees not saved yet.
struct ProjectCheckInput {
  QString projectFile;  // full path
  QStringList projectLines;
  std::vector<ContentsNode> contents;
  std::vector<IndexNode> index;
  int threads = 0;  // threads reading pages; 0: one per core
  // The spelling to check the pages' words with; none: spelling is not checked.
  SpellingSource spelling;
};

// The input for a project on disk, read as opening it reads it; fails
// naming the file when the project file cannot be read.
Result<ProjectCheckInput> ReadProjectCheckInput(const QString& projectFile);

// Every problem of the project, ordered by file and line. Pages are read in
// the project's code page; a page that cannot be read is a missing file.
// With a spelling that has no dictionary, the project file's "Language"
// line gets a Spelling problem that says so.
std::vector<CheckProblem> CheckProject(const ProjectCheckInput& input);

// "FILE:LINE: kind: text".
QString ProblemLine(const CheckProblem& problem);
