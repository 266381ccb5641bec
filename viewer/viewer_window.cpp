#include "viewer/viewer_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

#include "viewer/chm_document.h"
#include "platform/profile.h"
#include "viewer/chm_scheme.h"
#include "viewer/search_marks.h"
#include "viewer/topic_search.h"

namespace {

constexpr int kUrlRole = Qt::UserRole;
constexpr double kZoomStep = 1.2;
constexpr char kSettingsSection[] = "Viewer";

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

// ---- ViewerPage --------------------------------------------------------------

ViewerPage::ViewerPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

bool ViewerPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
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
  // The pages stay inside their file: a clicked link to the web or to mail
  // goes to the desktop's programs, anything else outside goes nowhere.
  if (!IsOwnFileUrl(url)) {
    // A script's navigation counts as a link too: only one right after the
    // user's click or key goes to the desktop.
    constexpr qint64 kUserInputMs = 1000;
    const bool byUser = SinceUserInput.isValid() && SinceUserInput.elapsed() < kUserInputMs;
    if (type == NavigationTypeLinkClicked && byUser && IsDesktopLink(url)) {
      SinceUserInput.invalidate();
      QDesktopServices::openUrl(url);
    }
    return false;
  }
  return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}

QWebEnginePage* ViewerPage::createWindow(WebWindowType) { return this; }

// ---- ViewerWindow ------------------------------------------------------------

