#include "chm/chm_directory.h"

#include "chm/chm_bytes.h"

namespace orvex {

namespace {

constexpr int kListingHeaderSize = 0x14;
constexpr int kIndexHeaderSize = 0x08;
constexpr int kQuickRefDensity = 2;
constexpr int kQuickRefInterval = 1 + (1 << kQuickRefDensity);  // every fifth entry

// What the end of a chunk holds for entryCount entries: a quick reference
// per kQuickRefInterval entries and the entry count. Readers that search a
// chunk by its quick references want room for one per started interval.
int TrailerBytes(int entryCount) {
  return 2 + 2 * ((entryCount + kQuickRefInterval - 1) / kQuickRefInterval);
}

// One chunk being filled with entries.
class Chunk {
 public:
  explicit Chunk(int chunkHeaderSize) : headerSize(chunkHeaderSize) {}

  bool Fits(qsizetype entrySize) const {
    return headerSize + entries.size() + entrySize + TrailerBytes(offsets.size() + 1) <= kChmChunkSize;
  }
  bool IsEmpty() const { return offsets.isEmpty(); }
  void Add(const QByteArray& entry) {
    offsets.append(int(entries.size()));
    entries.append(entry);
  }
  // The free space the header declares: everything after the entries.
  quint32 FreeSpace() const { return quint32(kChmChunkSize - headerSize - entries.size()); }

  // header (headerSize bytes), the entries, then the quick references
  // (offsets from the first entry, written backwards from the end) and the
  // entry count in the last two bytes.
  QByteArray Bytes(const QByteArray& header) const {
    QByteArray chunk = header + entries;
    chunk.append(QByteArray(kChmChunkSize - chunk.size(), '\0'));
    for (int i = kQuickRefInterval, slot = 1; i < offsets.size(); i += kQuickRefInterval, ++slot) {
      PutLe16(chunk, kChmChunkSize - 2 - 2 * slot, quint16(offsets[i]));
    }
    PutLe16(chunk, kChmChunkSize - 2, quint16(offsets.size()));
    return chunk;
  }

 private:
  int headerSize;
  QByteArray entries;
  QList<int> offsets;
};

QByteArray ListingEntry(const ChmDirectoryEntry& entry) {
  return EncodedNumber(quint64(entry.name.size())) + entry.name + EncodedNumber(entry.section) +
         EncodedNumber(entry.offset) + EncodedNumber(entry.length);
}

struct ChildChunk {
  QByteArray firstName;
  quint32 number;
};

// Fills chunks in order; starts a new one when the next entry does not fit.
template <typename Entries, typename MakeEntry, typename FirstName>
QList<Chunk> FillChunks(const Entries& entries, int headerSize, MakeEntry makeEntry, FirstName firstName,
                        QList<QByteArray>& firstNames) {
  QList<Chunk> chunks;
  for (const auto& entry : entries) {
    const QByteArray bytes = makeEntry(entry);
    if (chunks.isEmpty() || !chunks.last().Fits(bytes.size())) {
      chunks.append(Chunk(headerSize));
      firstNames.append(firstName(entry));
    }
    chunks.last().Add(bytes);
  }
  return chunks;
}

void AppendListingHeader(QByteArray& out, const Chunk& chunk, qint32 previous, qint32 next) {
  out.append("PMGL", 4);
  AppendLe32(out, chunk.FreeSpace());
  AppendLe32(out, 0);
  AppendLe32(out, quint32(previous));
  AppendLe32(out, quint32(next));
}

}  // namespace

int CompareChmNames(const QByteArray& a, const QByteArray& b) {
  const qsizetype common = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < common; ++i) {
    int x = uchar(a[i]);
    int y = uchar(b[i]);
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

QByteArray BuildChmDirectory(const QList<ChmDirectoryEntry>& sortedEntries, quint32 lcid) {
  QList<QByteArray> firstNames;
  const QList<Chunk> listing = FillChunks(
      sortedEntries, kListingHeaderSize, ListingEntry, [](const ChmDirectoryEntry& e) { return e.name; },
      firstNames);
  const qint32 listingCount = qint32(listing.size());

  QByteArray chunks;
  for (qint32 i = 0; i < listingCount; ++i) {
    QByteArray header;
    AppendListingHeader(header, listing[i], i - 1, i + 1 < listingCount ? i + 1 : -1);
    chunks.append(listing[i].Bytes(header));
  }

  // Index levels above the listing chunks until one chunk covers all.
  QList<ChildChunk> children;
  for (qint32 i = 0; i < listingCount; ++i) children.append({firstNames[i], quint32(i)});
  qint32 chunkCount = listingCount;
  int depth = 1;
  qint32 root = -1;
  while (children.size() > 1) {
    QList<QByteArray> levelNames;
    const QList<Chunk> level = FillChunks(
        children, kIndexHeaderSize,
        [](const ChildChunk& c) {
          return EncodedNumber(quint64(c.firstName.size())) + c.firstName + EncodedNumber(c.number);
        },
        [](const ChildChunk& c) { return c.firstName; }, levelNames);
    children.clear();
    for (qsizetype i = 0; i < level.size(); ++i) {
      QByteArray header("PMGI", 4);
      AppendLe32(header, level[i].FreeSpace());
      chunks.append(level[i].Bytes(header));
      children.append({levelNames[i], quint32(chunkCount)});
      root = chunkCount++;
    }
    ++depth;
  }

  QByteArray out("ITSP", 4);
  AppendLe32(out, 1);  // version
  AppendLe32(out, kChmDirectoryHeaderSize);
  AppendLe32(out, 0x0A);
  AppendLe32(out, kChmChunkSize);
  AppendLe32(out, kQuickRefDensity);
  AppendLe32(out, quint32(depth));
  AppendLe32(out, quint32(root));
  AppendLe32(out, 0);  // first listing chunk
  AppendLe32(out, quint32(listingCount - 1));
  AppendLe32(out, 0xFFFFFFFF);
  AppendLe32(out, quint32(chunkCount));
  AppendLe32(out, lcid);
  AppendGuid(out, 0x5D02926A, 0x212E, 0x11D0, 0x9DF900A0C922E6ECull);
  AppendLe32(out, kChmDirectoryHeaderSize);
  for (int i = 0; i < 3; ++i) AppendLe32(out, 0xFFFFFFFF);
  return out + chunks;
}

}  // namespace orvex
