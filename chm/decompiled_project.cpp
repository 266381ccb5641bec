#include "chm/decompiled_project.h"

#include "chm/decompiler.h"
#include "chm/windows_reader.h"

#include <QFileInfo>
#include <QSet>

#include <unicode/uloc.h>

namespace orvex {
namespace {

QString displayNameOf(quint32 lcid) {
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
  if (U_FAILURE(status) || locale[0] == '\0') return {};
  UChar name[256] = {};
  status = U_ZERO_ERROR;
  const int32_t length = uloc_getDisplayName(locale, "en", name, 255, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return QString::fromUtf16(name, length);
}

}  // namespace

QString OneLineValue(const QString& value) {
  QString out = value;
  for (QChar& c : out) {
    const char16_t u = c.unicode();
    if (u < 0x20 || u == 0x7f || u == 0x85 || u == 0x2028 || u == 0x2029) c = u' ';
  }
  return out;
}

QString LanguageTextOf(quint32 lcid) {
  if (lcid == 0) return {};
  QString text = QStringLiteral("0x") + QString::number(lcid, 16).toUpper().rightJustified(4, u'0');
  const QString name = displayNameOf(lcid);
  if (!name.isEmpty()) text += u' ' + name;
  return text;
}

QString SitemapFileOf(const DecompiledProject& project, const QString& suffix) {
  const bool contents = suffix.compare(QLatin1String(".hhc"), Qt::CaseInsensitive) == 0;
  // The window the file opens with names the sitemaps when #SYSTEM does not.
  const ChmWindowType* window = nullptr;
  for (const ChmWindowType& w : project.windows)
    if (!window || w.name.compare(project.system.defaultWindow, Qt::CaseInsensitive) == 0) window = &w;
  const QString stored = contents ? project.system.contentsFile : project.system.indexFile;
  const QString windowFile = !window ? QString() : contents ? window->contentsFile : window->indexFile;
  // A file name option stays a plain name inside the folder.
  for (const QString& named : {stored, windowFile}) {
    const QString name =
        named.isEmpty() ? QString() : SafeEntryName(named.startsWith(u'/') ? named : u'/' + named);
    if (!name.isEmpty()) return name;
  }
  const QString base = QFileInfo(project.chmFileName).completeBaseName();
  QString found;
  for (const QString& f : project.files) {
    if (!f.endsWith(suffix, Qt::CaseInsensitive)) continue;
    if (QFileInfo(f).completeBaseName().compare(base, Qt::CaseInsensitive) == 0 && !f.contains(u'/'))
      return f;
    if (found.isEmpty()) found = f;
  }
  return found;
}

QStringList DecompiledProjectLines(const DecompiledProject& project) {
  const ChmSystemInfo& stored = project.system;
  const QString chmFileName = OneLineValue(QFileInfo(project.chmFileName).fileName());
  const QString base = QFileInfo(chmFileName).completeBaseName();
  const QString contentsFile = SitemapFileOf(project, QStringLiteral(".hhc"));
  const QString indexFile = SitemapFileOf(project, QStringLiteral(".hhk"));
  const bool topicSafe =
      !stored.defaultTopic.isEmpty() &&
      !SafeEntryName(stored.defaultTopic.startsWith(u'/') ? stored.defaultTopic : u'/' + stored.defaultTopic)
           .isEmpty();
  const QString defaultTopic = topicSafe ? OneLineValue(stored.defaultTopic) : QString();
  const QString title = OneLineValue(stored.title).trimmed();

  QStringList lines{QStringLiteral("[OPTIONS]"), QStringLiteral("Compatibility=1.1 or later"),
                    QStringLiteral("Compiled file=") + chmFileName};
  if (!contentsFile.isEmpty()) lines.append(QStringLiteral("Contents file=") + contentsFile);
  const QString font = OneLineValue(stored.defaultFont).trimmed();
  if (!font.isEmpty()) lines.append(QStringLiteral("Default Font=") + font);
  const QString windowName = OneLineValue(stored.defaultWindow).trimmed();
  if (!windowName.isEmpty()) lines.append(QStringLiteral("Default Window=") + windowName);
  lines.append(QStringLiteral("Display compile progress=No"));
  if (!indexFile.isEmpty()) lines.append(QStringLiteral("Index file=") + indexFile);
  lines.append(QStringLiteral("Full-text search=Yes"));
  lines.append(QStringLiteral("Title=") + (title.isEmpty() ? base : title));
  const QString language = LanguageTextOf(stored.lcid);
  if (!language.isEmpty()) lines.append(QStringLiteral("Language=") + language);
  lines.append(QStringLiteral("Error log file=") + base + QStringLiteral(".log"));
  if (!defaultTopic.isEmpty()) lines.append(QStringLiteral("Default topic=") + defaultTopic);
  if (!project.windows.isEmpty()) {
    lines << QString() << QStringLiteral("[WINDOWS]");
    for (const ChmWindowType& w : project.windows) lines.append(WindowLine(w));
  }
  lines.append(QString());
  lines.append(QStringLiteral("[FILES]"));
  QString first = defaultTopic;
  if (first.startsWith(u'/')) first.remove(0, 1);
  if (!first.isEmpty()) lines.append(first);
  const QSet<QString> listed{contentsFile.toCaseFolded(), indexFile.toCaseFolded(), first.toCaseFolded(),
                             project.aliasFile.toCaseFolded(), project.mapFile.toCaseFolded()};
  for (const QString& f : project.files) {
    if (!listed.contains(f.toCaseFolded())) lines.append(f);
  }
  if (!project.aliasFile.isEmpty() && !project.mapFile.isEmpty()) {
    lines << QString() << QStringLiteral("[ALIAS]") << QStringLiteral("#include ") + project.aliasFile;
    lines << QString() << QStringLiteral("[MAP]") << QStringLiteral("#include ") + project.mapFile;
  }
  return lines;
}

ContextMapFiles ContextMapFilesOf(const QMap<quint32, QString>& contextMap) {
  ContextMapFiles files;
  for (auto it = contextMap.cbegin(); it != contextMap.cend(); ++it) {
    const QString page = SafeEntryName(it.value());
    if (page.isEmpty()) continue;
    const QString name = QStringLiteral("IDH_%1").arg(it.key());
    files.aliasLines.append(name + u'=' + page);
    files.mapLines.append(QStringLiteral("#define %1 %2").arg(name).arg(it.key()));
  }
  return files;
}

}  // namespace orvex
