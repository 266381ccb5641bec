// The web page behind the editing control and the object its script talks to.
#pragma once

#include <QObject>
#include <QUrl>
#include <QVariantMap>
#include <QWebEnginePage>

// Receives the events of the editor's script through the web channel.
class EditorHost : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  // The page's state as the script sees it: the commands that apply and are
  // on at the selection, the font there, the changed state and version.
  Q_INVOKABLE void stateChanged(const QVariantMap& state) { emit StateChanged(state); }

 signals:
  void StateChanged(const QVariantMap& state);
};

// Only the control's own loads navigate; a dropped file, a clicked link or a
// script can't take the page somewhere else.
class EditorPage : public QWebEnginePage {
  Q_OBJECT
 public:
  using QWebEnginePage::QWebEnginePage;
  void SetAllowedUrl(const QUrl& url) { allowed = url; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {
  }

 private:
  QUrl allowed;
};
