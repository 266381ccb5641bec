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
  int Items = 0;
  int Unread = 0;
};

// The item being read by the contents reader.
struct PendingTopic {
  bool Open = false;  // an "<LI>" or "<OBJECT>" started it
  QString Name;
  QString Local;
  SitemapParams Params;
  bool HasName = false;
  bool HasLocal = false;

  // A merge item without a name shows its Merge value as caption.
  QString MergeValue() const {
    for (const SitemapParam& param : Params) {
      if (param.name.trimmed().compare(u"Merge", Qt::CaseInsensitive) == 0) return param.value;
    }
    return {};
  }
  bool IsNode() const { return Open && (!Name.isEmpty() || !MergeValue().isEmpty()); }
  void Reset() {
    Open = false;
    Name.clear();
    Local.clear();
    Params.clear();
    HasName = false;
    HasLocal = false;
  }
};

// Ends the pending item: a node when it has a name (or is a merge item), a
// count of what could not be read otherwise.
void FinishTopic(PendingTopic& pending, ListStack<ContentsNode>& lists, ReadCount& count) {
  if (!pending.Open) return;
  if (pending.IsNode()) {
    ContentsNode node;
    node.Caption = pending.Name.isEmpty() ? pending.MergeValue() : pending.Name;
    KeepOneOfEachRole(pending.Params);
    node.Data = std::make_unique<TopicData>(TopicData{pending.Local, std::move(pending.Params)});
    lists.Add(std::move(node));
    ++count.Items;
  } else if (!pending.Params.empty()) {
    ++count.Unread;
  }
  pending.Reset();
}

// The item being read by the index reader.
struct PendingEntry {
  bool Open = false;  // an "<OBJECT " started it
  IndexEntryData Record;
  QString Keyword;
  bool HasKeyword = false;            // the item has a Keyword parameter
  bool CaptionIsKeywordName = false;  // TopicCaption is still the name used as keyword
  SitemapParams Params;               // parameters since the last node of the item
  bool Continues = false;             // a node of this item was added already

  void Start() {
    Open = true;
    Record = IndexEntryData();
    Keyword.clear();
    HasKeyword = false;
    CaptionIsKeywordName = false;
    Params.clear();
    Continues = false;
  }
};

void AddIndexNode(PendingEntry& pending, ListStack<IndexNode>& lists, ReadCount& count) {
  IndexNode node;
  node.Caption = pending.Keyword;
  node.Data = std::make_unique<IndexEntryData>(pending.Record);
  KeepOneOfEachRole(pending.Params);
  node.Data->Params = std::move(pending.Params);
  node.Data->continuesItem = pending.Continues;
  pending.Params.clear();
  pending.Continues = true;
  lists.Add(std::move(node));
  ++count.Items;
}

// A Name parameter of an index item. In an item without a Keyword parameter
// the first name is the keyword (and, until a second name comes, the topic
// caption too); otherwise every further name after a captioned one starts the
// next topic of the same item. Returns the role of the name.
ParamRole ReadIndexName(PendingEntry& pending, const QString& value, ListStack<IndexNode>& lists,
                        ReadCount& count) {
  if (!pending.HasKeyword && pending.Keyword.isEmpty()) {
    pending.Keyword = value;
    pending.Record.Keyword = value;
    pending.Record.TopicCaption = value;
    pending.CaptionIsKeywordName = !value.isEmpty();
    return ParamRole::KeywordName;
  }
  if (pending.CaptionIsKeywordName && pending.Record.FileName.isEmpty()) {
    pending.CaptionIsKeywordName = false;
    pending.Record.TopicCaption = value;
    return ParamRole::Caption;
  }
  pending.CaptionIsKeywordName = false;
  if (!pending.Record.TopicCaption.isEmpty()) {
    AddIndexNode(pending, lists, count);
    pending.Record = IndexEntryData();
    pending.Record.Keyword = pending.Keyword;
  }
  pending.Record.TopicCaption = value;
  return ParamRole::Caption;
}

// Ends the pending index item; `closed` when its "</OBJECT>" ended it (an
// item without any parameter is then a bare keyword node, as written).
void FinishEntry(PendingEntry& pending, ListStack<IndexNode>& lists, ReadCount& count, bool closed) {
  if (!pending.Open) return;
  if (closed || !pending.Params.empty()) AddIndexNode(pending, lists, count);
  pending.Open = false;
  pending.Keyword.clear();
  pending.Params.clear();
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
    result.Unread = CountUnreadAfter(SitemapScanner(text, 0));
    return -1;
  }
  SitemapScanner first(text, begin);
  SitemapToken token;
  result.Header = first.Next(&token) ? text.left(first.TagStart()) : text;
  return begin;
}

}  // namespace

