#include "chm/chm_file.h"

#include "chm/ansi_text.h"
#include "chm/chm_bytes.h"
#include "chm/chm_directory.h"
#include "chm/chm_validator.h"
#include "platform/codepage.h"
#include "platform/locale_info.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QtEndian>

#include <chm_lib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

constexpr qint64 kPieceSize = 64 * 1024;

}  // namespace

QString ChmNameToString(const QByteArray& bytes) {
  // Stateless: a name that ends inside a UTF-8 sequence is not UTF-8.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (utf8.hasError()) return AnsiToString(bytes);
  return text;
}

int ChmTextCodePage(quint32 lcid) {
  const int codePage = lcid == 0 ? -1 : LocaleAnsiCodePage(int(lcid));
  return codePage > 0 ? codePage : 0;
}

QString ChmTextToString(const QByteArray& bytes, int codePage) {
  const qsizetype nul = bytes.indexOf('\0');
  const QByteArray text = nul < 0 ? bytes : bytes.left(nul);
  return codePage > 0 ? DecodeCodePage(text, codePage) : ChmNameToString(text);
}

ChmSystemInfo ParseChmSystem(const QByteArray& data) {
  ChmSystemInfo info;
  QHash<quint16, QByteArray> texts;
  qsizetype at = 4;  // version number
  while (at + 4 <= data.size()) {
    const quint16 code = ReadLe16(data, at);
    const quint16 length = ReadLe16(data, at + 2);
    at += 4;
    if (at + length > data.size()) break;
    const QByteArray value = data.mid(at, length);
    at += length;
    if (code == 4 && value.size() >= 4) info.lcid = ReadLe32(value, 0);
    if (!texts.contains(code)) texts.insert(code, value);
  }
  // Text is in the language's code page; the language may come after it.
  info.codePage = ChmTextCodePage(info.lcid);
  const auto text = [&](quint16 code) { return ChmTextToString(texts.value(code), info.codePage); };
  info.contentsFile = text(0);
  info.indexFile = text(1);
  info.defaultTopic = text(2);
  info.title = text(3);
  info.defaultWindow = text(5);
  info.compiledFile = text(6);
  info.defaultFont = text(16);
  return info;
}

QMap<quint32, QString> ParseContextMap(const QByteArray& ivb, const QByteArray& strings, int codePage) {
  QMap<quint32, QString> map;
  if (ivb.size() < 4) return map;
  const qsizetype declared = ReadLe32(ivb, 0);
  const qsizetype end = qMin<qsizetype>(ivb.size(), 4 + declared);
  for (qsizetype at = 4; at + 8 <= end; at += 8) {
    const quint32 number = ReadLe32(ivb, at);
    const quint32 offset = ReadLe32(ivb, at + 4);
    if (offset >= static_cast<quint32>(strings.size())) continue;
    if (!map.contains(number)) map.insert(number, ChmTextToString(strings.mid(offset, 4096), codePage));
  }
  return map;
}

QString MatchStoredPagePath(const QString& stored, const QStringList& entryPaths) {
  QHash<QString, QString> byFolded;
  for (const QString& p : entryPaths) byFolded.insert(p.toCaseFolded(), p);
  QString path = stored;
  path.replace(u'\\', u'/');
  const qsizetype cut = path.indexOf(u'#');
  if (cut >= 0) path.truncate(cut);
  QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
  // Shortest prefix dropped first: the longest tail that is an entry wins.
  while (!parts.isEmpty()) {
    const QString candidate = (u'/' + parts.join(u'/')).toCaseFolded();
    const auto it = byFolded.constFind(candidate);
    if (it != byFolded.constEnd()) return *it;
    parts.removeFirst();
  }
  return {};
}

ChmFile::~ChmFile() { close(); }

Status ChmFile::open(const QString& path) {
  close();
  // One descriptor for the check and the reading library alike: the library
  // opens the same file through it, so a file put in the path's place after
  // the check is never read.
  const QString shown = QDir::toNativeSeparators(path);
  fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return Fail(
        QStringLiteral("Cannot open file %1: %2").arg(shown, QString::fromLocal8Bit(std::strerror(errno))));
  if (Status checked = ValidateChmDescriptor(fd, path, &listed); !checked) {
    close();
    return checked;
  }
  handle = chm_open(QByteArrayLiteral("/proc/self/fd/").append(QByteArray::number(fd)).constData());
  if (!handle) {
    close();
    return Fail(QStringLiteral("Cannot read the compiled help file %1").arg(shown));
  }
  return {};
}

