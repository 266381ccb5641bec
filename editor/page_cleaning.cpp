#include "editor/page_cleaning.h"

#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QStringList>

#include "editor/paste_cleaning.h"
#include "platform/html_tokenizer.h"

namespace {

// Blocks whose content is a line of text: a break before the start tag and
// after the end tag.
const QSet<QString> kLineBlocks = {"p",       "h1",  "h2",      "h3",      "h4",    "h5", "h6",
                                   "li",      "dt",  "dd",      "caption", "td",    "th", "title",
                                   "address", "pre", "listing", "legend",  "option"};
// Blocks that hold other blocks: a break on both sides of both tags.
const QSet<QString> kContainers = {"html", "head",   "body",  "ul",       "ol",       "dl",    "dir",
                                   "menu", "table",  "thead", "tbody",    "tfoot",    "tr",    "blockquote",
                                   "div",  "center", "form",  "fieldset", "colgroup", "select"};
// Elements without an end tag that stand on a line of their own.
const QSet<QString> kOwnLine = {"hr", "meta", "link", "base", "col"};
const QSet<QString> kVoid = {"area",  "base",  "basefont", "bgsound", "br",      "col",    "embed",
                             "frame", "hr",    "img",      "input",   "isindex", "keygen", "link",
                             "meta",  "param", "source",   "track",   "wbr"};
// Start tags that end an open paragraph, as a browser's parser ends it.
const QSet<QString> kEndParagraph = {
    "address", "article",  "aside",      "blockquote", "center",  "details", "dir",     "div",  "dl",   "dd",
    "dt",      "fieldset", "figcaption", "figure",     "footer",  "form",    "h1",      "h2",   "h3",   "h4",
    "h5",      "h6",       "header",     "hgroup",     "hr",      "li",      "listing", "main", "menu", "nav",
    "ol",      "p",        "plaintext",  "pre",        "section", "summary", "table",   "ul",   "xmp"};
// Elements whose content stays exactly as written (white space matters there).
const QSet<QString> kVerbatim = {"pre", "listing", "plaintext"};

// What a tag is to the cleaning, from the sets above, read once per tag.
enum Kind : unsigned {
  LineBlock = 1,
  Container = 2,
  OwnLine = 4,
  Void = 8,
  EndsParagraph = 16,
  Verbatim = 32
};

unsigned KindOf(const QString& name) {
  static const QHash<QString, unsigned> kinds = [] {
    QHash<QString, unsigned> all;
    const std::pair<const QSet<QString>*, Kind> sets[] = {
        {&kLineBlocks, LineBlock},       {&kContainers, Container}, {&kOwnLine, OwnLine}, {&kVoid, Void},
        {&kEndParagraph, EndsParagraph}, {&kVerbatim, Verbatim}};
    for (const auto& [set, kind] : sets)
      for (const QString& name : *set) all[name] |= kind;
    return all;
  }();
  return kinds.value(name, 0);
}

bool IsBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f'; }

const QString kNbsp = QStringLiteral("&nbsp;");

QString NormalStyle(const QString& style) {
  QString s = style.simplified();
  while (s.endsWith(u';') || s.endsWith(u' ')) s.chop(1);
  return s;
}

// A declaration the engine writes on its own when it moves text (copies of
// computed values and of its defaults), never one of the author's commands.
bool EngineDeclaration(const QString& property, QString value) {
  value.remove(QStringLiteral("!important"));
  value = value.simplified();
  const auto is = [&value](std::initializer_list<const char*> values) {
    for (const char* v : values)
      if (value == QLatin1String(v)) return true;
    return false;
  };
  if (property.startsWith(u"-webkit-") || property.startsWith(u"font-variant") || property == u"font-family")
    return true;
  static const QSet<QString> always = {"font-kerning",
                                       "font-stretch",
                                       "font-feature-settings",
                                       "font-variation-settings",
                                       "font-optical-sizing",
                                       "caret-color",
                                       "orphans",
                                       "widows"};
  if (always.contains(property)) return true;
  if (property == u"font-size") return value.endsWith(u"px");
  if (property == u"font-weight") return is({"normal", "400"});
  if (property == u"font-style" || property == u"line-height") return is({"normal"});
  if (property == u"color") return value.startsWith(u"rgb");
  if (property == u"letter-spacing" || property == u"word-spacing") return is({"normal", "0px"});
  if (property == u"text-indent") return is({"0px"});
  if (property == u"text-transform" || property == u"float") return is({"none"});
  if (property == u"white-space") return is({"normal"});
  if (property == u"white-space-collapse") return is({"collapse"});
  if (property == u"text-wrap" || property == u"text-wrap-mode") return is({"wrap"});
  if (property == u"text-align") return is({"start"});
  if (property.startsWith(u"text-decoration-")) return is({"initial", "none", "currentcolor"});
  if (property == u"display") return value.startsWith(u"inline");
  if (property == u"background-color") return is({"initial", "transparent", "rgba(0, 0, 0, 0)"});
  return false;
}

// The style without the engine's declarations; *changed when any went.
QString CleanedStyle(const QString& style, bool* changed) {
  QStringList kept;
  for (const QString& declaration : CssDeclarations(style)) {
    const QString d = declaration.trimmed();
    if (d.isEmpty()) continue;
    const qsizetype colon = d.indexOf(u':');
    if (colon > 0 && EngineDeclaration(d.left(colon).trimmed().toLower(), d.mid(colon + 1).toLower())) {
      *changed = true;
      continue;
    }
    kept.append(d);
  }
  return kept.isEmpty() ? QString() : kept.join(QStringLiteral("; ")) + u';';
}

// An attribute as the editor's page writes it.
QString AttributeText(QStringView name, const QString& value, bool hasValue) {
  if (!hasValue) return u' ' + name.toString();
  static const QRegularExpression bare(QStringLiteral("^[A-Za-z0-9_-]+$"));
  if (name.compare(u"type", Qt::CaseInsensitive) == 0 && bare.match(value).hasMatch())
    return u' ' + name.toString() + u'=' + value;
  QString escaped = value;
  escaped.replace(u'&', QStringLiteral("&amp;")).replace(u'"', QStringLiteral("&quot;"));
  escaped.replace(QChar(0xA0), kNbsp);
  return u' ' + name.toString() + QStringLiteral("=\"") + escaped + u'"';
}

struct OpenElement {
  QString name;      // lower case
  QString endTag;    // as it is written
  QString startTag;  // as written out (a paragraph is opened again with it)
  bool dropEnd = false;
  bool broken = false;  // a paragraph ended by a block inside it; its end tag goes
  qsizetype startAt = 0;
  bool atLineStart = false;  // its line break was there before it (after a block)
};

class Cleaner {
 public:
  Cleaner(QStringView html, const QSet<QString>& authorStyles) : html(html), authorStyles(authorStyles) {
    out.reserve(html.size() + html.size() / 16);
  }

