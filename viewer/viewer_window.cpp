#include "viewer/viewer_window.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "viewer/chm_document.h"
#include "viewer/chm_scheme.h"

namespace {

constexpr int kUrlRole = Qt::UserRole;

bool IsItsLink(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return scheme == u"ms-its" || scheme == u"its" || scheme == u"mk";
}

QString EntryKey(const QUrl& url) { return ChmEntryPath(url).toLower(); }

QWebEngineScript PageScript(const QString& name, const QString& source) {
  QWebEngineScript script;
  script.setName(name);
  script.setSourceCode(source);
  script.setInjectionPoint(QWebEngineScript::DocumentReady);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(true);
  return script;
}

}  // namespace

// ---- TViewerPage --------------------------------------------------------------

TViewerPage::TViewerPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool TViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
  QString name;
  QUrlQuery arguments;
  if (IsViewerCommand(url, &name, &arguments)) {
    emit CommandRequested(name, arguments);
    return false;
  }
  if (IsItsLink(url)) {
    const QUrl target = ChmLinkUrl(ChmEntryPath(this->url()), url.toString());
    if (target.isValid() && IsItsLink(target) == false) emit RedirectRequested(target);
    return false;
  }
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* TViewerPage::createWindow(WebWindowType) { return this; }

// ---- TViewerWindow ------------------------------------------------------------

TViewerWindow::TViewerWindow(std::shared_ptr<const ChmDocument> document,
                             const QList<QPair<QString, QString>>& pageScripts, QWidget* owner)
    : QMainWindow(owner, Qt::Window), Doc(std::move(document)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("HelpViewer");
  setWindowTitle(Doc->Title());
  resize(900, 600);

  // Each window has its own profile and scheme handler: it serves its own file.
  Profile = new QWebEngineProfile(this);
  Handler = new TChmSchemeHandler(Doc, this);
  Profile->installUrlSchemeHandler(kChmScheme, Handler);
  Page = new TViewerPage(Profile, this);
  for (const auto& [name, source] : pageScripts) Page->scripts().insert(PageScript(name, source));

  auto* toolbar = addToolBar("Navigation");
  toolbar->setObjectName("ViewerToolbar");
  toolbar->setMovable(false);
  BackAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back");
  ForwardAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward");
  HomeAction = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Home");
  BackAction->setShortcut(QKeySequence::Back);
  ForwardAction->setShortcut(QKeySequence::Forward);

  auto* split = new QSplitter(Qt::Horizontal, this);
  setCentralWidget(split);
  NavigationTabs = new QTabWidget(split);
  NavigationTabs->setObjectName("NavigationTabs");

  ContentsTree = new QTreeWidget;
  ContentsTree->setObjectName("ContentsTree");
  ContentsTree->setHeaderHidden(true);
  NavigationTabs->addTab(ContentsTree, "Contents");

  auto* indexTab = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexTab);
  indexLayout->addWidget(new QLabel("Type in the keyword to find:", indexTab));
  IndexEdit = new QLineEdit(indexTab);
  IndexEdit->setObjectName("IndexEdit");
  indexLayout->addWidget(IndexEdit);
  IndexTree = new QTreeWidget(indexTab);
  IndexTree->setObjectName("IndexTree");
  IndexTree->setHeaderHidden(true);
  IndexTree->setRootIsDecorated(false);
  indexLayout->addWidget(IndexTree);
  IndexDisplay = new QPushButton("Display", indexTab);
  indexLayout->addWidget(IndexDisplay, 0, Qt::AlignRight);
  NavigationTabs->addTab(indexTab, "Index");

  auto* searchTab = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchTab);
  searchLayout->addWidget(new QLabel("Type in the word(s) to search for:", searchTab));
  auto* searchRow = new QHBoxLayout;
  SearchEdit = new QLineEdit(searchTab);
  SearchEdit->setObjectName("SearchEdit");
  SearchButton = new QPushButton("List Topics", searchTab);
  searchRow->addWidget(SearchEdit);
  searchRow->addWidget(SearchButton);
  searchLayout->addLayout(searchRow);
  SearchResults = new QListWidget(searchTab);
  SearchResults->setObjectName("SearchResults");
  searchLayout->addWidget(SearchResults);
  SearchDisplay = new QPushButton("Display", searchTab);
  searchLayout->addWidget(SearchDisplay, 0, Qt::AlignRight);
  NavigationTabs->addTab(searchTab, "Search");

  TopicView = new QWebEngineView(split);
  TopicView->setObjectName("TopicView");
  TopicView->setPage(Page);
  split->addWidget(NavigationTabs);
  split->addWidget(TopicView);
  split->setStretchFactor(1, 1);
  split->setSizes({250, 650});

  BuildContents();
  BuildIndex();

  connect(BackAction, &QAction::triggered, TopicView, &QWebEngineView::back);
  connect(ForwardAction, &QAction::triggered, TopicView, &QWebEngineView::forward);
  connect(HomeAction, &QAction::triggered, this, &TViewerWindow::ShowDefaultTopic);
  connect(Page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
    UpdateNavigation();
    SyncContents(url);
  });
  connect(Page, &QWebEnginePage::loadFinished, this, [this] { UpdateNavigation(); });
  connect(Page, &TViewerPage::CommandRequested, this, &TViewerWindow::CommandRequested);
  connect(Handler, &TChmSchemeHandler::CommandRequested, this, &TViewerWindow::CommandRequested);
  connect(Page, &TViewerPage::RedirectRequested, this, [this](const QUrl& url) {
    // Not from inside the navigation callback: the page is still deciding.
    QTimer::singleShot(0, this, [this, url] { ShowUrl(url); });
  });
  connect(ContentsTree, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(ContentsTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(IndexEdit, &QLineEdit::textEdited, this, &TViewerWindow::FindKeyword);
  connect(IndexEdit, &QLineEdit::returnPressed, this, [this] { ShowIndexItem(IndexTree->currentItem()); });
  connect(IndexTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowIndexItem(item); });
  connect(IndexTree, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowIndexItem(item); });
  connect(IndexDisplay, &QPushButton::clicked, this, [this] { ShowIndexItem(IndexTree->currentItem()); });
  connect(SearchEdit, &QLineEdit::returnPressed, this, [this] { RunSearch(SearchEdit->text()); });
  connect(SearchButton, &QPushButton::clicked, this, [this] { RunSearch(SearchEdit->text()); });
  connect(SearchResults, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowSearchResult(SearchResults->row(item)); });
  connect(SearchDisplay, &QPushButton::clicked, this,
          [this] { ShowSearchResult(SearchResults->currentRow()); });
  UpdateNavigation();
}