void ChmFile::close() {
  if (handle) chm_close(handle);
  handle = nullptr;
  if (fd >= 0) ::close(fd);
  fd = -1;
  listed.clear();
}

QList<ChmEntry> ChmFile::entries() const {
  // From the directory as checked, not from the library's walk: the library
  // starts at the chunk the header names as the first listing chunk, and
  // some compilers name the last one there.
  QList<ChmListedEntry> sorted = listed;
  std::stable_sort(sorted.begin(), sorted.end(), [](const ChmListedEntry& a, const ChmListedEntry& b) {
    return CompareChmNames(a.name, b.name) < 0;
  });
  QList<ChmEntry> list;
  if (!handle) return list;
  list.reserve(sorted.size());
  for (const ChmListedEntry& stored : std::as_const(sorted)) {
    ChmEntry e;
    e.rawPath = stored.name.left(qsizetype(qstrnlen(stored.name.constData(), CHM_MAX_PATHLEN)));
    e.path = ChmNameToString(e.rawPath);
    e.length = stored.length;
    e.start = stored.start;
    e.space = int(stored.space);
    e.isFile = !e.rawPath.endsWith('/');
    e.isNormal = e.rawPath.startsWith('/') && !e.rawPath.startsWith("/#") && !e.rawPath.startsWith("/$");
    list.append(e);
  }
  return list;
}

bool ChmFile::contains(const QString& path) const {
  chmUnitInfo ui{};
  return handle && chm_resolve_object(handle, path.toUtf8().constData(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmFile::read(const QString& path, qint64 maxBytes) const {
  if (!handle) return std::nullopt;
  chmUnitInfo ui{};
  if (chm_resolve_object(handle, path.toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS) return std::nullopt;
  if (ui.length > static_cast<quint64>(maxBytes)) return std::nullopt;
  QByteArray data;
  ChmEntry entry;
  entry.rawPath = QByteArray(ui.path);
  entry.length = ui.length;
  entry.start = ui.start;
  entry.space = ui.space;
  const bool ok = readInPieces(entry, [&data](const QByteArray& piece) {
    data += piece;
    return true;
  });
  if (!ok) return std::nullopt;
  return data;
}

bool ChmFile::readInPieces(const ChmEntry& entry, const std::function<bool(const QByteArray&)>& sink) const {
  if (!handle) return false;
  // The location comes from chmlib itself (enumeration or lookup).
  chmUnitInfo ui{};
  ui.start = entry.start;
  ui.length = entry.length;
  ui.space = entry.space;
  qstrncpy(ui.path, entry.rawPath.constData(), sizeof ui.path);
  QByteArray buffer(static_cast<qsizetype>(qBound<quint64>(1, ui.length, kPieceSize)), Qt::Uninitialized);
  quint64 done = 0;
  while (done < ui.length) {
    const qint64 want = static_cast<qint64>(qMin<quint64>(kPieceSize, ui.length - done));
    const LONGINT64 got =
        chm_retrieve_object(handle, &ui, reinterpret_cast<unsigned char*>(buffer.data()), done, want);
    if (got <= 0) return false;
    if (!sink(buffer.left(static_cast<qsizetype>(got)))) return false;
    done += static_cast<quint64>(got);
  }
  return true;
}

ChmSystemInfo ChmFile::systemInfo() const {
  return ParseChmSystem(read(QStringLiteral("/#SYSTEM"), 16 * 1024 * 1024).value_or(QByteArray()));
}

QMap<quint32, QString> ChmFile::contextMap() const {
  const auto ivb = read(QStringLiteral("/#IVB"), 64 * 1024 * 1024);
  const auto strings = read(QStringLiteral("/#STRINGS"), 64 * 1024 * 1024);
  if (!ivb || !strings) return {};
  QStringList pages;
  for (const ChmEntry& e : entries()) {
    if (e.isFile && e.isNormal) pages.append(e.path);
  }
  QMap<quint32, QString> resolved;
  const QMap<quint32, QString> stored = ParseContextMap(*ivb, *strings, systemInfo().codePage);
  for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
    const QString page = MatchStoredPagePath(it.value(), pages);
    if (!page.isEmpty()) resolved.insert(it.key(), page);
  }
  return resolved;
}

QString ChmFile::topicForContext(quint32 number) const { return contextMap().value(number); }

}  // namespace orvex