  QString Run() {
    LineBreak();
    HtmlTokenizer tokenizer(html);
    HtmlToken token;
    while (tokenizer.Next(&token)) {
      const QStringView written = html.mid(token.begin, token.end - token.begin);
      if (verbatimDepth > 0 && !EndsVerbatim(token)) {
        out += written;
        continue;
      }
      switch (token.type) {
        case HtmlTokenType::Text:
          Text(written);
          break;
        case HtmlTokenType::StartTag:
          StartTag(token, written);
          break;
        case HtmlTokenType::EndTag:
          EndTag(token, written);
          break;
        default:  // comments, declarations, raw text: as written
          Content();
          out += written;
          afterInlineTag = false;
          break;
      }
    }
    LineBreak();
    return out;
  }

 private:
  bool EndsVerbatim(const HtmlToken& token) {
    if (token.type == HtmlTokenType::StartTag && token.IsNamed(verbatimName) && !token.selfClosing)
      ++verbatimDepth;
    return token.type == HtmlTokenType::EndTag && token.IsNamed(verbatimName) && --verbatimDepth == 0;
  }

  void TrimBlanks() {
    qsizetype n = out.size();
    while (n > 0 && IsBlank(out[n - 1])) --n;
    out.truncate(n);
  }
  // A no-break space after a word, last in its block, shows nothing.
  void TrimLastNbsp() {
    if (!out.endsWith(kNbsp) || out.size() <= kNbsp.size()) return;
    const QChar before = out[out.size() - kNbsp.size() - 1];
    if (!IsBlank(before) && before != u'>' && before != u';') out.chop(kNbsp.size());
  }
  void LineBreak() {
    TrimBlanks();
    out += QStringLiteral("\r\n");
    skipBlanks = true;
    afterInlineTag = false;
  }
  // Between a word and an inline tag a plain blank shows the same.
  void RelaxNbspBeforeTag() {
    if (!out.endsWith(kNbsp) || out.size() <= kNbsp.size()) return;
    const QChar before = out[out.size() - kNbsp.size() - 1];
    if (!IsBlank(before) && before != u'>' && before != u';')
      out.replace(out.size() - kNbsp.size(), kNbsp.size(), u' ');
  }

