#pragma once
// Crafting damaged and hostile compiled files from a sound one: the
// directory's layout, its listing entries re-encoded in place, numbers
// patched where the reading library finds them.

#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <gtest/gtest.h>

namespace orvex_test {

struct CraftedEntry {
  QByteArray name;
  quint64 space = 0;
  quint64 start = 0;
  quint64 length = 0;
};

struct ChmLayout {
  quint64 dirOffset = 0;
  quint64 dirLength = 0;
  quint64 dataOffset = 0;
  quint64 chunkSize = 0;
  quint64 chunkCount = 0;
  qint32 indexRoot = -1;
  qint32 listingHead = -1;
  qsizetype ChunkAt(quint64 n) const { return qsizetype(dirOffset + 0x54 + n * chunkSize); }
};

inline quint32 GetLe32(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint32>(b.constData() + at);
}
inline quint64 GetLe64(const QByteArray& b, qsizetype at) {
  return qFromLittleEndian<quint64>(b.constData() + at);
}
inline void PutLe32(QByteArray& b, qsizetype at, quint32 v) { qToLittleEndian(v, b.data() + at); }
inline void PutLe64(QByteArray& b, qsizetype at, quint64 v) { qToLittleEndian(v, b.data() + at); }

inline ChmLayout ReadLayout(const QByteArray& b) {
  ChmLayout l;
  l.dirOffset = GetLe64(b, 0x48);
  l.dirLength = GetLe64(b, 0x50);
  l.dataOffset = GetLe32(b, 4) == 3 ? GetLe64(b, 0x58) : l.dirOffset + l.dirLength;
  l.chunkSize = GetLe32(b, qsizetype(l.dirOffset + 0x10));
  l.chunkCount = (l.dirLength - 0x54) / l.chunkSize;
  l.indexRoot = qint32(GetLe32(b, qsizetype(l.dirOffset + 0x1c)));
  l.listingHead = qint32(GetLe32(b, qsizetype(l.dirOffset + 0x20)));
  return l;
}

inline quint64 ReadNumber(const QByteArray& b, qsizetype& at) {
  quint64 v = 0;
  for (;;) {
    const auto c = static_cast<unsigned char>(b[at++]);
    v = (v << 7) | (c & 0x7f);
    if (c < 0x80) return v;
  }
}

inline QByteArray EncodeNumber(quint64 v) {
  QByteArray out(1, char(v & 0x7f));
  while (v >>= 7) out.prepend(char(0x80 | (v & 0x7f)));
  return out;
}

inline bool IsListing(const QByteArray& b, const ChmLayout& l, quint64 chunk) {
  return b.mid(l.ChunkAt(chunk), 4) == "PMGL";
}

inline QList<CraftedEntry> ChunkEntries(const QByteArray& b, const ChmLayout& l, quint64 chunk) {
  QList<CraftedEntry> entries;
  const qsizetype base = l.ChunkAt(chunk);
  qsizetype at = base + 0x14;
  const qsizetype end = base + qsizetype(l.chunkSize - GetLe32(b, base + 4));
  while (at < end) {
    CraftedEntry e;
    const quint64 n = ReadNumber(b, at);
    e.name = b.mid(at, qsizetype(n));
    at += qsizetype(n);
    e.space = ReadNumber(b, at);
    e.start = ReadNumber(b, at);
    e.length = ReadNumber(b, at);
    entries.append(e);
  }
  return entries;
}

// Re-encodes a listing chunk's entries; false when they do not fit.
inline bool WriteChunkEntries(QByteArray& b, const ChmLayout& l, quint64 chunk,
                              const QList<CraftedEntry>& entries) {
  QByteArray body;
  for (const CraftedEntry& e : entries)
    body += EncodeNumber(quint64(e.name.size())) + e.name + EncodeNumber(e.space) + EncodeNumber(e.start) +
            EncodeNumber(e.length);
  if (quint64(body.size()) + 0x14 + 2 > l.chunkSize) return false;
  const qsizetype base = l.ChunkAt(chunk);
  b.replace(base + 0x14, body.size(), body);
  const quint32 freeSpace = quint32(l.chunkSize - 0x14 - quint64(body.size()));
  PutLe32(b, base + 4, freeSpace);
  // The free space holds no quick-reference entries any more, only their count.
  b.replace(base + 0x14 + body.size(), qsizetype(freeSpace), QByteArray(qsizetype(freeSpace), '\0'));
  return true;
}

// The first entry of that name in any listing chunk.
inline CraftedEntry FindCraftedEntry(const QByteArray& b, const ChmLayout& l, const QByteArray& name) {
  for (quint64 c = 0; c < l.chunkCount; ++c) {
    if (!IsListing(b, l, c)) continue;
    for (const CraftedEntry& e : ChunkEntries(b, l, c))
      if (e.name == name) return e;
  }
  ADD_FAILURE() << "no entry " << name.toStdString();
  return {};
}

inline constexpr char kResetTableEntry[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";
inline constexpr char kControlDataEntry[] = "::DataSpace/Storage/MSCompressed/ControlData";
inline constexpr char kContentEntry[] = "::DataSpace/Storage/MSCompressed/Content";

// Where an uncompressed entry's bytes start in the file.
inline qsizetype UncompressedAt(const QByteArray& b, const ChmLayout& l, const char* name) {
  return qsizetype(l.dataOffset + FindCraftedEntry(b, l, name).start);
}

}  // namespace orvex_test
