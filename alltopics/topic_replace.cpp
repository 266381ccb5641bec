#include "alltopics/topic_replace.h"

#include <QSet>
#include <utility>

#include "platform/codepage.h"
#include "platform/html_text.h"
#include "platform/html_tokenizer.h"
#include "platform/project_paths.h"
#include "platform/text_file.h"

namespace {

using Span = std::pair<qsizetype, qsizetype>;  // start, end

// Text as a page's source writes it: & < > as entities.
QString AsPageText(const QString& text) {
  QString out = text;
  out.replace(u'&', QLatin1String("&amp;"));
  out.replace(u'<', QLatin1String("&lt;"));
  out.replace(u'>', QLatin1String("&gt;"));
  return out;
}

// The spans of a page's source that are its text, its tags read by the
// program's one HTML tokenizer: outside tags (a ">" inside a quoted value
// included), comments, scripts and styles.
QList<Span> TextSpans(const QString& page) {
  QList<Span> spans;
  HtmlTokenizer tokenizer(page);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    const bool text =
        token.type == HtmlTokenType::Text ||
        (token.type == HtmlTokenType::RawText && !token.IsNamed(u"script") && !token.IsNamed(u"style"));
    if (!text || token.end <= token.begin) continue;
    if (!spans.isEmpty() && spans.last().second == token.begin)
      spans.last().second = token.end;
    else
      spans.append({token.begin, token.end});
  }
  return spans;
}

bool IsWordCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_'; }

// Where the query matches in a page's source.
QList<Span> Matches(const QString& page, const AllTopicsQuery& query) {
  const QString needle = query.inSource ? query.phrase : AsPageText(query.phrase);
  QList<Span> found;
  if (needle.isEmpty()) return found;
  const QList<Span> spans = query.inSource ? QList<Span>{{0, page.size()}} : TextSpans(page);
  const Qt::CaseSensitivity cs = query.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  qsizetype span = 0;
  for (qsizetype at = page.indexOf(needle, 0, cs); at >= 0;) {
    const qsizetype end = at + needle.size();
    while (span < spans.size() && spans.at(span).second < end) ++span;
    if (span == spans.size()) break;
    bool take = at >= spans.at(span).first;
    if (take && query.wholeWord)
      take = (at == 0 || !IsWordCharacter(page.at(at - 1))) &&
             (end == page.size() || !IsWordCharacter(page.at(end)));
    if (take) found.append({at, end});
    at = page.indexOf(needle, take ? end : at + 1, cs);
  }
  return found;
}

QString ContextOf(const QString& page, qsizetype at, qsizetype end) {
  const qsizetype lineStart = page.lastIndexOf(u'\n', at > 0 ? at - 1 : 0) + 1;
  qsizetype lineEnd = page.indexOf(u'\n', end);
  if (lineEnd < 0) lineEnd = page.size();
  // At most some 60 characters each side of the match.
  const qsizetype from = std::max(lineStart, at - 60);
  const qsizetype to = std::min(lineEnd, end + 60);
  return (from > lineStart ? QStringLiteral("...") : QString()) + page.mid(from, to - from).simplified() +
         (to < lineEnd ? QStringLiteral("...") : QString());
}

// Each page of the topics once (letter case and "\" ignored), under its first title.
QList<TopicPageRef> DistinctPages(const QList<TopicPageRef>& topics) {
  QList<TopicPageRef> pages;
  QSet<QString> seen;
  for (const TopicPageRef& topic : topics) {
    QString key = WithoutAnchor(topic.page).trimmed();
    key.replace(u'\\', u'/');
    if (key.isEmpty() || seen.contains(key.toCaseFolded())) continue;
    seen.insert(key.toCaseFolded());
    pages.append(TopicPageRef{topic.title, key});
  }
  return pages;
}

}  // namespace

TopicSearch FindInTopics(const QString& projectFolder, const QList<TopicPageRef>& topics,
                         const AllTopicsQuery& query, int codePage) {
  TopicSearch search;
  for (const TopicPageRef& topic : DistinctPages(topics)) {
    const Result<QByteArray> bytes = ReadFileBytes(ResolveProjectPath(projectFolder, topic.page));
    if (!bytes) {
      search.unreadable.append(bytes.Message());
      continue;
    }
    const QString page = DecodeCodePage(*bytes, codePage);
    for (const auto& [at, end] : Matches(page, query)) {
      const int line = static_cast<int>(QStringView(page).left(at).count(u'\n')) + 1;
      search.matches.append(
          TopicMatch{topic.page, topic.title, line, at, end - at, ContextOf(page, at, end)});
    }
  }
  return search;
}

Result<ReplaceStep> ReplaceInTopics(const QString& projectFolder, const QList<TopicPageRef>& topics,
                                    const AllTopicsQuery& query, const QString& replacement, int codePage,
                                    const TopicMatch* only) {
  const QString inserted = query.inSource ? replacement : AsPageText(replacement);
  ReplaceStep step;
  for (const TopicPageRef& topic : DistinctPages(topics)) {
    if (only && topic.page.compare(only->page, Qt::CaseInsensitive) != 0) continue;
    const QString path = ResolveProjectPath(projectFolder, topic.page);
    const Result<QByteArray> before = ReadFileBytes(path);
    if (!before) {
      if (only) return Fail(before.Message());
      continue;  // FindInTopics names it
    }
    QString page = DecodeCodePage(*before, codePage);
    QList<Span> found = Matches(page, query);
    if (only) {
      const Span wanted{only->position, only->position + only->length};
      found = found.contains(wanted) ? QList<Span>{wanted} : QList<Span>{};
    }
    for (auto it = found.crbegin(); it != found.crend(); ++it)
      page.replace(it->first, it->second - it->first, inserted);
    const QByteArray after = EncodeCodePage(page, codePage);
    if (found.isEmpty() || after == *before) continue;
    if (const Status written = WriteFileBytes(path, after); !written) {
      for (const ReplaceStep::Page& done : std::as_const(step.pages))
        (void)WriteFileBytes(done.path, done.before);
      return Fail(written.Message());
    }
    step.pages.append(ReplaceStep::Page{path, *before, after});
    step.replaced += static_cast<int>(found.size());
  }
  return step;
}

Status UndoReplace(const ReplaceStep& step) {
  for (const ReplaceStep::Page& page : step.pages) {
    const Result<QByteArray> now = ReadFileBytes(page.path);
    if (!now || *now != page.after)
      return Fail(
          QStringLiteral("%1 was changed after the replace; undoing it would lose that, so nothing was "
                         "undone")
              .arg(page.path));
  }
  for (const ReplaceStep::Page& page : step.pages) {
    if (const Status written = WriteFileBytes(page.path, page.before); !written) return written;
  }
  return {};
}
