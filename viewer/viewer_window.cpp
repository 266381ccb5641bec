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

constexpr double kZoomStep = 1.2;
constexpr char kSettingsSection[] = "Viewer";

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

ViewerWindow::ViewerWindow(std::shared_ptr<const ChmDocument> document,
                           const QList<QPair<QString, QString>>& pageScripts, QWidget* owner)
    : QMainWindow(owner, Qt::Window), doc(std::move(document)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("HelpViewer");
  setWindowTitle(doc->Title());
  resize(900, 600);

  // Each window has its own profile and scheme handler: it serves its own file.
  webProfile = new QWebEngineProfile(this);
  schemeHandler = new ChmSchemeHandler(doc, this);
  webProfile->installUrlSchemeHandler(kChmScheme, schemeHandler);
  webProfile->setUrlRequestInterceptor(new OwnFileOnlyInterceptor(webProfile));
  topicPage = new ViewerPage(webProfile, this);
  for (const auto& [name, source] : pageScripts) topicPage->scripts().insert(PageScript(name, source));

  auto* toolbar = addToolBar("Navigation");
  toolbar->setObjectName("ViewerToolbar");
  toolbar->setMovable(false);
  backAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), "Back");
  forwardAction = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), "Forward");
  homeAction = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), "Home");
  backAction->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Left), QKeySequence(Qt::Key_Back)});
  forwardAction->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::Key_Forward)});
  BuildMenus();

  auto* split = new QSplitter(Qt::Horizontal, this);
  setCentralWidget(split);
  navigationTabs = new QTabWidget(split);
  navigationTabs->setObjectName("NavigationTabs");

  contentsTree = new QTreeWidget;
  contentsTree->setObjectName("ContentsTree");
  contentsTree->setHeaderHidden(true);
  navigationTabs->addTab(contentsTree, "Contents");

  auto* indexTab = new QWidget;
  auto* indexLayout = new QVBoxLayout(indexTab);
  indexLayout->addWidget(new QLabel("Type in the keyword to find:", indexTab));
  indexEdit = new QLineEdit(indexTab);
  indexEdit->setObjectName("IndexEdit");
  indexLayout->addWidget(indexEdit);
  indexTree = new QTreeWidget(indexTab);
  indexTree->setObjectName("IndexTree");
  indexTree->setHeaderHidden(true);
  indexTree->setRootIsDecorated(false);
  indexLayout->addWidget(indexTree);
  indexDisplay = new QPushButton("Display", indexTab);
  indexLayout->addWidget(indexDisplay, 0, Qt::AlignRight);
  navigationTabs->addTab(indexTab, "Index");

  auto* searchTab = new QWidget;
  auto* searchLayout = new QVBoxLayout(searchTab);
  searchLayout->addWidget(new QLabel("Type in the word(s) to search for:", searchTab));
  auto* searchRow = new QHBoxLayout;
  searchEdit = new QLineEdit(searchTab);
  searchEdit->setObjectName("SearchEdit");
  searchButton = new QPushButton("List Topics", searchTab);
  searchRow->addWidget(searchEdit);
  searchRow->addWidget(searchButton);
  searchLayout->addLayout(searchRow);
  searchResults = new QListWidget(searchTab);
  searchResults->setObjectName("SearchResults");
  searchLayout->addWidget(searchResults);
  auto* progressRow = new QHBoxLayout;
  searchProgress = new QProgressBar(searchTab);
  searchProgress->setObjectName("SearchProgress");
  searchStop = new QPushButton("Stop", searchTab);
  searchStop->setObjectName("SearchStop");
  progressRow->addWidget(searchProgress);
  progressRow->addWidget(searchStop);
  searchLayout->addLayout(progressRow);
  searchProgress->hide();
  searchStop->hide();
  searchStatus = new QLabel(searchTab);
  searchStatus->setObjectName("SearchStatus");
  searchStatus->setWordWrap(true);
  searchLayout->addWidget(searchStatus);
  searchDisplay = new QPushButton("Display", searchTab);
  searchLayout->addWidget(searchDisplay, 0, Qt::AlignRight);
  BuildSearch();
  navigationTabs->addTab(searchTab, "Search");

  topicView = new QWebEngineView(split);
  topicView->setObjectName("TopicView");
  topicView->setPage(topicPage);
  // The topic pane's input arrives at a widget the view makes for each page.
  qApp->installEventFilter(this);
  split->addWidget(navigationTabs);
  split->addWidget(topicView);
  split->setStretchFactor(1, 1);
  split->setSizes({250, 650});

  BuildFindBar();
  BuildContents();
  BuildIndex();

  connect(backAction, &QAction::triggered, topicView, &QWebEngineView::back);
  connect(forwardAction, &QAction::triggered, topicView, &QWebEngineView::forward);
  connect(homeAction, &QAction::triggered, this, &ViewerWindow::ShowDefaultTopic);
  connect(topicPage, &QWebEnginePage::urlChanged, this, [this](const QUrl& url) {
    UpdateNavigation();
    SyncContents(url);
  });
  connect(topicPage, &QWebEnginePage::loadFinished, this, [this](bool ok) {
    UpdateNavigation();
    // A search result shows where the words stand.
    if (ok && !markWords.isEmpty())
      topicPage->runJavaScript(SearchMarkScript(markWords), QWebEngineScript::ApplicationWorld);
    markWords.clear();
  });
  connect(topicPage, &ViewerPage::CommandRequested, this, &ViewerWindow::CommandRequested);
  connect(schemeHandler, &ChmSchemeHandler::CommandRequested, this, &ViewerWindow::CommandRequested);
  connect(topicPage, &ViewerPage::RedirectRequested, this, [this](const QUrl& url) {
    // Not from inside the navigation callback: the page is still deciding.
    QTimer::singleShot(0, this, [this, url] { ShowUrl(url); });
  });
  connect(contentsTree, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(contentsTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowContentsItem(item); });
  connect(indexEdit, &QLineEdit::textEdited, this, &ViewerWindow::FindKeyword);
  connect(indexEdit, &QLineEdit::returnPressed, this, [this] { ShowIndexItem(indexTree->currentItem()); });
  connect(indexTree, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item) { ShowIndexItem(item); });
  connect(indexTree, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { ShowIndexItem(item); });
  connect(indexDisplay, &QPushButton::clicked, this, [this] { ShowIndexItem(indexTree->currentItem()); });
  connect(searchEdit, &QLineEdit::returnPressed, this, [this] { RunSearch(searchEdit->text()); });
  connect(searchButton, &QPushButton::clicked, this, [this] { RunSearch(searchEdit->text()); });
  connect(searchResults, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowSearchResult(searchResults->row(item)); });
  connect(searchDisplay, &QPushButton::clicked, this,
          [this] { ShowSearchResult(searchResults->currentRow()); });
  UpdateNavigation();
}

