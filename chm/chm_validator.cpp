#include "chm/chm_validator.h"

#include "chm/chm_bytes.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QtEndian>

#include <cerrno>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvex {
namespace {

// Sizes and limits of the format as the reading library handles it.
constexpr quint64 kItsfV2Length = 0x58;
constexpr quint64 kItsfV3Length = 0x60;
constexpr quint64 kItspLength = 0x54;
constexpr quint64 kPmglHeader = 0x14;
constexpr quint64 kPmgiHeader = 0x08;
constexpr quint64 kMinChunk = 0x100;
constexpr quint64 kMaxChunk = 0x10000;
constexpr quint64 kMaxNameLength = 512;  // the library's name buffer
constexpr quint64 kResetTableHeader = 0x28;
constexpr quint64 kFrameLength = 0x8000;                // LZX frames are always 32 KB
constexpr quint64 kMaxCompressedFrame = 0x8000 + 6144;  // the library's input buffer
constexpr quint64 kMinControlData = 0x18;
constexpr quint64 kMaxControlData = 256;
constexpr int kMinWindowBits = 15;
constexpr int kMaxWindowBits = 21;

const char kResetTableName[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";
const char kContentName[] = "::DataSpace/Storage/MSCompressed/Content";
const char kControlDataName[] = "::DataSpace/Storage/MSCompressed/ControlData";

using Entry = ChmListedEntry;

// Reads pieces of the file; nullopt when the range is not all there.
using ReadRange = std::function<std::optional<QByteArray>(quint64 offset, quint64 length)>;

qint32 LeInt32(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<qint32>(data.constData() + at);
}

// start + length inside limit, without overflowing.
bool Inside(quint64 start, quint64 length, quint64 limit) {
  return start <= limit && length <= limit - start;
}

// A name as it may stand in a message: control characters as \xNN.
QString Printable(const QByteArray& name) {
  QString out;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7f)
      out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    else
      out += QLatin1Char(c);
  }
  return out;
}

// Reads the directory's variable-length numbers and names inside [at, end).
class ChunkCursor {
 public:
  ChunkCursor(const QByteArray& chunkBytes, quint64 start, quint64 stop)
      : chunk(chunkBytes), at(start), end(stop) {}
  bool AtEnd() const { return at >= end; }

  std::optional<quint64> Number() {
    quint64 value = 0;
    for (int i = 0; i < 10 && at < end; ++i) {
      const auto byte = static_cast<unsigned char>(chunk[static_cast<qsizetype>(at++)]);
      value = (value << 7) | (byte & 0x7f);
      if (byte < 0x80) return value;
    }
    return std::nullopt;
  }

  std::optional<QByteArray> Name() {
    const auto length = Number();
    if (!length || *length == 0 || *length > kMaxNameLength || !Inside(at, *length, end)) return std::nullopt;
    QByteArray name = chunk.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(*length));
    at += *length;
    if (name.contains('\0')) return std::nullopt;
    return name;
  }

 private:
  const QByteArray& chunk;
  quint64 at;
  quint64 end;
};

class Validator {
 public:
  Validator(quint64 totalSize, ReadRange readRange) : fileSize(totalSize), read(std::move(readRange)) {}

  // The problem found; empty when the file is sound.
  QString Check() {
    QString problem = CheckHeaders();
    if (problem.isEmpty()) problem = CheckListingChain();
    if (problem.isEmpty()) problem = CheckIndexTree();
    if (problem.isEmpty()) problem = CheckCompressedSection();
    if (problem.isEmpty()) problem = CheckEntries();
    return problem;
  }

  // Every entry of the listing chunks that were checked, in the order found.
  const QList<Entry>& Entries() const { return entries; }

