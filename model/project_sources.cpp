#include "model/project_sources.h"

#include <QFileInfo>
#include <QHash>

#include <array>

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
  // Held only while the project is open, never stored: two 64-bit hashes
  // with seeds of their own, many times faster than a cryptographic digest
  // on the megabytes of a large index, and as unlikely to meet by chance.
  const size_t bytes = size_t(text.size()) * sizeof(QChar);
  const std::array<quint64, 2> halves{quint64(qHashBits(text.constData(), bytes, 0x6f72766578)),
                                      quint64(qHashBits(text.constData(), bytes, 0x736974656d6170))};
  return QByteArray(reinterpret_cast<const char*>(halves.data()), qsizetype(sizeof(halves)));
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
