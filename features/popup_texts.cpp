#include "features/popup_texts.h"

#include <QFileInfo>
#include <QHash>
#include <functional>

#include "platform/codepage.h"
#include "platform/html_text.h"

namespace {

const QLatin1StringView kControlClassId("adb880a6-d8ff-11cf-9377-00aa003b7a11");

QString WithExtensionReplaced(const QString& path, const QString& ext) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot > slash) return path.left(dot) + ext;
  return path + ext;
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

// The attributes of the start tag that begins at `lt` (the "<"), names in
// lower case, values with their entities decoded; the first of a name wins.
// *end is set past the tag's ">" (or to the text's end).
QHash<QString, QString> TagAttributes(const QString& html, qsizetype lt, qsizetype* end) {
  QHash<QString, QString> attributes;
  const qsizetype n = html.size();
  qsizetype i = lt + 1;
  while (i < n && !IsBlank(html[i]) && html[i] != u'>' && html[i] != u'/') ++i;  // the tag name
  for (;;) {
    while (i < n && (IsBlank(html[i]) || html[i] == u'/')) ++i;
    if (i >= n || html[i] == u'>') break;
    const qsizetype nameStart = i;
    while (i < n && !IsBlank(html[i]) && html[i] != u'>' && html[i] != u'=' && html[i] != u'/') ++i;
    const QString name = html.mid(nameStart, i - nameStart).toLower();
    while (i < n && IsBlank(html[i])) ++i;
    QString value;
    if (i < n && html[i] == u'=') {
      ++i;
      while (i < n && IsBlank(html[i])) ++i;
      if (i < n && (html[i] == u'"' || html[i] == u'\'')) {
        const QChar quote = html[i++];
        const qsizetype close = html.indexOf(quote, i);
        const qsizetype stop = close < 0 ? n : close;
        value = html.mid(i, stop - i);
        i = close < 0 ? n : close + 1;
      } else {
        const qsizetype valueStart = i;
        while (i < n && !IsBlank(html[i]) && html[i] != u'>') ++i;
        value = html.mid(valueStart, i - valueStart);
      }
    }
    if (!name.isEmpty() && !attributes.contains(name)) attributes.insert(name, DecodeHtmlEntities(value));
  }
  *end = i < n ? i + 1 : n;
  return attributes;
}

// Calls found(attributes) for every start tag named `tag` until it answers true.
bool AnyTag(const QString& html, const QString& tag,
            const std::function<bool(const QHash<QString, QString>&)>& found) {
  const QString open = u'<' + tag;
  qsizetype pos = 0;
  while ((pos = html.indexOf(open, pos, Qt::CaseInsensitive)) >= 0) {
    const qsizetype after = pos + open.size();
    if (after < html.size() && !IsBlank(html[after]) && html[after] != u'>' && html[after] != u'/') {
      pos = after;  // a longer tag name ("<objectx")
      continue;
    }
    qsizetype end = after;
    if (found(TagAttributes(html, pos, &end))) return true;
    pos = qMax(end, after);
  }
  return false;
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
  return AnyTag(html, QStringLiteral("object"), [](const QHash<QString, QString>& a) {
    return a.value(QStringLiteral("id")).trimmed().compare(QLatin1StringView("popup"), Qt::CaseInsensitive) ==
               0 &&
           a.value(QStringLiteral("classid")).contains(kControlClassId, Qt::CaseInsensitive);
  });
}

bool HasPopupScriptTag(const QString& html, const QString& scriptFileName) {
  return AnyTag(html, QStringLiteral("script"), [&](const QHash<QString, QString>& a) {
    return BareFileName(a.value(QStringLiteral("src")).trimmed())
               .compare(scriptFileName, Qt::CaseInsensitive) == 0;
  });
}

QString WithPopupHead(const QString& html, const QString& scriptFileName) {
  QString insert;
  if (!HasPopupHeadObject(html)) insert += PopupHeadObject();
  if (!HasPopupScriptTag(html, scriptFileName)) insert += PopupScriptTag(scriptFileName);
  if (insert.isEmpty()) return html;
  const qsizetype headEnd = html.indexOf(QLatin1StringView("</HEAD>"), 0, Qt::CaseInsensitive);
  const qsizetype at = headEnd < 0 ? 0 : headEnd;
  return html.left(at) + insert + html.mid(at);
}
