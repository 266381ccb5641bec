#include "model/index_model.h"

#include "formats/project/project_file.h"

#include <QSet>

#include <algorithm>

namespace {

std::unique_ptr<IndexEntryData> Entry(const QString& keyword, const QString& fileName,
                                      const QString& topicCaption) {
  auto record = std::make_unique<IndexEntryData>();
  record->keyword = keyword;
  record->fileName = fileName;
  record->topicCaption = topicCaption;
  return record;
}

// A page named in an entry as a comparable key: no "#anchor", and as the
// project's [FILES] lines are compared (the compiler finds it the same way).
QString PageKey(const QString& fileName) { return ListedKey(fileName.section(u'#', 0, 0)); }

bool HasTopic(const IndexEntryData& record) {
  return !record.fileName.isEmpty() || !record.topicCaption.isEmpty();
}

// Siblings of one caption, level by level: a later one without sub-keywords
// gives its topics to the first of them.
void MergeSameKeywords(std::vector<IndexNode>& forest) {
  std::vector<std::vector<IndexNode>*> work{&forest};
  while (!work.empty()) {
    std::vector<IndexNode>* level = work.back();
    work.pop_back();
    bool any = false;
    for (size_t i = 1; i < level->size() && !any; ++i) any = (*level)[i].caption == (*level)[i - 1].caption;
    if (any) {
      std::vector<IndexNode> kept;
      kept.reserve(level->size());
      for (IndexNode& node : *level) {
        const bool joins = !kept.empty() && kept.back().caption == node.caption && node.children.empty() &&
                           node.data && HasTopic(*node.data);
        if (!joins) {
          kept.push_back(std::move(node));
          continue;
        }
        IndexNode& first = kept.back();
        if (!first.data) first.data = Entry(first.caption, {}, {});
        std::vector<IndexEntryData> more = std::move(node.data->moreTopics);
        node.data->moreTopics.clear();
        first.data->moreTopics.push_back(std::move(*node.data));
        for (IndexEntryData& topic : more) first.data->moreTopics.push_back(std::move(topic));
      }
      *level = std::move(kept);
    }
    for (IndexNode& node : *level)
      if (!node.children.empty()) work.push_back(&node.children);
  }
}

}  // namespace

QModelIndex IndexModel::AddEntry(AttachMode mode, const QModelIndex& target, const QString& keyword,
                                 const QString& fileName, const QString& topicCaption) {
  switch (mode) {
    case AttachMode::None:
      return {};
    case AttachMode::Child:
      if (!NodeAt(target)) return {};
      // The keyword itself: one more topic for it.
      if (CaptionAt(target).compare(keyword, Qt::CaseInsensitive) == 0) {
        AddTopic(target, fileName, topicCaption);
        return target;
      }
      return AddKeyword(target, keyword, fileName, topicCaption);
    case AttachMode::Sibling:
      return AddKeyword(target.parent(), keyword, fileName, topicCaption);
    case AttachMode::TopLevel:
      break;
  }
  return AddKeyword({}, keyword, fileName, topicCaption);
}

QModelIndex IndexModel::AddKeyword(const QModelIndex& parent, const QString& keyword, const QString& fileName,
                                   const QString& topicCaption) {
  for (int row = 0; row < rowCount(parent); ++row) {
    const QModelIndex sibling = index(row, 0, parent);
    if (CaptionAt(sibling) != keyword) continue;
    AddTopic(sibling, fileName, topicCaption);
    return sibling;
  }
  return InsertInOrder(parent, keyword, fileName, topicCaption);
}

QModelIndex IndexModel::InsertInOrder(const QModelIndex& parent, const QString& keyword,
                                      const QString& fileName, const QString& topicCaption) {
  // After the captions it does not come before: as appended, then sorted.
  const Node* into = NodeOrRoot(parent);
  auto node = std::make_unique<Node>();
  node->caption = keyword;
  const auto at = std::upper_bound(into->children.begin(), into->children.end(), node, CaptionLess());
  return Insert(parent, int(at - into->children.begin()), keyword, Entry(keyword, fileName, topicCaption));
}

