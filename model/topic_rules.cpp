#include "model/topic_rules.h"

#include <QRegularExpression>

#include "platform/html_text.h"

ContentsDrop ContentsDropFor(TreeHitKind hit) {
  switch (hit) {
    case TreeHitKind::OnItem:
      return ContentsDrop::AsLastChild;
    case TreeHitKind::Below:
      return ContentsDrop::AtEndOfTopLevel;
    case TreeHitKind::Indent:
    case TreeHitKind::RightOfLabel:
      return ContentsDrop::BeforeItem;
    case TreeHitKind::Elsewhere:
      break;
  }
  return ContentsDrop::Nothing;
}

QString ReplaceTitleInPage(const QString& page, const QString& oldTitle, const QString& newTitle,
                           bool* replaced) {
  if (replaced) *replaced = false;
  if (oldTitle.isEmpty()) return page;
  const qsizetype first = page.indexOf(oldTitle, 0, Qt::CaseSensitive);
  if (first < 0) return page;
  QString text = page;
  text.replace(first, oldTitle.size(), newTitle);
  // The second occurrence is looked for after the first one, in the text as it was.
  const qsizetype second = page.indexOf(oldTitle, first + oldTitle.size(), Qt::CaseSensitive);
  if (second >= 0) text.replace(second - oldTitle.size() + newTitle.size(), oldTitle.size(), newTitle);
  if (replaced) *replaced = true;
  return text;
}

QString FillEmptyTitleInPage(const QString& page, const QString& escapedTitle, bool* replaced) {
  static const QRegularExpression emptyTitle(QStringLiteral("(<TITLE[^>]*>)\\s*(</TITLE>)"),
                                             QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression emptyHeading(QStringLiteral("(<H1[^>]*>)(?:\\s|&nbsp;|<BR\\s*/?>)*(</H1>)"),
                                               QRegularExpression::CaseInsensitiveOption);
  QString text = page;
  bool filled = false;
  for (const QRegularExpression* element : {&emptyTitle, &emptyHeading}) {
    const QRegularExpressionMatch match = element->match(text);
    if (!match.hasMatch()) continue;
    text.replace(match.capturedStart(), match.capturedLength(),
                 match.captured(1) + escapedTitle + match.captured(2));
    filled = true;
  }
  if (replaced) *replaced = filled;
  return text;
}

bool IsUsableTitle(const QString& title) { return !title.trimmed().isEmpty(); }

QStringList SubtopicLinksHtml(const std::vector<SubtopicLink>& subtopics) {
  QStringList html{QStringLiteral("<BR>")};
  for (const SubtopicLink& link : subtopics)
    html << "<A href=\"" + EscapeHtml(link.fileName) + "\">" + EscapeHtml(link.caption) + "</A><BR>";
  return html;
}

QString DeleteTopicQuestion(const QString& title, int subtopics, int pageFiles, bool toTrash,
                            int indexEntries) {
  QString question = "Delete topic " + title + " and its " + QString::number(subtopics) + " subtopics?";
  if (indexEntries > 0)
    question += indexEntries == 1
                    ? QStringLiteral("\n\n1 index entry leads to its pages and will be removed.")
                    : "\n\n" + QString::number(indexEntries) +
                          " index entries lead to its pages and will be removed.";
  if (pageFiles <= 0) return question;
  const QString files =
      pageFiles == 1 ? QStringLiteral("1 page file") : QString::number(pageFiles) + " page files";
  if (toTrash) return question + "\n\n" + files + " will be moved to the trash.";
  return question + "\n\n" + files + " will be deleted for good: there is no trash to move them to.";
}
