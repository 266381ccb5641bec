// An item model over a tree of captioned nodes that own their records: the
// common ground of the Contents and Index models. Nodes stay where they are
// in memory while the tree changes, so an index's internal pointer is its
// node. One column; the caption is the display and edit text.
#pragma once

#include <QAbstractItemModel>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

template <typename Record, typename PlainNode>
class RecordTreeModel : public QAbstractItemModel {
 public:
  struct Node {
    QString caption;
    std::unique_ptr<Record> data;
    Node* parent = nullptr;
    int row = 0;  // its place among its parent's children
    std::vector<std::unique_ptr<Node>> children;
  };

  explicit RecordTreeModel(QObject* parent = nullptr) : QAbstractItemModel(parent) {}
  ~RecordTreeModel() override { FreeSubtrees(std::move(root.children)); }

  // --- the tree as the sitemap readers and writers exchange it ---
  // Replaces the whole tree; the forest's records move into the nodes.
  void Fill(std::vector<PlainNode>&& forest) {
    beginResetModel();
    FreeSubtrees(std::move(root.children));
    root.children.clear();
    // Level by level without recursion, so deep files cannot exhaust the stack.
    struct Pending {
      std::vector<PlainNode>* nodes;
      Node* parent;
    };
    std::vector<Pending> work{{&forest, &root}};
    while (!work.empty()) {
      const Pending level = work.back();
      work.pop_back();
      level.parent->children.reserve(level.nodes->size());
      for (PlainNode& plain : *level.nodes) {
        auto node = std::make_unique<Node>();
        node->caption = std::move(plain.caption);
        node->data = std::move(plain.data);
        node->parent = level.parent;
        node->row = int(level.parent->children.size());
        if (!plain.children.empty()) work.push_back({&plain.children, node.get()});
        level.parent->children.push_back(std::move(node));
      }
    }
    endResetModel();
    // What is left of the forest goes level by level too.
    std::vector<std::vector<PlainNode>> rest;
    rest.push_back(std::move(forest));
    while (!rest.empty()) {
      std::vector<PlainNode> nodes = std::move(rest.back());
      rest.pop_back();
      for (PlainNode& plain : nodes)
        if (!plain.children.empty()) rest.push_back(std::move(plain.children));
    }
  }
  // A copy of the tree (the model keeps its records).
  std::vector<PlainNode> Forest() const {
    std::vector<PlainNode> forest;
    struct Pending {
      const Node* node;
      std::vector<PlainNode>* into;
    };
    std::vector<Pending> work;
    forest.reserve(root.children.size());
    for (auto it = root.children.rbegin(); it != root.children.rend(); ++it)
      work.push_back({it->get(), &forest});
    // Every vector is reserved to its final size before it is filled, so the
    // pointers kept in the work list stay valid.
    while (!work.empty()) {
      const Pending p = work.back();
      work.pop_back();
      PlainNode plain;
      plain.caption = p.node->caption;
      if (p.node->data) plain.data = std::make_unique<Record>(*p.node->data);
      p.into->push_back(std::move(plain));
      PlainNode& added = p.into->back();
      added.children.reserve(p.node->children.size());
      for (auto it = p.node->children.rbegin(); it != p.node->children.rend(); ++it)
        work.push_back({it->get(), &added.children});
    }
    return forest;
  }
  void Clear() { Fill({}); }
  // A copy of one node with its subtree (none for no node).
  PlainNode SubtreeCopy(const QModelIndex& top) const {
    PlainNode plain;
    const Node* node = NodeAt(top);
    if (!node) return plain;
    plain.caption = node->caption;
    if (node->data) plain.data = std::make_unique<Record>(*node->data);
    struct Pending {
      const Node* node;
      PlainNode* into;
    };
    // Each list of children is filled whole before pointers into it are kept.
    std::vector<Pending> work{{node, &plain}};
    while (!work.empty()) {
      const Pending p = work.back();
      work.pop_back();
      p.into->children.reserve(p.node->children.size());
      for (const auto& child : p.node->children) {
        PlainNode copy;
        copy.caption = child->caption;
        if (child->data) copy.data = std::make_unique<Record>(*child->data);
        p.into->children.push_back(std::move(copy));
      }
      for (size_t i = 0; i < p.node->children.size(); ++i)
        work.push_back({p.node->children[i].get(), &p.into->children[i]});
    }
    return plain;
  }
  // Puts a copy of a plain node with its subtree at `row` of `parent`; its index.
  QModelIndex InsertSubtree(const QModelIndex& parent, int row, const PlainNode& plain) {
    const auto copyOf = [](const PlainNode& p) {
      return p.data ? std::make_unique<Record>(*p.data) : std::unique_ptr<Record>();
    };
    const QModelIndex top = Insert(parent, row, plain.caption, copyOf(plain));
    const QPersistentModelIndex kept(top);
    std::vector<std::pair<const PlainNode*, QPersistentModelIndex>> work{{&plain, kept}};
    while (!work.empty()) {
      const auto [from, at] = work.back();
      work.pop_back();
      for (const PlainNode& child : from->children) {
        const QModelIndex added = Insert(at, int(from->children.size()), child.caption, copyOf(child));
        if (!child.children.empty()) work.push_back({&child, QPersistentModelIndex(added)});
      }
    }
    return kept;
  }

