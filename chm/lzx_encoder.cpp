#include "chm/lzx_encoder.h"

#include "chm/huffman.h"
#include "chm/lzx_bit_writer.h"
#include "chm/lzx_match_finder.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace orvex {

namespace {

constexpr int kVerbatimBlock = 1;
constexpr int kAlignedBlock = 2;
constexpr int kUncompressedBlock = 3;
constexpr int kNumChars = 256;
constexpr int kPrimaryLengths = 7;
constexpr int kLengthSymbols = 249;
constexpr int kPretreeSymbols = 20;
constexpr int kAlignedSymbols = 8;
constexpr int kMaxCodeLength = 16;
constexpr int kMaxPretreeLength = 15;  // stored in 4 bits
constexpr int kMaxAlignedLength = 7;   // stored in 3 bits
constexpr size_t kBlockFrames = 2;     // frames one block covers at most

int PositionSlots(int windowBits) {
  static constexpr int kSlotCounts[] = {30, 32, 34, 36, 38, 42, 50};
  return kSlotCounts[windowBits - 15];
}

int ExtraBits(int slot) { return slot < 4 ? 0 : std::min(slot / 2 - 1, 17); }

uint32_t PositionBase(int slot) {
  static const std::array<uint32_t, 51> bases = [] {
    std::array<uint32_t, 51> b{};
    for (int i = 1; i < 51; ++i) b[size_t(i)] = b[size_t(i) - 1] + (1u << ExtraBits(i - 1));
    return b;
  }();
  return bases[size_t(slot)];
}

int PositionSlot(uint32_t formattedOffset) {
  if (formattedOffset < 4) return int(formattedOffset);
  if (formattedOffset >= 262144) return 36 + int((formattedOffset - 262144) / 131072);
  const int bit = 31 - __builtin_clz(formattedOffset);
  return 2 * bit + int((formattedOffset >> (bit - 1)) & 1);
}

// One step of the pretree coding of code lengths: a symbol with its extra
// bits, and for a run of equal lengths (19) the symbol that gives the length.
struct TreeStep {
  uint8_t symbol;
  uint8_t extraBits;
  uint8_t extra;
  int8_t follow;
};

uint8_t Delta(uint8_t oldLength, uint8_t newLength) { return uint8_t((oldLength - newLength + 17) % 17); }

std::vector<TreeStep> TreeSteps(const uint8_t* newLengths, const uint8_t* oldLengths, int count) {
  std::vector<TreeStep> steps;
  for (int i = 0; i < count;) {
    int run = 1;
    while (i + run < count && newLengths[i + run] == newLengths[i]) ++run;
    if (newLengths[i] == 0 && run >= 20) {
      run = std::min(run, 51);
      steps.push_back({18, 5, uint8_t(run - 20), -1});
    } else if (newLengths[i] == 0 && run >= 4) {
      run = std::min(run, 19);
      steps.push_back({17, 4, uint8_t(run - 4), -1});
    } else if (run >= 4) {
      run = std::min(run, 5);
      steps.push_back({19, 1, uint8_t(run - 4), int8_t(Delta(oldLengths[i], newLengths[i]))});
    } else {
      run = 1;
      steps.push_back({Delta(oldLengths[i], newLengths[i]), 0, 0, -1});
    }
    i += run;
  }
  return steps;
}

// The code lengths of a range coded with a pretree of their own.
class TreeCoding {
 public:
  TreeCoding(const uint8_t* newLengths, const uint8_t* oldLengths, int count)
      : steps(TreeSteps(newLengths, oldLengths, count)) {
    std::vector<uint32_t> frequencies(kPretreeSymbols, 0);
    for (const TreeStep& step : steps) {
      ++frequencies[step.symbol];
      if (step.follow >= 0) ++frequencies[size_t(step.follow)];
    }
    lengths = HuffmanLengths(frequencies, kMaxPretreeLength);
    codes = HuffmanCodes(lengths);
  }

  uint64_t Bits() const {
    uint64_t bits = 4 * kPretreeSymbols;
    for (const TreeStep& step : steps)
      bits += lengths[step.symbol] + step.extraBits + (step.follow >= 0 ? lengths[size_t(step.follow)] : 0);
    return bits;
  }

  void Write(LzxBitWriter& out) const {
    for (uint8_t length : lengths) out.Write(length, 4);
    for (const TreeStep& step : steps) {
      out.Write(codes[step.symbol], lengths[step.symbol]);
      out.Write(step.extra, step.extraBits);
      if (step.follow >= 0) out.Write(codes[size_t(step.follow)], lengths[size_t(step.follow)]);
    }
  }

