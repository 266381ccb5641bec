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
  if (!record->Keyword.isEmpty()) text += "Keyword: " + record->Keyword + "\r\n";
  if (!record->TopicCaption.isEmpty()) text += "Topic caption: " + record->TopicCaption + "\r\n";
  if (!record->FileName.isEmpty()) text += "File name: " + record->FileName + "\r\n";
  // A keyword's further topics, each with its two lines.
  for (const IndexEntryData& more : record->MoreTopics) {
    if (!more.TopicCaption.isEmpty()) text += "Topic caption: " + more.TopicCaption + "\r\n";
    if (!more.FileName.isEmpty()) text += "File name: " + more.FileName + "\r\n";
  }
  return text;
}
