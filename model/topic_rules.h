// Rules of contents editing that need no widgets: where a dragged topic goes,
// how a rename reaches the page text, the links to subtopics and the question
// asked before a topic is deleted.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "model/tree_hit.h"

// What a drop of a dragged topic on the Contents tree does.
enum class ContentsDrop {
  Nothing,          // no move, nothing changes
  AsLastChild,      // the topic becomes the last child of the item hit
  AtEndOfTopLevel,  // the topic becomes the last topic of the first level
  BeforeItem,       // the topic goes before the item hit, at its level
};

ContentsDrop ContentsDropFor(TreeHitKind hit);

// A keyboard move of a topic (Alt+arrow keys).
enum class TopicShift {
  Up,    // before its previous sibling
  Down,  // after its next sibling
  In,    // the last child of its previous sibling
  Out,   // right after its parent, at the parent's level
};

// The page text with the first occurrence of oldTitle, and a second one after
// it if there is one, replaced by newTitle (exact, case-sensitive). Further
// occurrences stay. An empty oldTitle, or one that does not occur, leaves the
// text as it is; `replaced` (when given) tells which happened.
QString ReplaceTitleInPage(const QString& page, const QString& oldTitle, const QString& newTitle,
                           bool* replaced = nullptr);

// The page text with an empty TITLE element and the first empty H1 element
// given `escapedTitle`: how a page whose title was lost takes one again.
QString FillEmptyTitleInPage(const QString& page, const QString& escapedTitle, bool* replaced = nullptr);

// Whether a topic title can be taken: it holds more than blanks.
bool IsUsableTitle(const QString& title);
inline const char* const kEmptyTitleMessage = "A topic needs a title: type at least one character.";

struct SubtopicLink {
  QString caption;
  QString fileName;
};

// The pieces of HTML that "Append links to subtopics" inserts, in order: a
// line break, then one link per subtopic followed by a line break. Captions
// and file names are escaped, so any text stays text.
QStringList SubtopicLinksHtml(const std::vector<SubtopicLink>& subtopics);

// The question asked before a topic with `subtopics` descendants (all
// levels) is deleted. Followed by how many index entries go with its pages
// (when any), and, when pages go with the topics, by how many page files go
// to the trash, or are deleted for good where there is no trash.
QString DeleteTopicQuestion(const QString& title, int subtopics, int pageFiles = 0, bool toTrash = true,
                            int indexEntries = 0);
