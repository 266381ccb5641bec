#include "model/contents_model.h"

#include <QSet>

QModelIndex ContentsModel::CreateTopic(const QModelIndex& selected, const QString& title,
                                       const QString& fileName, bool asSubtopic) {
  auto record = std::make_unique<TopicData>();
  record->fileName = fileName;
  if (asSubtopic && selected.isValid()) return Insert(selected, rowCount(selected), title, std::move(record));
  // A topic goes right after the selected one; with nothing selected, last.
  const QModelIndex parent = selected.parent();
  return Insert(parent, selected.isValid() ? selected.row() + 1 : rowCount(parent), title, std::move(record));
}

QStringList ContentsModel::PagesGoingWith(const QModelIndex& topic) const {
  if (!NodeAt(topic)) return {};
  QStringList pages;
  QSet<QString> seen;
  for (const QModelIndex& index : Subtree(topic)) {
    const TopicData* record = RecordAt(index);
    if (!record || record->fileName.isEmpty() || seen.contains(record->fileName)) continue;
    seen.insert(record->fileName);
    pages << record->fileName;
  }
  // A page that a topic outside the subtree still shows stays, with its entries and number.
  QSet<QString> stillShown;
  std::vector<QModelIndex> work;
  for (int row = rowCount() - 1; row >= 0; --row) work.push_back(index(row, 0));
  while (!work.empty() && !pages.isEmpty()) {
    const QModelIndex index = work.back();
    work.pop_back();
    if (index == topic) continue;
    if (const TopicData* record = RecordAt(index)) stillShown.insert(record->fileName);
    for (int row = rowCount(index) - 1; row >= 0; --row) work.push_back(this->index(row, 0, index));
  }
  pages.removeIf([&](const QString& page) { return stillShown.contains(page); });
  return pages;
}

QStringList ContentsModel::DeleteTopic(const QModelIndex& topic) {
  const QStringList pages = PagesGoingWith(topic);
  if (NodeAt(topic)) Remove(topic);
  return pages;
}

bool ContentsModel::MoveTopic(const QModelIndex& dragged, ContentsDrop drop, const QModelIndex& target) {
  if (!NodeAt(dragged)) return false;
  switch (drop) {
    case ContentsDrop::AsLastChild:
      return NodeAt(target) && Move(dragged, target, rowCount(target));
    case ContentsDrop::AtEndOfTopLevel:
      return Move(dragged, QModelIndex(), rowCount());
    case ContentsDrop::BeforeItem:
      if (!NodeAt(target)) return false;
      // Not before a node of its own subtree.
      for (QModelIndex p = target; p.isValid(); p = p.parent())
        if (p == dragged) return false;
      return Move(dragged, target.parent(), target.row());
    case ContentsDrop::Nothing:
      break;
  }
  return false;
}

bool ContentsModel::ShiftTopic(const QModelIndex& topic, TopicShift shift) {
  if (!NodeAt(topic)) return false;
  const QModelIndex parent = topic.parent();
  const int row = topic.row();
  switch (shift) {
    case TopicShift::Up:
      return row > 0 && Move(topic, parent, row - 1);
    case TopicShift::Down:
      return row + 1 < rowCount(parent) && Move(topic, parent, row + 2);
    case TopicShift::In: {
      if (row == 0) return false;
      const QModelIndex previous = index(row - 1, 0, parent);
      return Move(topic, previous, rowCount(previous));
    }
    case TopicShift::Out:
      return parent.isValid() && Move(topic, parent.parent(), parent.row() + 1);
  }
  return false;
}

std::vector<SubtopicLink> ContentsModel::SubtopicLinks(const QModelIndex& topic) const {
  std::vector<SubtopicLink> links;
  if (!NodeAt(topic)) return links;
  for (int row = 0; row < rowCount(topic); ++row) {
    const QModelIndex child = index(row, 0, topic);
    const TopicData* record = RecordAt(child);
    links.push_back({CaptionAt(child), record ? record->fileName : QString()});
  }
  return links;
}

Qt::ItemFlags ContentsModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
         Qt::ItemIsDropEnabled | Qt::ItemIsEditable;
}
