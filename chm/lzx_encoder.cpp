#include "chm/lzx_encoder.h"

#include "chm/lzx_bit_writer.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace orvex {

namespace {

constexpr int kUncompressedBlock = 3;

struct IntervalStream {
  QByteArray data;
  QList<quint32> frameOffsets;
};

// A stored block: the header, 1 to 16 bits to reach a word, the repeated
// offsets, the bytes and a pad byte after an odd count.
void WriteStoredBlock(LzxBitWriter& out, const char* data, qsizetype size) {
  out.Write(kUncompressedBlock, 3);
  out.Write(quint32(size), 24);
  if (out.AtWordBoundary())
    out.Write(0, 16);
  else
    out.Align();
  const char repeated[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  out.WriteBytes(repeated, sizeof repeated);
  out.WriteBytes(data, size);
  if (size & 1) out.WriteBytes("", 1);
}

// One reset interval: size is a whole number of frames.
IntervalStream CompressInterval(const char* data, qsizetype size, int windowBits) {
  Q_UNUSED(windowBits);
  LzxBitWriter out;
  IntervalStream result;
  out.Write(0, 1);  // no E8 call translation
  for (qsizetype frame = 0; frame < size; frame += kLzxFrameSize) {
    result.frameOffsets.append(quint32(out.ByteCount()));
    WriteStoredBlock(out, data + frame, kLzxFrameSize);
  }
  out.Align();
  result.data = std::move(out.Bytes());
  return result;
}

}  // namespace

LzxStream LzxCompress(const QByteArray& input, const LzxOptions& options) {
  const qsizetype intervalBytes = qsizetype(std::max(1, options.resetFrames)) * kLzxFrameSize;
  const qsizetype intervalCount = (input.size() + intervalBytes - 1) / intervalBytes;
  std::vector<IntervalStream> intervals(static_cast<size_t>(intervalCount));

  std::atomic<qsizetype> nextInterval{0};
  auto work = [&] {
    for (qsizetype i = nextInterval++; i < intervalCount; i = nextInterval++) {
      const qsizetype start = i * intervalBytes;
      const qsizetype size = std::min(intervalBytes, input.size() - start);
      if (size % kLzxFrameSize == 0) {
        intervals[size_t(i)] = CompressInterval(input.constData() + start, size, options.windowBits);
      } else {
        QByteArray padded = input.mid(start, size);
        padded.append(QByteArray(kLzxFrameSize - size % kLzxFrameSize, '\0'));
        intervals[size_t(i)] = CompressInterval(padded.constData(), padded.size(), options.windowBits);
      }
    }
  };
  int threadCount = options.threads > 0 ? options.threads : int(std::thread::hardware_concurrency());
  threadCount = int(std::clamp<qsizetype>(threadCount, 1, std::max<qsizetype>(1, intervalCount)));
  std::vector<std::thread> helpers;
  for (int t = 1; t < threadCount; ++t) helpers.emplace_back(work);
  work();
  for (std::thread& helper : helpers) helper.join();

  LzxStream stream;
  for (const IntervalStream& interval : intervals) {
    const quint64 base = quint64(stream.data.size());
    for (quint32 offset : interval.frameOffsets) stream.frameOffsets.append(base + offset);
    stream.data.append(interval.data);
  }
  return stream;
}

}  // namespace orvex
