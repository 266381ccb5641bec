#include "platform/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "platform/file_operations.h"
#include "platform/text_file.h"

namespace {

// One line of the file: its text without the line end, and where it starts
// and ends in the file (the end including the line end).
struct RawLine {
  qsizetype start;
  qsizetype textEnd;
  qsizetype end;
};

std::vector<RawLine> SplitRawLines(const QByteArray& text) {
  std::vector<RawLine> lines;
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    qsizetype end = i + 1;
    if (c == '\r' && end < n && text[end] == '\n') ++end;
    lines.push_back({start, i, end});
    start = end;
    i = end - 1;
  }
  if (start < n) lines.push_back({start, n, n});
  return lines;
}

QString LineText(const QByteArray& text, const RawLine& line) {
  return QString::fromUtf8(text.constData() + line.start, line.textEnd - line.start);
}

// The section name of a "[name]" line, if it is one.
bool SectionName(const QString& line, QString* name) {
  const QString t = line.trimmed();
  if (!t.startsWith(u'[')) return false;
  const qsizetype close = t.indexOf(u']');
  if (close < 0) return false;
  *name = t.mid(1, close - 1).trimmed();
  return true;
}

// The key and value of a "key=value" line, if it is one.
bool KeyValue(const QString& line, QString* key, QString* value) {
  const QString t = line.trimmed();
  if (t.startsWith(u';')) return false;
  const qsizetype eq = t.indexOf(u'=');
  if (eq < 0) return false;
  *key = t.left(eq).trimmed();
  *value = t.mid(eq + 1).trimmed();
  return true;
}

bool SameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

QString Unquote(const QString& value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    return value.mid(1, value.size() - 2);
  return value;
}

// The line end the file uses, CR LF when it has none.
QByteArray LineEndOf(const QByteArray& text, const std::vector<RawLine>& lines) {
  for (const RawLine& line : lines)
    if (line.end > line.textEnd) return text.mid(line.textEnd, line.end - line.textEnd);
  return QByteArrayLiteral("\r\n");
}

}  // namespace

QString ProfileValue(const QByteArray& fileText, const QString& section, const QString& key,
                     const QString& defaultValue) {
  bool inSection = false;
  for (const RawLine& raw : SplitRawLines(fileText)) {
    const QString line = LineText(fileText, raw);
    QString name, k, v;
    if (SectionName(line, &name)) {
      inSection = SameName(name, section);
    } else if (inSection && KeyValue(line, &k, &v) && SameName(k, key)) {
      return Unquote(v);
    }
  }
  return defaultValue;
}

QByteArray SetProfileValue(const QByteArray& fileText, const QString& section, const QString& key,
                           const QString& value) {
  const std::vector<RawLine> lines = SplitRawLines(fileText);
  const QByteArray eol = LineEndOf(fileText, lines);
  // A line break in the value would start lines of its own in the file.
  const QByteArray entry = OneLineEach({key + u'=' + value}).constFirst().toUtf8();
  bool inSection = false;
  bool sectionFound = false;
  qsizetype insertAt = -1;  // after the last non-blank line of the section
  for (const RawLine& raw : lines) {
    const QString line = LineText(fileText, raw);
    QString name, k, v;
    if (SectionName(line, &name)) {
      if (inSection) break;  // the section ended without the key
      inSection = SameName(name, section);
      if (inSection) {
        sectionFound = true;
        insertAt = raw.end;
      }
      continue;
    }
    if (!inSection) continue;
    if (KeyValue(line, &k, &v) && SameName(k, key)) {
      QByteArray out = fileText;
      out.replace(raw.start, raw.textEnd - raw.start, entry);
      return out;
    }
    if (!line.trimmed().isEmpty()) insertAt = raw.end;
  }
  QByteArray out = fileText;
  if (sectionFound) {
    // The section's last line may lack a line end (end of file).
    QByteArray piece = entry + eol;
    if (insertAt > 0 && out[insertAt - 1] != '\n' && out[insertAt - 1] != '\r') piece = eol + entry;
    out.insert(insertAt, piece);
    return out;
  }
  if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out += eol;
  out += '[' + section.toUtf8() + ']' + eol + entry + eol;
  return out;
}

QByteArray ReadProfileFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

Status WriteProfileFile(const QString& path, const QByteArray& fileText) {
  if (const Status made = MakeFolder(QFileInfo(path).absolutePath()); !made)
    return Fail(QStringLiteral("Unable to write to %1: %2").arg(path, made.Message()));
  return WriteFileBytes(path, fileText, QStringLiteral("Unable to write to %1"));
}

QString ReadProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& defaultValue) {
  return ProfileValue(ReadProfileFile(path), section, key, defaultValue);
}

Status WriteProfileString(const QString& path, const QString& section, const QString& key,
                          const QString& value) {
  return WriteProfileFile(path, SetProfileValue(ReadProfileFile(path), section, key, value));
}
