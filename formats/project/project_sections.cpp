#include "formats/project/project_sections.h"

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

QStringList HhpSectionLines(const QStringList& lines, const QString& name) {
  QStringList out;
  for (const HhpSection& section : SplitHhpSections(lines)) {
    if (HhpSectionName(section.header) == name) out += section.lines;
  }
  return out;
}
