#include "app/tcard_message.h"

#include "features/help_objects.h"

QString TCardLParamText(const QString& lParam) { return ReadTrainingCardMessage({}, lParam).lParamText; }

QString TCardMessageText(int wParam, const QString& lParam) {
  return QStringLiteral(" TCard message: \r\nwParam=") + QString::number(wParam) + QStringLiteral("\r") +
         QStringLiteral("\n") + QStringLiteral("lParam=") + TCardLParamText(lParam);
}
