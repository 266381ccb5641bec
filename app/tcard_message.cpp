#include "app/tcard_message.h"

QString TCardLParamText(const QString& lParam) {
  const QString text = lParam.trimmed();
  if (text.isEmpty()) return QStringLiteral("0");
  bool isNumber = false;
  const int number = text.toInt(&isNumber, 10);
  if (isNumber) return QString::number(number);
  return text.left(256);
}

QString TCardMessageText(int wParam, const QString& lParam) {
  return QStringLiteral(" TCard message: \r\nwParam=") + QString::number(wParam) + QStringLiteral("\r") +
         QStringLiteral("\n") + QStringLiteral("lParam=") + TCardLParamText(lParam);
}
