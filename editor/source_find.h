// Find and replace in the source view, with the options of the Find dialog.
// There the page is plain text: markup is found and replaced like any text.
#pragma once

#include <QString>

#include "editor/editing_control.h"

class QPlainTextEdit;

// Selects the next match from the cursor on, wrapping round the text; false,
// with the cursor as it was, when there is none.
bool FindInSource(QPlainTextEdit* view, const QString& text, const FindOptions& options);
// Replaces the selection when it is a match, then selects the next match;
// false when there is no next one.
bool ReplaceInSource(QPlainTextEdit* view, const QString& text, const QString& replacement,
                     const FindOptions& options);
// Replaces every match as one step of the view's undo; how many.
int ReplaceAllInSource(QPlainTextEdit* view, const QString& text, const QString& replacement,
                       const FindOptions& options);
