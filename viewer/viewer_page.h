// The page of the help viewer's topic pane: it keeps the pages inside their
// compiled file, passes viewer commands and "ms-its:" links on, and sends a
// clicked web or mail link to the desktop.
#pragma once

#include <QElapsedTimer>
#include <QUrl>
#include <QUrlQuery>
#include <QWebEnginePage>

class QWebEngineProfile;

// The topic pane's page: viewer commands and "ms-its:" links are taken here.
class ViewerPage : public QWebEnginePage {
  Q_OBJECT
 public:
  ViewerPage(QWebEngineProfile* profile, QObject* parent);
  // The user pressed a mouse button or a key in the topic pane: a link to
  // the web or to mail followed now was clicked, not set off by a script.
  void NoteUserInput() { sinceUserInput.start(); }

 signals:
  void CommandRequested(const QString& name, const QUrlQuery& arguments);
  // A link into the compiled file written in another form ("ms-its:...").
  void RedirectRequested(const QUrl& url);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  // Links meant for a new window open in the topic pane.
  QWebEnginePage* createWindow(WebWindowType type) override;

 private:
  QElapsedTimer sinceUserInput;
};
