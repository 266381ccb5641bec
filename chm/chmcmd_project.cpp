#include "chm/chmcmd_project.h"

#include "chm/ansi_text.h"
#include "chm/page_scan.h"
#include "platform/project_paths.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace orvex {
namespace {

QString normalisedName(const QString& value) {
  QString v = value.trimmed();
  v.replace(u'\\', u'/');
  while (v.startsWith(QLatin1String("./"))) v.remove(0, 2);
  return v;
}

// A project-relative name ("\\" or "/", any case) as the file is spelled on
// disk, its "#anchor" kept; as written when there is no such file.
QString spelledAsOnDisk(const QString& folder, const QString& name) {
  const QString page = WithoutAnchor(name);
  const QString path = ResolveProjectPath(folder, page);
  if (!QFileInfo::exists(path)) return name;
  return QDir(folder).relativeFilePath(path) + name.mid(page.size());
}

// chmcmd keeps one alias per file: the first one written stays, every
// further one is named in a warning.
QList<ContextEntry> onePerFile(const QList<ContextEntry>& entries, QStringList* warnings) {
  QList<ContextEntry> kept;
  QHash<QString, QString> fileTakenBy;  // folded file -> alias name
  for (const ContextEntry& e : entries) {
    const QString file = normalisedName(e.File);
    const QString key = file.toCaseFolded();
    const auto taken = fileTakenBy.constFind(key);
    if (taken != fileTakenBy.constEnd()) {
      warnings->append(QStringLiteral("Warning: alias %1 is left out: %2 already has the alias %3")
                           .arg(e.Name, file, *taken));
      continue;
    }
    fileTakenBy.insert(key, e.Name);
    kept.append(e);
  }
  return kept;
}

}  // namespace

ChmcmdProject BuildChmcmdProject(const QString& projectFolder, const QStringList& projectLines,
                                 const QString& compiledFile) {
  ChmcmdProject result;
  const QList<HhpSection> sections = SplitHhpSections(projectLines);

  QStringList listed;
  for (const HhpSection& s : sections) {
    if (HhpSectionName(s.Header) != QLatin1String("FILES")) continue;
    for (const QString& line : s.Lines) {
      const QString file = normalisedName(line);
      if (!file.isEmpty() && !file.startsWith(u';')) listed.append(file);
    }
  }
  // The copy is written byte for byte as the project was read (Windows-1252).
  const ProjectContextMap map = ReadProjectContextMap(projectFolder, projectLines, 1252);
  result.warnings += map.Warnings + map.Context.Warnings;
  const QList<ContextEntry> entries = onePerFile(map.Context.Entries, &result.warnings);

  // chmcmd opens names exactly as given: the options name the files as they are on disk.
  auto onDiskOption = [&](const QString& key) {
    const QString value = normalisedName(HhpOption(projectLines, key).value_or(QString()));
    return value.isEmpty() ? value : spelledAsOnDisk(projectFolder, value);
  };
  const QString contents = onDiskOption(QStringLiteral("Contents file"));
  const QString index = onDiskOption(QStringLiteral("Index file"));
  const QString defaultTopic = onDiskOption(QStringLiteral("Default topic"));

  QStringList seeds = listed;
  if (!defaultTopic.isEmpty()) seeds.append(defaultTopic);
  for (const ContextEntry& e : entries) seeds.append(normalisedName(e.File));
  QStringList scanOnly;
  for (const QString& f : {contents, index}) {
    if (!f.isEmpty()) scanOnly.append(f);
  }
  result.files = GatherProjectFiles(projectFolder, seeds, scanOnly);

  // Listed names that are not on disk stay, so chmcmd reports them; alias
  // targets take the spelling of the file on disk.
  QHash<QString, QString> onDisk;
  for (const QString& f : std::as_const(result.files)) onDisk.insert(f.toCaseFolded(), f);
  QStringList wanted = listed;
  for (const ContextEntry& e : entries) wanted.append(normalisedName(e.File));
  for (const QString& f : std::as_const(wanted)) {
    const QString name = ResolveReference(QString(), f);
    const QString key = name.toCaseFolded();
    if (!key.isEmpty() && !onDisk.contains(key)) {
      onDisk.insert(key, name);
      result.files.append(name);
    }
  }
  auto spelledOnDisk = [&onDisk](const QString& file) {
    return onDisk.value(ResolveReference(QString(), file).toCaseFolded(), file);
  };

  bool compiledWritten = false;
  auto emitOptions = [&](const QStringList& lines) {
    for (const QString& line : lines) {
      const qsizetype eq = line.indexOf(u'=');
      const QString key = eq > 0 ? line.left(eq).trimmed() : QString();
      if (key.compare(QLatin1String("Compiled file"), Qt::CaseInsensitive) == 0) {
        result.lines.append(QStringLiteral("Compiled file=") + compiledFile);
        compiledWritten = true;
      } else if (key.compare(QLatin1String("Contents file"), Qt::CaseInsensitive) == 0 ||
                 key.compare(QLatin1String("Index file"), Qt::CaseInsensitive) == 0 ||
                 key.compare(QLatin1String("Default topic"), Qt::CaseInsensitive) == 0) {
        const QString value = normalisedName(line.mid(eq + 1));
        result.lines.append(key + u'=' + (value.isEmpty() ? value : spelledAsOnDisk(projectFolder, value)));
      } else {
        result.lines.append(line);
      }
    }
    if (!compiledWritten) {
      result.lines.append(QStringLiteral("Compiled file=") + compiledFile);
      compiledWritten = true;
    }
  };

  bool sawOptions = false;
  for (const HhpSection& s : sections) {
    const QString name = HhpSectionName(s.Header);
    if (s.Header.isEmpty()) {
      result.lines += s.Lines;
      continue;
    }
    result.lines.append(s.Header);
    if (name == QLatin1String("OPTIONS")) {
      sawOptions = true;
      emitOptions(s.Lines);
    } else if (name == QLatin1String("FILES")) {
      result.lines += result.files;
      result.lines.append(QString());
    } else if (name == QLatin1String("ALIAS")) {
      for (const ContextEntry& e : entries)
        result.lines.append(e.Name + u'=' + spelledOnDisk(normalisedName(e.File)));
      result.lines.append(QString());
    } else if (name == QLatin1String("MAP")) {
      for (const ContextEntry& e : entries)
        result.lines.append(QStringLiteral("#define %1 %2").arg(e.Name).arg(e.Number));
      result.lines.append(QString());
    } else {
      result.lines += s.Lines;
    }
  }
  if (!sawOptions)
    result.lines =
        QStringList{QStringLiteral("[OPTIONS]"), QStringLiteral("Compiled file=") + compiledFile, QString()} +
        result.lines;
  const bool hasFiles = std::any_of(sections.cbegin(), sections.cend(), [](const HhpSection& s) {
    return HhpSectionName(s.Header) == QLatin1String("FILES");
  });
  if (!hasFiles && !result.files.isEmpty()) {
    result.lines.append(QString());
    result.lines.append(QStringLiteral("[FILES]"));
    result.lines += result.files;
  }
  return result;
}

}  // namespace orvex