 private:
  std::vector<TreeStep> steps;
  std::vector<uint8_t> lengths;
  std::vector<uint32_t> codes;
};

struct IntervalStream {
  QByteArray data;
  QList<quint32> frameOffsets;
};

// Codes one reset interval (a whole number of frames) into blocks of at
// most kBlockFrames frames, each verbatim, aligned-offset or stored,
// whichever is smallest.
class IntervalCoder {
 public:
  IntervalCoder(const uint8_t* input, size_t inputSize, int bits)
      : data(input),
        size(inputSize),
        windowBits(bits),
        mainElements(kNumChars + 8 * PositionSlots(bits)),
        mainLengths(size_t(mainElements), 0),
        lengthLengths(kLengthSymbols, 0) {}

  IntervalStream Run() {
    const std::vector<LzxItem> items = FindLzxMatches(data, size, windowBits);
    result.frameOffsets.append(0);
    out.Write(0, 1);  // no E8 call translation
    size_t first = 0;
    size_t blockStart = 0;
    while (blockStart < size) {
      const size_t blockEnd = std::min(size, blockStart + kBlockFrames * kLzxFrameSize);
      size_t end = first;
      for (size_t at = blockStart; at < blockEnd; at += items[end++].length) {
      }
      WriteBlock(&items[first], &items[end], blockEnd - blockStart);
      first = end;
      blockStart = blockEnd;
    }
    out.Align();
    result.data = std::move(out.Bytes());
    return std::move(result);
  }

 private:
  void Advance(uint32_t bytes) {
    pos += bytes;
    if (pos % kLzxFrameSize == 0) {
      out.Align();
      if (pos < size) result.frameOffsets.append(quint32(out.ByteCount()));
    }
  }

  void WriteBlock(const LzxItem* first, const LzxItem* end, size_t blockSize) {
    std::vector<uint32_t> mainFrequencies(size_t(mainElements), 0);
    std::vector<uint32_t> lengthFrequencies(kLengthSymbols, 0);
    std::vector<uint32_t> alignedFrequencies(kAlignedSymbols, 0);
    uint64_t footerBits = 0;
    uint64_t alignedCount = 0;
    for (const LzxItem* item = first; item != end; ++item) {
      if (item->length == 1) {
        ++mainFrequencies[item->value];
        continue;
      }
      const int slot = PositionSlot(item->value);
      const uint32_t lengthHeader = std::min<uint32_t>(item->length - kLzxMinMatch, kPrimaryLengths);
      ++mainFrequencies[size_t(kNumChars + slot * 8) + lengthHeader];
      if (lengthHeader == kPrimaryLengths) ++lengthFrequencies[item->length - kLzxMinMatch - kPrimaryLengths];
      const int extra = ExtraBits(slot);
      footerBits += uint64_t(extra);
      if (extra >= 3) {
        ++alignedFrequencies[(item->value - PositionBase(slot)) & 7];
        ++alignedCount;
      }
    }
    const std::vector<uint8_t> newMainLengths = HuffmanLengths(mainFrequencies, kMaxCodeLength);
    const std::vector<uint8_t> newLengthLengths = HuffmanLengths(lengthFrequencies, kMaxCodeLength);
    const std::vector<uint8_t> alignedLengths = HuffmanLengths(alignedFrequencies, kMaxAlignedLength);
    const TreeCoding mainChars(newMainLengths.data(), mainLengths.data(), kNumChars);
    const TreeCoding mainMatches(newMainLengths.data() + kNumChars, mainLengths.data() + kNumChars,
                                 mainElements - kNumChars);
    const TreeCoding lengths(newLengthLengths.data(), lengthLengths.data(), kLengthSymbols);

    uint64_t verbatimBits = 27 + mainChars.Bits() + mainMatches.Bits() + lengths.Bits() + footerBits;
    for (size_t i = 0; i < mainFrequencies.size(); ++i)
      verbatimBits += uint64_t(mainFrequencies[i]) * newMainLengths[i];
    for (size_t i = 0; i < lengthFrequencies.size(); ++i)
      verbatimBits += uint64_t(lengthFrequencies[i]) * newLengthLengths[i];
    uint64_t alignedBits = verbatimBits + 3 * kAlignedSymbols - 3 * alignedCount;
    for (size_t i = 0; i < alignedFrequencies.size(); ++i)
      alignedBits += uint64_t(alignedFrequencies[i]) * alignedLengths[i];
    const uint64_t storedBits = 27 + 16 + 96 + 8 * uint64_t(blockSize);

    if (storedBits < std::min(verbatimBits, alignedBits)) {
      for (const LzxItem* item = first; item != end; ++item)
        if (item->length > 1) repeated.Use(item->value);
      WriteStored(blockSize);
      return;
    }
    const bool aligned = alignedCount > 0 && alignedBits < verbatimBits;
    out.Write(aligned ? kAlignedBlock : kVerbatimBlock, 3);
    out.Write(quint32(blockSize), 24);
    if (aligned)
      for (uint8_t length : alignedLengths) out.Write(length, 3);
    mainChars.Write(out);
    mainMatches.Write(out);
    lengths.Write(out);
    mainLengths = newMainLengths;
    lengthLengths = newLengthLengths;

    const std::vector<uint32_t> mainCodes = HuffmanCodes(newMainLengths);
    const std::vector<uint32_t> lengthCodes = HuffmanCodes(newLengthLengths);
    const std::vector<uint32_t> alignedCodes = HuffmanCodes(alignedLengths);
    for (const LzxItem* item = first; item != end; ++item) {
      if (item->length == 1) {
        out.Write(mainCodes[item->value], newMainLengths[item->value]);
        Advance(1);
        continue;
      }
      const int slot = PositionSlot(item->value);
      const uint32_t lengthHeader = std::min<uint32_t>(item->length - kLzxMinMatch, kPrimaryLengths);
      const size_t symbol = size_t(kNumChars + slot * 8) + lengthHeader;
      out.Write(mainCodes[symbol], newMainLengths[symbol]);
      if (lengthHeader == kPrimaryLengths) {
        const size_t footer = item->length - kLzxMinMatch - kPrimaryLengths;
        out.Write(lengthCodes[footer], newLengthLengths[footer]);
      }
      const int extra = ExtraBits(slot);
      if (slot >= 3) {
        const uint32_t footer = item->value - PositionBase(slot);
        if (aligned && extra >= 3) {
          out.Write(footer >> 3, extra - 3);
          out.Write(alignedCodes[footer & 7], alignedLengths[footer & 7]);
        } else {
          out.Write(footer, extra);
        }
      }
      repeated.Use(item->value);
      Advance(item->length);
    }
  }

