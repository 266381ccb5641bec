#include "features/popup_texts.h"

#include <QFileInfo>
#include <functional>

#include "platform/codepage.h"
#include "platform/html_text.h"
#include "platform/html_tokenizer.h"

namespace {

const QLatin1StringView kControlClassId("adb880a6-d8ff-11cf-9377-00aa003b7a11");

QString WithExtensionReplaced(const QString& path, const QString& ext) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot > slash) return path.left(dot) + ext;
  return path + ext;
}

// Calls found(tag) for every start tag named `name` until it answers true.
bool AnyTag(const QString& html, QStringView name, const std::function<bool(const HtmlToken&)>& found) {
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type == HtmlTokenType::StartTag && token.IsNamed(name) && found(token)) return true;
  }
  return false;
}

// An attribute's value with its entities decoded; empty when the tag has none.
QString AttributeValue(const HtmlToken& tag, QStringView name) {
  const HtmlAttribute* attribute = tag.Attribute(name);
  return attribute ? attribute->Value() : QString();
}

QString BareFileName(QString path) {
  path.replace(u'\\', u'/');
  return path.mid(path.lastIndexOf(u'/') + 1);
}

}  // namespace

QString PopupScriptPath(const QString& projectFile) {
  return WithExtensionReplaced(projectFile, QStringLiteral("P.js"));
}

QString PopupScriptFileName(const QString& projectFile) { return BareFileName(PopupScriptPath(projectFile)); }

bool IsPopupNameFree(const QString& candidate, const QStringList& lines) {
  for (const QString& line : lines)
    if (line.startsWith(candidate)) return false;
  return true;
}

QString NextPopupName(const QStringList& lines) {
  // Each line can take only as many names as it has characters, so this ends.
  for (qint64 n = 1;; ++n) {
    const QString name = u'P' + QString::number(n);
    if (IsPopupNameFree(name, lines)) return name;
  }
}

QString JsStringBody(const QString& text, int codePage) {
  QString out;
  out.reserve(text.size() + 8);
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    switch (u) {
      case u'\\':
        out += QLatin1StringView("\\\\");
        continue;
      case u'"':
        out += QLatin1StringView("\\\"");
        continue;
      case u'\r':
        out += QLatin1StringView("\\r");
        continue;
      case u'\n':
        out += QLatin1StringView("\\n");
        continue;
      case u'\t':
        out += QLatin1StringView("\\t");
        continue;
      default:
        break;
    }
    const bool control = u < 0x20 || u == 0x7F || u == 0x2028 || u == 0x2029;
    bool representable = u < 0x80;
    if (!representable && !control && !c.isSurrogate()) {
      const QString one(c);
      representable = DecodeCodePage(EncodeCodePage(one, codePage), codePage) == one;
    }
    if (control || !representable)
      out += QStringLiteral("\\u%1").arg(int(u), 4, 16, QChar(u'0'));
    else
      out += c;
  }
  return out;
}

QString PopupScriptLine(const QString& name, const QString& text, int codePage) {
  return name + QStringLiteral("=\"") + JsStringBody(text, codePage) + u'"';
}

QString PopupHref(const QString& name) {
  return QStringLiteral("Javascript:popup.textpopup(") + name + QStringLiteral(",popfont,10,10,0,-1)");
}

QString PopupLink(const QString& name, const QString& linkText) {
  return QStringLiteral("<A href=\"") + PopupHref(name) + QStringLiteral("\">") + EscapeHtml(linkText) +
         QStringLiteral("</A>");
}

QString PopupHeadObject() {
  return QStringLiteral(
      "<OBJECT id=popup type=\"application/x-oleobject\" "
      "classid=\"clsid:adb880a6-d8ff-11cf-9377-00aa003b7a11\">"
      "<PARAM name=\"Command\" value=\"HH Version\"></OBJECT>\r\n");
}

QString PopupScriptTag(const QString& scriptFileName) {
  return QStringLiteral("<script language=javascript src=\"") + scriptFileName +
         QStringLiteral("\"></script>\r\n");
}

bool HasPopupHeadObject(const QString& html) {
  return AnyTag(html, u"object", [](const HtmlToken& tag) {
    return AttributeValue(tag, u"id").trimmed().compare(QLatin1StringView("popup"), Qt::CaseInsensitive) ==
               0 &&
           AttributeValue(tag, u"classid").contains(kControlClassId, Qt::CaseInsensitive);
  });
}

bool HasPopupScriptTag(const QString& html, const QString& scriptFileName) {
  return AnyTag(html, u"script", [&](const HtmlToken& tag) {
    return BareFileName(AttributeValue(tag, u"src").trimmed()).compare(scriptFileName, Qt::CaseInsensitive) ==
           0;
  });
}

QString WithPopupHead(const QString& html, const QString& scriptFileName) {
  QString insert;
  if (!HasPopupHeadObject(html)) insert += PopupHeadObject();
  if (!HasPopupScriptTag(html, scriptFileName)) insert += PopupScriptTag(scriptFileName);
  if (insert.isEmpty()) return html;
  qsizetype at = 0;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type == HtmlTokenType::EndTag && token.IsNamed(u"head")) {
      at = token.begin;
      break;
    }
  }
  return html.left(at) + insert + html.mid(at);
}
