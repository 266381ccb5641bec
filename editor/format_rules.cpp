#include "editor/format_rules.h"

#include <cmath>

namespace {
const double kPoints[7] = {8, 10, 12, 14, 18, 24, 36};
}  // namespace

int ColorValue(int red, int green, int blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

QString PageColorText(int colorValue) {
  // Six hex digits of the value read blue, green, red; the page wants red first.
  const QString bgr = QStringLiteral("%1").arg(colorValue & 0xFFFFFF, 6, 16, QChar(u'0')).toUpper();
  return u'#' + bgr.mid(4, 2) + bgr.mid(2, 2) + bgr.mid(0, 2);
}

double PointsOfFontSize(int size) {
  if (size < 1) size = 1;
  if (size > 7) size = 7;
  return kPoints[size - 1];
}

int FontSizeOfPoints(double points) {
  int best = 1;
  for (int i = 1; i < 7; ++i) {
    if (std::fabs(kPoints[i] - points) < std::fabs(kPoints[best - 1] - points)) best = i + 1;
  }
  return best;
}