  // A stored block: the header, 1 to 16 bits to reach a word, the repeated
  // offsets, the bytes (always an even count: whole frames).
  void WriteStored(size_t blockSize) {
    out.Write(kUncompressedBlock, 3);
    out.Write(quint32(blockSize), 24);
    if (out.AtWordBoundary())
      out.Write(0, 16);
    else
      out.Align();
    QByteArray repeatedBytes;
    for (size_t offset : repeated.distance)
      for (int shift = 0; shift < 32; shift += 8) repeatedBytes.append(char((offset >> shift) & 0xFF));
    out.WriteBytes(repeatedBytes.constData(), repeatedBytes.size());
    for (size_t done = 0; done < blockSize; done += kLzxFrameSize) {
      out.WriteBytes(reinterpret_cast<const char*>(data + pos), kLzxFrameSize);
      Advance(kLzxFrameSize);
    }
  }

  const uint8_t* data;
  size_t size;
  int windowBits;
  int mainElements;
  std::vector<uint8_t> mainLengths;    // the lengths the decoder holds from the last coded block
  std::vector<uint8_t> lengthLengths;  // likewise
  LzxRepeatedOffsets repeated;
  size_t pos = 0;
  LzxBitWriter out;
  IntervalStream result;
};

}  // namespace

struct LzxStreamBuilder::State {
  LzxOptions options;
  qsizetype intervalBytes = 0;
  std::mutex mutex;
  std::condition_variable changed;  // more input, or the end of it
  std::vector<QByteArray> pieces;
  std::vector<qsizetype> pieceStart;  // where each piece starts in the input
  qsizetype size = 0;
  std::vector<IntervalStream> intervals;
  qsizetype next = 0;         // the next interval to compress
  qsizetype codedBytes = -1;  // the whole length coded, once the input is complete
  bool stopping = false;      // the builder goes away: the background threads leave
  std::vector<std::thread> background;

  // Whether interval i can be compressed: all its input is there.
  bool Ready(qsizetype i) const {
    return codedBytes < 0 ? (i + 1) * intervalBytes <= size : i * intervalBytes < codedBytes;
  }

  // Compresses intervals as their input arrives, each gathered from the
  // pieces it spans (zeros after the end of the input). A background
  // thread waits for more input; the others leave when none is ready.
  void Work(bool waitForInput) {
    std::vector<uint8_t> buffer(static_cast<size_t>(intervalBytes), 0);
    std::unique_lock lock(mutex);
    for (;;) {
      if (waitForInput) changed.wait(lock, [&] { return stopping || Ready(next) || codedBytes >= 0; });
      if (stopping || !Ready(next)) return;
      const qsizetype i = next++;
      const qsizetype start = i * intervalBytes;
      const qsizetype codedSize =
          codedBytes < 0 ? intervalBytes : std::min(intervalBytes, codedBytes - start);
      std::fill(buffer.begin(), buffer.begin() + codedSize, uint8_t(0));
      const auto after = std::upper_bound(pieceStart.begin(), pieceStart.end(), start);
      size_t p = after == pieceStart.begin() ? 0 : size_t(after - pieceStart.begin()) - 1;
      for (; p < pieceStart.size() && pieceStart[p] < start + codedSize; ++p) {
        const QByteArray& bytes = pieces[p];
        const qsizetype from = std::max(start, pieceStart[p]);
        const qsizetype to = std::min(start + codedSize, pieceStart[p] + bytes.size());
        if (to > from)
          std::copy_n(bytes.constData() + (from - pieceStart[p]), to - from, buffer.data() + (from - start));
      }
      lock.unlock();
      IntervalStream coded = IntervalCoder(buffer.data(), size_t(codedSize), options.windowBits).Run();
      lock.lock();
      if (intervals.size() <= size_t(i)) intervals.resize(size_t(i) + 1);
      intervals[size_t(i)] = std::move(coded);
    }
  }

