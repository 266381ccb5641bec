#include "platform/mime_types.h"

#include <QFileInfo>

QByteArray HelpFileMimeType(const QString& fileName) {
  const QString ext = QFileInfo(fileName).suffix().toLower();
  if (ext == u"htm" || ext == u"html" || ext == u"hhc" || ext == u"hhk") return "text/html";
  if (ext == u"css") return "text/css";
  if (ext == u"js") return "text/javascript";
  if (ext == u"txt" || ext == u"h" || ext == u"ali" || ext == u"hhp" || ext == u"log") return "text/plain";
  if (ext == u"xml") return "text/xml";
  if (ext == u"png") return "image/png";
  if (ext == u"gif") return "image/gif";
  if (ext == u"jpg" || ext == u"jpeg" || ext == u"jpe") return "image/jpeg";
  if (ext == u"bmp") return "image/bmp";
  if (ext == u"ico") return "image/x-icon";
  if (ext == u"svg") return "image/svg+xml";
  if (ext == u"webp") return "image/webp";
  return {};
}
