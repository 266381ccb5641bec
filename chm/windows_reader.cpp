#include "chm/windows_reader.h"

#include "chm/chm_bytes.h"
#include "chm/chm_file.h"

namespace orvex {
namespace {

// The fields of a window type entry this reader takes: where each lies and,
// for numbers, the flag of "valid members" that says it is set.
constexpr qsizetype kMinEntrySize = 0xAC;
constexpr quint32 kMaxWindows = 4096;

QString StringAt(const QByteArray& entry, qsizetype at, const QByteArray& strings, int codePage) {
  const quint32 offset = ReadLe32(entry, at);
  if (offset == 0 || offset >= quint32(strings.size())) return {};
  QString text = ChmTextToString(strings.mid(offset, 4096), codePage);
  for (QChar& c : text)
    if (c.unicode() < 0x20 || c == u'"' || c.unicode() == 0x7f) c = u' ';
  return text.trimmed();
}

QString Hex(quint32 value) { return QStringLiteral("0x") + QString::number(value, 16); }

}  // namespace

QList<ChmWindowType> ParseWindowsFile(const QByteArray& windows, const QByteArray& strings, int codePage) {
  QList<ChmWindowType> list;
  if (windows.size() < 8) return list;
  const quint32 count = qMin(ReadLe32(windows, 0), kMaxWindows);
  const quint32 size = ReadLe32(windows, 4);
  if (size < kMinEntrySize) return list;
  for (quint32 i = 0; i < count; ++i) {
    const qsizetype at = 8 + qsizetype(i) * qsizetype(size);
    if (at + qsizetype(size) > windows.size()) break;
    const QByteArray entry = windows.mid(at, qsizetype(size));
    const auto text = [&](qsizetype offset) { return StringAt(entry, offset, strings, codePage); };
    const quint32 valid = ReadLe32(entry, 0x0C);
    const auto number = [&](qsizetype offset, quint32 flag) -> std::optional<quint32> {
      if ((valid & flag) == 0) return std::nullopt;
      return ReadLe32(entry, offset);
    };
    ChmWindowType w;
    w.name = text(0x08);
    if (w.name.isEmpty()) continue;
    w.properties = number(0x10, 0x2);
    w.caption = text(0x14);
    w.style = number(0x18, 0x4);
    w.extendedStyle = number(0x1C, 0x8);
    if (valid & 0x10) {
      std::array<qint32, 4> position{};
      for (int k = 0; k < 4; ++k) position[size_t(k)] = qint32(ReadLe32(entry, 0x20 + 4 * k));
      w.position = position;
    }
    w.showState = number(0x30, 0x40);
    w.navigationWidth = number(0x4C, 0x20);
    w.contentsFile = text(0x60);
    w.indexFile = text(0x64);
    w.defaultFile = text(0x68);
    w.homeFile = text(0x6C);
    w.toolbarButtons = number(0x70, 0x100);
    w.navigationClosed = number(0x74, 0x200);
    w.defaultTab = number(0x78, 0x2000);
    w.tabPosition = number(0x7C, 0x400);
    if (const quint32 notify = ReadLe32(entry, 0x80); notify != 0) w.notifyId = notify;
    w.jump1Text = text(0x9C);
    w.jump2Text = text(0xA0);
    w.jump1Url = text(0xA4);
    w.jump2Url = text(0xA8);
    list.append(w);
  }
  return list;
}

QString WindowLine(const ChmWindowType& w) {
  const auto quoted = [](const QString& text) { return text.isEmpty() ? QString() : u'"' + text + u'"'; };
  const auto decimal = [](const std::optional<quint32>& v) { return v ? QString::number(*v) : QString(); };
  const auto hex = [](const std::optional<quint32>& v) { return v ? Hex(*v) : QString(); };
  QStringList fields{quoted(w.caption),     quoted(w.contentsFile),     quoted(w.indexFile),
                     quoted(w.defaultFile), quoted(w.homeFile),         quoted(w.jump1Url),
                     quoted(w.jump1Text),   quoted(w.jump2Url),         quoted(w.jump2Text),
                     hex(w.properties),     decimal(w.navigationWidth), hex(w.toolbarButtons)};
  if (w.position) {
    QStringList corners;
    for (const qint32 v : *w.position) corners.append(QString::number(v));
    fields.append(u'[' + corners.join(u',') + u']');
  } else {
    fields.append(QString());
  }
  fields << hex(w.style) << hex(w.extendedStyle) << decimal(w.showState) << decimal(w.navigationClosed)
         << decimal(w.defaultTab) << decimal(w.tabPosition) << decimal(w.notifyId);
  return w.name + u'=' + fields.join(u',');
}

}  // namespace orvex