 private:
  QString CheckHeaders() {
    // The library always reads the longer header.
    const auto itsf = read(0, kItsfV3Length);
    if (!itsf) return QStringLiteral("it is too short for a compiled help file");
    if (!itsf->startsWith("ITSF")) return QStringLiteral("it is not a compiled help file (no ITSF header)");
    const qint32 version = LeInt32(*itsf, 4);
    const qint32 headerLength = LeInt32(*itsf, 8);
    if (version != 2 && version != 3)
      return QStringLiteral("its header has the unknown version %1").arg(version);
    const quint64 minimum = version == 3 ? kItsfV3Length : kItsfV2Length;
    if (headerLength < 0 || quint64(headerLength) < minimum || quint64(headerLength) > fileSize)
      return QStringLiteral("its header claims %1 bytes").arg(headerLength);
    const quint64 dirOffset = ReadLe64(*itsf, 0x48);
    const quint64 dirLength = ReadLe64(*itsf, 0x50);
    if (!Inside(dirOffset, dirLength, fileSize) || dirLength < kItspLength)
      return QStringLiteral("its directory (%1 bytes at %2) does not fit the file's %3 bytes")
          .arg(dirLength)
          .arg(dirOffset)
          .arg(fileSize);
    dataOffset = version == 3 ? ReadLe64(*itsf, 0x58) : dirOffset + dirLength;
    if (dataOffset > fileSize)
      return QStringLiteral("its content starts at %1, past the file's end").arg(dataOffset);

    const auto itsp = read(dirOffset, kItspLength);
    if (!itsp || !itsp->startsWith("ITSP") || LeInt32(*itsp, 4) != 1 || ReadLe32(*itsp, 8) != kItspLength)
      return QStringLiteral("its directory header is damaged");
    chunkSize = ReadLe32(*itsp, 0x10);
    if (chunkSize < kMinChunk || chunkSize > kMaxChunk)
      return QStringLiteral("its directory chunks claim %1 bytes each").arg(chunkSize);
    chunksOffset = dirOffset + kItspLength;
    chunkCount = (dirLength - kItspLength) / chunkSize;
    if (chunkCount == 0) return QStringLiteral("its directory holds no chunk");
    indexRoot = LeInt32(*itsp, 0x1c);
    listingHead = LeInt32(*itsp, 0x20);
    if (listingHead < 0 || quint64(listingHead) >= chunkCount)
      return QStringLiteral("its directory's first listing chunk %1 is not one of its %2 chunks")
          .arg(listingHead)
          .arg(chunkCount);
    if (indexRoot < -1 || (indexRoot >= 0 && quint64(indexRoot) >= chunkCount))
      return QStringLiteral("its directory's index chunk %1 is not one of its %2 chunks")
          .arg(indexRoot)
          .arg(chunkCount);
    return {};
  }

  std::optional<QByteArray> Chunk(quint64 number) {
    return read(chunksOffset + number * chunkSize, chunkSize);
  }

  // Where the entries of a chunk end: its free space at the end left out.
  std::optional<quint64> UsedEnd(const QByteArray& chunk, quint64 header) {
    const quint64 freeSpace = ReadLe32(chunk, 4);
    if (freeSpace > chunkSize - header) return std::nullopt;
    return chunkSize - freeSpace;
  }

  // Parses a listing chunk's entries, once; the problem found, if any.
  QString CheckListingChunk(qint64 number) {
    if (checked.contains(number)) return {};
    checked.insert(number);
    const auto chunk = Chunk(quint64(number));
    if (!chunk) return QStringLiteral("its directory chunk %1 is cut short").arg(number);
    if (!chunk->startsWith("PMGL"))
      return QStringLiteral("its directory chunk %1 is not a listing").arg(number);
    const auto end = UsedEnd(*chunk, kPmglHeader);
    if (!end) return QStringLiteral("its directory chunk %1 claims more free space than it has").arg(number);
    ChunkCursor cursor(*chunk, kPmglHeader, *end);
    while (!cursor.AtEnd()) {
      const auto name = cursor.Name();
      const auto space = name ? cursor.Number() : std::nullopt;
      const auto start = space ? cursor.Number() : std::nullopt;
      const auto length = start ? cursor.Number() : std::nullopt;
      if (!length) return QStringLiteral("an entry of its directory chunk %1 is damaged").arg(number);
      entries.append({*name, *space, *start, *length});
    }
    nextListing.insert(number, LeInt32(*chunk, 0x10));
    return {};
  }

