#include "editor/card_conversions.h"

// Every marker is searched without regard to letter case, directly in the
// text itself (never in an upper-cased copy, whose length could differ from
// the original's), so positions found always index the original text and the
// copied pieces keep their own letters.

namespace {

constexpr Qt::CaseSensitivity kAnyCase = Qt::CaseInsensitive;

// The text between the next two double quotes at or after `from`; empty when
// there are fewer than two.
QString BetweenNextQuotes(QStringView text, qsizetype from) {
  const qsizetype open = text.indexOf(u'"', from);
  if (open < 0) return {};
  const qsizetype close = text.indexOf(u'"', open + 1);
  if (close < 0) return {};
  return text.mid(open + 1, close - open - 1).toString();
}

// Caption of a button tag: the value after its first "VALUE=", quoted or not.
QString ButtonCaption(QStringView tag) {
  const QLatin1StringView marker("VALUE=");
  const qsizetype at = tag.indexOf(marker, 0, kAnyCase);
  if (at < 0) return {};
  const QStringView rest = tag.mid(at + marker.size());
  if (rest.startsWith(u'"')) {
    const qsizetype close = rest.indexOf(u'"', 1);
    return close < 0 ? QString() : rest.mid(1, close - 1).toString();
  }
  qsizetype end = rest.indexOf(u' ');
  if (end < 0) end = rest.indexOf(u'>');
  return end < 0 ? rest.toString() : rest.left(end).toString();
}

// Message values of a button tag: the double-quoted value after its first
// "ALT="; an unquoted value gives nothing.
QString ButtonMessageValues(QStringView tag) {
  const QLatin1StringView marker("ALT=");
  const qsizetype at = tag.indexOf(marker, 0, kAnyCase);
  if (at < 0) return {};
  QStringView rest = tag.mid(at + marker.size());
  const qsizetype quote = rest.indexOf(u'"');
  if (quote >= 0) rest = rest.mid(quote + 1);
  const qsizetype close = rest.indexOf(u'"');
  return close < 0 ? QString() : rest.left(close).toString();
}

// The value of a card object's parameter: after the closing quote of the
// quoted parameter name, the first "VALUE", then the text between the next
// two double quotes.
QString ObjectParamValue(QStringView element, QLatin1StringView quotedName) {
  const qsizetype at = element.indexOf(quotedName, 0, kAnyCase);
  if (at < 0) return {};
  const qsizetype afterName = at + quotedName.size();
  const qsizetype value = element.indexOf(QLatin1StringView("VALUE"), afterName, kAnyCase);
  if (value < 0) return {};
  return BetweenNextQuotes(element, value);
}

}  // namespace

QString TrainingCardObject(int cardNumber, const QString& caption, const QString& messageValues) {
  return QStringLiteral("<OBJECT id=tcard") + QString::number(cardNumber) +
         QStringLiteral(
             "\r\ntype=\"application/x-oleobject\"\r\n"
             "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">\r\n"
             "<PARAM name=\"Command\" value=\"TCard\">\r\n"
             "<PARAM name=\"Button\" value=\"") +
         caption + QStringLiteral("\">\r\n<param name=\"Item1\" value=\"") + messageValues +
         QStringLiteral("\"></OBJECT>");
}

QString TrainingCardButton(const QString& caption, const QString& messageValues) {
  return QStringLiteral("<INPUT type=button name=\"tcard\" Value=\"") + caption +
         QStringLiteral("\" Alt=\"") + messageValues + QStringLiteral("\">");
}

QString CardButtonsToObjects(const QString& pageText) {
  const QLatin1StringView inputMarker("<INPUT ");
  QString result;
  result.reserve(pageText.size() + pageText.size() / 4);
  int cardNumber = 0;
  qsizetype pos = 0;
  for (;;) {
    const qsizetype match = pageText.indexOf(inputMarker, pos, kAnyCase);
    if (match < 0) break;
    ++cardNumber;
    result += QStringView(pageText).mid(pos, match - pos);
    const qsizetype close = pageText.indexOf(u'>', match);
    if (close < 0) {  // never closed: the rest goes out as it is
      pos = match;
      break;
    }
    const QStringView tag = QStringView(pageText).mid(match, close - match + 1);
    pos = close + 1;
    if (!tag.contains(QLatin1StringView("TYPE=BUTTON"), kAnyCase)) {
      result += tag;
      continue;
    }
    result += TrainingCardObject(cardNumber, ButtonCaption(tag), ButtonMessageValues(tag));
  }
  result += QStringView(pageText).mid(pos);
  return result;
}

QString CardObjectsToButtons(const QString& pageText) {
  const QLatin1StringView objectMarker("<OBJECT ");
  const QLatin1StringView endMarker("</OBJECT>");
  const QLatin1StringView cardCommand("<PARAM name=\"Command\" value=\"TCard\">");
  QString result;
  result.reserve(pageText.size());
  qsizetype pos = 0;
  for (;;) {
    const qsizetype match = pageText.indexOf(objectMarker, pos, kAnyCase);
    if (match < 0) break;
    result += QStringView(pageText).mid(pos, match - pos);
    const qsizetype end = pageText.indexOf(endMarker, match, kAnyCase);
    if (end < 0) {  // never closed: the rest goes out as it is
      pos = match;
      break;
    }
    const QStringView element = QStringView(pageText).mid(match, end + endMarker.size() - match);
    pos = end + endMarker.size();
    if (!element.contains(cardCommand, kAnyCase)) {
      result += element;
      continue;
    }
    result += TrainingCardButton(ObjectParamValue(element, QLatin1StringView("\"Button\"")),
                                 ObjectParamValue(element, QLatin1StringView("\"Item1\"")));
  }
  result += QStringView(pageText).mid(pos);
  return result;
}
