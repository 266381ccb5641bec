#include "formats/project/project_file.h"

#include <QFileInfo>
#include <QSet>

#include "platform/project_paths.h"
#include "formats/project/project_sections.h"

QString BlankToUnderscore(const QString& text) {
  QString out = text;
  out.replace(u' ', u'_');
  return out;
}

namespace {

qsizetype FileNameStart(const QString& path) {
  const qsizetype slash = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  return slash + 1;
}

}  // namespace

QString FileNamePart(const QString& path) { return path.mid(FileNameStart(path)); }

QString ReplaceExtension(const QString& path, const QString& ext) {
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < FileNameStart(path)) return path + ext;
  return path.left(dot) + ext;
}

QString ProjectBaseName(const QString& projectFile) {
  return ReplaceExtension(FileNamePart(projectFile), QString());
}

QString ProjectNamePrefix(const QString& projectFile) {
  return BlankToUnderscore(ProjectBaseName(projectFile));
}

QStringList NewProjectLines(const QString& projectFile, const std::optional<NewProjectChoice>& choice) {
  const QString base = ProjectBaseName(projectFile);
  const QString prefix = BlankToUnderscore(base);
  QStringList lines = {
      QStringLiteral("[OPTIONS]"),
      QStringLiteral("Compatibility=1.1 or later"),
      QStringLiteral("Compiled file=") + base + QStringLiteral(".chm"),
      QStringLiteral("Contents file=") + base + QStringLiteral(".hhc"),
      QStringLiteral("Display compile progress=No"),
      QStringLiteral("Index file=") + base + QStringLiteral(".hhk"),
      QStringLiteral("Full-text search=Yes"),
  };
  if (choice) {
    lines << QStringLiteral("Title=") + choice->title << QStringLiteral("Language=") + choice->language;
  } else {
    lines << QStringLiteral("Title=") + base;
  }
  lines << QStringLiteral("Error log file=") + base + QStringLiteral(".log")
        << QStringLiteral("Default topic=") + prefix + QStringLiteral("001.htm") << QString()
        << QStringLiteral("[FILES]") << prefix + QStringLiteral("001.htm") << base + QStringLiteral(".css")
        << base + QStringLiteral("P.js") << QString() << QStringLiteral("[ALIAS]")
        << QStringLiteral("#include ") + base + QStringLiteral(".ali") << QString() << QStringLiteral("[MAP]")
        << QStringLiteral("#include ") + base + QStringLiteral(".h");
  return lines;
}

QString ListedKey(const QString& name) {
  QString key = name.trimmed();
  key.replace(u'\\', u'/');
  while (key.startsWith(QLatin1String("./"))) key.remove(0, 2);
  return key.toCaseFolded();
}

QStringList RemoveListedFiles(const QStringList& lines, const QStringList& pages) {
  QSet<QString> keys;
  for (const QString& page : pages) keys.insert(ListedKey(page.section(u'#', 0, 0)));
  QStringList out;
  out.reserve(lines.size());
  bool inFiles = false;
  for (const QString& line : lines) {
    const QString section = HhpSectionName(line);
    if (!section.isEmpty()) inFiles = section == QLatin1String("FILES");
    if (inFiles && section.isEmpty() && keys.contains(ListedKey(line))) continue;
    out << line;
  }
  return out;
}

bool DefaultTopicFollowsContents(const QStringList& lines, const std::optional<QString>& firstTopicFile) {
  if (!firstTopicFile) return true;
  const QString defaultTopic = QStringLiteral("Default topic=");
  for (const QString& line : lines) {
    if (!line.startsWith(defaultTopic)) continue;
    const QString value = line.mid(defaultTopic.size());
    if (!value.trimmed().isEmpty() && ListedKey(value) != ListedKey(*firstTopicFile)) return false;
  }
  return true;
}

QStringList UpdateProjectLines(const QStringList& lines, const std::optional<QString>& firstTopicFile,
                               const QString& projectFile, bool setDefaultTopic) {
  QStringList out = lines;
  if (!firstTopicFile) return out;
  const QString defaultTopic = QStringLiteral("Default topic=");
  for (QString& line : out) {
    if (setDefaultTopic && line.startsWith(defaultTopic)) line = defaultTopic + *firstTopicFile;
  }
  const QString page = WithoutAnchor(*firstTopicFile);
  if (page.trimmed().isEmpty()) return out;
  qsizetype header = -1;
  for (qsizetype i = 0; i < out.size() && header < 0; ++i) {
    if (HhpSectionName(out[i]) == QLatin1String("FILES")) header = i;
  }
  if (header < 0) return out;
  qsizetype end = header + 1;
  while (end < out.size() && HhpSectionName(out[end]).isEmpty()) ++end;
  const QString key = ListedKey(page);
  for (qsizetype i = header + 1; i < end; ++i) {
    if (ListedKey(out[i]) == key) return out;
  }
  const QString folder = QFileInfo(projectFile).absolutePath();
  const QString placeholder = ProjectNamePrefix(projectFile) + QStringLiteral("001.htm");
  if (header + 1 < end && out[header + 1] == placeholder &&
      !QFileInfo::exists(ResolveProjectPath(folder, placeholder))) {
    out[header + 1] = page;
  } else {
    out.insert(header + 1, page);
  }
  return out;
}

std::optional<int> LanguageLineLcid(const QString& line) {
  if (!line.contains(QStringLiteral("Language"))) return std::nullopt;
  const qsizetype marker = line.indexOf(QStringLiteral("=0x"));
  if (marker < 0) return std::nullopt;
  // The number ends at a blank or at the end of the line (generators write
  // it bare: "Language=0x411").
  const QString rest = line.mid(marker + 3);
  qsizetype end = 0;
  while (end < rest.size() && !rest.at(end).isSpace()) ++end;
  const QString hex = rest.left(end);
  if (hex.isEmpty() || hex.size() > 8) return std::nullopt;
  for (QChar c : hex)
    if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F')))
      return std::nullopt;
  bool ok = false;
  const uint value = hex.toUInt(&ok, 16);
  if (!ok) return std::nullopt;
  return int(value);
}

std::optional<QString> ProjectLanguage(const QStringList& lines) {
  const QString key = QStringLiteral("Language=");
  for (const QString& line : lines)
    if (line.startsWith(key)) return line.mid(key.size());
  return std::nullopt;
}