  // Listing goes from the first listing chunk along each one's "next".
  QString CheckListingChain() {
    QSet<qint64> visited;
    qint64 current = listingHead;
    while (current != -1) {
      if (current < 0 || quint64(current) >= chunkCount)
        return QStringLiteral("a listing chunk of its directory leads to chunk %1, which is not there")
            .arg(current);
      if (visited.contains(current))
        return QStringLiteral("the listing chunks of its directory lead back to chunk %1").arg(current);
      visited.insert(current);
      if (QString problem = CheckListingChunk(current); !problem.isEmpty()) return problem;
      current = nextListing.value(current);
    }
    return {};
  }

  // The index chunks form a tree above the listing chunks; lookups walk it
  // down, so each index chunk may be reached once only.
  QString CheckIndexTree() {
    if (indexRoot == -1) return {};
    QSet<qint64> visited;
    QList<qint64> pending{indexRoot};
    while (!pending.isEmpty()) {
      const qint64 current = pending.takeLast();
      if (current < 0 || quint64(current) >= chunkCount)
        return QStringLiteral("an index chunk of its directory leads to chunk %1, which is not there")
            .arg(current);
      const auto chunk = Chunk(quint64(current));
      if (!chunk) return QStringLiteral("its directory chunk %1 is cut short").arg(current);
      if (chunk->startsWith("PMGL")) {
        // Lookups end in a listing chunk, which may lie outside the chain.
        if (QString problem = CheckListingChunk(current); !problem.isEmpty()) return problem;
        continue;
      }
      if (!chunk->startsWith("PMGI"))
        return QStringLiteral("its directory chunk %1 is neither an index nor a listing").arg(current);
      if (visited.contains(current))
        return QStringLiteral("the index chunks of its directory lead back to chunk %1").arg(current);
      visited.insert(current);
      const auto end = UsedEnd(*chunk, kPmgiHeader);
      if (!end)
        return QStringLiteral("its directory chunk %1 claims more free space than it has").arg(current);
      ChunkCursor cursor(*chunk, kPmgiHeader, *end);
      while (!cursor.AtEnd()) {
        const auto name = cursor.Name();
        const auto child = name ? cursor.Number() : std::nullopt;
        if (!child) return QStringLiteral("an entry of its index chunk %1 is damaged").arg(current);
        if (*child >= chunkCount)
          return QStringLiteral("its index chunk %1 leads to chunk %2, which is not there")
              .arg(current)
              .arg(*child);
        pending.append(qint64(*child));
      }
    }
    return {};
  }

  // The entry of a name the library looks up itself; a second one of the
  // same name could be the one it finds instead, so that is refused too.
  const Entry* Find(const char* name, QString* problem) const {
    const Entry* found = nullptr;
    for (const Entry& e : entries) {
      if (e.name.compare(name, Qt::CaseInsensitive) != 0) continue;
      if (found) *problem = QStringLiteral("its directory holds %1 twice").arg(QLatin1String(name));
      found = &e;
    }
    return found;
  }

  quint64 UncompressedSectionSize() const { return fileSize - dataOffset; }

  std::optional<QByteArray> ReadUncompressed(const Entry& entry) {
    if (entry.space != 0 || !Inside(entry.start, entry.length, UncompressedSectionSize()))
      return std::nullopt;
    return read(dataOffset + entry.start, entry.length);
  }

