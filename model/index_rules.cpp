#include "model/index_rules.h"

AttachMode IndexAttachMode(TreeHitKind hit, int level) {
  switch (hit) {
    case TreeHitKind::OnItem:
      return level == 0 ? AttachMode::Child : AttachMode::Sibling;
    case TreeHitKind::Below:
      return AttachMode::TopLevel;
    case TreeHitKind::Indent:
    case TreeHitKind::RightOfLabel:
      return AttachMode::Sibling;
    case TreeHitKind::Elsewhere:
      break;
  }
  return AttachMode::None;
}

QString CutDroppedText(const QString& text) {
  if (text.size() <= kMaxDroppedTextLength) return text;
  qsizetype n = kMaxDroppedTextLength;
  if (text.at(n - 1).isHighSurrogate()) --n;
  return text.left(n);
}

QString KeywordFromText(const QString& text) {
  // Blanks and control characters: everything up to and including the blank.
  const auto blankOrControl = [](QChar c) { return c.unicode() <= 0x20; };
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && blankOrControl(text.at(begin))) ++begin;
  while (end > begin && blankOrControl(text.at(end - 1))) --end;
  return text.mid(begin, end - begin);
}

QString IndexPropertiesText(const IndexEntryData* record) {
  QString text = QStringLiteral("Index item properties \r\n");
  if (!record) return text;
  if (!record->keyword.isEmpty()) text += "Keyword: " + record->keyword + "\r\n";
  if (!record->topicCaption.isEmpty()) text += "Topic caption: " + record->topicCaption + "\r\n";
  if (!record->fileName.isEmpty()) text += "File name: " + record->fileName + "\r\n";
  // A keyword's further topics, each with its two lines.
  for (const IndexEntryData& more : record->moreTopics) {
    if (!more.topicCaption.isEmpty()) text += "Topic caption: " + more.topicCaption + "\r\n";
    if (!more.fileName.isEmpty()) text += "File name: " + more.fileName + "\r\n";
  }
  return text;
}
