#include "model/project_sources.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include "platform/project_paths.h"
#include "formats/project/project_file.h"
#include "formats/project/project_sections.h"

namespace {

QString SitemapPath(const QString& projectFile, const QStringList& projectLines, const QString& option,
                    const QString& ext) {
  const std::optional<QString> value = HhpOption(projectLines, option);
  if (!value || value->isEmpty()) return ReplaceExtension(QFileInfo(projectFile).absoluteFilePath(), ext);
  return ResolveProjectPath(QFileInfo(projectFile).absolutePath(), *value);
}

}  // namespace

QString ContentsFilePath(const QString& projectFile, const QStringList& projectLines) {
  return SitemapPath(projectFile, projectLines, QStringLiteral("Contents file"), QStringLiteral(".hhc"));
}

QString IndexFilePath(const QString& projectFile, const QStringList& projectLines) {
  return SitemapPath(projectFile, projectLines, QStringLiteral("Index file"), QStringLiteral(".hhk"));
}

QByteArray SitemapDigest(const QString& text) {
  return QCryptographicHash::hash(
      QByteArrayView(reinterpret_cast<const char*>(text.constData()), text.size() * qsizetype(sizeof(QChar))),
      QCryptographicHash::Sha1);
}

QString ContextPageKey(const QString& fileName) {
  QString key = WithoutAnchor(fileName).trimmed();
  key.replace(u'\\', u'/');
  while (key.startsWith(QLatin1String("./"))) key.remove(0, 2);
  return key.toCaseFolded();
}

QString ProjectContextNumber(const ProjectSources& sources, const QString& fileName) {
  if (sources.contextNumbers.isEmpty()) return {};
  return sources.contextNumbers.value(ContextPageKey(fileName));
}
