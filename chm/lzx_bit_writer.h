// The LZX bit stream: bits written most significant first into 16-bit
// little-endian words.
#pragma once

#include <QByteArray>

namespace orvex {

class LzxBitWriter {
 public:
  // Appends the low `count` bits of value (count up to 32).
  void Write(quint32 value, int count) {
    if (count == 0) return;
    pending = (pending << count) | (quint64(value) & ((quint64(1) << count) - 1));
    pendingBits += count;
    while (pendingBits >= 16) {
      pendingBits -= 16;
      const quint16 word = quint16(pending >> pendingBits);
      bytes.append(char(word & 0xFF));
      bytes.append(char(word >> 8));
    }
    pending &= (quint64(1) << pendingBits) - 1;
  }

  bool AtWordBoundary() const { return pendingBits == 0; }

  // Pads with zero bits up to the next word.
  void Align() {
    if (pendingBits > 0) Write(0, 16 - pendingBits);
  }

  // Raw bytes, only at a word boundary.
  void WriteBytes(const char* data, qsizetype size) { bytes.append(data, size); }

  qsizetype ByteCount() const { return bytes.size(); }
  QByteArray& Bytes() { return bytes; }

 private:
  QByteArray bytes;
  quint64 pending = 0;
  int pendingBits = 0;
};

}  // namespace orvex
