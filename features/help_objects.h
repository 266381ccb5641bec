// Splash screens and training cards as they go into a topic: the splash
// object, the training-card button's texts, and the number rules of the two
// dialogs.
#pragma once

#include <QString>
#include <optional>

// The splash object: the HTML Help control shows `pictureFileName` (a bare
// file name in the project folder) for `milliseconds`. The file name is
// escaped for the attribute value.
QString SplashObject(const QString& pictureFileName, qint64 milliseconds);

// The seconds a splash time box stands for: its text read as a whole number,
// 1 when it is no number or below 1. A number above the box's range (typed,
// then confirmed with Enter) is used as it is.
int SplashSeconds(const QString& spinText);

// The training-card button for the dialog's three texts, each taken as typed
// (not trimmed). The values go into Alt as wParam + ", " + lParam; caption and
// values are escaped for their attribute values.
QString TrainingCardButtonFor(const QString& caption, const QString& wParam, const QString& lParam);

// A training card's value as a number, the way the training-card dialog
// accepts a wParam: after trimming, an optional sign with decimal digits, or
// "$" and hexadecimal digits, within 32 bits ("$10" is 16).
std::optional<int> TrainingCardNumber(const QString& text);
inline bool IsWParamNumber(const QString& text) { return TrainingCardNumber(text).has_value(); }

// The message a training-card button sends when it is pressed in the help
// viewer, read from its two values as the author typed them.
struct TrainingCardValues {
  int wParam = 0;      // the wParam number; 0 when it is none
  int lParam = 0;      // the lParam number; 0 when it is none
  QString lParamText;  // the lParam number in decimal, else its text (at most
                       // 256 characters), "0" when empty
};
TrainingCardValues ReadTrainingCardMessage(const QString& wParamText, const QString& lParamText);
