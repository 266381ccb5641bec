// The viewer window's navigation: the Contents, Index and Search tabs, and
// the Contents tree following the topic shown.
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

#include "viewer/chm_document.h"
#include "viewer/topic_search.h"
#include "viewer/viewer_window.h"

#include "viewer/chm_pages.h"

namespace {

// Where an item keeps the address of its topic.
constexpr int kUrlRole = Qt::UserRole;

// A topic's key in the Contents tree's lookup: its entry path in any letter case.
QString EntryKey(const QUrl& url) { return ChmEntryPath(url).toLower(); }

void AddContentsNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<ContentsNode>& nodes,
                      const QString& contentsFile, QHash<QString, QTreeWidgetItem*>& byEntry) {
  for (const ContentsNode& node : nodes) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, node.caption);
    if (node.data && !node.data->fileName.isEmpty()) {
      const QUrl url = ChmLinkUrl(contentsFile, node.data->fileName);
      item->setData(0, kUrlRole, url);
      const QString key = EntryKey(url);
      if (!key.isEmpty() && !byEntry.contains(key)) byEntry.insert(key, item);
    }
    AddContentsNodes(item, tree, node.children, contentsFile, byEntry);
  }
}

// A keyword's topics: their addresses and captions, in order.
constexpr int kTopicUrlsRole = Qt::UserRole + 1;
constexpr int kTopicCaptionsRole = Qt::UserRole + 2;

// A keyword with several topics (one item of several name/local pairs, or
// items of one keyword one after the other) is one line that holds them all.
void AddIndexNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<IndexNode>& nodes,
                   const QString& indexFile) {
  QTreeWidgetItem* last = nullptr;
  for (const IndexNode& node : nodes) {
    const bool hasTopic = node.data && !node.data->fileName.isEmpty();
    const QUrl url = hasTopic ? ChmLinkUrl(indexFile, node.data->fileName) : QUrl();
    const QString caption = hasTopic && !node.data->topicCaption.isEmpty() ? node.data->topicCaption
                            : hasTopic                                     ? node.data->fileName
                                                                           : QString();
    if (last && hasTopic && node.children.empty() && last->text(0) == node.caption &&
        last->data(0, kUrlRole).toUrl().isValid()) {
      QVariantList urls = last->data(0, kTopicUrlsRole).toList();
      QStringList captions = last->data(0, kTopicCaptionsRole).toStringList();
      if (!urls.contains(url)) {
        urls << url;
        captions << caption;
        last->setData(0, kTopicUrlsRole, urls);
        last->setData(0, kTopicCaptionsRole, captions);
        last->setToolTip(0, captions.join(u'\n'));
      }
      continue;
    }
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, node.caption);
    if (hasTopic) {
      item->setData(0, kUrlRole, url);
      item->setData(0, kTopicUrlsRole, QVariantList{url});
      item->setData(0, kTopicCaptionsRole, QStringList{caption});
      if (!node.data->topicCaption.isEmpty()) item->setToolTip(0, node.data->topicCaption);
    }
    last = item;
    AddIndexNodes(item, tree, node.children, indexFile);
  }
}

}  // namespace

void ViewerWindow::BuildContents() {
  contentsTree->clear();
  contentsByEntry.clear();
  AddContentsNodes(nullptr, contentsTree, doc->Contents(), doc->ContentsFile(), contentsByEntry);
}

void ViewerWindow::BuildIndex() {
  indexTree->clear();
  AddIndexNodes(nullptr, indexTree, doc->Index(), doc->IndexFile());
  indexTree->expandAll();
}

void ViewerWindow::ShowContentsItem(QTreeWidgetItem* item) {
  if (!item) return;
  const QUrl url = item->data(0, kUrlRole).toUrl();
  if (url.isValid())
    ShowUrl(url);
  else
    item->setExpanded(!item->isExpanded());
}