TViewerWindow::~TViewerWindow() {
  // The page must go before the profile it was made with.
  delete Page;
  Page = nullptr;
  delete Handler;
  Handler = nullptr;
  delete Profile;
  Profile = nullptr;
}

QString TViewerWindow::FilePath() const { return Doc->FilePath(); }

void TViewerWindow::ShowUrl(const QUrl& url) {
  if (!url.isValid() || !Page) return;
  Page->setUrl(url);
}

void TViewerWindow::ShowDefaultTopic() { ShowUrl(Doc->DefaultTopicUrl()); }

QString TViewerWindow::CurrentEntry() const { return Page ? ChmEntryPath(Page->url()) : QString(); }

QUrl TViewerWindow::CurrentUrl() const { return Page ? Page->url() : QUrl(); }

void TViewerWindow::AddPageScript(const QString& name, const QString& source) {
  if (Page) Page->scripts().insert(PageScript(name, source));
}

QList<QPair<QString, QByteArray>> TViewerWindow::RequestLog() const {
  return Handler ? Handler->RequestLog() : QList<QPair<QString, QByteArray>>();
}

namespace {

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

void TViewerWindow::BuildContents() {
  ContentsTree->clear();
  ContentsByEntry.clear();
  AddContentsNodes(nullptr, ContentsTree, Doc->Contents(), Doc->ContentsFile(), ContentsByEntry);
}

void TViewerWindow::BuildIndex() {
  IndexTree->clear();
  AddIndexNodes(nullptr, IndexTree, Doc->Index(), Doc->IndexFile());
  IndexTree->expandAll();
}

void TViewerWindow::ShowContentsItem(QTreeWidgetItem* item) {
  if (!item) return;
  const QUrl url = item->data(0, kUrlRole).toUrl();
  if (url.isValid())
    ShowUrl(url);
  else
    item->setExpanded(!item->isExpanded());
}

void TViewerWindow::ShowIndexItem(QTreeWidgetItem* item) {
  // A keyword without a page of its own leads to its first entry's page.
  while (item && !item->data(0, kUrlRole).toUrl().isValid())
    item = item->childCount() ? item->child(0) : nullptr;
  if (item) ShowUrl(item->data(0, kUrlRole).toUrl());
}

void TViewerWindow::FindKeyword(const QString& text) {
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

void TViewerWindow::RunSearch(const QString& query) {
  if (!TopicsRead) {
    Topics = Doc->TopicTexts();
    TopicsRead = true;
  }
  SearchResults->clear();
  for (int index : SearchTopics(Topics, query)) {
    const TopicText& topic = Topics[index];
    auto* item =
        new QListWidgetItem(topic.Title.isEmpty() ? topic.EntryPath.mid(1) : topic.Title, SearchResults);
    item->setData(kUrlRole, ChmEntryUrl(topic.EntryPath));
    item->setToolTip(topic.EntryPath.mid(1));
  }
  if (SearchResults->count() > 0) SearchResults->setCurrentRow(0);
}

void TViewerWindow::ShowSearchResult(int row) {
  if (QListWidgetItem* item = SearchResults->item(row)) ShowUrl(item->data(kUrlRole).toUrl());
}

void TViewerWindow::UpdateNavigation() {
  if (!Page) return;
  BackAction->setEnabled(Page->history()->canGoBack());
  ForwardAction->setEnabled(Page->history()->canGoForward());
}

void TViewerWindow::SyncContents(const QUrl& url) {
  QTreeWidgetItem* item = ContentsByEntry.value(EntryKey(url));
  if (!item || item == ContentsTree->currentItem()) return;
  const QSignalBlocker block(ContentsTree);
  ContentsTree->setCurrentItem(item);
  ContentsTree->scrollToItem(item);
}