  void Join() {
    for (std::thread& thread : background) thread.join();
    background.clear();
  }
};

LzxStreamBuilder::LzxStreamBuilder(const LzxOptions& options) : state(std::make_unique<State>()) {
  state->options = options;
  state->options.resetFrames = std::max(1, options.resetFrames);
  state->intervalBytes = state->options.resetFrames * kLzxFrameSize;
}

LzxStreamBuilder::~LzxStreamBuilder() {
  // Background threads stop after the interval they are at.
  {
    std::lock_guard lock(state->mutex);
    state->stopping = true;
  }
  state->changed.notify_all();
  state->Join();
}

void LzxStreamBuilder::Append(const QByteArray& piece) {
  State& s = *state;
  bool more = false;
  {
    std::lock_guard lock(s.mutex);
    if (s.codedBytes >= 0 || piece.isEmpty()) return;
    s.pieceStart.push_back(s.size);
    s.pieces.push_back(piece);
    s.size += piece.size();
    more = !s.background.empty() && s.Ready(s.next);
  }
  if (more) s.changed.notify_one();
}

quint64 LzxStreamBuilder::Size() const {
  std::lock_guard lock(state->mutex);
  return quint64(state->size);
}

void LzxStreamBuilder::CompressInBackground(int threads) {
  State& s = *state;
  std::lock_guard lock(s.mutex);
  if (!s.background.empty() || s.codedBytes >= 0) return;
  for (int t = 0; t < threads; ++t) s.background.emplace_back([&s] { s.Work(true); });
}

LzxPieces LzxStreamBuilder::FinishInPieces() {
  State& s = *state;
  qsizetype intervalCount = 0;
  int helpers = 0;
  {
    std::lock_guard lock(s.mutex);
    qsizetype frames = (s.size + kLzxFrameSize - 1) / kLzxFrameSize;
    // Input that ends on a frame boundary inside a reset interval is followed
    // by one more frame: a reader that decodes up to the frame after the end
    // of the last file must find it.
    if (s.size % kLzxFrameSize == 0 && frames % s.options.resetFrames != 0) ++frames;
    s.codedBytes = frames * kLzxFrameSize;
    intervalCount = (s.codedBytes + s.intervalBytes - 1) / s.intervalBytes;
    // What is left is compressed by the background threads, this one and
    // as many more as make options.threads.
    const int threadCount =
        s.options.threads > 0 ? s.options.threads : int(std::max(1u, std::thread::hardware_concurrency()));
    helpers = int(std::clamp<qsizetype>(threadCount - 1 - qsizetype(s.background.size()), 0,
                                        std::max<qsizetype>(0, intervalCount - s.next - 1)));
  }
  s.changed.notify_all();
  for (int t = 0; t < helpers; ++t) s.background.emplace_back([&s] { s.Work(false); });
  s.Work(false);
  s.Join();

  LzxPieces stream;
  s.intervals.resize(size_t(intervalCount));
  for (IntervalStream& interval : s.intervals) {
    for (quint32 offset : interval.frameOffsets) stream.frameOffsets.append(stream.size + offset);
    stream.size += quint64(interval.data.size());
    stream.pieces.append(std::move(interval.data));
  }
  s.intervals.clear();
  return stream;
}

LzxStream LzxStreamBuilder::Finish() {
  LzxPieces pieces = FinishInPieces();
  LzxStream stream;
  stream.frameOffsets = std::move(pieces.frameOffsets);
  stream.data.reserve(qsizetype(pieces.size));
  for (QByteArray& piece : pieces.pieces) {
    stream.data.append(piece);
    piece = QByteArray();
  }
  return stream;
}

LzxStream LzxCompress(const QList<QByteArray>& pieces, const LzxOptions& options) {
  LzxStreamBuilder builder(options);
  for (const QByteArray& piece : pieces) builder.Append(piece);
  return builder.Finish();
}

LzxStream LzxCompress(const QByteArray& input, const LzxOptions& options) {
  return LzxCompress(QList<QByteArray>{input}, options);
}

}  // namespace orvex