bool IndexModel::AddTopic(const QModelIndex& keyword, const QString& fileName, const QString& topicCaption) {
  Node* node = NodeAt(keyword);
  if (!node) return false;
  for (const IndexEntryData* topic : TopicsAt(keyword))
    if (PageKey(topic->fileName) == PageKey(fileName) &&
        (!fileName.isEmpty() || topic->topicCaption == topicCaption))
      return false;
  if (!node->data) node->data = Entry(node->caption, {}, {});
  if (!HasTopic(*node->data) && node->data->moreTopics.empty() && node->data->params.empty()) {
    node->data->fileName = fileName;
    node->data->topicCaption = topicCaption;
  } else {
    node->data->moreTopics.push_back(*Entry(node->caption, fileName, topicCaption));
  }
  emit dataChanged(keyword, keyword, {Qt::ToolTipRole});
  return true;
}

std::vector<const IndexEntryData*> IndexModel::TopicsAt(const QModelIndex& node) const {
  std::vector<const IndexEntryData*> topics;
  const IndexEntryData* record = RecordAt(node);
  if (!record) return topics;
  if (HasTopic(*record)) topics.push_back(record);
  for (const IndexEntryData& more : record->moreTopics) topics.push_back(&more);
  return topics;
}

bool IndexModel::RemoveTopic(const QModelIndex& keyword, int topic) {
  Node* node = NodeAt(keyword);
  const std::vector<const IndexEntryData*> topics = TopicsAt(keyword);
  if (!node || topic < 0 || topic >= int(topics.size())) return false;
  IndexEntryData& record = *node->data;
  if (topics.size() == 1 && node->children.empty()) {
    RemoveEntry(keyword);
    return true;
  }
  if (topics[topic] == &record) {
    if (record.moreTopics.empty()) {
      // A keyword over sub-keywords keeps grouping them.
      record.fileName.clear();
      record.topicCaption.clear();
    } else {
      // The next topic takes the node's own place, with what it was read with.
      std::vector<IndexEntryData> more = std::move(record.moreTopics);
      IndexEntryData next = std::move(more.front());
      more.erase(more.begin());
      next.moreTopics = std::move(more);
      record = std::move(next);
    }
  } else {
    const int own = HasTopic(record) ? 1 : 0;
    record.moreTopics.erase(record.moreTopics.begin() + (topic - own));
  }
  emit dataChanged(keyword, keyword, {Qt::ToolTipRole});
  return true;
}

void IndexModel::RemoveEntry(const QModelIndex& entry) {
  if (!NodeAt(entry)) return;
  const QPersistentModelIndex keyword = entry.parent();
  Remove(entry);
  FoldSingleChild(keyword);
}

void IndexModel::FoldSingleChild(const QModelIndex& keyword) {
  // A keyword left with a single entry carries that entry's topics itself.
  Node* node = NodeAt(keyword);
  if (!node || node->children.size() != 1 || !node->children[0]->children.empty()) return;
  if (!node->data) node->data = Entry(node->caption, {}, {});
  if (const IndexEntryData* last = node->children[0]->data.get()) {
    node->data->topicCaption = last->topicCaption;
    node->data->fileName = last->fileName;
    node->data->moreTopics = last->moreTopics;
  } else {
    node->data->topicCaption.clear();
    node->data->fileName.clear();
    node->data->moreTopics.clear();
  }
  Remove(index(0, 0, keyword));
}

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
    if (record) {
      if (children == 0 && keys.contains(PageKey(record->fileName))) ++count;
      for (const IndexEntryData& more : record->moreTopics)
        if (keys.contains(PageKey(more.fileName))) ++count;
    }
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
    int topic = -1;
    std::vector<QModelIndex> work;
    for (int row = rowCount() - 1; row >= 0; --row) work.push_back(index(row, 0));
    while (!work.empty() && !found.isValid()) {
      const QModelIndex at = work.back();
      work.pop_back();
      const int children = rowCount(at);
      const std::vector<const IndexEntryData*> topics = TopicsAt(at);
      const IndexEntryData* own = RecordAt(at);
      for (int i = 0; i < int(topics.size()) && !found.isValid(); ++i) {
        // A keyword's own topic counts as an entry only without sub-keywords.
        if (topics[i] == own && children > 0) continue;
        if (PageKey(topics[i]->fileName) == key) {
          found = at;
          topic = i;
        }
      }
      for (int row = children - 1; row >= 0; --row) work.push_back(index(row, 0, at));
    }
    if (!found.isValid()) return removed;
    RemoveTopic(found, topic);
    ++removed;
  }
}

