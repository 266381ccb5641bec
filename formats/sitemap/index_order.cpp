#include "formats/sitemap/index_order.h"

#include <algorithm>

IndexOrder::IndexOrder(const QLocale& locale) : collator(locale), plain(locale.language() == QLocale::C) {
  collator.setCaseSensitivity(Qt::CaseInsensitive);
}

bool IndexOrder::Before(const QString& a, const QString& b) const {
  return plain ? QString::compare(a, b, Qt::CaseInsensitive) < 0 : collator.compare(a, b) < 0;
}

void SortIndexNodes(std::vector<IndexNode>& nodes, const QLocale& locale) {
  const IndexOrder order(locale);
  const bool plain = locale.language() == QLocale::C;
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  // Collation keys are made once per node; comparing two keys is far cheaper
  // than collating the two captions again at every comparison. (They order
  // as IndexOrder::Before does; the C locale needs none.)
  struct Keyed {
    QCollatorSortKey key;
    const QString* caption;
    size_t index;
  };
  const auto before = [&](const Keyed& a, const Keyed& b) {
    return plain ? order.Before(*a.caption, *b.caption) : a.key.compare(b.key) < 0;
  };
  std::vector<std::vector<IndexNode>*> todo{&nodes};
  while (!todo.empty()) {
    std::vector<IndexNode>* list = todo.back();
    todo.pop_back();
    if (list->size() > 1) {
      std::vector<Keyed> keyed;
      keyed.reserve(list->size());
      for (size_t i = 0; i < list->size(); ++i) {
        const QString& caption = (*list)[i].caption;
        keyed.push_back(Keyed{collator.sortKey(plain ? QString() : caption), &caption, i});
      }
      std::stable_sort(keyed.begin(), keyed.end(), before);
      std::vector<IndexNode> sorted;
      sorted.reserve(list->size());
      for (const Keyed& k : keyed) sorted.push_back(std::move((*list)[k.index]));
      list->swap(sorted);
    }
    for (IndexNode& node : *list) {
      if (!node.children.empty()) todo.push_back(&node.children);
    }
  }
}
