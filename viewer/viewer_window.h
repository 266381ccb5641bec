// The help viewer's window: Contents, Index and Search on the left, the
// topic on the right, with back and forward.
#pragma once

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEnginePage>

#include <memory>

#include "viewer/chm_pages.h"
#include "viewer/viewer_page.h"

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

class ViewerWindow : public QMainWindow {
  Q_OBJECT
 public:
  // `document` must be open. Page scripts (name, JavaScript source) run in
  // every topic once its document is ready; they turn the page's HTML Help
  // objects into working elements.
  ViewerWindow(std::shared_ptr<const ChmDocument> document, const QList<QPair<QString, QString>>& pageScripts,
               QWidget* owner = nullptr);
  ~ViewerWindow() override;

  const ChmDocument& Document() const { return *doc; }
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

  QTabWidget* navigationTabs = nullptr;
  QTreeWidget* contentsTree = nullptr;
  QLineEdit* indexEdit = nullptr;
  QTreeWidget* indexTree = nullptr;
  QPushButton* indexDisplay = nullptr;
  QLineEdit* searchEdit = nullptr;
  QPushButton* searchButton = nullptr;
  QListWidget* searchResults = nullptr;
  QPushButton* searchDisplay = nullptr;
  QProgressBar* searchProgress = nullptr;
  QPushButton* searchStop = nullptr;
  QLabel* searchStatus = nullptr;
  QWebEngineView* topicView = nullptr;
  QAction* backAction = nullptr;
  QAction* forwardAction = nullptr;
  QAction* homeAction = nullptr;
  QAction* openAction = nullptr;
  QAction* printAction = nullptr;
  QAction* closeAction = nullptr;
  QAction* zoomInAction = nullptr;
  QAction* zoomOutAction = nullptr;
  QAction* zoomResetAction = nullptr;
  QAction* findAction = nullptr;
  QAction* findNextAction = nullptr;
  QToolBar* findBar = nullptr;
  QLineEdit* findEdit = nullptr;
  QLabel* findStatus = nullptr;

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

  std::shared_ptr<const ChmDocument> doc;
  QWebEngineProfile* webProfile = nullptr;
  ChmSchemeHandler* schemeHandler = nullptr;
  ViewerPage* topicPage = nullptr;
  TopicSearch* topicSearch = nullptr;
  QHash<QString, QTreeWidgetItem*> contentsByEntry;
  QString sizeSettingsFile;
  std::unique_ptr<QPrinter> topicPrinter;
  QStringList searchWords;  // the words of the last search
  QStringList markWords;    // to be marked in the page that loads next
};
