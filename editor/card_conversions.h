// Training cards in a topic page: the editor shows each card as a plain push
// button (it cannot edit the HTML Help control object), while the page file
// holds the control object. These two conversions move a page between the
// two forms.
#pragma once

#include <QString>

// Replaces every training-card button ("<INPUT type=button ...>") by a
// training-card object. Cards are numbered by their position among all
// "<INPUT " tags of the text, counting from 1. Other text passes unchanged;
// an "<INPUT " tag that is never closed by ">" is copied unchanged with the
// rest of the text.
QString CardButtonsToObjects(const QString& pageText);

// Replaces every training-card object (an OBJECT holding the TCard command)
// by a training-card button. Other objects pass unchanged; an "<OBJECT " that
// is never closed by "</OBJECT>" is copied unchanged with the rest of the text.
QString CardObjectsToButtons(const QString& pageText);

// The stored form of one card: six lines joined by CR LF, none after the last.
QString TrainingCardObject(int cardNumber, const QString& caption, const QString& messageValues);

// The editor form of one card: a single INPUT tag.
QString TrainingCardButton(const QString& caption, const QString& messageValues);