void IndexModel::Fill(std::vector<IndexNode>&& forest) {
  // In order first, so that keywords of one text stand together.
  std::vector<std::vector<IndexNode>*> work{&forest};
  const auto before = [this](const IndexNode& a, const IndexNode& b) {
    return captionOrder.Before(a.caption, b.caption);
  };
  while (!work.empty()) {
    std::vector<IndexNode>* level = work.back();
    work.pop_back();
    if (!std::is_sorted(level->begin(), level->end(), before))
      std::stable_sort(level->begin(), level->end(), before);
    for (IndexNode& node : *level)
      if (!node.children.empty()) work.push_back(&node.children);
  }
  MergeSameKeywords(forest);
  RecordTreeModel::Fill(std::move(forest));
}

std::vector<IndexNode> IndexModel::Forest() const {
  std::vector<IndexNode> forest = RecordTreeModel::Forest();
  std::vector<std::vector<IndexNode>*> work{&forest};
  while (!work.empty()) {
    std::vector<IndexNode>* level = work.back();
    work.pop_back();
    const bool any = std::any_of(level->begin(), level->end(), [](const IndexNode& node) {
      return node.data && !node.data->moreTopics.empty();
    });
    if (any) {
      std::vector<IndexNode> out;
      out.reserve(level->size());
      for (IndexNode& node : *level) {
        std::vector<IndexEntryData> more;
        if (node.data) more.swap(node.data->moreTopics);
        const QString caption = node.caption;
        out.push_back(std::move(node));
        for (IndexEntryData& topic : more) {
          IndexNode added;
          added.caption = caption;
          added.data = std::make_unique<IndexEntryData>(std::move(topic));
          out.push_back(std::move(added));
        }
      }
      *level = std::move(out);
    }
    for (IndexNode& node : *level)
      if (!node.children.empty()) work.push_back(&node.children);
  }
  return forest;
}

QVariant IndexModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::ToolTipRole) return RecordTreeModel::data(index, role);
  QStringList lines;
  for (const IndexEntryData* topic : TopicsAt(index))
    lines << (topic->topicCaption.isEmpty() ? topic->fileName
                                            : topic->topicCaption + " (" + topic->fileName + ")");
  if (lines.isEmpty()) return {};
  return lines.join(u'\n');
}

bool IndexModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!RecordTreeModel::setData(index, value, role)) return false;
  // Renamed to the text of another keyword of its level: one keyword, with the topics of both.
  if (const Node* renamed = NodeAt(index); renamed->children.empty()) {
    for (const auto& sibling : renamed->parent->children) {
      if (sibling.get() == renamed || sibling->caption != renamed->caption) continue;
      const QPersistentModelIndex into = createIndex(sibling->row, 0, sibling.get());
      for (const IndexEntryData* topic : TopicsAt(index))
        AddTopic(into, topic->fileName, topic->topicCaption);
      Remove(index);
      return true;
    }
  }
  // Its place among the others: the first whose caption does not come
  // before it; it stays where it is when that is beside an equal caption.
  const Node* node = NodeAt(index);
  const Node* parent = node->parent;
  const int from = node->row;
  int to = 0;
  while (to < int(parent->children.size()) &&
         (to == from || captionOrder.Before(parent->children[to]->caption, parent->children[from]->caption)))
    ++to;
  const int place = to > from ? to - 1 : to;  // counted without the node
  const bool equalBefore =
      from > 0 &&
      !captionOrder.Before(parent->children[from - 1]->caption, parent->children[from]->caption) &&
      !captionOrder.Before(parent->children[from]->caption, parent->children[from - 1]->caption);
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
    if (!std::is_sorted(node->children.begin(), node->children.end(), CaptionLess()))
      std::stable_sort(node->children.begin(), node->children.end(), CaptionLess());
    Renumber(node, 0);
    for (auto& child : node->children) work.push_back(child.get());
  }
  QModelIndexList after;
  for (Node* node : nodes) after << (node ? createIndex(node->row, 0, node) : QModelIndex());
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

Qt::ItemFlags IndexModel::flags(const QModelIndex& index) const {
  if (!NodeAt(index)) return Qt::ItemIsDropEnabled;
  return Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
         Qt::ItemIsDropEnabled | Qt::ItemIsEditable;
}