  // The text written last ends in a word (so a blank after the next inline
  // tag shows as one even when plain).
  bool AfterWord() const {
    return !out.isEmpty() && !IsBlank(out.back()) && out.back() != u'>' && out.back() != u';';
  }

  // The innermost open element whose tags are written (a span whose tags
  // went counts for nothing).
  OpenElement* Top() {
    for (qsizetype i = stack.size() - 1; i >= 0; --i)
      if (!stack[i].dropEnd) return &stack[i];
    return nullptr;
  }

  // Content goes into the paragraph a block ended: it is opened again.
  void Content() {
    OpenElement* top = Top();
    if (top && top->broken) {
      out += top->startTag;
      top->broken = false;
    }
    paragraphHasContent = true;
    skipBlanks = false;
  }

  void Text(QStringView text) {
    if (skipBlanks) {
      qsizetype i = 0;
      while (i < text.size() && IsBlank(text[i])) ++i;
      text = text.mid(i);
      if (text.isEmpty()) return;
    }
    bool blank = true;
    for (QChar c : text)
      if (!IsBlank(c)) {
        blank = false;
        break;
      }
    if (!blank) Content();
    if (afterInlineTag && text.startsWith(kNbsp) && text.size() > kNbsp.size() &&
        !IsBlank(text[kNbsp.size()]) && text[kNbsp.size()] != u'&') {
      out += u' ';
      text = text.mid(kNbsp.size());
    }
    out += text;
    afterInlineTag = false;
  }

  // The paragraph on top ends before a block: with its end tag, or, when
  // nothing was in it yet, its start tag goes.
  void EndParagraph(OpenElement& p) {
    if (!paragraphHasContent) {
      out.truncate(p.startAt);
    } else {
      TrimBlanks();
      TrimLastNbsp();
      out += p.endTag;
      LineBreak();
    }
    p.broken = true;
  }

  // The tag as written, or without the engine's styles; empty when the tag
  // goes (a span or font left without attributes).
  QString TagText(const HtmlToken& token, QStringView written, const QString& name) {
    const HtmlAttribute* style = token.Attribute(u"style");
    if (!style || !style->hasValue) return written.toString();
    const QString value = style->Value();
    if (authorStyles.contains(NormalStyle(value))) return written.toString();
    bool changed = false;
    const QString cleaned = CleanedStyle(value, &changed);
    if (!changed) return written.toString();
    QString tag = u'<' + token.name.toString();
    int attributes = 0;
    for (const HtmlAttribute& a : token.attributes) {
      if (&a == style) {
        if (cleaned.isEmpty()) continue;
        tag += AttributeText(a.name, cleaned, true);
      } else {
        tag += AttributeText(a.name, a.hasValue ? a.Value() : QString(), a.hasValue);
      }
      ++attributes;
    }
    if (attributes == 0 && (name == u"span" || name == u"font")) return QString();
    return tag + (token.selfClosing ? QStringLiteral("/>") : QStringLiteral(">"));
  }

