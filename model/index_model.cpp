#include "model/index_model.h"

#include "formats/project/project_file.h"

#include <QSet>

#include <algorithm>

namespace {

std::unique_ptr<IndexEntryData> Entry(const QString& keyword, const QString& fileName,
                                      const QString& topicCaption) {
  auto record = std::make_unique<IndexEntryData>();
  record->Keyword = keyword;
  record->FileName = fileName;
  record->TopicCaption = topicCaption;
  return record;
}

}  // namespace

QModelIndex IndexModel::AddEntry(AttachMode mode, const QModelIndex& target, const QString& keyword,
                                 const QString& fileName, const QString& topicCaption) {
  QModelIndex parent;
  switch (mode) {
    case AttachMode::None:
      return {};
    case AttachMode::Child:
      if (!NodeAt(target)) return {};
      parent = target;
      if (rowCount(target) == 0) {
        // The keyword's own topic becomes its first entry; the keyword keeps its record.
        const IndexEntryData* own = RecordAt(target);
        const QString caption = CaptionAt(target);
        Insert(target, 0, caption,
               Entry(caption, own ? own->FileName : QString(), own ? own->TopicCaption : QString()));
      }
      break;
    case AttachMode::Sibling:
      parent = target.parent();
      break;
    case AttachMode::TopLevel:
      break;
  }
  // After the captions it does not come before: as appended, then sorted.
  const Node* into = NodeOrRoot(parent);
  auto node = std::make_unique<Node>();
  node->Caption = keyword;
  const auto at = std::upper_bound(into->Children.begin(), into->Children.end(), node, CaptionLess());
  return Insert(parent, int(at - into->Children.begin()), keyword, Entry(keyword, fileName, topicCaption));
}

void IndexModel::RemoveEntry(const QModelIndex& entry) {
  if (!NodeAt(entry)) return;
  const QPersistentModelIndex keyword = entry.parent();
  Remove(entry);
  // A keyword left with a single entry carries that entry's topic itself.
  Node* node = NodeAt(keyword);
  if (!node || node->Children.size() != 1 || !node->Children[0]->Children.empty()) return;
  if (!node->Data) node->Data = Entry(node->Caption, {}, {});
  if (const IndexEntryData* last = node->Children[0]->Data.get()) {
    node->Data->TopicCaption = last->TopicCaption;
    node->Data->FileName = last->FileName;
  } else {
    node->Data->TopicCaption.clear();
    node->Data->FileName.clear();
  }
  Remove(index(0, 0, keyword));
}

namespace {
// A page named in an entry as a comparable key: no "#anchor", and as the
// project's [FILES] lines are compared (the compiler finds it the same way).
QString PageKey(const QString& fileName) { return ListedKey(fileName.section(u'#', 0, 0)); }
}  // namespace

int IndexModel::CountEntriesLeadingTo(const QStringList& fileNames) const {
  QSet<QString> keys;
  for (const QString& name : fileNames)
    if (!name.isEmpty()) keys.insert(PageKey(name));
  int count = 0;
  std::vector<QModelIndex> work;
  for (int row = rowCount() - 1; row >= 0; --row) work.push_back(index(row, 0));
  while (!work.empty()) {
    const QModelIndex at = work.back();
    work.pop_back();
    const int children = rowCount(at);
    const IndexEntryData* record = RecordAt(at);
    if (children == 0 && record && keys.contains(PageKey(record->FileName))) ++count;
    for (int row = children - 1; row >= 0; --row) work.push_back(index(row, 0, at));
  }
  return count;
}

int IndexModel::RemoveEntriesLeadingTo(const QString& fileName) {
  if (fileName.isEmpty()) return 0;
  const QString key = PageKey(fileName);
  int removed = 0;
  // Searched again from the top after every removal: folding changes the tree.
  for (;;) {
    QModelIndex found;
    std::vector<QModelIndex> work;
    for (int row = rowCount() - 1; row >= 0; --row) work.push_back(index(row, 0));
    while (!work.empty() && !found.isValid()) {
      const QModelIndex at = work.back();
      work.pop_back();
      const int children = rowCount(at);
      const IndexEntryData* record = RecordAt(at);
      if (children == 0 && record && PageKey(record->FileName) == key) found = at;
      for (int row = children - 1; row >= 0; --row) work.push_back(index(row, 0, at));
    }
    if (!found.isValid()) return removed;
    RemoveEntry(found);
    ++removed;
  }
}

void IndexModel::Fill(std::vector<IndexNode>&& forest) {
  RecordTreeModel::Fill(std::move(forest));
  SortAll();
}

bool IndexModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!RecordTreeModel::setData(index, value, role)) return false;
  // Its place among the others: the first whose caption does not come
  // before it; it stays where it is when that is beside an equal caption.
  const Node* node = NodeAt(index);
  const Node* parent = node->Parent;
  const int from = node->Row;
  int to = 0;
  while (to < int(parent->Children.size()) &&
         (to == from || captionOrder.Before(parent->Children[to]->Caption, parent->Children[from]->Caption)))
    ++to;
  const int place = to > from ? to - 1 : to;  // counted without the node
  const bool equalBefore =
      from > 0 &&
      !captionOrder.Before(parent->Children[from - 1]->Caption, parent->Children[from]->Caption) &&
      !captionOrder.Before(parent->Children[from]->Caption, parent->Children[from - 1]->Caption);
  if (place < from && equalBefore) return true;
  if (place != from) Move(index, index.parent(), place > from ? place + 1 : place);
  return true;
}

void IndexModel::sort(int, Qt::SortOrder) { SortAll(); }

void IndexModel::SortAll() {
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList before = persistentIndexList();
  std::vector<Node*> nodes;
  for (const QModelIndex& index : before) nodes.push_back(NodeAt(index));
  std::vector<Node*> work{&root};
  while (!work.empty()) {
    Node* node = work.back();
    work.pop_back();
    // Opening fills the tree in this order already: sorting is then not needed.
    if (!std::is_sorted(node->Children.begin(), node->Children.end(), CaptionLess()))
      std::stable_sort(node->Children.begin(), node->Children.end(), CaptionLess());
    Renumber(node, 0);
    for (auto& child : node->Children) work.push_back(child.get());
  }
  QModelIndexList after;
  for (Node* node : nodes) after << (node ? createIndex(node->Row, 0, node) : QModelIndex());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::ItemFlags IndexModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
         Qt::ItemIsDropEnabled | Qt::ItemIsEditable;
}
