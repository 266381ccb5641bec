#include "viewer/chm_scheme.h"

#include <QBuffer>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "viewer/chm_document.h"
#include "viewer/chm_pages.h"

namespace {

constexpr int kMaxLog = 200;

}  // namespace

void RegisterChmUrlScheme() {
  const QByteArray name(kChmScheme);
  if (QWebEngineUrlScheme::schemeByName(name).name() == name) return;
  QWebEngineUrlScheme scheme(name);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
  // The pages get no access to local files; they only see their own file.
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::CorsEnabled);
  QWebEngineUrlScheme::registerScheme(scheme);
}

bool IsViewerCommand(const QUrl& url, QString* name, QUrlQuery* arguments) {
  if (url.scheme().compare(QLatin1String(kChmScheme), Qt::CaseInsensitive) != 0) return false;
  const QString path = url.path(QUrl::FullyDecoded);
  if (!path.startsWith(QLatin1String(kViewerCommandFolder), Qt::CaseInsensitive)) return false;
  if (name) *name = path.mid(int(qstrlen(kViewerCommandFolder))).toLower();
  if (arguments) *arguments = QUrlQuery(url);
  return true;
}

ChmSchemeHandler::ChmSchemeHandler(std::shared_ptr<const ChmDocument> document, QObject* parent)
    : QWebEngineUrlSchemeHandler(parent), document(std::move(document)) {}

void ChmSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  if (job->requestMethod() != "GET") {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  QString command;
  QUrlQuery arguments;
  if (IsViewerCommand(url, &command, &arguments)) {
    auto* empty = new QBuffer(job);
    empty->open(QIODevice::ReadOnly);
    job->reply("text/plain", empty);
    emit CommandRequested(command, arguments);
    return;
  }
  const QString path = document ? document->FindEntry(ChmEntryPath(url)) : QString();
  const auto bytes = path.isEmpty() ? std::nullopt : document->Read(path);
  if (!bytes) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  const QByteArray type = document->ContentTypeOf(path, *bytes);
  log.append({path, type});
  if (log.size() > kMaxLog) log.removeFirst();
  auto* buffer = new QBuffer(job);
  buffer->setData(*bytes);
  buffer->open(QIODevice::ReadOnly);
  job->reply(type, buffer);
}

bool IsOwnFileUrl(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String(kChmScheme)) return url.host().isEmpty();
  if (scheme == u"data" || scheme == u"blob") return true;
  return scheme == u"about" && url.path() == u"blank";
}

bool IsDesktopLink(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return (scheme == u"http" || scheme == u"https" || scheme == u"mailto") && url.isValid();
}

void OwnFileOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
  // A mail link makes no request: it reaches the page's navigation check,
  // which hands a clicked one to the desktop.
  const QUrl& url = info.requestUrl();
  if (!IsOwnFileUrl(url) && url.scheme().compare(u"mailto", Qt::CaseInsensitive) != 0) info.block(true);
}
