#include "chm/chm_file.h"

#include "chm/ansi_text.h"
#include "chm/chm_bytes.h"
#include "chm/chm_validator.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QtEndian>

#include <chm_lib.h>

namespace orvex {
namespace {

constexpr qint64 kPieceSize = 64 * 1024;

QString nulTerminated(const QByteArray& data) {
  const qsizetype nul = data.indexOf('\0');
  return ChmNameToString(nul < 0 ? data : data.left(nul));
}

int collectEntry(chmFile*, chmUnitInfo* ui, void* context) {
  auto* list = static_cast<QList<ChmEntry>*>(context);
  ChmEntry e;
  e.rawPath = QByteArray(ui->path, static_cast<qsizetype>(qstrnlen(ui->path, CHM_MAX_PATHLEN)));
  e.path = ChmNameToString(e.rawPath);
  e.length = ui->length;
  e.start = ui->start;
  e.space = ui->space;
  e.isFile = (ui->flags & CHM_ENUMERATE_FILES) != 0;
  e.isNormal = (ui->flags & CHM_ENUMERATE_NORMAL) != 0;
  list->append(e);
  return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

QString ChmNameToString(const QByteArray& bytes) {
  // Stateless: a name that ends inside a UTF-8 sequence is not UTF-8.
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8(bytes);
  if (utf8.hasError()) return AnsiToString(bytes);
  return text;
}

ChmSystemInfo ParseChmSystem(const QByteArray& data) {
  ChmSystemInfo info;
  qsizetype at = 4;  // version number
  while (at + 4 <= data.size()) {
    const quint16 code = ReadLe16(data, at);
    const quint16 length = ReadLe16(data, at + 2);
    at += 4;
    if (at + length > data.size()) break;
    const QByteArray value = data.mid(at, length);
    at += length;
    switch (code) {
      case 0:
        info.contentsFile = nulTerminated(value);
        break;
      case 1:
        info.indexFile = nulTerminated(value);
        break;
      case 2:
        info.defaultTopic = nulTerminated(value);
        break;
      case 3:
        info.title = nulTerminated(value);
        break;
      case 4:
        if (value.size() >= 4) info.lcid = ReadLe32(value, 0);
        break;
      case 6:
        info.compiledFile = nulTerminated(value);
        break;
      default:
        break;
    }
  }
  return info;
}

QMap<quint32, QString> ParseContextMap(const QByteArray& ivb, const QByteArray& strings) {
  QMap<quint32, QString> map;
  if (ivb.size() < 4) return map;
  const qsizetype declared = ReadLe32(ivb, 0);
  const qsizetype end = qMin<qsizetype>(ivb.size(), 4 + declared);
  for (qsizetype at = 4; at + 8 <= end; at += 8) {
    const quint32 number = ReadLe32(ivb, at);
    const quint32 offset = ReadLe32(ivb, at + 4);
    if (offset >= static_cast<quint32>(strings.size())) continue;
    if (!map.contains(number)) map.insert(number, nulTerminated(strings.mid(offset)));
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
  if (Status checked = ValidateChmFile(path); !checked) return checked;
  m_handle = chm_open(QFile::encodeName(path).constData());
  if (!m_handle)
    return Fail(QStringLiteral("Cannot read the compiled help file %1").arg(QDir::toNativeSeparators(path)));
  return {};
}

void ChmFile::close() {
  if (m_handle) chm_close(m_handle);
  m_handle = nullptr;
}

QList<ChmEntry> ChmFile::entries() const {
  QList<ChmEntry> list;
  if (m_handle) chm_enumerate(m_handle, CHM_ENUMERATE_ALL, collectEntry, &list);
  return list;
}

bool ChmFile::contains(const QString& path) const {
  chmUnitInfo ui{};
  return m_handle && chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmFile::read(const QString& path, qint64 maxBytes) const {
  if (!m_handle) return std::nullopt;
  chmUnitInfo ui{};
  if (chm_resolve_object(m_handle, path.toUtf8().constData(), &ui) != CHM_RESOLVE_SUCCESS)
    return std::nullopt;
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
  if (!m_handle) return false;
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
        chm_retrieve_object(m_handle, &ui, reinterpret_cast<unsigned char*>(buffer.data()), done, want);
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
  const QMap<quint32, QString> stored = ParseContextMap(*ivb, *strings);
  for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
    const QString page = MatchStoredPagePath(it.value(), pages);
    if (!page.isEmpty()) resolved.insert(it.key(), page);
  }
  return resolved;
}

QString ChmFile::topicForContext(quint32 number) const { return contextMap().value(number); }

}  // namespace orvex
