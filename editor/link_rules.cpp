#include "editor/link_rules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "platform/html_text.h"
#include "platform/html_tokenizer.h"
#include "platform/text_file.h"

QString TopicAnchor(const QString& fileName, const QString& text) {
  return QStringLiteral("<A href=\"") + EscapeHtml(fileName) + QStringLiteral("\">") + EscapeHtml(text) +
         QStringLiteral("</A>");
}

PictureSource FindPictureSrc(const QString& html) {
  PictureSource src;
  HtmlTokenizer tokenizer(html);
  HtmlToken token;
  while (tokenizer.Next(&token)) {
    if (token.type != HtmlTokenType::StartTag) continue;
    const HtmlAttribute* attribute = token.Attribute(u"src");
    if (!attribute || !attribute->hasValue || !attribute->rawValue.data()) continue;
    const qsizetype start = attribute->rawValue.data() - html.constData();
    const qsizetype end = start + attribute->rawValue.size();
    // An unquoted value gets its quotes, so that the path put in its place may hold blanks.
    const bool quoted = start > 0 && html[start - 1] != u'=';
    src.found = true;
    src.head = html.left(start) + (quoted ? QString() : QStringLiteral("\""));
    src.path = attribute->Value();
    src.tail = (quoted ? QString() : QStringLiteral("\"")) + html.mid(end);
    return src;
  }
  return src;
}

namespace {

QString CleanFolder(const QString& folder) { return QDir::cleanPath(QDir(folder).absolutePath()); }

}  // namespace

QString PictureFileOf(const QString& srcValue, const QString& projectFolder) {
  const QString value = srcValue.trimmed();
  if (value.isEmpty()) return {};
  if (value.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
    const QUrl url(value);
    return url.isLocalFile() ? QDir::cleanPath(url.toLocalFile()) : QString();
  }
  if (QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
  // Any other scheme (http:, data:, the editor's own) is not a file here.
  const qsizetype colon = value.indexOf(u':');
  const qsizetype slash = value.indexOf(u'/');
  if (colon > 0 && (slash < 0 || colon < slash)) return {};
  if (projectFolder.isEmpty()) return {};
  QString path = value;
  const qsizetype cut = path.indexOf(QRegularExpression(QStringLiteral("[?#]")));
  if (cut >= 0) path.truncate(cut);
  return QDir::cleanPath(CleanFolder(projectFolder) + u'/' + QUrl::fromPercentEncoding(path.toUtf8()));
}

QString ProjectRelativeSrc(const QString& pictureFile, const QString& projectFolder) {
  if (pictureFile.isEmpty() || projectFolder.isEmpty()) return {};
  const QString folder = CleanFolder(projectFolder);
  const QString file = QDir::cleanPath(pictureFile);
  const QString relative = QDir(folder).relativeFilePath(file);
  if (relative.isEmpty() || relative.startsWith(QStringLiteral("../")) || relative == QStringLiteral("..") ||
      QDir::isAbsolutePath(relative))
    return {};
  QString src;
  for (const QChar c : relative) {
    if (c == u'%')
      src += QStringLiteral("%25");
    else if (c == u'#')
      src += QStringLiteral("%23");
    else if (c == u'?')
      src += QStringLiteral("%3F");
    else
      src += c;
  }
  return src;
}

Result<QString> CopyPictureInto(const QString& picture, const QString& projectFolder) {
  const QString target = CleanFolder(projectFolder) + u'/' + QFileInfo(picture).fileName();
  const auto failed = [&](const QString& why) {
    return Fail(QStringLiteral("Cannot copy the picture %1 into the project folder %2: %3")
                    .arg(QDir::toNativeSeparators(picture), QDir::toNativeSeparators(projectFolder), why));
  };
  const Result<QByteArray> bytes = ReadFileBytes(picture);
  if (!bytes) return failed(bytes.Message());
  // A link of that name is replaced, never written through.
  QFile link(target);
  if (QFileInfo(target).isSymLink() && !link.remove()) return failed(link.errorString());
  if (QFileInfo(target).isDir())
    return failed(QDir::toNativeSeparators(target) + QStringLiteral(" is a folder"));
  // Written beside the target and renamed over it.
  if (const Status written = WriteFileBytes(target, *bytes); !written) return failed(written.Message());
  return target;
}

Result<QString> AdoptPicture(const QString& srcValue, const QString& projectFolder) {
  const QString value = DecodeHtmlEntities(srcValue);
  const QString trimmed = value.trimmed();
  // A relative value already resolves against the project folder.
  if (!trimmed.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive) && !QDir::isAbsolutePath(trimmed))
    return QString();
  const QString file = PictureFileOf(value, projectFolder);
  if (file.isEmpty() || projectFolder.isEmpty()) return QString();
  QString relative = ProjectRelativeSrc(file, projectFolder);
  if (relative.isEmpty()) {
    if (!QFileInfo(file).isFile()) return QString();
    const Result<QString> copy = CopyPictureInto(file, projectFolder);
    if (!copy) return Fail(copy.Message());
    relative = ProjectRelativeSrc(*copy, projectFolder);
  }
  return EscapeHtml(relative);
}
