// The web page behind the editing control and the object its script talks to.
#pragma once

#include <QObject>
#include <QUrl>
#include <QWebEnginePage>

// Receives the events of the editor's script through the web channel.
class EditorHost : public QObject {
  Q_OBJECT
 public:
  using QObject::QObject;
  // The selection, the caret or the formatting at the caret changed.
  Q_INVOKABLE void displayChanged() { emit DisplayChanged(); }

 signals:
  void DisplayChanged();
};

// Only the control's own loads navigate; a dropped file, a clicked link or a
// script can't take the page somewhere else.
class EditorPage : public QWebEnginePage {
  Q_OBJECT
 public:
  using QWebEnginePage::QWebEnginePage;
  void SetAllowedUrl(const QUrl& url) { Allowed = url; }

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {
  }

 private:
  QUrl Allowed;
};