ViewerWindow::~ViewerWindow() {
  // The page must go before the profile it was made with.
  delete topicPage;
  topicPage = nullptr;
  delete schemeHandler;
  schemeHandler = nullptr;
  delete webProfile;
  webProfile = nullptr;
}

QString ViewerWindow::FilePath() const { return doc->FilePath(); }

void ViewerWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  openAction = file->addAction("&Open...");
  openAction->setShortcut(QKeySequence::Open);
  printAction = file->addAction("&Print...");
  printAction->setShortcut(QKeySequence::Print);
  file->addSeparator();
  closeAction = file->addAction("&Close");
  closeAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
  QMenu* view = menuBar()->addMenu("&View");
  zoomInAction = view->addAction("Zoom &in");
  zoomInAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  zoomOutAction = view->addAction("Zoom &out");
  zoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  zoomResetAction = view->addAction("&Actual size");
  zoomResetAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  view->addSeparator();
  findAction = view->addAction("&Find in topic...");
  findAction->setShortcut(QKeySequence::Find);
  findNextAction = view->addAction("Find &next");
  findNextAction->setShortcut(QKeySequence(Qt::Key_F3));
  QMenu* go = menuBar()->addMenu("&Go");
  go->addActions({backAction, forwardAction, homeAction});

  connect(openAction, &QAction::triggered, this, [this] {
    QFileDialog dialog(this, "Open");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"Compiled help files (*.chm)", "All files (*)"});
    dialog.setDirectory(QFileInfo(FilePath()).absolutePath());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
      emit OpenRequested(dialog.selectedFiles().first());
  });
  connect(printAction, &QAction::triggered, this, &ViewerWindow::Print);
  connect(closeAction, &QAction::triggered, this, &QWidget::close);
  connect(zoomInAction, &QAction::triggered, this, [this] { Zoom(kZoomStep); });
  connect(zoomOutAction, &QAction::triggered, this, [this] { Zoom(1 / kZoomStep); });
  connect(zoomResetAction, &QAction::triggered, this, [this] { Zoom(0); });
}

