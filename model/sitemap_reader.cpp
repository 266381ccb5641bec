#include "model/sitemap_reader.h"

#include "model/sitemap_scanner.h"

#include <QCollator>
#include <algorithm>
#include <memory>

// Both readers walk the markers of the text once, in the order they stand,
// keeping the open lists on an explicit stack (no recursion, so any nesting
// depth is safe). A nested list belongs to the item added last in the list
// that holds it; a list that opens before any item of its level belongs to
// the item that holds that level (at the top level, to the top level).

namespace {

template <typename Node>
struct OpenList {
  std::vector<Node>* Nodes;
  qsizetype Last = -1;  // index of the node added last to this list, -1 for none
};

// The stack of open lists. Lists opened beyond the depth limit are only
// counted, so that their ends are matched; their items go to the deepest list.
template <typename Node>
class ListStack {
 public:
  explicit ListStack(std::vector<Node>* root) { lists_.push_back({root, -1}); }

  OpenList<Node>& Current() { return lists_.back(); }

  void Add(Node node) {
    OpenList<Node>& list = lists_.back();
    list.Nodes->push_back(std::move(node));
    list.Last = static_cast<qsizetype>(list.Nodes->size()) - 1;
  }

  void Open() {
    if (static_cast<int>(lists_.size()) >= kMaxSitemapDepth) {
      ++uncounted_;
      return;
    }
    OpenList<Node>& list = lists_.back();
    std::vector<Node>* nodes =
        list.Last >= 0 ? &(*list.Nodes)[static_cast<size_t>(list.Last)].Children : list.Nodes;
    lists_.push_back({nodes, -1});
  }

  // Closes the innermost list; false when that was the top-level list.
  bool Close() {
    if (uncounted_ > 0) {
      --uncounted_;
      return true;
    }
    if (lists_.size() == 1) return false;
    lists_.pop_back();
    return true;
  }

 private:
  std::vector<OpenList<Node>> lists_;
  int uncounted_ = 0;
};

// The item being read by the contents reader.
struct PendingTopic {
  bool Open = false;  // an "<LI>" started it
  QString Name;
  QString Local;

  bool IsHeadingOrTopic() const { return Open && !Name.isEmpty(); }
  bool IsTopic() const { return Open && !Name.isEmpty() && !Local.isEmpty(); }
  void Reset() {
    Open = false;
    Name.clear();
    Local.clear();
  }
};

ContentsNode TakeContentsNode(PendingTopic& pending) {
  ContentsNode node;
  node.Caption = pending.Name;
  node.Data = std::make_unique<TopicData>(TopicData{pending.Local});
  pending.Reset();
  return node;
}

// The item being read by the index reader.
struct PendingEntry {
  bool Open = false;  // an "<OBJECT " started it
  IndexEntryData Record;
  QString Keyword;
  bool HasKeyword = false;            // the item has a Keyword parameter
  bool CaptionIsKeywordName = false;  // TopicCaption is still the name used as keyword

  void Start() {
    Open = true;
    Record = IndexEntryData();
    Keyword.clear();
    HasKeyword = false;
    CaptionIsKeywordName = false;
  }
};

IndexNode MakeIndexNode(const PendingEntry& pending) {
  IndexNode node;
  node.Caption = pending.Keyword;
  node.Data = std::make_unique<IndexEntryData>(pending.Record);
  return node;
}

// A Name parameter of an index item. In an item without a Keyword parameter
// the first name is the keyword (and, until a second name comes, the topic
// caption too); otherwise every further name after a captioned one starts the
// next topic of the same item.
void ReadIndexName(PendingEntry& pending, const QString& value, ListStack<IndexNode>& lists) {
  if (!pending.HasKeyword && pending.Keyword.isEmpty()) {
    pending.Keyword = value;
    pending.Record.Keyword = value;
    pending.Record.TopicCaption = value;
    pending.CaptionIsKeywordName = !value.isEmpty();
    return;
  }
  if (pending.CaptionIsKeywordName && pending.Record.FileName.isEmpty()) {
    pending.CaptionIsKeywordName = false;
    pending.Record.TopicCaption = value;
    return;
  }
  pending.CaptionIsKeywordName = false;
  if (!pending.Record.TopicCaption.isEmpty()) {
    lists.Add(MakeIndexNode(pending));
    pending.Record = IndexEntryData();
    pending.Record.Keyword = pending.Keyword;
  }
  pending.Record.TopicCaption = value;
}

}  // namespace

