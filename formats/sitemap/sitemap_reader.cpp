#include "formats/sitemap/sitemap_reader.h"

#include "formats/sitemap/index_order.h"
#include "formats/sitemap/sitemap_scanner.h"

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
  std::vector<Node>* nodes;
  qsizetype last = -1;  // index of the node added last to this list, -1 for none
};

// The stack of open lists. Lists opened beyond the depth limit are only
// counted, so that their ends are matched; their items go to the deepest list.
template <typename Node>
class ListStack {
 public:
  explicit ListStack(std::vector<Node>* root) { lists.push_back({root, -1}); }

  OpenList<Node>& Current() { return lists.back(); }

  void Add(Node node) {
    OpenList<Node>& list = lists.back();
    list.nodes->push_back(std::move(node));
    list.last = static_cast<qsizetype>(list.nodes->size()) - 1;
  }

  void Open() {
    if (static_cast<int>(lists.size()) >= kMaxSitemapDepth) {
      ++uncounted;
      return;
    }
    OpenList<Node>& list = lists.back();
    std::vector<Node>* nodes =
        list.last >= 0 ? &(*list.nodes)[static_cast<size_t>(list.last)].children : list.nodes;
    lists.push_back({nodes, -1});
  }

  // Closes the innermost list; false when that was the top-level list.
  bool Close() {
    if (uncounted > 0) {
      --uncounted;
      return true;
    }
    if (lists.size() == 1) return false;
    lists.pop_back();
    return true;
  }

 private:
  std::vector<OpenList<Node>> lists;
  int uncounted = 0;
};

// Keeps one parameter of a role (the last one read, or for KeywordName the
// first): the others of that role become plain parameters written as read.
void KeepOneOfEachRole(SitemapParams& params) {
  bool seen[5] = {};
  for (auto it = params.rbegin(); it != params.rend(); ++it) {
    if (it->role == ParamRole::KeywordName) continue;
    const int role = static_cast<int>(it->role);
    if (it->role != ParamRole::Other && seen[role]) it->role = ParamRole::Other;
    seen[role] = true;
  }
  bool keywordName = false;
  for (SitemapParam& param : params) {
    if (param.role != ParamRole::KeywordName) continue;
    if (keywordName) param.role = ParamRole::Other;
    keywordName = true;
  }
}

// The top-level list of an index may come in several blocks
// ("<UL>...</UL><UL>...</UL>", one per entry in some index files): a list
// that opens after the top-level one closed goes on with the top level.
// What stands between the blocks is not read. (A contents file ends with
// its first top-level list.)
class TopLevelLists {
 public:
  void Close() { closed = true; }
  // True when the top level was closed and this list opens it again.
  bool Reopen() {
    const bool was = closed;
    closed = false;
    return was;
  }
  // Whether a token between blocks is passed over; an object there counts as unread.
  bool Skips(SitemapTag tag, int& unread) const {
    if (!closed || tag == SitemapTag::ListStart) return false;
    if (tag == SitemapTag::ObjectStart) ++unread;
    return true;
  }

 private:
  bool closed = false;
};

// Counts what the readers met but could not turn into nodes.
struct ReadCount {
  int items = 0;
  int unread = 0;
};

// The item being read by the contents reader.
struct PendingTopic {
  bool open = false;  // an "<LI>" or "<OBJECT>" started it
  QString name;
  QString local;
  SitemapParams params;
  bool hasName = false;
  bool hasLocal = false;

  // A merge item without a name shows its Merge value as caption.
  QString MergeValue() const {
    for (const SitemapParam& param : params) {
      if (param.name.trimmed().compare(u"Merge", Qt::CaseInsensitive) == 0) return param.value;
    }
    return {};
  }
  bool IsNode() const { return open && (!name.isEmpty() || !MergeValue().isEmpty()); }
  void Reset() {
    open = false;
    name.clear();
    local.clear();
    params.clear();
    hasName = false;
    hasLocal = false;
  }
};

// Ends the pending item: a node when it has a name (or is a merge item), a
// count of what could not be read otherwise.
void FinishTopic(PendingTopic& pending, ListStack<ContentsNode>& lists, ReadCount& count) {
  if (!pending.open) return;
  if (pending.IsNode()) {
    ContentsNode node;
    node.caption = pending.name.isEmpty() ? pending.MergeValue() : pending.name;
    KeepOneOfEachRole(pending.params);
    node.data = std::make_unique<TopicData>(TopicData{pending.local, std::move(pending.params)});
    lists.Add(std::move(node));
    ++count.items;
  } else if (!pending.params.empty()) {
    ++count.unread;
  }
  pending.Reset();
}

