// LZX compression for the compressed section of a compiled file: the input is
// cut into 32 KB frames, the coder state is reset every resetFrames frames,
// and each reset interval is compressed on its own, spread over threads.
#pragma once

#include <QByteArray>
#include <QList>

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

// The stream for input. The last reset interval is coded in full (the part
// past the input is zeros): readers decode whole frames, and some decode
// up to the end of the reset interval. They take the real length from the
// reset table.
LzxStream LzxCompress(const QByteArray& input, const LzxOptions& options);

}  // namespace orvex
