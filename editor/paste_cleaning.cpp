#include "editor/paste_cleaning.h"

#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QUrl>
#include <QRegularExpression>
#include <QStringList>
#include <QStringView>

#include "platform/html_text.h"
#include "platform/html_tokenizer.h"

namespace {

// Elements that go with everything in them. The raw-text ones end at their
// first end tag (what looks like a tag inside them is text to the browser,
// so none of it may stay); the others may nest.
const QStringList kRawTextDropped = {"script",   "style",   "title", "textarea", "xml",      "iframe",
                                     "noframes", "noembed", "xmp",   "noscript", "plaintext"};
const QStringList kNestingDropped = {"head", "object", "applet", "frameset"};
// Tags that go alone: they have no end tag, or their content stays.
const QStringList kTagsDropped = {"meta", "link", "base", "embed", "frame", "html", "body"};

struct Attribute {
  QString name;   // as written
  QString value;  // entities decoded
  bool hasValue = false;
  bool changed = false;
};

struct StartTag {
  QString name;  // as written
  QList<Attribute> attributes;
  bool selfClosing = false;
};

// The start tag as the tokenizer read it, its attribute values decoded.
StartTag ReadStartTag(const HtmlToken& token) {
  StartTag tag;
  tag.name = token.name.toString();
  tag.selfClosing = token.selfClosing;
  tag.attributes.reserve(token.attributes.size());
  for (const HtmlAttribute& a : token.attributes) {
    Attribute attribute;
    attribute.name = a.name.toString();
    attribute.hasValue = a.hasValue;
    if (a.hasValue) attribute.value = a.Value();
    tag.attributes.append(attribute);
  }
  return tag;
}

// A URL that runs script. Browsers also read numeric references without
// their ";" and a few names of HTML5, and skip blanks and control
// characters in the scheme.
bool HasScriptScheme(const QString& value) {
  static const QRegularExpression numeric(QStringLiteral("&#(?:[xX]([0-9a-fA-F]+)|([0-9]+));?"));
  QString text = value;
  text.replace(QStringLiteral("&Tab;"), QStringLiteral("\t"))
      .replace(QStringLiteral("&NewLine;"), QStringLiteral("\n"))
      .replace(QStringLiteral("&colon;"), QStringLiteral(":"));
  QString decoded;
  qsizetype last = 0;
  for (auto it = numeric.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    decoded += QStringView(text).mid(last, m.capturedStart() - last);
    bool ok = false;
    const uint code = m.captured(1).isEmpty() ? m.captured(2).toUInt(&ok) : m.captured(1).toUInt(&ok, 16);
    if (ok && code < 0x10000) decoded += QChar(char16_t(code));
    last = m.capturedEnd();
  }
  decoded += QStringView(text).mid(last);
  QString bare;
  for (const QChar c : decoded)
    if (c.unicode() > 0x20) bare += c.toLower();
  return bare.startsWith(u"javascript:") || bare.startsWith(u"vbscript:") || bare.startsWith(u"livescript:");
}

bool IsHexDigit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// CSS text with its escapes ("\\61", "\\:") read as the characters they stand for.
QString CssUnescaped(const QString& css) {
  QString out;
  for (qsizetype i = 0; i < css.size(); ++i) {
    if (css[i] != u'\\' || i + 1 >= css.size()) {
      out += css[i];
      continue;
    }
    qsizetype j = i + 1;
    while (j < css.size() && j < i + 7 && IsHexDigit(css[j])) ++j;
    if (j == i + 1) {
      out += css[++i];
      continue;
    }
    const uint code = css.mid(i + 1, j - i - 1).toUInt(nullptr, 16);
    out += code > 0 && code < 0x10000 ? QChar(char16_t(code)) : QChar(0xFFFD);
    if (j < css.size() && css[j].isSpace()) ++j;
    i = j - 1;
  }
  return out;
}

// The style without office and script declarations; as written when it has none.
QString CleanStyle(const QString& style) {
  static const QRegularExpression comments(QStringLiteral("/\\*.*?(\\*/|$)"),
                                           QRegularExpression::DotMatchesEverythingOption);
  QStringList kept;
  bool dropped = false;
  for (const QString& declaration : CssDeclarations(style)) {
    const QString d = declaration.trimmed();
    if (d.isEmpty()) continue;
    // Read without comments, blanks and escapes, as old engines did.
    QString bare = CssUnescaped(d).toLower();
    bare.remove(comments);
    bare.removeIf([](QChar c) { return c.isSpace(); });
    // The word processor's fonts go too: the page's style sheet sets them.
    if (bare.startsWith(u"font:") || bare.startsWith(u"font-family:") || bare.startsWith(u"font-size:")) {
      dropped = true;
      continue;
    }
    if (bare.startsWith(u"mso-") || bare.contains(u"behavior") || bare.contains(u"binding") ||
        bare.contains(u"expression(") || bare.contains(u"javascript:") || bare.contains(u"vbscript:")) {
      dropped = true;
      continue;
    }
    kept.append(d);
  }
  return dropped ? kept.join(u';') : style;
}

// The class names without the office program's own; as written when it has none.
QString CleanClass(const QString& names) {
  QStringList kept;
  bool dropped = false;
  for (const QString& name : names.simplified().split(u' ', Qt::SkipEmptyParts)) {
    if (name.startsWith(u"mso", Qt::CaseInsensitive))
      dropped = true;
    else
      kept.append(name);
  }
  return dropped ? kept.join(u' ') : names;
}

// Drops and cleans the tag's attributes; true when any changed.
bool CleanAttributes(StartTag& tag) {
  bool changed = false;
  QList<Attribute> kept;
  const bool font = tag.name.compare(u"font", Qt::CaseInsensitive) == 0;
  for (Attribute a : tag.attributes) {
    const QString name = a.name.toLower();
    if (name.startsWith(u"on") || name.startsWith(u"xmlns") || name.contains(u':') ||
        (font && (name == u"face" || name == u"size")) || (a.hasValue && HasScriptScheme(a.value))) {
      changed = true;
      continue;
    }
    if (a.hasValue && (name == u"style" || name == u"class")) {
      const QString cleaned = name == u"style" ? CleanStyle(a.value) : CleanClass(a.value);
      if (cleaned.trimmed().isEmpty()) {
        changed = true;
        continue;
      }
      if (cleaned != a.value) {
        a.value = cleaned;
        a.changed = changed = true;
      }
    }
    kept.append(a);
  }
  tag.attributes = kept;
  return changed;
}

QString WriteStartTag(const StartTag& tag) {
  QString out = QStringLiteral("<") + tag.name;
  for (const Attribute& a : tag.attributes) {
    out += u' ' + a.name;
    if (a.hasValue) out += QStringLiteral("=\"") + EscapeHtml(a.value) + u'"';
  }
  if (tag.selfClosing) out += u'/';
  return out + u'>';
}

// A link being written: where its start tag stands in the output, and
// whether text or a picture came into it.
struct OpenLink {
  qsizetype tagStart = 0;
  qsizetype tagEnd = 0;
  bool shown = false;
};

}  // namespace

