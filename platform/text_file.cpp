#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>

#include "platform/replacing_file.h"
#include "platform/codepage.h"

#include <cerrno>

QStringList SplitLines(const QString& text) {
  QStringList lines;
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.append(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

QString JoinLines(const QStringList& lines) {
  qsizetype size = 0;
  for (const QString& line : lines) size += line.size() + 2;
  QString text;
  text.reserve(size);
  for (const QString& line : lines) {
    text += line;
    text += QLatin1String("\r\n");
  }
  return text;
}

QStringList OneLineEach(const QStringList& lines) {
  QStringList out = lines;
  for (QString& line : out) {
    if (!line.contains(u'\r') && !line.contains(u'\n')) continue;
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
  }
  return out;
}

Result<QByteArray> ReadFileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("Cannot open file %1: %2").arg(path, file.errorString()));
  QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return Fail(QStringLiteral("Cannot read file %1: %2").arg(path, file.errorString()));
  return bytes;
}

Result<QString> ReadTextFile(const QString& path, int codePage) {
  Result<QByteArray> bytes = ReadFileBytes(path);
  if (!bytes) return Fail(bytes.Message());
  return DecodeCodePage(*bytes, codePage);
}

Result<QStringList> ReadLinesFile(const QString& path, int codePage) {
  Result<QString> text = ReadTextFile(path, codePage);
  if (!text) return Fail(text.Message());
  return SplitLines(*text);
}

Status WriteFileBytes(const QString& path, const QByteArray& bytes, const QString& cannotCreate) {
  // The rename would replace a read-only file; the user meant it to stay.
  // A file without any write permission bit counts as read-only also for
  // a user (root) whom the system would let write it.
  QFileInfo info(path);
  // A link is written through, as the user set it up: the file it leads to
  // is replaced, the link stays.
  const QString target = !info.isSymLink() ? path
                         : info.exists()   ? info.canonicalFilePath()
                                           : info.symLinkTarget();
  if (target != path) info = QFileInfo(target);
  const QFile::Permissions anyWrite = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
  if (info.exists() && info.isDir())
    return Fail(cannotCreate.arg(path) + QStringLiteral(": ") + SystemReason(EISDIR));
  if (info.exists() && !info.isFile())
    return Fail(cannotCreate.arg(path) + QStringLiteral(": it is not a regular file"));
  if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite)))
    return Fail(cannotCreate.arg(path) + QStringLiteral(": the file is read-only"));
  auto file = ReplacingFile::Create(target, {cannotCreate, QStringLiteral("Unable to write to %1")});
  if (!file) return Fail(file.Message());
  if (Status written = (*file)->Write(bytes); !written) return written;
  return (*file)->Commit();
}

Status WriteTextFile(const QString& path, const QString& text, int codePage) {
  return WriteFileBytes(path, EncodeCodePage(text, codePage));
}

Status WriteLinesFile(const QString& path, const QStringList& lines, int codePage) {
  return WriteTextFile(path, JoinLines(lines), codePage);
}
