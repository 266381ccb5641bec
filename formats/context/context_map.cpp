#include "formats/context/context_map.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include "platform/codepage.h"
#include "platform/project_paths.h"
#include "platform/regular_file.h"
#include "platform/text_file.h"
#include "formats/project/project_sections.h"

namespace {

struct IncludeReader {
  QString projectFolder;
  int codePage = 0;
  IncludeLimits limits;
  QSet<QString> seen;     // canonical paths of the files read so far
  QSet<QString> skipped;  // canonical paths of files left out silently
  qint64 totalBytes = 0;
  ExpandedSection* out = nullptr;

  void Expand(const QList<ContextLine>& lines, const QString& folder, int depth) {
    for (const ContextLine& line : lines) {
      QString name;
      if (!IsIncludeLine(line.text, &name)) {
        out->lines.append(line);
        continue;
      }
      Include(name, Where(line), folder, depth);
    }
  }

  static QString Where(const ContextLine& line) {
    return line.source.isEmpty() ? QString()
                                 : QStringLiteral(" (%1 line %2)").arg(line.source).arg(line.lineNumber);
  }

  QString Locate(const QString& name, const QString& folder) const {
    const QString near = ResolveProjectPath(folder, name);
    if (QFileInfo::exists(near) || folder == projectFolder) return near;
    return ResolveProjectPath(projectFolder, name);
  }

  void Include(const QString& name, const QString& where, const QString& folder, int depth) {
    if (name.isEmpty()) return;
    if (depth >= limits.maxDepth) {
      out->warnings.append(
          QStringLiteral("Warning: include file %1 nested too deeply%2; left out").arg(name, where));
      return;
    }
    const QString path = Locate(name, folder);
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (!canonical.isEmpty() && skipped.contains(canonical)) return;
    if (!canonical.isEmpty() && seen.contains(canonical)) {
      out->warnings.append(QStringLiteral("Warning: include file %1 is included more than once%2; read once")
                               .arg(name, where));
      return;
    }
    const qint64 room = qMax<qint64>(0, qMin(limits.maxFileBytes, limits.maxTotalBytes - totalBytes));
    const Result<QByteArray> bytes = ReadRegularFile(path, room);
    if (!bytes) {
      out->warnings.append(
          QStringLiteral("Warning: cannot read the include file %1%2: %3").arg(name, where, bytes.Message()));
      return;
    }
    seen.insert(canonical.isEmpty() ? path : canonical);
    totalBytes += bytes->size();
    out->includedFiles.append(path);
    static const QByteArray utf8Bom("\xEF\xBB\xBF");
    const QString text = bytes->startsWith(utf8Bom) ? QString::fromUtf8(bytes->mid(utf8Bom.size()))
                                                    : DecodeCodePage(*bytes, codePage);
    QList<ContextLine> lines;
    int number = 0;
    for (const QString& lineText : SplitLines(text)) lines.append(ContextLine{lineText, name, ++number});
    Expand(lines, QFileInfo(path).absolutePath(), depth + 1);
  }
};

// A name from a map or alias line as a warning may show it: an identifier
// is shown, anything else only by where it stands.
QString Shown(const QString& name, const ContextLine& line) {
  static const QRegularExpression identifier(QStringLiteral("^[A-Za-z0-9_.$@-]{1,128}$"));
  if (line.source.isEmpty() || identifier.match(name).hasMatch()) return name;
  return QStringLiteral("at %1 line %2").arg(line.source).arg(line.lineNumber);
}

QString Place(const ContextLine& line) {
  return line.source.isEmpty() ? QString()
                               : QStringLiteral(" (%1 line %2)").arg(line.source).arg(line.lineNumber);
}

QList<ContextLine> ProjectFileLines(const QStringList& lines) {
  QList<ContextLine> out;
  out.reserve(lines.size());
  for (const QString& line : lines) out.append(ContextLine{line, QString(), 0});
  return out;
}

}  // namespace

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

bool IsIncludeLine(const QString& line, QString* name) {
  const QString t = line.trimmed();
  if (!t.startsWith(QLatin1String("#include"), Qt::CaseInsensitive)) return false;
  QString rest = t.mid(8).trimmed();
  if (rest.size() >= 2 &&
      ((rest.front() == u'"' && rest.back() == u'"') || (rest.front() == u'<' && rest.back() == u'>')))
    rest = rest.mid(1, rest.size() - 2).trimmed();
  *name = rest;
  return true;
}

