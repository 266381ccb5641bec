#include "editor/page_scheme.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestJob>

#include "platform/mime_types.h"
#include "platform/project_paths.h"

QUrl EditorSchemeUrl(const QString& path) {
  QString p = path;
  p.replace(u'\\', u'/');
  if (!p.startsWith(u'/')) p.prepend(u'/');
  QUrl url;
  url.setScheme(QString::fromLatin1(kEditorScheme));
  url.setPath(p);
  return url;
}

QString EditorSchemePath(const QUrl& url) {
  QString p = url.path(QUrl::FullyDecoded);
  // "/C:/x" is a drive path, not a folder named "C:".
  if (p.size() >= 3 && p.at(0) == u'/' && p.at(2) == u':' && p.at(1).isLetter()) p.remove(0, 1);
  return p;
}

QByteArray EditorMimeType(const QString& fileName) {
  const QByteArray known = HelpFileMimeType(fileName);
  if (!known.isEmpty()) return known;
  const QMimeDatabase db;
  return db.mimeTypeForFile(fileName, QMimeDatabase::MatchExtension).name().toLatin1();
}

EditorSchemeHandler::EditorSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

void EditorSchemeHandler::SetDocument(const QUrl& url, const QByteArray& html) {
  documentPath = url.path(QUrl::FullyDecoded);
  documentBytes = html;
}

void EditorSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  const QString path = url.path(QUrl::FullyDecoded);
  log.append(path);
  if (log.size() > 200) log.removeFirst();
  if (job->requestMethod() != "GET") {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  if (path == documentPath) {
    auto* buffer = new QBuffer(job);
    buffer->setData(documentBytes);
    job->reply("text/html", buffer);
    return;
  }
  // Pages written on Windows name their pictures with "\" and in any letter case.
  const QString file = ResolveProjectPath(QString(), EditorSchemePath(url));
  const QFileInfo info(file);
  if (!info.isFile()) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* device = new QFile(file, job);
  if (!device->open(QIODevice::ReadOnly)) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  job->reply(EditorMimeType(file), device);
}
