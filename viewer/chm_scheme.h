// The URL scheme through which the help viewer shows a compiled file's
// pages, pictures and style sheets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrlQuery>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>

#include <functional>
#include <memory>

class ChmDocument;

// Registers the viewer's scheme; call once before the QApplication exists.
void RegisterChmUrlScheme();

// Paths under this folder are the viewer's commands, not entries: a page
// script loads "orvex-chm:/$orvex/<command>?<arguments>" (a link, a
// location change or a fetch) to reach the viewer. "$" names never occur
// among a compiled file's pages.
inline constexpr char kViewerCommandFolder[] = "/$orvex/";

// True for a URL of the scheme that is a viewer command; then *name and
// *arguments receive the command's name and arguments.
bool IsViewerCommand(const QUrl& url, QString* name = nullptr, QUrlQuery* arguments = nullptr);

// Serves the entries of one compiled file.
class ChmSchemeHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  explicit ChmSchemeHandler(std::shared_ptr<const ChmDocument> document, QObject* parent = nullptr);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // The most recent requests served, oldest first (at most 200): the entry
  // path and the content type it was served with.
  QList<QPair<QString, QByteArray>> RequestLog() const { return log; }

 signals:
  // A viewer command that reached the scheme (by a fetch or a sub-resource).
  void CommandRequested(const QString& name, const QUrlQuery& arguments);

 private:
  std::shared_ptr<const ChmDocument> document;
  QList<QPair<QString, QByteArray>> log;
};

// Keeps a viewer's pages to their own compiled file: every request for
// another scheme or host (a script, a picture, a fetch from
// "http://127.0.0.1:PORT/", a "file:" path) is blocked before it is made.
class OwnFileOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
  Q_OBJECT
 public:
  using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
  void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

// Whether a page may load the URL: one of the compiled file's own, or a
// page's own inline content ("data:", "blob:", "about:blank").
bool IsOwnFileUrl(const QUrl& url);
// Whether a link leads to the desktop's browser or mail program when it is
// clicked ("http:", "https:", "mailto:").
bool IsDesktopLink(const QUrl& url);
