#pragma once
// Hostile compiled files for the decompiler, made from a sound one by
// giving it another directory: many entries on the same compressed bytes,
// in an order that defeats a reader's cache, or in a folder each.

#include "chm/chm_directory.h"
#include "chm/chm_writer.h"

#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QByteArray>
#include <QList>
#include <QtEndian>

#include <algorithm>

#include <sys/stat.h>

namespace orvex_test {

// Every entry of the listing chunks of a file our writer made.
inline QList<orvex::ChmDirectoryEntry> ListedEntries(const QByteArray& chm) {
  auto le32 = [&chm](qsizetype at) { return qFromLittleEndian<quint32>(chm.constData() + at); };
  const qsizetype dir = qsizetype(qFromLittleEndian<quint64>(chm.constData() + 0x48));
  const qsizetype dirLength = qsizetype(qFromLittleEndian<quint64>(chm.constData() + 0x50));
  const qsizetype chunkSize = le32(dir + 0x10);
  QList<orvex::ChmDirectoryEntry> entries;
  for (qsizetype chunk = dir + 0x54; chunk + chunkSize <= dir + dirLength; chunk += chunkSize) {
    if (chm.mid(chunk, 4) != "PMGL") continue;
    qsizetype at = chunk + 0x14;
    const qsizetype end = chunk + chunkSize - le32(chunk + 4);
    auto number = [&]() {
      quint64 v = 0;
      for (;;) {
        const auto c = static_cast<unsigned char>(chm[at++]);
        v = (v << 7) | (c & 0x7f);
        if (c < 0x80) return v;
      }
    };
    while (at < end) {
      orvex::ChmDirectoryEntry e;
      const auto length = qsizetype(number());
      e.name = chm.mid(at, length);
      at += length;
      e.section = quint32(number());
      e.offset = number();
      e.length = number();
      entries.append(e);
    }
  }
  return entries;
}

// The file with the directory of these entries (in this order: a name
// given twice stays twice); the content sections are those of chm, which
// our writer put right after its directory.
inline QByteArray WithDirectory(const QByteArray& chm, const QList<orvex::ChmDirectoryEntry>& entries) {
  const quint64 dirOffset = qFromLittleEndian<quint64>(chm.constData() + 0x48);
  const quint64 dataOffset = qFromLittleEndian<quint64>(chm.constData() + 0x58);
  const QByteArray dir =
      orvex::BuildChmDirectory(entries, qFromLittleEndian<quint32>(chm.constData() + 0x14));
  QByteArray out = chm.left(qsizetype(dirOffset)) + dir + chm.mid(qsizetype(dataOffset));
  qToLittleEndian<quint64>(quint64(dir.size()), out.data() + 0x50);
  qToLittleEndian<quint64>(dirOffset + quint64(dir.size()), out.data() + 0x58);
  const qsizetype header0 = qsizetype(qFromLittleEndian<quint64>(out.constData() + 0x38));
  qToLittleEndian<quint64>(quint64(out.size()), out.data() + header0 + 0x10);
  return out;
}

// A sound file of these files (the compiled-file structures left out).
inline QByteArray WrittenChm(const QList<std::pair<QByteArray, QByteArray>>& files,
                             orvex::ChmWriterOptions options = {}) {
  orvex::ChmWriter writer(options);
  for (const auto& [name, content] : files) writer.AddFile(name, content);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!writer.Write(buffer)) return {};
  return buffer.data();
}

// Entries sorted as a directory holds them.
inline void SortEntries(QList<orvex::ChmDirectoryEntry>& entries) {
  std::stable_sort(entries.begin(), entries.end(),
                   [](const auto& a, const auto& b) { return orvex::CompareChmNames(a.name, b.name) < 0; });
}

// One reset interval of `frames` 32 KB frames and `count` one-byte entries
// whose names alternate between the interval's first ten frames, in turn,
// and its last frame, so that a small cache of decoded frames keeps losing
// the last one (reverse: every entry further back in the interval than the
// one named before it).
inline QByteArray FrameSeesawChm(int frames, int count, bool reverse = false) {
  QByteArray filler;
  filler.reserve(qsizetype(frames) * 0x8000);
  for (int i = 0; filler.size() < qsizetype(frames) * 0x8000; ++i)
    filler += "<p>Line " + QByteArray::number(i % 977) + " of a long page.</p>\n";
  filler.truncate(qsizetype(frames) * 0x8000);
  orvex::ChmWriterOptions options;
  options.resetFrames = frames;
  const QByteArray sound = WrittenChm({{"/fill.htm", filler}}, options);
  QList<orvex::ChmDirectoryEntry> entries;
  for (const orvex::ChmDirectoryEntry& e : ListedEntries(sound))
    if (e.name != "/fill.htm") entries.append(e);
  const quint64 last = quint64(filler.size()) - 1;
  for (int i = 0; i < count; ++i) {
    orvex::ChmDirectoryEntry e;
    e.name = "/e" + QByteArray::number(i).rightJustified(6, '0') + ".htm";
    e.section = 1;
    e.length = 1;
    const quint64 early = quint64((i / 2) % 10) * 0x8000 + quint64(i / 20);
    e.offset =
        reverse ? last - quint64(i) * (last / quint64(count)) : (i % 2 == 0 ? early : last - quint64(i / 2));
    entries.append(e);
  }
  SortEntries(entries);
  return WithDirectory(sound, entries);
}

// count one-byte entries, each alone in a folder of its own.
inline QByteArray FolderFloodChm(int count) {
  const QByteArray sound = WrittenChm({{"/a", "x"}});
  QList<orvex::ChmDirectoryEntry> entries;
  for (const orvex::ChmDirectoryEntry& e : ListedEntries(sound))
    if (e.name != "/a") entries.append(e);
  for (int i = 0; i < count; ++i) {
    const orvex::ChmDirectoryEntry a = {"/" + QByteArray::number(i, 36) + "/a", 1, 0, 1};
    entries.append(a);
  }
  SortEntries(entries);
  return WithDirectory(sound, entries);
}

// What the files and folders below folder take on disk, a block at least each.
inline quint64 DiskUse(const QString& folder) {
  quint64 used = 0;
  QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    struct stat st {};
    if (::lstat(QFile::encodeName(it.next()).constData(), &st) == 0)
      used += qMax<quint64>(4096, quint64(st.st_blocks) * 512);
  }
  return used;
}

}  // namespace orvex_test