std::vector<ContentsNode> ReadContentsFile(const QString& text) {
  std::vector<ContentsNode> root;
  const qsizetype begin = SitemapListBegin(text);
  if (begin < 0) return root;

  ListStack<ContentsNode> lists(&root);
  PendingTopic pending;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  while (scanner.Next(&token)) {
    switch (token.Tag) {
      case SitemapTag::ListItem:
        if (pending.IsHeadingOrTopic()) lists.Add(TakeContentsNode(pending));
        pending.Reset();
        pending.Open = true;
        break;
      case SitemapTag::Name:
        pending.Name = token.Value;
        if (pending.IsTopic()) lists.Add(TakeContentsNode(pending));
        break;
      case SitemapTag::Local:
        pending.Local = token.Value;
        if (pending.IsTopic()) lists.Add(TakeContentsNode(pending));
        break;
      case SitemapTag::ListStart:
        if (pending.IsHeadingOrTopic()) lists.Add(TakeContentsNode(pending));
        lists.Open();
        break;
      case SitemapTag::ListEnd:
        // A heading that is the last item of its list still belongs there.
        if (pending.IsHeadingOrTopic()) lists.Add(TakeContentsNode(pending));
        if (!lists.Close()) return root;
        break;
      case SitemapTag::ObjectStart:
      case SitemapTag::Keyword:
      case SitemapTag::ObjectEnd:
        break;
    }
  }
  if (pending.IsHeadingOrTopic()) lists.Add(TakeContentsNode(pending));
  return root;
}

std::vector<IndexNode> ReadIndexFile(const QString& text, const QLocale& locale) {
  std::vector<IndexNode> root;
  const qsizetype begin = SitemapListBegin(text);
  if (begin < 0) return root;

  ListStack<IndexNode> lists(&root);
  PendingEntry pending;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  bool reading = true;
  while (reading && scanner.Next(&token)) {
    switch (token.Tag) {
      case SitemapTag::ObjectStart:
        pending.Start();
        break;
      case SitemapTag::Keyword:
        if (!pending.Open) break;
        pending.Keyword = token.Value;
        pending.Record.Keyword = token.Value;
        pending.HasKeyword = true;
        pending.CaptionIsKeywordName = false;  // a name read before was a topic caption
        break;
      case SitemapTag::Name:
        if (pending.Open) ReadIndexName(pending, token.Value, lists);
        break;
      case SitemapTag::Local:
        if (pending.Open) pending.Record.FileName = token.Value;
        break;
      case SitemapTag::ObjectEnd:
        if (!pending.Open) break;
        lists.Add(MakeIndexNode(pending));
        pending.Open = false;
        pending.Keyword.clear();
        break;
      case SitemapTag::ListStart:
        lists.Open();
        break;
      case SitemapTag::ListEnd:
        reading = lists.Close();
        break;
      case SitemapTag::ListItem:
        break;
    }
  }
  SortIndexNodes(root, locale);
  return root;
}

void SortIndexNodes(std::vector<IndexNode>& nodes, const QLocale& locale) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // Collation keys are made once per node; comparing two keys is far cheaper
  // than collating the two captions again at every comparison. The C locale
  // has no collation (its keys would heed letter case): there the captions
  // are compared case-folded, code point by code point.
  const bool plain = locale.language() == QLocale::C;
  struct Keyed {
    QCollatorSortKey Key;
    QString Folded;
    size_t Index;
  };
  const auto before = [plain](const Keyed& a, const Keyed& b) {
    return plain ? a.Folded < b.Folded : a.Key.compare(b.Key) < 0;
  };
  std::vector<std::vector<IndexNode>*> todo{&nodes};
  while (!todo.empty()) {
    std::vector<IndexNode>* list = todo.back();
    todo.pop_back();
    if (list->size() > 1) {
      std::vector<Keyed> keyed;
      keyed.reserve(list->size());
      for (size_t i = 0; i < list->size(); ++i) {
        const QString& caption = (*list)[i].Caption;
        keyed.push_back(plain ? Keyed{collator.sortKey(QString()), caption.toCaseFolded(), i}
                              : Keyed{collator.sortKey(caption), QString(), i});
      }
      std::stable_sort(keyed.begin(), keyed.end(), before);
      std::vector<IndexNode> sorted;
      sorted.reserve(list->size());
      for (const Keyed& k : keyed) sorted.push_back(std::move((*list)[k.Index]));
      list->swap(sorted);
    }
    for (IndexNode& node : *list) {
      if (!node.Children.empty()) todo.push_back(&node.Children);
    }
  }
}