ViewerWindow::ViewerWindow(std::shared_ptr<const ChmDocument> document,
                           const QList<QPair<QString, QString>>& pageScripts, QWidget* owner)
    : QMainWindow(owner, Qt::Window), Doc(std::move(document)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("HelpViewer");
  setWindowTitle(Doc->Title());
  resize(900, 600);

  // Each window has its own profile and scheme handler: it serves its own file.
  Profile = new QWebEngineProfile(this);
  Handler = new ChmSchemeHandler(Doc, this);
  Profile->installUrlSchemeHandler(kChmScheme, Handler);
  Profile->setUrlRequestInterceptor(new OwnFileOnlyInterceptor(Profile));
  Page = new ViewerPage(Profile, this);
  for (const auto& [name, source] : pageScripts) Page->scripts().insert(PageScript(name, source));

  auto* toolbar = addToolBar("Navigation");
  toolbar->setObjectName("ViewerToolbar");
  toolbar->setMovable(false);
  BackAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back");
  ForwardAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward");
  HomeAction = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Home");
  BackAction->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)});
  ForwardAction->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)});
  BuildMenus();

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
  auto* progressRow = new QHBoxLayout;
  SearchProgress = new QProgressBar(searchTab);
  SearchProgress->setObjectName("SearchProgress");
  SearchStop = new QPushButton("Stop", searchTab);
  SearchStop->setObjectName("SearchStop");
  progressRow->addWidget(SearchProgress);
  progressRow->addWidget(SearchStop);
  searchLayout->addLayout(progressRow);
  SearchProgress->hide();
  SearchStop->hide();
  SearchStatus = new QLabel(searchTab);
  SearchStatus->setObjectName("SearchStatus");
  SearchStatus->setWordWrap(true);
  searchLayout->addWidget(SearchStatus);
  SearchDisplay = new QPushButton("Display", searchTab);
  searchLayout->addWidget(SearchDisplay, 0, Qt::AlignRight);
  BuildSearch();
  NavigationTabs->addTab(searchTab, "Search");

  TopicView = new QWebEngineView(split);
  TopicView->setObjectName("TopicView");
  TopicView->setPage(Page);
  // The topic pane's input arrives at a widget the view makes for each page.
  qApp->installEventFilter(this);
  split->addWidget(NavigationTabs);
  split->addWidget(TopicView);
  split->setStretchFactor(1, 1);
  split->setSizes({250, 650});

  BuildFindBar();
  BuildContents();
  BuildIndex();

  connect(BackAction, &QAction::triggered, TopicView, &QWebEngineView::back);
  connect(ForwardAction, &QAction::triggered, TopicView, &QWebEngineView::forward);
  connect(HomeAction, &QAction::triggered, this, &ViewerWindow::ShowDefaultTopic);
  connect(Page, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
    UpdateNavigation();
    SyncContents(url);
  });
  connect(Page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    UpdateNavigation();
    // A search result shows where the words stand.
    if (ok && !MarkWords.isEmpty())
      Page->runJavaScript(SearchMarkScript(MarkWords), QWebEngineScript::ApplicationWorld);
    MarkWords.clear();
  });
  connect(Page, &ViewerPage::CommandRequested, this, &ViewerWindow::CommandRequested);
  connect(Handler, &ChmSchemeHandler::CommandRequested, this, &ViewerWindow::CommandRequested);
  connect(Page, &ViewerPage::RedirectRequested, this, [this](const QUrl& url) {
    // Not from inside the navigation callback: the page is still deciding.
    QTimer::singleShot(0, this, [this, url] { ShowUrl(url); });
  });
  connect(ContentsTree, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(ContentsTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(IndexEdit, &QLineEdit::textEdited, this, &ViewerWindow::FindKeyword);
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

ViewerWindow::~ViewerWindow() {
  // The page must go before the profile it was made with.
  delete Page;
  Page = nullptr;
  delete Handler;
  Handler = nullptr;
  delete Profile;
  Profile = nullptr;
}

QString ViewerWindow::FilePath() const { return Doc->FilePath(); }

void ViewerWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  OpenAction = file->addAction("&Open...");
  OpenAction->setShortcut(QKeySequence::Open);
  PrintAction = file->addAction("&Print...");
  PrintAction->setShortcut(QKeySequence::Print);
  file->addSeparator();
  CloseAction = file->addAction("&Close");
  CloseAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  QMenu* view = menuBar()->addMenu("&View");
  ZoomInAction = view->addAction("Zoom &in");
  ZoomInAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  ZoomOutAction = view->addAction("Zoom &out");
  ZoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  ZoomResetAction = view->addAction("&Actual size");
  ZoomResetAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  view->addSeparator();
  FindAction = view->addAction("&Find in topic...");
  FindAction->setShortcut(QKeySequence::Find);
  FindNextAction = view->addAction("Find &next");
  FindNextAction->setShortcut(QKeySequence(Qt::Key_F3));
  QMenu* go = menuBar()->addMenu("&Go");
  go->addActions({BackAction, ForwardAction, HomeAction});

  connect(OpenAction, &QAction::triggered, this, [this] {
    QFileDialog dialog(this, "Open");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Compiled help files (*.chm)", "All files (*)"});
    dialog.setDirectory(QFileInfo(FilePath()).absolutePath());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      emit OpenRequested(dialog.selectedFiles().first());
  });
  connect(PrintAction, &QAction::triggered, this, &ViewerWindow::Print);
  connect(CloseAction, &QAction::triggered, this, &QWidget::close);
  connect(ZoomInAction, &QAction::triggered, this, [this] { Zoom(kZoomStep); });
  connect(ZoomOutAction, &QAction::triggered, this, [this] { Zoom(1 / kZoomStep); });
  connect(ZoomResetAction, &QAction::triggered, this, [this] { Zoom(0); });
}

void ViewerWindow::BuildFindBar() {
  FindBar = new QToolBar("Find", this);
  FindBar->setObjectName("FindBar");
  FindBar->setMovable(false);
  addToolBar(Qt::BottomToolBarArea, FindBar);
  FindBar->addWidget(new QLabel("Find: ", FindBar));
  FindEdit = new QLineEdit(FindBar);
  FindEdit->setObjectName("FindEdit");
  FindEdit->setMaximumWidth(250);
  FindBar->addWidget(FindEdit);
  QAction* previous = FindBar->addAction("Previous");
  QAction* next = FindBar->addAction("Next");
  FindStatus = new QLabel(FindBar);
  FindStatus->setObjectName("FindStatus");
  FindStatus->setContentsMargins(8, 0, 8, 0);
  FindBar->addWidget(FindStatus);
  QAction* hide = FindBar->addAction("Close");
  hide->setShortcut(QKeySequence::Cancel);
  hide->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  FindBar->hide();

  connect(FindAction, &QAction::triggered, this, [this] {
    FindBar->show();
    FindEdit->setFocus();
    FindEdit->selectAll();
  });
  connect(FindNextAction, &QAction::triggered, this, [this] {
    if (FindEdit->text().isEmpty())
      FindAction->trigger();
    else
      FindInPage(FindEdit->text());
  });
  connect(FindEdit, &QLineEdit::textChanged, this, [this](const QString& text) { FindInPage(text); });
  connect(FindEdit, &QLineEdit::returnPressed, this, [this] { FindInPage(FindEdit->text()); });
  connect(next, &QAction::triggered, this, [this] { FindInPage(FindEdit->text()); });
  connect(previous, &QAction::triggered, this, [this] { FindInPage(FindEdit->text(), true); });
  connect(hide, &QAction::triggered, this, [this] {
    FindInPage(QString());  // takes the marks off the page
    FindBar->hide();
    TopicView->setFocus();
  });
  connect(Page, &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult& result) {
    if (FindEdit->text().isEmpty())
      FindStatus->clear();
    else if (result.numberOfMatches() == 0)
      FindStatus->setText("Not found");
    else
      FindStatus->setText(QString("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
  });
}

void ViewerWindow::FindInPage(const QString& text, bool backward) {
  if (Page) Page->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void ViewerWindow::Zoom(double factor) {
  // 0: back to the actual size.
  const double zoom = factor == 0 ? 1.0 : TopicView->zoomFactor() * factor;
  TopicView->setZoomFactor(qBound(0.25, zoom, 5.0));
}

void ViewerWindow::Print() {
  if (Printer) return;  // the last topic is still being printed
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(windowTitle());
  QPrintDialog dialog(printer.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  Printer = std::move(printer);
  connect(
      TopicView, &QWebEngineView::printFinished, this,
      [this](bool success) {
        Printer.reset();
        emit PrintFinished(success);
      },
      Qt::SingleShotConnection);
  TopicView->print(Printer.get());
}

void ViewerWindow::PlaceBeside(QWidget* owner) {
  if (!owner) return;
  QWidget* top = owner->window();
  const QScreen* screen = top->screen();
  if (!screen) return;
  const QRect room = screen->availableGeometry();
  const QRect beside = top->frameGeometry();
  QSize wanted = size().boundedTo(room.size());
  int x = beside.right() + 1;
  int y = qMax(beside.top(), room.top());
  if (x + wanted.width() - 1 > room.right()) {
    if (beside.left() - wanted.width() >= room.left()) {
      x = beside.left() - wanted.width();
    } else {
      // No side has room: on the wider side, over the owner below its menu bar.
      x = room.right() - beside.right() >= beside.left() - room.left() ? room.right() - wanted.width() + 1
                                                                       : room.left();
      if (const auto* main = qobject_cast<QMainWindow*>(top); main && main->menuWidget())
        y = qMax(y, main->menuWidget()->mapToGlobal(QPoint(0, main->menuWidget()->height())).y());
      wanted.setHeight(qMin(wanted.height(), room.bottom() - y + 1));
    }
  }
  resize(wanted);
  move(x, y);
}

void ViewerWindow::RememberSizeIn(const QString& settingsFile) {
  SettingsFile = settingsFile;
  const int width = ReadProfileString(SettingsFile, kSettingsSection, "Width", QString()).toInt();
  const int height = ReadProfileString(SettingsFile, kSettingsSection, "Height", QString()).toInt();
  if (width >= 200 && height >= 150) resize(width, height);
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  if (!SettingsFile.isEmpty()) {
    Status stored = WriteProfileString(SettingsFile, kSettingsSection, "Width", QString::number(width()));
    if (stored)
      stored = WriteProfileString(SettingsFile, kSettingsSection, "Height", QString::number(height()));
    // The window closes all the same; the size is only a convenience.
    if (!stored) qWarning("Orvex: %s", qPrintable(stored.Message()));
  }
  QMainWindow::closeEvent(event);
}

bool ViewerWindow::eventFilter(QObject* watched, QEvent* event) {
  // The engine's widget that takes the topic's clicks and keys is the view's
  // focus proxy. Compared by address only: the filter sees every object of
  // the program, some of them half built or half gone.
  const QEvent::Type type = event->type();
  if ((type == QEvent::MouseButtonPress || type == QEvent::KeyPress) && Page &&
      (watched == TopicView || watched == TopicView->focusProxy()))
    Page->NoteUserInput();
  return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::ShowUrl(const QUrl& url) {
  if (!url.isValid() || !Page) return;
  // A contents or index item that leads to the web opens in the browser.
  if (IsDesktopLink(url))
    QDesktopServices::openUrl(url);
  else if (IsOwnFileUrl(url))
    Page->setUrl(url);
}

void ViewerWindow::ShowDefaultTopic() { ShowUrl(Doc->DefaultTopicUrl()); }

QString ViewerWindow::CurrentEntry() const { return Page ? ChmEntryPath(Page->url()) : QString(); }

QUrl ViewerWindow::CurrentUrl() const { return Page ? Page->url() : QUrl(); }

void ViewerWindow::AddPageScript(const QString& name, const QString& source) {
  if (Page) Page->scripts().insert(PageScript(name, source));
}

QList<QPair<QString, QByteArray>> ViewerWindow::RequestLog() const {
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
  static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                             QRegularExpression::UseUnicodePropertiesOption);
  SearchWords = query.split(separators, Qt::SkipEmptyParts);
  SearchWords.removeDuplicates();
  Search->Start(query);
}

bool ViewerWindow::SearchRunning() const { return Search && Search->IsRunning(); }

void ViewerWindow::ShowSearchResult(int row) {
  QListWidgetItem* item = SearchResults->item(row);
  if (!item) return;
  MarkWords = SearchWords;
  ShowUrl(item->data(kUrlRole).toUrl());
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