  // --- nodes ---
  // The record of a node; null for no node or a node without record.
  Record* RecordAt(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node ? node->data.get() : nullptr;
  }
  QString CaptionAt(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    return node ? node->caption : QString();
  }
  // The node's depth: 0 on the first level, -1 for no node.
  int Level(const QModelIndex& index) const {
    const Node* node = NodeAt(index);
    if (!node) return -1;
    int level = 0;
    for (; node->parent != &root; node = node->parent) ++level;
    return level;
  }
  // The node and its descendants, in document order.
  std::vector<QModelIndex> Subtree(const QModelIndex& top) const {
    std::vector<QModelIndex> nodes;
    if (!top.isValid()) return nodes;
    std::vector<QModelIndex> work{top};
    while (!work.empty()) {
      const QModelIndex index = work.back();
      work.pop_back();
      nodes.push_back(index);
      for (int row = rowCount(index) - 1; row >= 0; --row) work.push_back(this->index(row, 0, index));
    }
    return nodes;
  }
  // Puts a new node at `row` of `parent` (past the end: last); its index.
  QModelIndex Insert(const QModelIndex& parent, int row, const QString& caption,
                     std::unique_ptr<Record> data) {
    Node* into = NodeOrRoot(parent);
    if (row < 0 || row > int(into->children.size())) row = int(into->children.size());
    auto node = std::make_unique<Node>();
    node->caption = caption;
    node->data = std::move(data);
    node->parent = into;
    beginInsertRows(parent, row, row);
    into->children.insert(into->children.begin() + row, std::move(node));
    Renumber(into, row);
    endInsertRows();
    return index(row, 0, parent);
  }
  // Removes a node with its subtree; the records go with the nodes.
  void Remove(const QModelIndex& index) {
    Node* node = NodeAt(index);
    if (!node) return;
    const int row = index.row();
    beginRemoveRows(index.parent(), row, row);
    std::unique_ptr<Node> gone = std::move(node->parent->children[row]);
    node->parent->children.erase(node->parent->children.begin() + row);
    Renumber(node->parent, row);
    endRemoveRows();
    std::vector<std::unique_ptr<Node>> subtree;
    subtree.push_back(std::move(gone));
    FreeSubtrees(std::move(subtree));
  }
  // Moves a node with its subtree to `row` of `parent` (past the end: last),
  // counted before the node leaves its place. False when the node would go
  // into its own subtree. Views keep their indexes to the moved nodes.
  bool Move(const QModelIndex& index, const QModelIndex& parent, int row) {
    Node* node = NodeAt(index);
    Node* into = NodeOrRoot(parent);
    if (!node) return false;
    for (const Node* p = into; p; p = p->parent)
      if (p == node) return false;
    const int from = index.row();
    if (row < 0 || row > int(into->children.size())) row = int(into->children.size());
    if (into == node->parent && (row == from || row == from + 1)) return true;
    if (!beginMoveRows(index.parent(), from, from, parent, row)) return false;
    std::unique_ptr<Node> moving = std::move(node->parent->children[from]);
    Node* oldParent = node->parent;
    oldParent->children.erase(oldParent->children.begin() + from);
    Renumber(oldParent, from);
    if (into == oldParent && row > from) --row;
    node->parent = into;
    into->children.insert(into->children.begin() + row, std::move(moving));
    Renumber(into, row);
    endMoveRows();
    return true;
  }

  // --- QAbstractItemModel ---
  QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override {
    const Node* of = NodeOrRoot(parent);
    if (column != 0 || row < 0 || row >= int(of->children.size())) return {};
    return createIndex(row, 0, of->children[row].get());
  }
  QModelIndex parent(const QModelIndex& child) const override {
    const Node* node = NodeAt(child);
    if (!node || node->parent == &root) return {};
    const Node* parent = node->parent;
    return createIndex(parent->row, 0, const_cast<Node*>(parent));
  }
  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    if (parent.column() > 0) return 0;
    return int(NodeOrRoot(parent)->children.size());
  }
  int columnCount(const QModelIndex& = QModelIndex()) const override { return 1; }
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
    const Node* node = NodeAt(index);
    if (!node || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return node->caption;
  }
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override {
    Node* node = NodeAt(index);
    if (!node || role != Qt::EditRole) return false;
    node->caption = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
  }

 protected:
  Node* NodeAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    return static_cast<Node*>(index.internalPointer());
  }
  Node* NodeOrRoot(const QModelIndex& index) const {
    Node* node = NodeAt(index);
    return node ? node : const_cast<Node*>(&root);
  }
  // The children of `parent` from `from` on learn their places again.
  static void Renumber(Node* parent, int from) {
    for (int row = from; row < int(parent->children.size()); ++row) parent->children[row]->row = row;
  }
  // Frees nodes without recursion, so deep trees cannot exhaust the stack.
  static void FreeSubtrees(std::vector<std::unique_ptr<Node>>&& nodes) {
    std::vector<std::unique_ptr<Node>> work = std::move(nodes);
    while (!work.empty()) {
      std::unique_ptr<Node> node = std::move(work.back());
      work.pop_back();
      for (auto& child : node->children) work.push_back(std::move(child));
    }
  }

  Node root;
};
