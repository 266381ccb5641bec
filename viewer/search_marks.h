// Marks the words of a search in the page shown: every place a word stands
// (letter case ignored) gets the highlight, and the first one is scrolled
// into view.
#pragma once

#include <QString>
#include <QStringList>

// The class of the marks the script puts into the page.
inline constexpr char kSearchHitClass[] = "orvex-search-hit";

// A script for the page's own world that marks `words` and returns the
// number of marks.
QString SearchMarkScript(const QStringList& words);
