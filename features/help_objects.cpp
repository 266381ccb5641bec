#include "features/help_objects.h"

#include "editor/card_conversions.h"
#include "editor/table_params.h"
#include "platform/html_text.h"

QString SplashObject(const QString& pictureFileName, qint64 milliseconds) {
  return QStringLiteral(
             "<OBJECT id=splash type=\"application/x-oleobject\"\r\n"
             "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
             "<PARAM name=\"Command\" value=\"Splash\">\r\n"
             "<PARAM name=\"Item1\" value=\"") +
         EscapeHtml(pictureFileName) + QStringLiteral("\">\r\n<PARAM name=\"Item2\" value=\"") +
         QString::number(milliseconds) + QStringLiteral("\">\r\n</OBJECT>");
}

int SplashSeconds(const QString& spinText) {
  int value = 1;
  if (IntegerErrorPosition(spinText, &value) != 0) return 1;
  return value < 1 ? 1 : value;
}

QString TrainingCardButtonFor(const QString& caption, const QString& wParam, const QString& lParam) {
  return TrainingCardButton(EscapeHtml(caption), EscapeHtml(wParam + QStringLiteral(", ") + lParam));
}

std::optional<int> TrainingCardNumber(const QString& text) {
  const QString trimmed = text.trimmed();
  int value = 0;
  if (trimmed.isEmpty() || IntegerErrorPosition(trimmed, &value) != 0) return std::nullopt;
  return value;
}

TrainingCardValues ReadTrainingCardMessage(const QString& wParamText, const QString& lParamText) {
  TrainingCardValues message;
  message.wParam = TrainingCardNumber(wParamText).value_or(0);
  const std::optional<int> lParam = TrainingCardNumber(lParamText);
  message.lParam = lParam.value_or(0);
  const QString text = lParamText.trimmed();
  message.lParamText = lParam           ? QString::number(*lParam)
                       : text.isEmpty() ? QStringLiteral("0")
                                        : text.left(256);
  return message;
}
