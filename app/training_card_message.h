// The notice shown for a training-card message from the help viewer.
#pragma once

#include <QString>

// The lParam as the notice shows it. The viewer hands over the card's
// lParam as the text the author typed: a number (see `TrainingCardNumber`)
// is shown in decimal, any other text as it is (cut to 256 characters); none
// at all is 0.
QString TrainingCardLParamText(const QString& lParam);

// " TCard message: \r\nwParam=<wParam>\r\nlParam=<lParam text>"
QString TrainingCardMessageText(int wParam, const QString& lParam);