QStringList CssDeclarations(const QString& style) {
  QStringList out;
  QChar quote;
  int depth = 0;
  qsizetype start = 0;
  for (qsizetype i = 0; i < style.size(); ++i) {
    const QChar c = style[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'"' || c == u'\'') {
      quote = c;
    } else if (c == u'(') {
      ++depth;
    } else if (c == u')' && depth > 0) {
      --depth;
    } else if (c == u';' && depth == 0) {
      out.append(style.mid(start, i - start));
      start = i + 1;
    }
  }
  out.append(style.mid(start));
  return out;
}

QString ClipboardFragment(const QString& html) {
  const QString startMark = QStringLiteral("<!--StartFragment-->");
  const qsizetype start = html.indexOf(startMark, 0, Qt::CaseInsensitive);
  const qsizetype end = html.indexOf(QStringLiteral("<!--EndFragment-->"), 0, Qt::CaseInsensitive);
  if (start >= 0 && end > start) return html.mid(start + startMark.size(), end - start - startMark.size());
  return html;
}

bool PictureFound(const QString& src, const QString& folder) {
  const QString s = src.trimmed();
  if (s.isEmpty()) return false;
  const QUrl url(s);
  const QString scheme = url.scheme().toLower();
  if (scheme == u"http" || scheme == u"https" || scheme == u"data" || scheme == u"ms-its" || scheme == u"mk")
    return true;
  if (scheme == u"file") return QFileInfo(url.toLocalFile()).isFile();
  // A drive letter or another scheme leads to nothing a page here can show.
  if (!scheme.isEmpty() || s.startsWith(u'\\')) return false;
  QString path = QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).toUtf8());
  path.replace(u'\\', u'/');
  if (path.isEmpty()) return false;
  return QFileInfo(path.startsWith(u'/') ? path : QDir(folder).filePath(path)).isFile();
}