ExpandedSection ExpandIncludes(const QString& projectFolder, const QStringList& sectionLines, int codePage,
                               const IncludeLimits& limits, const QStringList& skipFiles) {
  ExpandedSection result;
  IncludeReader reader;
  for (const QString& file : skipFiles) {
    const QString canonical = QFileInfo(file).canonicalFilePath();
    if (!canonical.isEmpty()) reader.skipped.insert(canonical);
  }
  reader.projectFolder = QDir::cleanPath(QDir(projectFolder).absolutePath());
  reader.codePage = codePage;
  reader.limits = limits;
  reader.out = &result;
  reader.Expand(ProjectFileLines(sectionLines), reader.projectFolder, 0);
  return result;
}

ContextEntries PairContextEntries(const QList<ContextLine>& aliasLines, const QList<ContextLine>& mapLines) {
  static const QRegularExpression defineRe(QStringLiteral(R"re(^\s*#\s*define\s+(\S+)\s+(.*)$)re"));
  ContextEntries result;

  // Names match without regard to letter case: authors mean one name by
  // "IDH_Print" in the map and "IDH_print" in the alias lines.
  struct Defined {
    QString name;  // as the map spells it
    quint32 number;
    const ContextLine* line;
  };
  QHash<QString, Defined> numbers;  // folded name -> definition
  QList<std::pair<QString, const ContextLine*>> defined;
  for (const ContextLine& line : mapLines) {
    const auto m = defineRe.match(line.text);
    if (!m.hasMatch()) continue;
    const QString name = m.captured(1);
    const auto number = ParseContextNumber(m.captured(2));
    if (!number) {
      result.warnings.append(QStringLiteral("Warning: %1 has no context number it can use%2")
                                 .arg(Shown(name, line), Place(line)));
      continue;
    }
    if (numbers.contains(name.toCaseFolded())) {
      result.warnings.append(QStringLiteral("Warning: %1 is defined twice%2; the first number is used")
                                 .arg(Shown(name, line), Place(line)));
      continue;
    }
    numbers.insert(name.toCaseFolded(), Defined{name, *number, &line});
    defined.append({name, &line});
  }

  QSet<QString> aliased;  // folded names
  for (const ContextLine& raw : aliasLines) {
    const QString line = raw.text.trimmed();
    if (line.isEmpty() || line.startsWith(u';') || line.startsWith(QLatin1String("//"))) continue;
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0) {
      result.warnings.append(raw.source.isEmpty()
                                 ? QStringLiteral("Warning: alias line not understood: %1").arg(line)
                                 : QStringLiteral("Warning: alias line not understood%1").arg(Place(raw)));
      continue;
    }
    const QString name = line.left(eq).trimmed();
    QString file = line.mid(eq + 1).trimmed();
    file.replace(u'\\', u'/');
    const QString key = name.toCaseFolded();
    const auto definition = numbers.constFind(key);
    if (definition == numbers.constEnd()) {
      result.warnings.append(QStringLiteral("Warning: alias %1 has no context number and is left out%2")
                                 .arg(Shown(name, raw), Place(raw)));
      aliased.insert(key);
      continue;
    }
    if (aliased.contains(key)) {
      result.warnings.append(QStringLiteral("Warning: alias %1 is given twice%2; the first one is used")
                                 .arg(Shown(name, raw), Place(raw)));
      continue;
    }
    aliased.insert(key);
    if (definition->name != name)
      result.warnings.append(
          QStringLiteral(
              "Warning: alias %1 differs in letter case from the map's %2%3; the map's spelling is used")
              .arg(Shown(name, raw), Shown(definition->name, *definition->line), Place(raw)));
    result.entries.append(ContextEntry{definition->name, file, definition->number});
  }
  for (const auto& [name, line] : defined) {
    if (!aliased.contains(name.toCaseFolded()))
      result.warnings.append(
          QStringLiteral("Warning: context %1 has no alias and is left out").arg(Shown(name, *line)));
  }
  return result;
}

ContextEntries PairContextEntries(const QStringList& aliasLines, const QStringList& mapLines) {
  return PairContextEntries(ProjectFileLines(aliasLines), ProjectFileLines(mapLines));
}

ProjectContextMap ReadProjectContextMap(const QString& projectFolder, const QStringList& projectLines,
                                        int codePage, const IncludeLimits& limits,
                                        const QStringList& skipFiles) {
  ProjectContextMap map;
  const ExpandedSection alias = ExpandIncludes(
      projectFolder, HhpSectionLines(projectLines, QStringLiteral("ALIAS")), codePage, limits, skipFiles);
  const ExpandedSection defines = ExpandIncludes(
      projectFolder, HhpSectionLines(projectLines, QStringLiteral("MAP")), codePage, limits, skipFiles);
  map.context = PairContextEntries(alias.lines, defines.lines);
  map.warnings = alias.warnings + defines.warnings;
  map.includedFiles = alias.includedFiles + defines.includedFiles;
  return map;
}
