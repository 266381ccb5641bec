#include "editor/page_split.h"

#include "platform/html_tokenizer.h"

namespace {

// Where the tags that cut a page stand, read as a browser reads them
// (nothing inside a comment, a script or a style block counts).
struct Landmarks {
  qsizetype bodyStart = -1;      // the first <BODY> tag
  qsizetype bodyEnd = -1;        // just after it
  qsizetype headCloseEnd = -1;   // just after the first </HEAD>
  bool hasHtmlOrHead = false;    // an <HTML> or <HEAD> start tag
  qsizetype lastBodyClose = -1;  // the last </BODY> tag
  qsizetype lastBodyCloseEnd = -1;
  qsizetype lastHtmlClose = -1;  // the last </HTML> tag
};

Landmarks FindLandmarks(const QString& html) {
  Landmarks marks;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type == HtmlTokenType::StartTag) {
      // A title (or other element of text) left open would take the rest of
      // the page with it; the page's tags after it still count.
      if (!token.IsNamed(u"script") && !token.IsNamed(u"style") && !tokenizer.RawTextEnds())
        tokenizer.LeaveRawText();
      if (marks.bodyStart < 0 && token.IsNamed(u"body")) {
        marks.bodyStart = token.begin;
        marks.bodyEnd = token.end;
      }
      if (token.IsNamed(u"html") || token.IsNamed(u"head")) marks.hasHtmlOrHead = true;
    } else if (token.type == HtmlTokenType::EndTag) {
      if (marks.headCloseEnd < 0 && token.IsNamed(u"head")) marks.headCloseEnd = token.end;
      if (token.IsNamed(u"body")) {
        marks.lastBodyClose = token.begin;
        marks.lastBodyCloseEnd = token.end;
      }
      if (token.IsNamed(u"html")) marks.lastHtmlClose = token.begin;
    }
  }
  return marks;
}

// The head elements that matter for display, each on a line of its own:
// the doctype, LINK tags, and STYLE and TITLE elements with their content.
QString DisplayedHeadElements(const QString& head) {
  QString out;
  QString doctype;
  HtmlTokenizer tokenizer(head);
  HtmlToken token;
  qsizetype elementStart = -1;
  while (tokenizer.Next(&token)) {
    const QStringView span = QStringView(head).mid(token.begin, token.end - token.begin);
    if (token.type == HtmlTokenType::Declaration && doctype.isEmpty() && !token.unterminated &&
        span.startsWith(u"<!DOCTYPE", Qt::CaseInsensitive)) {
      doctype = span.toString() + u'\n';
    } else if (token.type == HtmlTokenType::StartTag && token.IsNamed(u"link")) {
      out += span;
      out += u'\n';
    } else if (token.type == HtmlTokenType::StartTag &&
               (token.IsNamed(u"style") || token.IsNamed(u"title"))) {
      elementStart = token.begin;
    } else if (token.type == HtmlTokenType::EndTag && elementStart >= 0 &&
               (token.IsNamed(u"style") || token.IsNamed(u"title"))) {
      out += QStringView(head).mid(elementStart, token.end - elementStart);
      out += u'\n';
      elementStart = -1;
    }
  }
  return doctype + QStringLiteral("<html><head><meta charset=\"utf-8\">\n") + out;
}

}  // namespace

PageParts SplitPage(const QString& html) {
  PageParts parts;
  const Landmarks marks = FindLandmarks(html);
  if (marks.bodyStart >= 0) {
    const qsizetype open = marks.bodyEnd;
    parts.prefix = html.left(marks.bodyStart);
    parts.bodyTag = html.mid(marks.bodyStart, open - marks.bodyStart);
    if (marks.lastBodyClose >= open) {
      parts.bodyContent = html.mid(open, marks.lastBodyClose - open);
      parts.suffix = html.mid(marks.lastBodyCloseEnd);
    } else {
      const qsizetype close = marks.lastHtmlClose >= open ? marks.lastHtmlClose : html.size();
      parts.bodyContent = html.mid(open, close - open);
      parts.suffix = html.mid(close);
    }
    return parts;
  }
  if (marks.headCloseEnd >= 0) {
    const qsizetype afterHead = marks.headCloseEnd;
    parts.prefix = html.left(afterHead) + QStringLiteral("\r\n");
    const qsizetype htmlClose = marks.lastHtmlClose >= afterHead ? marks.lastHtmlClose : html.size();
    parts.bodyContent = html.mid(afterHead, htmlClose - afterHead);
    parts.suffix = htmlClose < html.size() ? QStringLiteral("\r\n") + html.mid(htmlClose) : QString();
    return parts;
  }
  if (marks.hasHtmlOrHead) {
    parts.whole = true;
    parts.bodyContent = html;
    return parts;
  }
  // A bare fragment becomes the body of a plain page.
  parts.prefix = QStringLiteral("<HTML>\r\n<HEAD>\r\n</HEAD>\r\n");
  parts.bodyContent = html;
  parts.suffix = QStringLiteral("\r\n</HTML>\r\n");
  return parts;
}

QString ServedPage(const PageParts& parts) {
  if (parts.whole) return parts.bodyContent;
  QString out = DisplayedHeadElements(parts.prefix);
  out += QStringLiteral("</head>");
  out += parts.bodyTag.isEmpty() ? QStringLiteral("<body>") : parts.bodyTag;
  out += parts.bodyContent;
  out += QStringLiteral("</body></html>");
  return out;
}

QString PageTitle(const PageParts& parts) {
  return HtmlTitleText(parts.whole ? parts.bodyContent : parts.prefix);
}

QString EmptyPageHtml() {
  return QStringLiteral("<HTML>\r\n<HEAD>\r\n</HEAD>\r\n<BODY>\r\n</BODY>\r\n</HTML>\r\n");
}
