// Rules of index editing that need no widgets: where a dropped keyword goes,
// how dropped text becomes a keyword, and the properties text of an entry.
#pragma once

#include <QString>

#include "formats/sitemap/sitemap_nodes.h"
#include "model/tree_hit.h"

// Where a new index entry goes relative to the node hit by the drop.
enum class AttachMode {
  None,      // no entry is added
  Child,     // a child of the keyword hit
  TopLevel,  // a keyword of the first level
  Sibling,   // beside the node hit (under the same keyword for a child entry)
};

// hit: where the drop fell; level: the depth of the node hit (0 for a keyword).
AttachMode IndexAttachMode(TreeHitKind hit, int level);

// Dropped text is kept to this many characters.
constexpr int kMaxDroppedTextLength = 255;

// The dropped text cut to kMaxDroppedTextLength characters (never in the
// middle of a surrogate pair).
QString CutDroppedText(const QString& text);

// The caption and keyword made from dropped text: leading and trailing blanks
// and control characters (line breaks among them) removed.
QString KeywordFromText(const QString& text);

// The text of "Properties": a first line, then one line for each field that
// is not empty, the fields of a keyword's further topics after them. A null
// record gives the first line only.
QString IndexPropertiesText(const IndexEntryData* record);