void ViewerWindow::ShowIndexItem(QTreeWidgetItem* item) {
  // A keyword without a page of its own leads to its first entry's page.
  while (item && !item->data(0, kUrlRole).toUrl().isValid())
    item = item->childCount() ? item->child(0) : nullptr;
  if (!item) return;
  const QVariantList urls = item->data(0, kTopicUrlsRole).toList();
  if (urls.size() < 2) {
    ShowUrl(item->data(0, kUrlRole).toUrl());
    return;
  }
  // Several topics: a small list to choose from, without waiting for it.
  auto* chooser = new QDialog(this);
  chooser->setObjectName("topicsFoundDialog");
  chooser->setWindowTitle("Topics Found");
  chooser->setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(chooser);
  layout->addWidget(new QLabel("Click a topic, then click Display.", chooser));
  auto* list = new QListWidget(chooser);
  list->setObjectName("topicsFoundList");
  list->addItems(item->data(0, kTopicCaptionsRole).toStringList());
  list->setCurrentRow(0);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, chooser);
  buttons->addButton("Display", QDialogButtonBox::AcceptRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, chooser, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, chooser, &QDialog::reject);
  connect(list, &QListWidget::itemActivated, chooser, &QDialog::accept);
  connect(chooser, &QDialog::accepted, this, [this, list, urls] {
    const int row = list->currentRow();
    if (row >= 0 && row < urls.size()) ShowUrl(urls[row].toUrl());
  });
  chooser->open();
}

void ViewerWindow::FindKeyword(const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return;
  for (QTreeWidgetItemIterator it(indexTree); *it; ++it) {
    if ((*it)->text(0).startsWith(wanted, Qt::CaseInsensitive)) {
      indexTree->setCurrentItem(*it);
      indexTree->scrollToItem(*it, QAbstractItemView::PositionAtTop);
      return;
    }
  }
}

void ViewerWindow::BuildSearch() {
  topicSearch = new TopicSearch(doc->FilePath(), this);
  const auto ended = [this](const QString& status) {
    searchProgress->hide();
    searchStop->hide();
    searchStatus->setText(status);
    unsetCursor();
  };
  connect(searchStop, &QPushButton::clicked, topicSearch, &TopicSearch::Cancel);
  connect(topicSearch, &TopicSearch::Progress, this, [this](int done, int total) {
    searchProgress->setMaximum(total);
    searchProgress->setValue(done);
  });
  connect(topicSearch, &TopicSearch::Cancelled, this, [ended] { ended("The search was stopped."); });
  connect(topicSearch, &TopicSearch::Failed, this, [ended](const QString& message) { ended(message); });
  connect(topicSearch, &TopicSearch::Finished, this,
          [this, ended](const QList<TopicSearch::Hit>& hits, int leftOut) {
            for (const TopicSearch::Hit& hit : hits) {
              auto* item =
                  new QListWidgetItem(hit.title.isEmpty() ? hit.entryPath.mid(1) : hit.title, searchResults);
              item->setData(kUrlRole, ChmEntryUrl(hit.entryPath));
              item->setToolTip(hit.entryPath.mid(1));
            }
            if (searchResults->count() > 0) searchResults->setCurrentRow(0);
            QString status = QString("%1 topics found.").arg(hits.size());
            if (leftOut > 0) status += QString(" %1 topics are too large to be searched.").arg(leftOut);
            ended(status);
          });
}

void ViewerWindow::RunSearch(const QString& query) {
  searchResults->clear();
  searchStatus->clear();
  searchProgress->setRange(0, 0);  // busy until the first pages are read
  searchProgress->show();
  searchStop->show();
  setCursor(Qt::BusyCursor);
  searchWords = QueryWords(query);
  topicSearch->Start(query);
}

bool ViewerWindow::SearchRunning() const { return topicSearch && topicSearch->IsRunning(); }

void ViewerWindow::ShowSearchResult(int row) {
  QListWidgetItem* item = searchResults->item(row);
  if (!item) return;
  markWords = searchWords;
  ShowUrl(item->data(kUrlRole).toUrl());
}

void ViewerWindow::UpdateNavigation() {
  if (!topicPage) return;
  backAction->setEnabled(topicPage->history()->canGoBack());
  forwardAction->setEnabled(topicPage->history()->canGoForward());
}

void ViewerWindow::SyncContents(const QUrl& url) {
  QTreeWidgetItem* item = contentsByEntry.value(EntryKey(url));
  if (!item || item == contentsTree->currentItem()) return;
  const QSignalBlocker block(contentsTree);
  contentsTree->setCurrentItem(item);
  contentsTree->scrollToItem(item);
}