  // The reading library decompresses only when all three parts are in the
  // uncompressed section; then their numbers must hold.
  QString CheckCompressedSection() {
    QString problem;
    const Entry* table = Find(kResetTableName, &problem);
    const Entry* content = Find(kContentName, &problem);
    const Entry* control = Find(kControlDataName, &problem);
    if (!problem.isEmpty()) return problem;
    if (!table || !content || !control || table->space != 0 || content->space != 0 || control->space != 0)
      return {};
    if (!Inside(content->start, content->length, UncompressedSectionSize()))
      return QStringLiteral("its compressed section does not fit the file");
    if (control->length > kMaxControlData) return {};  // the library gives up on such a file itself
    const auto controlData = ReadUncompressed(*control);
    if (!controlData) return QStringLiteral("its compression control data does not fit the file");
    problem = CheckControlData(*controlData);
    if (!problem.isEmpty()) return problem;
    const auto tableData = ReadUncompressed(*table);
    if (!tableData) return QStringLiteral("its reset table does not fit the file");
    problem = CheckResetTable(*tableData, content->length);
    if (!problem.isEmpty()) return problem;
    compressedReadable = true;
    return {};
  }

  QString CheckControlData(const QByteArray& data) {
    if (quint64(data.size()) < kMinControlData || data.mid(4, 4) != "LZXC")
      return QStringLiteral("its compression control data is damaged");
    const quint32 version = ReadLe32(data, 8);
    quint64 resetInterval = ReadLe32(data, 12);
    quint64 windowSize = ReadLe32(data, 16);
    const quint64 windowsPerReset = ReadLe32(data, 20);
    if (version == 2) {
      resetInterval *= 0x8000;
      windowSize *= 0x8000;
    }
    bool windowAllowed = false;
    for (int bits = kMinWindowBits; bits <= kMaxWindowBits; ++bits)
      windowAllowed |= windowSize == (quint64(1) << bits);
    if (!windowAllowed)
      return QStringLiteral("its compression window of %1 bytes is not one the format allows")
          .arg(windowSize);
    if (resetInterval == 0 || resetInterval > 0xffffffffu || resetInterval % (windowSize / 2) != 0)
      return QStringLiteral("its compression reset interval of %1 bytes is not one the format allows")
          .arg(resetInterval);
    const quint64 blocksPerReset = resetInterval / (windowSize / 2) * windowsPerReset;
    if (windowsPerReset == 0 || blocksPerReset == 0 || blocksPerReset > 0xffffffffu)
      return QStringLiteral("its compression control data claims %1 windows per reset").arg(windowsPerReset);
    return {};
  }

  QString CheckResetTable(const QByteArray& table, quint64 contentLength) {
    if (quint64(table.size()) < kResetTableHeader || ReadLe32(table, 0) != 2)
      return QStringLiteral("its reset table is damaged");
    const quint64 blockCount = ReadLe32(table, 4);
    const quint32 entrySize = ReadLe32(table, 8);
    const quint64 tableOffset = ReadLe32(table, 12);
    const quint64 uncompressedLength = ReadLe64(table, 16);
    const quint64 compressedLength = ReadLe64(table, 24);
    const quint64 blockLength = ReadLe64(table, 32);
    if (blockLength != kFrameLength)
      return QStringLiteral("its reset table claims blocks of %1 bytes").arg(blockLength);
    if (entrySize != 8 || !Inside(tableOffset, blockCount * 8, quint64(table.size())))
      return QStringLiteral("its reset table claims %1 entries it does not hold").arg(blockCount);
    if (blockCount == 0 ? uncompressedLength != 0 : uncompressedLength > blockCount * blockLength)
      return QStringLiteral("its reset table's %1 blocks cannot hold %2 bytes")
          .arg(blockCount)
          .arg(uncompressedLength);
    if (compressedLength > contentLength)
      return QStringLiteral("its reset table claims %1 compressed bytes, more than the section's %2")
          .arg(compressedLength)
          .arg(contentLength);
    // The blocks that hold data; a table may end with one more entry, the
    // end of the last block.
    const quint64 blocksUsed = (uncompressedLength + blockLength - 1) / blockLength;
    for (quint64 i = 0; i < blocksUsed; ++i) {
      const quint64 start = ReadLe64(table, qsizetype(tableOffset + i * 8));
      const quint64 end =
          i + 1 < blockCount ? ReadLe64(table, qsizetype(tableOffset + (i + 1) * 8)) : compressedLength;
      if ((i == 0 && start != 0) || end <= start || end - start > kMaxCompressedFrame ||
          end > compressedLength)
        return QStringLiteral("its reset table's block %1 has the wrong bounds (%2 to %3)")
            .arg(i)
            .arg(start)
            .arg(end);
    }
    compressedSize = uncompressedLength;
    return {};
  }

