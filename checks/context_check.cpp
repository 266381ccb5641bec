// The context numbers of a project: its [ALIAS] and [MAP] sections with the
// files they include, each line known by its file and line number.
#include <QHash>
#include <QRegularExpression>

#include "checks/check_parts.h"
#include "formats/context/context_map.h"
#include "formats/project/project_sections.h"

namespace checks {
namespace {

// The lines of one section kind, includes read in, each with its file
// (the project file's own name for its lines) and line number.
QList<ContextLine> SectionLines(const QString& root, const QString& projectName,
                                const QStringList& projectLines, const QString& section, int codePage) {
  QList<ContextLine> lines;
  bool inSection = false;
  for (qsizetype i = 0; i < projectLines.size(); ++i) {
    const QString& line = projectLines.at(i);
    const QString header = HhpSectionName(line);
    if (!header.isEmpty()) {
      inSection = header == section;
      continue;
    }
    if (!inSection) continue;
    QString include;
    if (!IsIncludeLine(line, &include)) {
      lines.append(ContextLine{line, projectName, static_cast<int>(i + 1)});
      continue;
    }
    for (ContextLine included : ExpandIncludes(root, {line}, codePage).lines) {
      included.source.replace(u'\\', u'/');
      lines.append(included);
    }
  }
  return lines;
}

CheckProblem Problem(CheckKind kind, const ContextLine& line, const QString& text) {
  return CheckProblem{kind, line.source, std::max(line.lineNumber, 1), text, QString(), QString()};
}

}  // namespace

void CheckContextNumbers(ProjectFolder& folder, const QString& projectName, const QStringList& projectLines,
                         int codePage, std::vector<CheckProblem>& problems) {
  static const QRegularExpression defineRe(QStringLiteral(R"re(^\s*#\s*define\s+(\S+)\s+(.*)$)re"));
  const QList<ContextLine> mapLines =
      SectionLines(folder.Root(), projectName, projectLines, QStringLiteral("MAP"), codePage);
  const QList<ContextLine> aliasLines =
      SectionLines(folder.Root(), projectName, projectLines, QStringLiteral("ALIAS"), codePage);

  struct Define {
    QString name;
    quint32 number;
    const ContextLine* line;
  };
  QList<Define> defines;
  QSet<QString> numbered;                     // folded names that have a number
  QHash<quint32, qsizetype> firstWithNumber;  // number -> index in defines
  for (const ContextLine& line : mapLines) {
    const auto m = defineRe.match(line.text);
    if (!m.hasMatch()) continue;
    const auto number = ParseContextNumber(m.captured(2));
    if (!number) continue;
    const Define define{m.captured(1), *number, &line};
    numbered.insert(define.name.toCaseFolded());
    if (const auto first = firstWithNumber.constFind(*number); first != firstWithNumber.constEnd()) {
      const Define& earlier = defines.at(*first);
      problems.push_back(
          Problem(CheckKind::DuplicateNumber, line,
                  QStringLiteral("context number %1 of %2 is already given to %3 (%4, line %5)")
                      .arg(m.captured(2).trimmed(), define.name, earlier.name, earlier.line->source)
                      .arg(earlier.line->lineNumber)));
    } else {
      firstWithNumber.insert(*number, defines.size());
    }
    defines.append(define);
  }

  QSet<QString> aliased;  // folded names
  for (const ContextLine& line : aliasLines) {
    const QString text = line.text.trimmed();
    if (text.isEmpty() || text.startsWith(u';') || text.startsWith(QLatin1String("//"))) continue;
    const qsizetype eq = text.indexOf(u'=');
    if (eq <= 0) continue;
    const QString name = text.left(eq).trimmed();
    const QString file = text.mid(eq + 1).trimmed();
    aliased.insert(name.toCaseFolded());
    if (!numbered.contains(name.toCaseFolded()))
      problems.push_back(Problem(CheckKind::AliasWithoutNumber, line,
                                 QStringLiteral("alias %1 has no context number in [MAP]").arg(name)));
    bool outside = false;
    const QString relative = RelativeTarget(QString(), file, &outside);
    const ProjectFolder::Place place = outside              ? ProjectFolder::Place::Outside
                                       : relative.isEmpty() ? ProjectFolder::Place::Missing
                                                            : folder.Locate(relative);
    if (place == ProjectFolder::Place::Outside)
      problems.push_back(
          Problem(CheckKind::OutsideLink, line,
                  QStringLiteral("alias %1 leads out of the project folder: %2").arg(name, file)));
    else if (place == ProjectFolder::Place::Missing)
      problems.push_back(
          Problem(CheckKind::AliasMissingPage, line,
                  QStringLiteral("alias %1 leads to a page that does not exist: %2").arg(name, file)));
  }
  for (const Define& define : std::as_const(defines)) {
    if (!aliased.contains(define.name.toCaseFolded()))
      problems.push_back(Problem(CheckKind::NumberWithoutAlias, *define.line,
                                 QStringLiteral("context number %1 (%2) has no alias in [ALIAS]")
                                     .arg(define.name)
                                     .arg(define.number)));
  }
}

}  // namespace checks
