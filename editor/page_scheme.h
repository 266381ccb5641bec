// The URL scheme the editor's pages come through. The document being edited
// is served from a file name of its own inside the base folder, so that its
// relative pictures, links and style sheet resolve against that folder; every
// other URL of the scheme serves the real file from disk.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>

// Scheme name, registered by RegisterUrlSchemes().
inline constexpr char kEditorScheme[] = "orvexpage";

// URL of the scheme for a file path (either separator; "C:\x\" → "orvexpage:/C:/x/").
QUrl EditorSchemeUrl(const QString& path);
// File path a URL of the scheme names (the inverse of EditorSchemeUrl).
QString EditorSchemePath(const QUrl& url);
// Content type served for a file name, by its extension.
QByteArray EditorMimeType(const QString& fileName);

class EditorSchemeHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT
 public:
  explicit EditorSchemeHandler(QObject* parent = nullptr);

  // The document served at url (any earlier virtual documents are dropped).
  void SetDocument(const QUrl& url, const QByteArray& html);
  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // The paths of the most recent requests, oldest first (at most 200).
  QStringList RequestLog() const { return log; }

 private:
  QString documentPath;
  QByteArray documentBytes;
  QStringList log;
};