// The item being read by the index reader.
struct PendingEntry {
  bool open = false;  // an "<OBJECT " started it
  IndexEntryData record;
  QString keyword;
  bool hasKeyword = false;            // the item has a Keyword parameter
  bool captionIsKeywordName = false;  // TopicCaption is still the name used as keyword
  SitemapParams params;               // parameters since the last node of the item
  bool continues = false;             // a node of this item was added already

  void Start() {
    open = true;
    record = IndexEntryData();
    keyword.clear();
    hasKeyword = false;
    captionIsKeywordName = false;
    params.clear();
    continues = false;
  }
};

void AddIndexNode(PendingEntry& pending, ListStack<IndexNode>& lists, ReadCount& count) {
  IndexNode node;
  node.caption = pending.keyword;
  node.data = std::make_unique<IndexEntryData>(pending.record);
  KeepOneOfEachRole(pending.params);
  node.data->params = std::move(pending.params);
  node.data->continuesItem = pending.continues;
  pending.params.clear();
  pending.continues = true;
  lists.Add(std::move(node));
  ++count.items;
}

// A Name parameter of an index item. In an item without a Keyword parameter
// the first name is the keyword (and, until a second name comes, the topic
// caption too); otherwise every further name after a captioned one starts the
// next topic of the same item. Returns the role of the name.
ParamRole ReadIndexName(PendingEntry& pending, const QString& value, ListStack<IndexNode>& lists,
                        ReadCount& count) {
  if (!pending.hasKeyword && pending.keyword.isEmpty()) {
    pending.keyword = value;
    pending.record.keyword = value;
    pending.record.topicCaption = value;
    pending.captionIsKeywordName = !value.isEmpty();
    return ParamRole::KeywordName;
  }
  if (pending.captionIsKeywordName && pending.record.fileName.isEmpty()) {
    pending.captionIsKeywordName = false;
    pending.record.topicCaption = value;
    return ParamRole::Caption;
  }
  pending.captionIsKeywordName = false;
  if (!pending.record.topicCaption.isEmpty()) {
    AddIndexNode(pending, lists, count);
    pending.record = IndexEntryData();
    pending.record.keyword = pending.keyword;
  }
  pending.record.topicCaption = value;
  return ParamRole::Caption;
}

// Ends the pending index item; `closed` when its "</OBJECT>" ended it (an
// item without any parameter is then a bare keyword node, as written).
void FinishEntry(PendingEntry& pending, ListStack<IndexNode>& lists, ReadCount& count, bool closed) {
  if (!pending.open) return;
  if (closed || !pending.params.empty()) AddIndexNode(pending, lists, count);
  pending.open = false;
  pending.keyword.clear();
  pending.params.clear();
}

// Objects from where the scanner stands on: items there are not read.
int CountUnreadAfter(SitemapScanner&& scanner) {
  int unread = 0;
  SitemapToken token;
  while (scanner.Next(&token)) {
    if (token.tag == SitemapTag::ObjectStart) ++unread;
  }
  return unread;
}

// The text before the first item of the outermost list (the header the
// writer keeps), and where reading starts: -1 for a text without a list,
// whose objects then count as unread.
template <typename Result>
qsizetype ReadHeader(const QString& text, Result& result) {
  const qsizetype begin = SitemapListBegin(text);
  if (begin < 0) {
    result.unread = CountUnreadAfter(SitemapScanner(text, 0));
    return -1;
  }
  SitemapScanner first(text, begin);
  SitemapToken token;
  result.header = first.Next(&token) ? text.left(first.TagStart()) : text;
  return begin;
}

}  // namespace