  void StartTag(const HtmlToken& token, QStringView written) {
    const QString name = token.name.toString().toLower();
    const QString tag = TagText(token, written, name);
    if (tag.isEmpty()) {
      // Its tags go; only what it holds is written.
      OpenElement element;
      element.name = name;
      element.dropEnd = true;
      stack.append(element);
      return;
    }
    OpenElement* top = Top();
    const unsigned kind = KindOf(name);
    if ((kind & EndsParagraph) && top && top->name == u"p" && !top->broken) EndParagraph(*top);
    const bool lineBlock = kind & LineBlock;
    const bool container = kind & Container;
    const bool ownLine = kind & OwnLine;
    // Right after a line break of a block boundary (not one in the text).
    const bool atLineStart = skipBlanks && out.endsWith(QLatin1String("\r\n"));
    if (lineBlock || container || ownLine) {
      LineBreak();
    } else {
      RelaxNbspBeforeTag();
      Content();
    }
    const qsizetype startAt = out.size();
    const bool afterWord = AfterWord();
    out += tag;
    afterInlineTag = !(lineBlock || container || ownLine) && afterWord;
    skipBlanks = false;
    if (!(kind & Void) && !token.selfClosing) {
      OpenElement element;
      element.name = name;
      element.endTag = QStringLiteral("</") + token.name.toString() + u'>';
      element.startTag = tag;
      element.dropEnd = tag.isEmpty();
      element.startAt = startAt;
      element.atLineStart = atLineStart;
      stack.append(element);
      if (name == u"p") paragraphHasContent = false;
      if (kind & Verbatim) {
        verbatimName = name;
        verbatimDepth = 1;
        return;
      }
    }
    if (container || ownLine || name == u"br") LineBreak();
    if (lineBlock) skipBlanks = true;
  }

  void EndTag(const HtmlToken& token, QStringView written) {
    const QString name = token.name.toString().toLower();
    const unsigned kind = KindOf(name);
    const bool wasVerbatim = (kind & Verbatim) && verbatimDepth == 0 && !verbatimName.isEmpty();
    if (wasVerbatim) verbatimName.clear();
    qsizetype at = stack.size() - 1;
    while (at >= 0 && stack[at].name != name) --at;
    if (at < 0) {
      // A paragraph's end tag without its paragraph goes; other stray end tags stay.
      if (name == u"p") return;
      RelaxNbspBeforeTag();
      Content();
      afterInlineTag = AfterWord();
      out += written;
      return;
    }
    const OpenElement element = stack[at];
    stack.resize(at);
    if (element.broken || element.dropEnd) return;
    // A bare paragraph with nothing in it between blocks (what a browser
    // makes of a stray </P>) shows nothing and goes.
    if (name == u"p" && !paragraphHasContent && element.atLineStart &&
        element.startTag.compare(u"<p>", Qt::CaseInsensitive) == 0) {
      out.truncate(element.startAt);
      skipBlanks = true;
      afterInlineTag = false;
      return;
    }
    if (kind & LineBlock) {
      if (!wasVerbatim) {
        TrimBlanks();
        TrimLastNbsp();
      }
      out += written;
      LineBreak();
    } else if (kind & Container) {
      LineBreak();
      out += written;
      LineBreak();
    } else {
      RelaxNbspBeforeTag();
      afterInlineTag = AfterWord();
      out += written;
      skipBlanks = false;
    }
  }

  QStringView html;
  const QSet<QString>& authorStyles;
  QString out;
  QList<OpenElement> stack;
  bool skipBlanks = false;
  bool afterInlineTag = false;
  bool paragraphHasContent = false;
  QString verbatimName;
  int verbatimDepth = 0;
};

}  // namespace

QSet<QString> AuthorStyles(QStringView html) {
  QSet<QString> styles;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type != HtmlTokenType::StartTag) continue;
    if (const HtmlAttribute* style = token.Attribute(u"style"); style && style->hasValue)
      styles.insert(NormalStyle(style->Value()));
  }
  return styles;
}

QString CleanPageBody(QStringView body, const QSet<QString>& authorStyles) {
  return Cleaner(body, authorStyles).Run();
}

QString StoredPageText(const PageParts& parts, QStringView body, const QSet<QString>& authorStyles) {
  // The body element's own tags join the head and the end as the page had
  // them; the clean text begins and ends with a line break of its own.
  QString cleaned = CleanPageBody(body, authorStyles).mid(2);
  if (parts.whole) return cleaned;
  cleaned.chop(2);
  return parts.prefix + cleaned + parts.suffix;
}
