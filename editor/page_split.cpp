#include "editor/page_split.h"

#include <QRegularExpression>

#include "platform/html_text.h"

namespace {

bool IsTagEnd(QChar c) { return c.isSpace() || c == u'>' || c == u'/'; }

// Does the text at pos start the tag `name` ("<body", "</body", ...)?
bool TagAt(const QString& s, qsizetype pos, QStringView name) {
  if (pos + name.size() > s.size()) return false;
  if (QStringView(s).mid(pos, name.size()).compare(name, Qt::CaseInsensitive) != 0) return false;
  const qsizetype after = pos + name.size();
  return after >= s.size() || IsTagEnd(s.at(after));
}

// Index just past the '>' that ends the tag starting at pos; quoted
// attribute values may hold '>'. The text's end when the tag never ends.
qsizetype TagEnd(const QString& s, qsizetype pos) {
  QChar quote;
  for (qsizetype i = pos + 1; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
    } else if (c == u'"' || c == u'\'') {
      // Only a quote that opens a value (after '=') starts a quoted run.
      qsizetype j = i - 1;
      while (j > pos && s.at(j).isSpace()) --j;
      if (s.at(j) == u'=') quote = c;
    } else if (c == u'>') {
      return i + 1;
    }
  }
  return s.size();
}

// Start of the first tag `name` outside comments, scripts and style blocks
// at or after from; -1 when there is none.
qsizetype FindTag(const QString& s, QStringView name, qsizetype from = 0) {
  qsizetype i = from;
  while (i < s.size()) {
    i = s.indexOf(u'<', i);
    if (i < 0) return -1;
    if (QStringView(s).mid(i, 4) == u"<!--") {
      const qsizetype end = s.indexOf(QStringLiteral("-->"), i + 4);
      if (end < 0) return -1;
      i = end + 3;
      continue;
    }
    if (TagAt(s, i, name)) return i;
    for (QStringView raw : {QStringView(u"<script"), QStringView(u"<style")}) {
      if (TagAt(s, i, raw)) {
        const QString close = QStringLiteral("</") + raw.mid(1).toString();
        const qsizetype end = s.indexOf(close, TagEnd(s, i), Qt::CaseInsensitive);
        if (end < 0) return -1;
        i = end;
        break;
      }
    }
    ++i;
  }
  return -1;
}

// Start of the last tag `name` at or after from; -1 when there is none.
qsizetype FindLastTag(const QString& s, QStringView name, qsizetype from) {
  qsizetype i = s.size();
  while (i > from) {
    i = s.lastIndexOf(name, i - 1, Qt::CaseInsensitive);
    if (i < from) return -1;
    if (TagAt(s, i, name)) return i;
  }
  return -1;
}

QString StripComments(const QString& s) {
  QString out;
  qsizetype i = 0;
  while (i < s.size()) {
    const qsizetype open = s.indexOf(QStringLiteral("<!--"), i);
    if (open < 0) break;
    out += QStringView(s).mid(i, open - i);
    const qsizetype close = s.indexOf(QStringLiteral("-->"), open + 4);
    if (close < 0) return out;
    i = close + 3;
  }
  out += QStringView(s).mid(i);
  return out;
}

}  // namespace

PageParts SplitPage(const QString& html) {
  PageParts parts;
  const qsizetype body = FindTag(html, u"<body");
  if (body >= 0) {
    const qsizetype open = TagEnd(html, body);
    parts.Prefix = html.left(body);
    parts.BodyTag = html.mid(body, open - body);
    qsizetype close = FindLastTag(html, u"</body", open);
    if (close >= 0) {
      parts.BodyContent = html.mid(open, close - open);
      parts.Suffix = html.mid(TagEnd(html, close));
    } else {
      close = FindLastTag(html, u"</html", open);
      if (close < 0) close = html.size();
      parts.BodyContent = html.mid(open, close - open);
      parts.Suffix = html.mid(close);
    }
    return parts;
  }
  const qsizetype headClose = FindTag(html, u"</head");
  if (headClose >= 0) {
    const qsizetype afterHead = TagEnd(html, headClose);
    parts.Prefix = html.left(afterHead) + QStringLiteral("\r\n");
    qsizetype htmlClose = FindLastTag(html, u"</html", afterHead);
    if (htmlClose < 0) htmlClose = html.size();
    parts.BodyContent = html.mid(afterHead, htmlClose - afterHead);
    parts.Suffix = htmlClose < html.size() ? QStringLiteral("\r\n") + html.mid(htmlClose) : QString();
    return parts;
  }
  if (FindTag(html, u"<html") >= 0 || FindTag(html, u"<head") >= 0) {
    parts.Whole = true;
    parts.BodyContent = html;
    return parts;
  }
  // A bare fragment becomes the body of a plain page.
  parts.Prefix = QStringLiteral("<HTML>\r\n<HEAD>\r\n</HEAD>\r\n");
  parts.BodyContent = html;
  parts.Suffix = QStringLiteral("\r\n</HTML>\r\n");
  return parts;
}

QString ServedPage(const PageParts& parts) {
  if (parts.Whole) return parts.BodyContent;
  QString out;
  const QString head = StripComments(parts.Prefix);
  static const QRegularExpression doctype(QStringLiteral("<!DOCTYPE[^>]*>"),
                                          QRegularExpression::CaseInsensitiveOption);
  const auto dt = doctype.match(head);
  if (dt.hasMatch()) out += dt.captured(0) + u'\n';
  out += QStringLiteral("<html><head><meta charset=\"utf-8\">\n");
  static const QRegularExpression headElements(
      QStringLiteral("<link\\b[^>]*>|<style\\b[^>]*>.*?</style\\s*>|<title\\b[^>]*>.*?</title\\s*>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  for (auto it = headElements.globalMatch(head); it.hasNext();) out += it.next().captured(0) + u'\n';
  out += QStringLiteral("</head>");
  out += parts.BodyTag.isEmpty() ? QStringLiteral("<body>") : parts.BodyTag;
  out += parts.BodyContent;
  out += QStringLiteral("</body></html>");
  return out;
}

QString PageTitle(const PageParts& parts) {
  const QString head = StripComments(parts.Whole ? parts.BodyContent : parts.Prefix);
  static const QRegularExpression title(
      QStringLiteral("<title\\b[^>]*>(.*?)</title\\s*>"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const auto m = title.match(head);
  if (!m.hasMatch()) return {};
  return DecodeHtmlEntities(m.captured(1)).simplified();
}

QString EmptyPageHtml() {
  return QStringLiteral("<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>\r\n</BODY>\r\n</HTML>\r\n");
}
