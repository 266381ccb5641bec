#include "editor/card_conversions.h"

#include <optional>

#include "platform/html_tokenizer.h"

// Tags are read by the program's one HTML tokenizer, as a browser reads them:
// names and attribute names in any letter case, values quoted with " or ' or
// not quoted, nothing inside a comment, a script or another tag's value taken
// for a tag. Values go from one form to the other as written (entities and
// all), always double-quoted.

namespace {

// An attribute's value as written, for a double-quoted attribute: a value
// written between single quotes may hold a double quote.
QString WrittenValue(const HtmlAttribute* attribute) {
  if (!attribute) return {};
  QString value = attribute->rawValue.toString();
  value.replace(u'"', QStringLiteral("&quot;"));
  return value;
}

// Whether the attribute's value, as a browser reads it, is `expected` (any letter case).
bool ValueIs(const HtmlAttribute* attribute, QStringView expected) {
  return attribute && attribute->Value().compare(expected, Qt::CaseInsensitive) == 0;
}

// Whether the attribute is written as name=value, without quotes.
bool Unquoted(QStringView text, const HtmlAttribute* attribute) {
  const qsizetype at = attribute->rawValue.data() - text.data();
  return attribute->hasValue && at > 0 && text[at - 1] == u'=';
}

// A training-card button: an INPUT of type button that is named "tcard" or
// whose type is written type=button (the way the editor's own and
// hand-typed cards are written). Another button (type="button" onclick=...)
// is the page's own.
bool IsCardButton(QStringView text, const HtmlToken& tag) {
  const HtmlAttribute* type = tag.Attribute(u"type");
  if (!ValueIs(type, u"button")) return false;
  return ValueIs(tag.Attribute(u"name"), u"tcard") || Unquoted(text, type);
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
  const QStringView text(pageText);
  QString result;
  result.reserve(pageText.size() + pageText.size() / 4);
  int cardNumber = 0;
  qsizetype copied = 0;
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type != HtmlTokenType::StartTag || !token.IsNamed(u"input")) continue;
    if (token.unterminated) break;  // never closed: the rest goes out as it is
    ++cardNumber;
    if (!IsCardButton(text, token)) continue;
    result += text.mid(copied, token.begin - copied);
    result += TrainingCardObject(cardNumber, WrittenValue(token.Attribute(u"value")),
                                 WrittenValue(token.Attribute(u"alt")));
    copied = token.end;
  }
  result += text.mid(copied);
  return result;
}

QString CardObjectsToButtons(const QString& pageText) {
  const QStringView text(pageText);
  QString result;
  result.reserve(pageText.size());
  qsizetype copied = 0;
  HtmlTokenizer tokenizer(text);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type != HtmlTokenType::StartTag || !token.IsNamed(u"object")) continue;
    const qsizetype objectBegin = token.begin;
    // The object's parameters, up to its end tag; an object never closed
    // goes out as it is, with the rest of the text.
    bool card = false, closed = false;
    std::optional<QString> caption, values;  // the first parameter of each name counts
    while (tokenizer.Next(&token)) {
      if (token.type == HtmlTokenType::EndTag && token.IsNamed(u"object")) {
        closed = true;
        break;
      }
      if (token.type != HtmlTokenType::StartTag || !token.IsNamed(u"param") || token.unterminated) continue;
      const HtmlAttribute* name = token.Attribute(u"name");
      const HtmlAttribute* value = token.Attribute(u"value");
      if (ValueIs(name, u"Command") && ValueIs(value, u"TCard")) card = true;
      if (ValueIs(name, u"Button") && !caption) caption = WrittenValue(value);
      if (ValueIs(name, u"Item1") && !values) values = WrittenValue(value);
    }
    if (!closed) break;
    if (!card) continue;
    result += text.mid(copied, objectBegin - copied);
    result += TrainingCardButton(caption.value_or(QString()), values.value_or(QString()));
    copied = token.end;
  }
  result += text.mid(copied);
  return result;
}
