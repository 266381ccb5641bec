// LZX compression for the compressed section of a compiled file: the input is
// cut into 32 KB frames, the coder state is reset every resetFrames frames,
// and each reset interval is compressed on its own, spread over threads.
#pragma once

#include <QByteArray>
#include <QList>

#include <memory>

namespace orvex {

constexpr int kLzxFrameSize = 0x8000;

struct LzxOptions {
  int windowBits = 16;  // 15 to 21
  int resetFrames = 2;  // frames between resets
  int threads = 0;      // 0 uses every core
};

struct LzxStream {
  QByteArray data;              // the compressed stream
  QList<quint64> frameOffsets;  // where each frame starts in data
};

// The same stream in pieces (one for each reset interval), never joined.
struct LzxPieces {
  QList<QByteArray> pieces;     // the compressed stream, one piece after the other
  QList<quint64> frameOffsets;  // where each frame starts in the stream
  quint64 size = 0;             // of all the pieces
};

// The stream for input. Every frame is coded whole, the last one filled up
// with zeros: readers decode whole frames, one at a time from the frame
// offsets, and take the real length from the reset table. Input that ends on
// a frame boundary inside a reset interval gets one frame of zeros more (a
// reader may decode the frame after the end); otherwise nothing follows the
// last frame of input (a reader may take each frame's compressed bytes, the
// last one's up to the end of the stream, and insist on using them all).
// frameOffsets holds one offset for each coded frame.
LzxStream LzxCompress(const QByteArray& input, const LzxOptions& options);
// The same for the pieces one after the other, without joining them first.
LzxStream LzxCompress(const QList<QByteArray>& pieces, const LzxOptions& options);

// The stream of input handed over piece by piece, where each reset interval
// may be compressed in the background as soon as its input is complete,
// while the rest is still being made. Gives the same stream as LzxCompress
// of all the pieces. The pieces are held (shared, not copied) until Finish.
class LzxStreamBuilder {
 public:
  explicit LzxStreamBuilder(const LzxOptions& options);
  ~LzxStreamBuilder();
  LzxStreamBuilder(const LzxStreamBuilder&) = delete;
  LzxStreamBuilder& operator=(const LzxStreamBuilder&) = delete;

  void Append(const QByteArray& piece);
  quint64 Size() const;  // of all the pieces
  // Starts compressing on `threads` threads of their own, which take each
  // interval as soon as the pieces appended complete it (0: nothing starts
  // before Finish).
  void CompressInBackground(int threads);
  // The whole stream: what is left is compressed on options.threads
  // threads (this one included) once the background threads are done.
  LzxStream Finish();
  // The same, in pieces: the stream is never held twice.
  LzxPieces FinishInPieces();

 private:
  struct State;
  std::unique_ptr<State> state;
};

}  // namespace orvex