QString PasteReportText(const PasteReport& report) {
  QStringList parts;
  if (report.emptyLinks == 1) parts << QStringLiteral("1 empty link");
  if (report.emptyLinks > 1) parts << QStringLiteral("%1 empty links").arg(report.emptyLinks);
  if (report.missingPictures == 1) parts << QStringLiteral("1 picture that is not in the project");
  if (report.missingPictures > 1)
    parts << QStringLiteral("%1 pictures that are not in the project").arg(report.missingPictures);
  if (parts.isEmpty()) return {};
  return QStringLiteral("Pasting left out ") + parts.join(QStringLiteral(" and ")) + u'.';
}

QString CleanPastedHtml(const QString& html, const PictureCheck& pictureFound, PasteReport* report) {
  PasteReport counts;
  QString out;
  out.reserve(html.size());
  QList<bool> spansKept;  // open spans and fonts: whether their tags stayed
  QList<OpenLink> links;
  // The element being dropped with everything in it, and how deep in it.
  QString dropping;
  int depth = 0;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    const QStringView written = QStringView(html).mid(token.begin, token.end - token.begin);
    if (!dropping.isEmpty()) {
      if (token.type == HtmlTokenType::StartTag && token.IsNamed(dropping) &&
          kNestingDropped.contains(dropping))
        ++depth;
      else if (token.type == HtmlTokenType::EndTag && token.IsNamed(dropping) && --depth == 0)
        dropping.clear();
      continue;
    }
    switch (token.type) {
      case HtmlTokenType::Text:
      case HtmlTokenType::RawText:  // of an element kept (<xmp>): as the browser shows it
        out += token.content;
        if (!token.content.trimmed().isEmpty())
          for (OpenLink& link : links) link.shown = true;
        break;
      case HtmlTokenType::Comment:
        // Comments go, whatever they hold: pasted notes are of no use.
      case HtmlTokenType::Declaration:
        // Declarations, processing instructions, <![if ...]> marks.
        break;
      case HtmlTokenType::EndTag: {
        const QString name = token.name.toString().toLower();
        bool keep = !name.contains(u':') && !kTagsDropped.contains(name) && !kRawTextDropped.contains(name) &&
                    !kNestingDropped.contains(name);
        if ((name == u"span" || name == u"font") && !spansKept.isEmpty()) keep = spansKept.takeLast();
        if (name == u"a" && !links.isEmpty()) {
          const OpenLink link = links.takeLast();
          if (!link.shown) {
            // A link with nothing to click goes; what it held (blanks) stays.
            out.remove(link.tagStart, link.tagEnd - link.tagStart);
            ++counts.emptyLinks;
            keep = false;
          } else if (!links.isEmpty()) {
            links.last().shown = true;
          }
        }
        if (keep) out += written;
        break;
      }
      case HtmlTokenType::StartTag: {
        StartTag tag = ReadStartTag(token);
        const QString name = tag.name.toLower();
        if (kRawTextDropped.contains(name) || kNestingDropped.contains(name)) {
          if (!tag.selfClosing || kRawTextDropped.contains(name)) {
            dropping = name;
            depth = 1;
          }
          break;
        }
        if (name.contains(u':') || kTagsDropped.contains(name)) break;
        const bool changed = CleanAttributes(tag);
        if ((name == u"span" || name == u"font") && !tag.selfClosing) {
          spansKept.append(!tag.attributes.isEmpty());
          if (tag.attributes.isEmpty()) break;
        }
        if (name == u"img" && pictureFound) {
          const HtmlAttribute* src = token.Attribute(u"src");
          if (!src || !pictureFound(src->Value())) {
            ++counts.missingPictures;
            break;
          }
        }
        if (name == u"img")
          for (OpenLink& link : links) link.shown = true;
        if (name == u"a" && !tag.selfClosing) links.append({out.size(), 0, false});
        out += changed ? WriteStartTag(tag) : written.toString();
        if (name == u"a" && !tag.selfClosing) links.last().tagEnd = out.size();
        break;
      }
    }
  }
  if (report) *report = counts;
  return out;
}
