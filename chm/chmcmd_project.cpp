#include "chm/chmcmd_project.h"

#include "chm/ansi_text.h"
#include "chm/page_scan.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace orvex {
namespace {

constexpr int kMaxIncludeDepth = 8;

bool isInclude(const QString& line, QString* name) {
  const QString t = line.trimmed();
  if (!t.startsWith(QLatin1String("#include"), Qt::CaseInsensitive)) return false;
  QString rest = t.mid(8).trimmed();
  if (rest.size() >= 2 &&
      ((rest.front() == u'"' && rest.back() == u'"') || (rest.front() == u'<' && rest.back() == u'>')))
    rest = rest.mid(1, rest.size() - 2).trimmed();
  *name = rest;
  return true;
}

// Reads an included file, trying the name as written and then without case.
std::optional<QStringList> readInclude(const QString& folder, const QString& name) {
  QString relative = name;
  relative.replace(u'\\', u'/');
  QFile file(QDir(folder).filePath(relative));
  if (!file.open(QIODevice::ReadOnly)) {
    const QFileInfo info(QDir(folder).filePath(relative));
    const QStringList matches = info.dir().entryList(QDir::Files);
    QString found;
    for (const QString& m : matches) {
      if (m.compare(info.fileName(), Qt::CaseInsensitive) == 0) {
        found = info.dir().filePath(m);
        break;
      }
    }
    if (found.isEmpty()) return std::nullopt;
    file.setFileName(found);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  }
  return SplitTextLines(AnsiToString(file.readAll()));
}

void expandIncludes(const QString& folder, const QStringList& lines, int depth, QStringList* out,
                    QStringList* warnings) {
  for (const QString& line : lines) {
    QString name;
    if (!isInclude(line, &name)) {
      out->append(line);
      continue;
    }
    if (depth >= kMaxIncludeDepth) {
      warnings->append(QStringLiteral("Warning: includes nested too deeply at %1").arg(name));
      continue;
    }
    const auto included = readInclude(folder, name);
    if (!included) {
      warnings->append(QStringLiteral("Warning: cannot open the include file %1").arg(name));
      continue;
    }
    expandIncludes(folder, *included, depth + 1, out, warnings);
  }
}

QString normalisedName(const QString& value) {
  QString v = value.trimmed();
  v.replace(u'\\', u'/');
  while (v.startsWith(QLatin1String("./"))) v.remove(0, 2);
  return v;
}

}  // namespace

QString HhpSectionName(const QString& line) {
  const QString t = line.trimmed();
  if (t.size() < 2 || t.front() != u'[' || t.back() != u']') return {};
  return t.mid(1, t.size() - 2).trimmed().toUpper();
}

QList<HhpSection> SplitHhpSections(const QStringList& lines) {
  QList<HhpSection> sections;
  sections.append(HhpSection{});
  for (const QString& line : lines) {
    if (!HhpSectionName(line).isEmpty())
      sections.append(HhpSection{line, {}});
    else
      sections.last().lines.append(line);
  }
  return sections;
}

std::optional<QString> HhpOption(const QStringList& lines, const QString& key) {
  bool inOptions = false;
  for (const QString& line : lines) {
    const QString section = HhpSectionName(line);
    if (!section.isEmpty()) {
      inOptions = section == QLatin1String("OPTIONS");
      continue;
    }
    if (!inOptions) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
      return line.mid(eq + 1).trimmed();
  }
  return std::nullopt;
}

