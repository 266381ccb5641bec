#include "chm/chm_writer.h"

#include "chm/chm_bytes.h"
#include "chm/chm_directory.h"
#include "chm/lzx_encoder.h"

#include <QFileDevice>

#include <algorithm>
#include <numeric>

namespace orvex {

namespace {

constexpr int kItsfHeaderSize = 0x60;
constexpr int kHeaderSection0Size = 0x18;
constexpr int kMaxNameBytes = 512;  // longer names are not found by readers

const QByteArray kNameList = "::DataSpace/NameList";
const QByteArray kControlData = "::DataSpace/Storage/MSCompressed/ControlData";
const QByteArray kContent = "::DataSpace/Storage/MSCompressed/Content";
const QByteArray kSpanInfo = "::DataSpace/Storage/MSCompressed/SpanInfo";
const QByteArray kTransformList = "::DataSpace/Storage/MSCompressed/Transform/List";
const QByteArray kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
    "ResetTable";

QByteArray LowerAscii(const QByteArray& name) {
  QByteArray lower = name;
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = char(c + ('a' - 'A'));
  return lower;
}

QByteArray Utf16(const QString& text) {
  QByteArray out;
  for (QChar c : text) AppendLe16(out, c.unicode());
  return out;
}

// The names of the two content sections.
QByteArray NameList() {
  QByteArray out;
  AppendLe16(out, 0);  // length in 16-bit words, set below
  AppendLe16(out, 2);
  for (const QString& name : {QStringLiteral("Uncompressed"), QStringLiteral("MSCompressed")}) {
    AppendLe16(out, quint16(name.size()));
    out.append(Utf16(name));
    AppendLe16(out, 0);
  }
  PutLe16(out, 0, quint16(out.size() / 2));
  return out;
}

// The LZX parameters: the reset interval and the window in 32 KB units, and
// the number of half windows per reset interval that readers multiply in to
// find the frames between resets.
QByteArray ControlData(const ChmWriterOptions& options) {
  QByteArray out;
  AppendLe32(out, 6);
  out.append("LZXC", 4);
  AppendLe32(out, 2);
  const quint32 windowFrames = 1u << (options.windowBits - 15);
  AppendLe32(out, quint32(options.resetFrames));
  AppendLe32(out, windowFrames);
  AppendLe32(out, windowFrames / 2);
  AppendLe32(out, 0);
  return out;
}

// One entry for each frame and one more that holds the end of the stream:
// a reader that decodes frame by frame takes the compressed size of the last
// frame from it, and one that counts one entry past the last whole frame of
// the length (7-Zip) finds it there.
QByteArray ResetTable(const LzxPieces& stream, quint64 uncompressedBytes) {
  QByteArray out;
  AppendLe32(out, 2);
  AppendLe32(out, quint32(stream.frameOffsets.size() + 1));
  AppendLe32(out, 8);
  AppendLe32(out, 0x28);
  AppendLe64(out, uncompressedBytes);
  AppendLe64(out, stream.size);
  AppendLe64(out, kLzxFrameSize);
  for (quint64 offset : stream.frameOffsets) AppendLe64(out, offset);
  AppendLe64(out, stream.size);
  return out;
}

QByteArray ItsfHeader(quint32 lcid, quint64 directoryBytes, quint64 section0Offset) {
  QByteArray out("ITSF", 4);
  AppendLe32(out, 3);
  AppendLe32(out, kItsfHeaderSize);
  AppendLe32(out, 1);
  AppendLe32(out, 0);  // time stamp: none, so that equal input gives equal files
  AppendLe32(out, lcid);
  AppendGuid(out, 0x7C01FD10, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
  AppendGuid(out, 0x7C01FD11, 0x7BAA, 0x11D0, 0x9E0C00A0C922E6ECull);
  AppendLe64(out, kItsfHeaderSize);
  AppendLe64(out, kHeaderSection0Size);
  AppendLe64(out, kItsfHeaderSize + kHeaderSection0Size);
  AppendLe64(out, directoryBytes);
  AppendLe64(out, section0Offset);
  return out;
}

QByteArray HeaderSection0(quint64 fileBytes) {
  QByteArray out;
  AppendLe32(out, 0x01FE);
  AppendLe32(out, 0);
  AppendLe64(out, fileBytes);
  AppendLe32(out, 0);
  AppendLe32(out, 0);
  return out;
}

QString DeviceName(const QIODevice& out) {
  if (const auto* file = qobject_cast<const QFileDevice*>(&out)) return file->fileName();
  return QStringLiteral("the compiled file");
}

// What readers accept: a window of 64 KB to 2 MB and a reset interval that
// is a whole number of half windows and a power of two.
Status CheckOptions(const ChmWriterOptions& options, const QString& target) {
  if (options.windowBits < 16 || options.windowBits > 21)
    return Fail(QStringLiteral("Cannot write %1: LZX window of 2^%2 bytes (16 to 21 are supported)")
                    .arg(target)
                    .arg(options.windowBits));
  const int halfWindowFrames = 1 << (options.windowBits - 16);
  if (options.resetFrames < 1 || options.resetFrames % halfWindowFrames != 0 ||
      (options.resetFrames & (options.resetFrames - 1)) != 0)
    return Fail(QStringLiteral("Cannot write %1: a reset every %2 frames does not fit a window of 2^%3 bytes")
                    .arg(target)
                    .arg(options.resetFrames)
                    .arg(options.windowBits));
  return {};
}

Status CheckName(const QByteArray& name, const QString& target) {
  const bool stored = (name.startsWith('/') && name.size() > 1) || name.startsWith("::");
  if (!stored || name.endsWith('/') || name.size() > kMaxNameBytes || name.contains('\0'))
    return Fail(QStringLiteral("Cannot write %1: \"%2\" is not a valid name for a file in it")
                    .arg(target, QString::fromLatin1(name)));
  return {};
}

bool NameLess(const ChmDirectoryEntry& a, const ChmDirectoryEntry& b) {
  return CompareChmNames(a.name, b.name) < 0;
}

}  // namespace

ChmWriter::ChmWriter(ChmWriterOptions writerOptions) : options(writerOptions) {}

ChmWriter::~ChmWriter() = default;

void ChmWriter::AddFile(const QByteArray& name, QByteArray content, ChmSection section) {
  const QByteArray key = LowerAscii(name);
  const auto known = fileIndex.constFind(key);
  qsizetype index = files.size();
  if (known != fileIndex.constEnd()) {
    index = *known;
    files[index] = File{name, std::move(content), section};
    placedAt.remove(index);  // placed again, after what is there
  } else {
    fileIndex.insert(key, index);
    files.append(File{name, std::move(content), section});
  }
  // Once compressing started, a file goes into the stream as it comes.
  if (compressor && section == ChmSection::Compressed) Place(index);
}

void ChmWriter::Place(qsizetype index) {
  placedAt.insert(index, compressor->Size());
  compressor->Append(files[index].content);
}

QList<qsizetype> ChmWriter::SortedFiles() const {
  QList<qsizetype> order(files.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [this](qsizetype a, qsizetype b) { return CompareChmNames(files[a].name, files[b].name) < 0; });
  return order;
}

void ChmWriter::PlaceCompressedFiles() {
  if (!compressor)
    compressor = std::make_unique<LzxStreamBuilder>(
        LzxOptions{options.windowBits, options.resetFrames, options.threads});
  for (const qsizetype i : SortedFiles()) {
    if (files[i].section == ChmSection::Compressed && !placedAt.contains(i)) Place(i);
  }
}

void ChmWriter::StartCompressing(int backgroundThreads) {
  if (compressor || !CheckOptions(options, QString())) return;
  PlaceCompressedFiles();
  compressor->CompressInBackground(backgroundThreads);
}

Result<ChmWriteStats> ChmWriter::Write(QIODevice& out) {
  const QString target = DeviceName(out);
  if (Status ok = CheckOptions(options, target); !ok) return Fail(ok.Message());
  for (const File& file : files)
    if (Status ok = CheckName(file.name, target); !ok) return Fail(ok.Message());

  QList<const File*> ordered;
  for (const qsizetype i : SortedFiles()) ordered.append(&files[i]);

  // The compressed section is the ordered' contents one after the other (those
  // whose compression started early first); they are compressed as they
  // are, never joined into one buffer.
  PlaceCompressedFiles();
  const quint64 compressedBytes = compressor->Size();
  QList<ChmDirectoryEntry> entries;
  QList<const File*> storedFiles;
  for (const qsizetype i : SortedFiles()) {
    const File& file = files[i];
    if (file.section == ChmSection::Compressed)
      entries.append({file.name, 1, placedAt.value(i), quint64(file.content.size())});
    else
      storedFiles.append(&file);
  }

  const LzxPieces stream = compressor->FinishInPieces();
  compressor.reset();
  placedAt.clear();
  QByteArray spanInfo;
  AppendLe64(spanInfo, compressedBytes);

  // Section 0: the description of section 1 with its compressed stream, then
  // the ordered stored as they are. Something follows the stream: a reader may
  // look a few bytes past its end.
  // The compressed stream is written in its pieces.
  QList<std::pair<QByteArray, QList<QByteArray>>> section0 = {
      {kNameList, {NameList()}}, {kControlData, {ControlData(options)}},
      {kSpanInfo, {spanInfo}},   {kTransformList, {Utf16(QStringLiteral("{7FC28940-9D31-11D0"))}},
      {kContent, stream.pieces}, {kResetTable, {ResetTable(stream, compressedBytes)}},
  };
  QList<QByteArray> section0Parts;  // written one after the other
  quint64 section0Bytes = 0;
  auto place = [&](const QByteArray& name, const QList<QByteArray>& pieces) {
    quint64 size = 0;
    for (const QByteArray& piece : pieces) size += quint64(piece.size());
    entries.append({name, 0, section0Bytes, size});
    section0Parts += pieces;
    section0Bytes += size;
  };
  for (const auto& [name, pieces] : section0) place(name, pieces);
  for (const File* file : storedFiles) place(file->name, {file->content});

  // Every folder of the ordered, down from "/", spelled as first seen.
  QHash<QByteArray, QByteArray> folders = {{"/", "/"}};
  for (const File* file : ordered) {
    if (!file->name.startsWith('/')) continue;
    for (qsizetype slash = file->name.indexOf('/', 1); slash > 0;
         slash = file->name.indexOf('/', slash + 1)) {
      const QByteArray folder = file->name.left(slash + 1);
      if (!folders.contains(LowerAscii(folder))) folders.insert(LowerAscii(folder), folder);
    }
  }
  for (const QByteArray& folder : std::as_const(folders)) entries.append({folder, 0, 0, 0});
  std::sort(entries.begin(), entries.end(), NameLess);

  const QByteArray directory = BuildChmDirectory(entries, options.lcid);
  const quint64 section0Offset = kItsfHeaderSize + kHeaderSection0Size + quint64(directory.size());
  const quint64 fileBytes = section0Offset + section0Bytes;

  QList<QByteArray> parts{ItsfHeader(options.lcid, quint64(directory.size()), section0Offset),
                          HeaderSection0(fileBytes), directory};
  parts += section0Parts;
  for (const QByteArray& part : std::as_const(parts)) {
    if (out.write(part) != part.size())
      return Fail(QStringLiteral("Cannot write %1: %2").arg(target, out.errorString()));
  }

  ChmWriteStats stats;
  stats.uncompressedBytes = compressedBytes;
  stats.compressedBytes = stream.size;
  stats.fileBytes = fileBytes;
  return stats;
}

}  // namespace orvex