ContentsFileRead ReadContents(const QString& text) {
  ContentsFileRead result;
  const qsizetype begin = ReadHeader(text, result);
  if (begin < 0) return result;
  ListStack<ContentsNode> lists(&result.nodes);
  PendingTopic pending;
  ReadCount count;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  bool reading = true;
  while (reading && scanner.Next(&token)) {
    switch (token.tag) {
      case SitemapTag::ListItem:
        FinishTopic(pending, lists, count);
        pending.open = true;
        break;
      case SitemapTag::ObjectStart:
        // An object after a complete one, without "<LI>" or "</OBJECT>" between.
        if (!pending.params.empty()) FinishTopic(pending, lists, count);
        pending.open = true;
        break;
      case SitemapTag::Name:
      case SitemapTag::Local:
      case SitemapTag::Keyword:
      case SitemapTag::Param: {
        if (!pending.open) {
          ++count.unread;
          break;
        }
        ParamRole role = ParamRole::Other;
        if (token.tag == SitemapTag::Name && !pending.hasName) {
          role = ParamRole::Caption;
          pending.name = token.value;
          pending.hasName = true;
        } else if (token.tag == SitemapTag::Local && !pending.hasLocal) {
          role = ParamRole::Local;
          pending.local = token.value;
          pending.hasLocal = true;
        }
        if (pending.params.empty()) pending.params.reserve(4);
        pending.params.push_back(SitemapParam{token.name, token.value, role});
        break;
      }
      case SitemapTag::ObjectEnd:
        FinishTopic(pending, lists, count);
        break;
      case SitemapTag::ListStart:
        FinishTopic(pending, lists, count);
        lists.Open();
        break;
      case SitemapTag::ListEnd:
        FinishTopic(pending, lists, count);
        reading = lists.Close();
        break;
    }
  }
  FinishTopic(pending, lists, count);
  result.unread = count.unread + CountUnreadAfter(std::move(scanner));
  return result;
}

IndexFileRead ReadIndex(const QString& text, const QLocale& locale) {
  IndexFileRead result;
  const qsizetype begin = ReadHeader(text, result);
  if (begin < 0) return result;
  ListStack<IndexNode> lists(&result.nodes);
  PendingEntry pending;
  ReadCount count;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  TopLevelLists topLevel;
  while (scanner.Next(&token)) {
    if (topLevel.Skips(token.tag, count.unread)) continue;
    switch (token.tag) {
      case SitemapTag::ObjectStart:
        FinishEntry(pending, lists, count, false);
        pending.Start();
        break;
      case SitemapTag::ListItem:
        FinishEntry(pending, lists, count, false);
        break;
      case SitemapTag::Keyword:
        if (!pending.open) {
          ++count.unread;
          break;
        }
        pending.keyword = token.value;
        pending.record.keyword = token.value;
        pending.hasKeyword = true;
        pending.captionIsKeywordName = false;  // a name read before was a topic caption
        for (SitemapParam& param : pending.params) {
          if (param.role == ParamRole::KeywordName) param.role = ParamRole::Caption;
        }
        pending.params.push_back(SitemapParam{token.name, token.value, ParamRole::Keyword});
        break;
      case SitemapTag::Name:
        if (!pending.open) {
          ++count.unread;
          break;
        } else {
          const ParamRole role = ReadIndexName(pending, token.value, lists, count);
          pending.params.push_back(SitemapParam{token.name, token.value, role});
        }
        break;
      case SitemapTag::Local:
        if (!pending.open) {
          ++count.unread;
          break;
        }
        pending.record.fileName = token.value;
        pending.params.push_back(SitemapParam{token.name, token.value, ParamRole::Local});
        break;
      case SitemapTag::Param:
        if (!pending.open) {
          ++count.unread;
          break;
        }
        pending.params.push_back(SitemapParam{token.name, token.value, ParamRole::Other});
        break;
      case SitemapTag::ObjectEnd:
        FinishEntry(pending, lists, count, true);
        break;
      case SitemapTag::ListStart:
        FinishEntry(pending, lists, count, false);
        if (!topLevel.Reopen()) lists.Open();
        break;
      case SitemapTag::ListEnd:
        FinishEntry(pending, lists, count, false);
        if (!lists.Close()) topLevel.Close();
        break;
    }
  }
  FinishEntry(pending, lists, count, false);
  result.unread = count.unread + CountUnreadAfter(std::move(scanner));
  SortIndexNodes(result.nodes, locale);
  return result;
}

std::vector<ContentsNode> ReadContentsFile(const QString& text) { return ReadContents(text).nodes; }

std::vector<IndexNode> ReadIndexFile(const QString& text, const QLocale& locale) {
  return ReadIndex(text, locale).nodes;
}
