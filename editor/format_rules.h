// Values of the formatting commands: colours as the control takes them, and
// the control's font sizes 1 to 7 against point sizes.
#pragma once

#include <QString>

// A colour as one integer with red in the lowest byte, green in the next and
// blue in the third.
int ColorValue(int red, int green, int blue);

// The page colour text for such a value: "#RRGGBB" with capital letters.
QString PageColorText(int colorValue);

// Point size of the control's font size 1..7 (values outside are brought
// into that range), and the font size nearest to a point size.
double PointsOfFontSize(int size);
int FontSizeOfPoints(double points);