void ViewerWindow::BuildFindBar() {
  findBar = new QToolBar("Find", this);
  findBar->setObjectName("FindBar");
  findBar->setMovable(false);
  addToolBar(Qt::BottomToolBarArea, findBar);
  findBar->addWidget(new QLabel("Find: ", findBar));
  findEdit = new QLineEdit(findBar);
  findEdit->setObjectName("FindEdit");
  findEdit->setMaximumWidth(250);
  findBar->addWidget(findEdit);
  QAction* previous = findBar->addAction("Previous");
  QAction* next = findBar->addAction("Next");
  findStatus = new QLabel(findBar);
  findStatus->setObjectName("FindStatus");
  findStatus->setContentsMargins(8, 0, 8, 0);
  findBar->addWidget(findStatus);
  QAction* hide = findBar->addAction("Close");
  hide->setShortcut(QKeySequence::Cancel);
  hide->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  findBar->hide();

  connect(findAction, &QAction::triggered, this, [this] {
    findBar->show();
    findEdit->setFocus();
    findEdit->selectAll();
  });
  connect(findNextAction, &QAction::triggered, this, [this] {
    if (findEdit->text().isEmpty())
      findAction->trigger();
    else
      FindInPage(findEdit->text());
  });
  connect(findEdit, &QLineEdit::textChanged, this, [this](const QString& text) { FindInPage(text); });
  connect(findEdit, &QLineEdit::returnPressed, this, [this] { FindInPage(findEdit->text()); });
  connect(next, &QAction::triggered, this, [this] { FindInPage(findEdit->text()); });
  connect(previous, &QAction::triggered, this, [this] { FindInPage(findEdit->text(), true); });
  connect(hide, &QAction::triggered, this, [this] {
    FindInPage(QString());  // takes the marks off the page
    findBar->hide();
    topicView->setFocus();
  });
  connect(topicPage, &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult& result) {
    if (findEdit->text().isEmpty())
      findStatus->clear();
    else if (result.numberOfMatches() == 0)
      findStatus->setText("Not found");
    else
      findStatus->setText(QString("%1 of %2").arg(result.activeMatch()).arg(result.numberOfMatches()));
  });
}

void ViewerWindow::FindInPage(const QString& text, bool backward) {
  if (topicPage)
    topicPage->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

void ViewerWindow::Zoom(double factor) {
  // 0: back to the actual size.
  const double zoom = factor == 0 ? 1.0 : topicView->zoomFactor() * factor;
  topicView->setZoomFactor(qBound(0.25, zoom, 5.0));
}

void ViewerWindow::Print() {
  if (topicPrinter) return;  // the last topic is still being printed
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setDocName(windowTitle());
  QPrintDialog dialog(printer.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  topicPrinter = std::move(printer);
  connect(
      topicView, &QWebEngineView::printFinished, this,
      [this](bool success) {
        topicPrinter.reset();
        emit PrintFinished(success);
      },
      Qt::SingleShotConnection);
  topicView->print(topicPrinter.get());
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
  sizeSettingsFile = settingsFile;
  const int width = ReadProfileString(sizeSettingsFile, kSettingsSection, "Width", QString()).toInt();
  const int height = ReadProfileString(sizeSettingsFile, kSettingsSection, "Height", QString()).toInt();
  if (width >= 200 && height >= 150) resize(width, height);
}

void ViewerWindow::closeEvent(QCloseEvent* event) {
  if (!sizeSettingsFile.isEmpty()) {
    Status stored = WriteProfileString(sizeSettingsFile, kSettingsSection, "Width", QString::number(width()));
    if (stored)
      stored = WriteProfileString(sizeSettingsFile, kSettingsSection, "Height", QString::number(height()));
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
  if ((type == QEvent::MouseButtonPress || type == QEvent::KeyPress) && topicPage &&
      (watched == topicView || watched == topicView->focusProxy()))
    topicPage->NoteUserInput();
  return QMainWindow::eventFilter(watched, event);
}

void ViewerWindow::ShowUrl(const QUrl& url) {
  if (!url.isValid() || !topicPage) return;
  // A contents or index item that leads to the web opens in the browser.
  if (IsDesktopLink(url))
    QDesktopServices::openUrl(url);
  else if (IsOwnFileUrl(url))
    topicPage->setUrl(url);
}

void ViewerWindow::ShowDefaultTopic() { ShowUrl(doc->DefaultTopicUrl()); }

QString ViewerWindow::CurrentEntry() const { return topicPage ? ChmEntryPath(topicPage->url()) : QString(); }

QUrl ViewerWindow::CurrentUrl() const { return topicPage ? topicPage->url() : QUrl(); }

void ViewerWindow::AddPageScript(const QString& name, const QString& source) {
  if (topicPage) topicPage->scripts().insert(PageScript(name, source));
}

QList<QPair<QString, QByteArray>> ViewerWindow::RequestLog() const {
  return schemeHandler ? schemeHandler->RequestLog() : QList<QPair<QString, QByteArray>>();
}
