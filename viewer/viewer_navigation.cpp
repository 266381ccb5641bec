// The viewer window's navigation: the Contents, Index and Search tabs, and
// the Contents tree following the topic shown.
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

namespace {

// Where an item keeps the address of its topic.
constexpr int kUrlRole = Qt::UserRole;

// A topic's key in the Contents tree's lookup: its entry path in any letter case.
QString EntryKey(const QUrl& url) { return ChmEntryPath(url).toLower(); }

void AddContentsNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<ContentsNode>& nodes,
                      const QString& contentsFile, QHash<QString, QTreeWidgetItem*>& byEntry) {
  for (const ContentsNode& node : nodes) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, node.Caption);
    if (node.Data && !node.Data->FileName.isEmpty()) {
      const QUrl url = ChmLinkUrl(contentsFile, node.Data->FileName);
      item->setData(0, kUrlRole, url);
      const QString key = EntryKey(url);
      if (!key.isEmpty() && !byEntry.contains(key)) byEntry.insert(key, item);
    }
    AddContentsNodes(item, tree, node.Children, contentsFile, byEntry);
  }
}

void AddIndexNodes(QTreeWidgetItem* parent, QTreeWidget* tree, const std::vector<IndexNode>& nodes,
                   const QString& indexFile) {
  for (const IndexNode& node : nodes) {
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
    item->setText(0, node.Caption);
    if (node.Data && !node.Data->FileName.isEmpty()) {
      item->setData(0, kUrlRole, ChmLinkUrl(indexFile, node.Data->FileName));
      if (!node.Data->TopicCaption.isEmpty()) item->setToolTip(0, node.Data->TopicCaption);
    }
    AddIndexNodes(item, tree, node.Children, indexFile);
  }
}

}  // namespace

void ViewerWindow::BuildContents() {
  ContentsTree->clear();
  ContentsByEntry.clear();
  AddContentsNodes(nullptr, ContentsTree, Doc->Contents(), Doc->ContentsFile(), ContentsByEntry);
}

void ViewerWindow::BuildIndex() {
  IndexTree->clear();
  AddIndexNodes(nullptr, IndexTree, Doc->Index(), Doc->IndexFile());
  IndexTree->expandAll();
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
  if (item) ShowUrl(item->data(0, kUrlRole).toUrl());
}

void ViewerWindow::FindKeyword(const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return;
  for (QTreeWidgetItemIterator it(IndexTree); *it; ++it) {
    if ((*it)->text(0).startsWith(wanted, Qt::CaseInsensitive)) {
      IndexTree->setCurrentItem(*it);
      IndexTree->scrollToItem(*it, QAbstractItemView::PositionAtTop);
      return;
    }
  }
}

void ViewerWindow::BuildSearch() {
  Search = new TopicSearch(Doc->FilePath(), this);
  const auto ended = [this](const QString& status) {
    SearchProgress->hide();
    SearchStop->hide();
    SearchStatus->setText(status);
    unsetCursor();
  };
  connect(SearchStop, &QPushButton::clicked, Search, &TopicSearch::Cancel);
  connect(Search, &TopicSearch::Progress, this, [this](int done, int total) {
    SearchProgress->setMaximum(total);
    SearchProgress->setValue(done);
  });
  connect(Search, &TopicSearch::Cancelled, this, [ended] { ended("The search was stopped."); });
  connect(Search, &TopicSearch::Failed, this, [ended](const QString& message) { ended(message); });
  connect(Search, &TopicSearch::Finished, this,
          [this, ended](const QList<TopicSearch::Hit>& hits, int leftOut) {
            for (const TopicSearch::Hit& hit : hits) {
              auto* item =
                  new QListWidgetItem(hit.Title.isEmpty() ? hit.EntryPath.mid(1) : hit.Title, SearchResults);
              item->setData(kUrlRole, ChmEntryUrl(hit.EntryPath));
              item->setToolTip(hit.EntryPath.mid(1));
            }
            if (SearchResults->count() > 0) SearchResults->setCurrentRow(0);
            QString status = QString("%1 topics found.").arg(hits.size());
            if (leftOut > 0) status += QString(" %1 topics are too large to be searched.").arg(leftOut);
            ended(status);
          });
}

void ViewerWindow::RunSearch(const QString& query) {
  SearchResults->clear();
  SearchStatus->clear();
  SearchProgress->setRange(0, 0);  // busy until the first pages are read
  SearchProgress->show();
  SearchStop->show();
  setCursor(Qt::BusyCursor);
  Search->Start(query);
}

bool ViewerWindow::SearchRunning() const { return Search && Search->IsRunning(); }

void ViewerWindow::ShowSearchResult(int row) {
  if (QListWidgetItem* item = SearchResults->item(row)) ShowUrl(item->data(kUrlRole).toUrl());
}

void ViewerWindow::UpdateNavigation() {
  if (!Page) return;
  BackAction->setEnabled(Page->history()->canGoBack());
  ForwardAction->setEnabled(Page->history()->canGoForward());
}

void ViewerWindow::SyncContents(const QUrl& url) {
  QTreeWidgetItem* item = ContentsByEntry.value(EntryKey(url));
  if (!item || item == ContentsTree->currentItem()) return;
  const QSignalBlocker block(ContentsTree);
  ContentsTree->setCurrentItem(item);
  ContentsTree->scrollToItem(item);
}
