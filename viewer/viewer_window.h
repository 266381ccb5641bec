// The help viewer's window: Contents, Index and Search on the left, the
// topic on the right, with back and forward.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEnginePage>

#include <memory>

#include "viewer/chm_pages.h"

class ChmDocument;
class QAction;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;
class QPrinter;
class QProgressBar;
class TopicSearch;
class QToolBar;
class QWebEngineProfile;
class QWebEngineView;
class ChmSchemeHandler;

// The topic pane's page: viewer commands and "ms-its:" links are taken here.
class ViewerPage : public QWebEnginePage {
  Q_OBJECT
 public:
  ViewerPage(QWebEngineProfile* profile, QObject* parent);
  // The user pressed a mouse button or a key in the topic pane: a link to
  // the web or to mail followed now was clicked, not set off by a script.
  void NoteUserInput() { SinceUserInput.start(); }

 signals:
  void CommandRequested(const QString& name, const QUrlQuery& arguments);
  // A link into the compiled file written in another form ("ms-its:...").
  void RedirectRequested(const QUrl& url);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  // Links meant for a new window open in the topic pane.
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  QElapsedTimer SinceUserInput;
};

class ViewerWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `document` must be open. Page scripts (name, JavaScript source) run in
  // every topic once its document is ready; they turn the page's HTML Help
  // objects into working elements.
  ViewerWindow(std::shared_ptr<const ChmDocument> document, const QList<QPair<QString, QString>>& pageScripts,
               QWidget* owner = nullptr);
  ~ViewerWindow() override;

  const ChmDocument& Document() const { return *Doc; }
  QString FilePath() const;

  // Shows a URL of the scheme in the topic pane; a web or mail link opens
  // in the desktop's browser or mail program, any other URL is refused.
  void ShowUrl(const QUrl& url);
  void ShowDefaultTopic();
  // The entry shown in the topic pane ("/Page.htm"); empty while none.
  QString CurrentEntry() const;
  QUrl CurrentUrl() const;

  // Adds a page script to this window's topics (effective from the next page on).
  void AddPageScript(const QString& name, const QString& source);

  // Lists the topics that contain every word of the query on the Search tab.
  // The search runs on a thread of its own: the list fills when it ends;
  // SearchProgress shows how far it is and SearchStop ends it.
  void RunSearch(const QString& query);
  bool SearchRunning() const;
  // Selects the first index keyword that starts with the text.
  void FindKeyword(const QString& text);
  // Shows the topic of the selected contents, index or search item.
  void ShowContentsItem(QTreeWidgetItem* item);
  void ShowIndexItem(QTreeWidgetItem* item);
  // Shows a search result with the words searched for marked in it.
  void ShowSearchResult(int row);

  // What the scheme served lately: entry path and content type.
  QList<QPair<QString, QByteArray>> RequestLog() const;

  // Places the window beside `owner` on its screen, on the side with room,
  // and never over the owner's menu bar.
  void PlaceBeside(QWidget* owner);
  // The window takes its size from the settings file and stores it there
  // when it closes.
  void RememberSizeIn(const QString& settingsFile);

  // Finds the text in the topic (from the find bar): the next match, or the
  // previous one. The find bar tells how many there are.
  void FindInPage(const QString& text, bool backward = false);
  // "Print": the print dialog, then the topic to the chosen printer.
  void Print();

  QTabWidget* NavigationTabs = nullptr;
  QTreeWidget* ContentsTree = nullptr;
  QLineEdit* IndexEdit = nullptr;
  QTreeWidget* IndexTree = nullptr;
  QPushButton* IndexDisplay = nullptr;
  QLineEdit* SearchEdit = nullptr;
  QPushButton* SearchButton = nullptr;
  QListWidget* SearchResults = nullptr;
  QPushButton* SearchDisplay = nullptr;
  QProgressBar* SearchProgress = nullptr;
  QPushButton* SearchStop = nullptr;
  QLabel* SearchStatus = nullptr;
  QWebEngineView* TopicView = nullptr;
  QAction* BackAction = nullptr;
  QAction* ForwardAction = nullptr;
  QAction* HomeAction = nullptr;
  QAction* OpenAction = nullptr;
  QAction* PrintAction = nullptr;
  QAction* CloseAction = nullptr;
  QAction* ZoomInAction = nullptr;
  QAction* ZoomOutAction = nullptr;
  QAction* ZoomResetAction = nullptr;
  QAction* FindAction = nullptr;
  QAction* FindNextAction = nullptr;
  QToolBar* FindBar = nullptr;
  QLineEdit* FindEdit = nullptr;
  QLabel* FindStatus = nullptr;

 signals:
  // A viewer command from a page ("orvex-chm:/$orvex/<name>?<arguments>").
  void CommandRequested(const QString& name, const QUrlQuery& arguments);
  // "Open": the user chose another compiled file to read.
  void OpenRequested(const QString& file);
  // Printing ended; false when the topic could not be printed.
  void PrintFinished(bool success);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildFindBar();
  void Zoom(double factor);
  void BuildContents();
  void BuildIndex();
  void BuildSearch();
  void UpdateNavigation();
  void SyncContents(const QUrl& url);

  std::shared_ptr<const ChmDocument> Doc;
  QWebEngineProfile* Profile = nullptr;
  ChmSchemeHandler* Handler = nullptr;
  ViewerPage* Page = nullptr;
  TopicSearch* Search = nullptr;
  QHash<QString, QTreeWidgetItem*> ContentsByEntry;
  QString SettingsFile;
  std::unique_ptr<QPrinter> Printer;
  QStringList SearchWords;  // the words of the last search
  QStringList MarkWords;    // to be marked in the page that loads next
};
