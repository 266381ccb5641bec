// Training cards in a topic page: the editor shows each card as a plain push
// button (it cannot edit the HTML Help control object), while the page file
// holds the control object. These two conversions move a page between the
// two forms.
#pragma once

#include <QString>

// Tags are read as a browser reads them (see `HtmlTokenizer`): in any letter
// case, values quoted with " or ' or not quoted; markup inside comments,
// scripts and attribute values is text.

// Replaces every training-card button by a training-card object: an INPUT
// tag of type button named "tcard", or with its type written type=button
// (other buttons are the page's own). Cards are numbered by their position
// among all INPUT tags of the text, counting from 1; caption and message
// values (the VALUE and ALT attributes, the first of each name) are taken as
// written. Other text passes unchanged; from an INPUT tag that is never
// closed on, the rest of the text is copied unchanged.
QString CardButtonsToObjects(const QString& pageText);

// Replaces every training-card object (an OBJECT up to its first </OBJECT>
// holding a PARAM named Command with the value TCard) by a training-card
// button, with the values of its Button and Item1 parameters as written.
// Other objects pass unchanged; from an OBJECT that is never closed by
// </OBJECT> on, the rest of the text is copied unchanged.
QString CardObjectsToButtons(const QString& pageText);

// The stored form of one card: six lines joined by CR LF, none after the last.
QString TrainingCardObject(int cardNumber, const QString& caption, const QString& messageValues);

// The editor form of one card: a single INPUT tag.
QString TrainingCardButton(const QString& caption, const QString& messageValues);