  QString CheckEntries() {
    for (const Entry& e : entries) {
      const QString name = Printable(e.name);
      if (e.space == 0) {
        if (!Inside(e.start, e.length, UncompressedSectionSize()))
          return QStringLiteral("its entry %1 (%2 bytes at %3) lies past the file's end")
              .arg(name)
              .arg(e.length)
              .arg(e.start);
      } else if (e.space == 1) {
        // Without a readable compressed section the library reads nothing
        // of such an entry; with one, the entry must lie inside it.
        if (compressedReadable && !Inside(e.start, e.length, compressedSize))
          return QStringLiteral(
                     "its entry %1 (%2 bytes at %3) lies outside the compressed section's %4 bytes")
              .arg(name)
              .arg(e.length)
              .arg(e.start)
              .arg(compressedSize);
      } else {
        return QStringLiteral("its entry %1 claims the unknown section %2").arg(name).arg(e.space);
      }
    }
    return {};
  }

  quint64 fileSize;
  ReadRange read;
  quint64 dataOffset = 0;
  quint64 chunkSize = 0;
  quint64 chunksOffset = 0;
  quint64 chunkCount = 0;
  qint32 indexRoot = -1;
  qint32 listingHead = -1;
  QSet<qint64> checked;               // listing chunks whose entries were read
  QHash<qint64, qint64> nextListing;  // listing chunk -> its "next"
  QList<Entry> entries;
  bool compressedReadable = false;
  quint64 compressedSize = 0;
};

QString ErrnoText() { return QString::fromLocal8Bit(std::strerror(errno)); }

Status Verdict(const QString& problem, const QString& name) {
  if (problem.isEmpty()) return {};
  return Fail(QStringLiteral("Cannot read the compiled help file %1: %2")
                  .arg(QDir::toNativeSeparators(name), problem));
}

}  // namespace

Status ValidateChmFile(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return Fail(QStringLiteral("Cannot open file %1: %2").arg(QDir::toNativeSeparators(path), ErrnoText()));
  Status checked = ValidateChmDescriptor(fd, path);
  ::close(fd);
  return checked;
}

Status ValidateChmDescriptor(int fd, const QString& name, QList<ChmListedEntry>* entries) {
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
    return Fail(QStringLiteral("Cannot read the compiled help file %1: it is not a regular file")
                    .arg(QDir::toNativeSeparators(name)));
  const quint64 size = quint64(st.st_size);
  Validator validator(size, [fd, size](quint64 offset, quint64 length) -> std::optional<QByteArray> {
    if (!Inside(offset, length, size) || length > quint64(std::numeric_limits<qsizetype>::max()))
      return std::nullopt;
    QByteArray data(qsizetype(length), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < data.size()) {
      const ssize_t n = ::pread(fd, data.data() + done, size_t(data.size() - done), off_t(offset) + done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return std::nullopt;
      done += n;
    }
    return data;
  });
  Status verdict = Verdict(validator.Check(), name);
  if (verdict && entries) *entries = validator.Entries();
  return verdict;
}

Status ValidateChmBytes(const QByteArray& bytes, const QString& name) {
  const quint64 size = quint64(bytes.size());
  Validator validator(size, [&bytes, size](quint64 offset, quint64 length) -> std::optional<QByteArray> {
    if (!Inside(offset, length, size)) return std::nullopt;
    return bytes.mid(qsizetype(offset), qsizetype(length));
  });
  return Verdict(validator.Check(), name);
}

}  // namespace orvex
