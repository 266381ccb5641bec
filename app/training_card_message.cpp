#include "app/training_card_message.h"

#include "features/help_objects.h"

QString TrainingCardLParamText(const QString& lParam) {
  return ReadTrainingCardMessage({}, lParam).lParamText;
}

QString TrainingCardMessageText(int wParam, const QString& lParam) {
  return QStringLiteral(" TCard message: \r\nwParam=") + QString::number(wParam) + QStringLiteral("\r") +
         QStringLiteral("\n") + QStringLiteral("lParam=") + TrainingCardLParamText(lParam);
}