ContentsFileRead ReadContents(const QString& text) {
  ContentsFileRead result;
  const qsizetype begin = ReadHeader(text, result);
  if (begin < 0) return result;
  ListStack<ContentsNode> lists(&result.Nodes);
  PendingTopic pending;
  ReadCount count;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  bool reading = true;
  while (reading && scanner.Next(&token)) {
    switch (token.tag) {
      case SitemapTag::ListItem:
        FinishTopic(pending, lists, count);
        pending.Open = true;
        break;
      case SitemapTag::ObjectStart:
        // An object after a complete one, without "<LI>" or "</OBJECT>" between.
        if (!pending.Params.empty()) FinishTopic(pending, lists, count);
        pending.Open = true;
        break;
      case SitemapTag::Name:
      case SitemapTag::Local:
      case SitemapTag::Keyword:
      case SitemapTag::Param: {
        if (!pending.Open) {
          ++count.Unread;
          break;
        }
        ParamRole role = ParamRole::Other;
        if (token.tag == SitemapTag::Name && !pending.HasName) {
          role = ParamRole::Caption;
          pending.Name = token.value;
          pending.HasName = true;
        } else if (token.tag == SitemapTag::Local && !pending.HasLocal) {
          role = ParamRole::Local;
          pending.Local = token.value;
          pending.HasLocal = true;
        }
        if (pending.Params.empty()) pending.Params.reserve(4);
        pending.Params.push_back(SitemapParam{token.name, token.value, role});
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
  result.Unread = count.Unread + CountUnreadAfter(std::move(scanner));
  return result;
}

IndexFileRead ReadIndex(const QString& text, const QLocale& locale) {
  IndexFileRead result;
  const qsizetype begin = ReadHeader(text, result);
  if (begin < 0) return result;
  ListStack<IndexNode> lists(&result.Nodes);
  PendingEntry pending;
  ReadCount count;
  SitemapScanner scanner(text, begin);
  SitemapToken token;
  TopLevelLists topLevel;
  while (scanner.Next(&token)) {
    if (topLevel.Skips(token.tag, count.Unread)) continue;
    switch (token.tag) {
      case SitemapTag::ObjectStart:
        FinishEntry(pending, lists, count, false);
        pending.Start();
        break;
      case SitemapTag::ListItem:
        FinishEntry(pending, lists, count, false);
        break;
      case SitemapTag::Keyword:
        if (!pending.Open) {
          ++count.Unread;
          break;
        }
        pending.Keyword = token.value;
        pending.Record.Keyword = token.value;
        pending.HasKeyword = true;
        pending.CaptionIsKeywordName = false;  // a name read before was a topic caption
        for (SitemapParam& param : pending.Params) {
          if (param.role == ParamRole::KeywordName) param.role = ParamRole::Caption;
        }
        pending.Params.push_back(SitemapParam{token.name, token.value, ParamRole::Keyword});
        break;
      case SitemapTag::Name:
        if (!pending.Open) {
          ++count.Unread;
          break;
        } else {
          const ParamRole role = ReadIndexName(pending, token.value, lists, count);
          pending.Params.push_back(SitemapParam{token.name, token.value, role});
        }
        break;
      case SitemapTag::Local:
        if (!pending.Open) {
          ++count.Unread;
          break;
        }
        pending.Record.FileName = token.value;
        pending.Params.push_back(SitemapParam{token.name, token.value, ParamRole::Local});
        break;
      case SitemapTag::Param:
        if (!pending.Open) {
          ++count.Unread;
          break;
        }
        pending.Params.push_back(SitemapParam{token.name, token.value, ParamRole::Other});
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
  result.Unread = count.Unread + CountUnreadAfter(std::move(scanner));
  SortIndexNodes(result.Nodes, locale);
  return result;
}

std::vector<ContentsNode> ReadContentsFile(const QString& text) { return ReadContents(text).Nodes; }

std::vector<IndexNode> ReadIndexFile(const QString& text, const QLocale& locale) {
  return ReadIndex(text, locale).Nodes;
}