std::optional<quint32> ParseContextNumber(const QString& text) {
  QString t = text;
  const qsizetype lineComment = t.indexOf(QLatin1String("//"));
  if (lineComment >= 0) t.truncate(lineComment);
  const qsizetype blockComment = t.indexOf(QLatin1String("/*"));
  if (blockComment >= 0) t.truncate(blockComment);
  t = t.trimmed();
  while (t.size() >= 2 && t.front() == u'(' && t.back() == u')') t = t.mid(1, t.size() - 2).trimmed();
  while (!t.isEmpty() && (t.back() == u'u' || t.back() == u'U' || t.back() == u'l' || t.back() == u'L'))
    t.chop(1);
  if (t.isEmpty()) return std::nullopt;
  bool ok = false;
  qulonglong value = 0;
  if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    value = t.mid(2).toULongLong(&ok, 16);
  else if (t.front().isDigit())
    value = t.toULongLong(&ok, 10);
  if (!ok || value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<quint32>(value);
}

ContextEntries PairContextEntries(const QStringList& aliasLines, const QStringList& mapLines) {
  static const QRegularExpression defineRe(QStringLiteral(R"re(^\s*#\s*define\s+(\S+)\s+(.*)$)re"));
  ContextEntries result;

  QHash<QString, quint32> numbers;
  for (const QString& line : mapLines) {
    const auto m = defineRe.match(line);
    if (!m.hasMatch()) continue;
    const QString name = m.captured(1);
    const auto number = ParseContextNumber(m.captured(2));
    if (!number) {
      result.warnings.append(QStringLiteral("Warning: %1 has no context number it can use: %2")
                                 .arg(name, m.captured(2).trimmed()));
      continue;
    }
    if (numbers.contains(name)) {
      result.warnings.append(
          QStringLiteral("Warning: %1 is defined twice; the first number is used").arg(name));
      continue;
    }
    numbers.insert(name, *number);
  }

  QSet<QString> namesTaken;
  QHash<QString, QString> fileTakenBy;  // folded file -> alias name
  QSet<QString> aliased;
  for (const QString& raw : aliasLines) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(QLatin1String("//"))) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) {
      result.warnings.append(QStringLiteral("Warning: alias line not understood: %1").arg(line));
      continue;
    }
    const QString name = line.left(eq).trimmed();
    const QString file = normalisedName(line.mid(eq + 1));
    aliased.insert(name);
    if (!numbers.contains(name)) {
      result.warnings.append(
          QStringLiteral("Warning: alias %1 has no context number and is left out").arg(name));
      continue;
    }
    if (namesTaken.contains(name)) {
      result.warnings.append(
          QStringLiteral("Warning: alias %1 is given twice; the first one is used").arg(name));
      continue;
    }
    const QString key = file.toCaseFolded();
    const auto taken = fileTakenBy.constFind(key);
    if (taken != fileTakenBy.constEnd()) {
      result.warnings.append(QStringLiteral("Warning: alias %1 is left out: %2 already has the alias %3")
                                 .arg(name, file, *taken));
      continue;
    }
    namesTaken.insert(name);
    fileTakenBy.insert(key, name);
    result.entries.append(ContextEntry{name, file, numbers.value(name)});
  }
  for (const QString& line : mapLines) {
    const auto m = defineRe.match(line);
    if (m.hasMatch() && numbers.contains(m.captured(1)) && !aliased.contains(m.captured(1)))
      result.warnings.append(
          QStringLiteral("Warning: context %1 has no alias and is left out").arg(m.captured(1)));
  }
  return result;
}

ChmcmdProject BuildChmcmdProject(const QString& projectFolder, const QStringList& projectLines,
                                 const QString& compiledFile) {
  ChmcmdProject result;
  const QList<HhpSection> sections = SplitHhpSections(projectLines);

  QStringList listed;
  QStringList aliasLines;
  QStringList mapLines;
  for (const HhpSection& s : sections) {
    const QString name = HhpSectionName(s.header);
    if (name == QLatin1String("FILES")) {
      for (const QString& line : s.lines) {
        const QString file = normalisedName(line);
        if (!file.isEmpty() && !file.startsWith(u';')) listed.append(file);
      }
    } else if (name == QLatin1String("ALIAS")) {
      expandIncludes(projectFolder, s.lines, 0, &aliasLines, &result.warnings);
    } else if (name == QLatin1String("MAP")) {
      expandIncludes(projectFolder, s.lines, 0, &mapLines, &result.warnings);
    }
  }
  const ContextEntries context = PairContextEntries(aliasLines, mapLines);
  result.warnings += context.warnings;

  const QString contents =
      normalisedName(HhpOption(projectLines, QStringLiteral("Contents file")).value_or(QString()));
  const QString index =
      normalisedName(HhpOption(projectLines, QStringLiteral("Index file")).value_or(QString()));
  const QString defaultTopic =
      normalisedName(HhpOption(projectLines, QStringLiteral("Default topic")).value_or(QString()));

  QStringList seeds = listed;
  if (!defaultTopic.isEmpty()) seeds.append(defaultTopic);
  for (const ContextEntry& e : context.entries) seeds.append(e.file);
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
  for (const ContextEntry& e : context.entries) wanted.append(e.file);
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
        result.lines.append(key + u'=' + normalisedName(line.mid(eq + 1)));
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
    const QString name = HhpSectionName(s.header);
    if (s.header.isEmpty()) {
      result.lines += s.lines;
      continue;
    }
    result.lines.append(s.header);
    if (name == QLatin1String("OPTIONS")) {
      sawOptions = true;
      emitOptions(s.lines);
    } else if (name == QLatin1String("FILES")) {
      result.lines += result.files;
      result.lines.append(QString());
    } else if (name == QLatin1String("ALIAS")) {
      for (const ContextEntry& e : context.entries)
        result.lines.append(e.name + u'=' + spelledOnDisk(e.file));
      result.lines.append(QString());
    } else if (name == QLatin1String("MAP")) {
      for (const ContextEntry& e : context.entries)
        result.lines.append(QStringLiteral("#define %1 %2").arg(e.name).arg(e.number));
      result.lines.append(QString());
    } else {
      result.lines += s.lines;
    }
  }
  if (!sawOptions)
    result.lines =
        QStringList{QStringLiteral("[OPTIONS]"), QStringLiteral("Compiled file=") + compiledFile, QString()} +
        result.lines;
  const bool hasFiles = std::any_of(sections.cbegin(), sections.cend(), [](const HhpSection& s) {
    return HhpSectionName(s.header) == QLatin1String("FILES");
  });
  if (!hasFiles && !result.files.isEmpty()) {
    result.lines.append(QString());
    result.lines.append(QStringLiteral("[FILES]"));
    result.lines += result.files;
  }
  return result;
}

}  // namespace orvex
