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
    m_pending = (m_pending << count) | (quint64(value) & ((quint64(1) << count) - 1));
    m_pendingBits += count;
    while (m_pendingBits >= 16) {
      m_pendingBits -= 16;
      const quint16 word = quint16(m_pending >> m_pendingBits);
      m_bytes.append(char(word & 0xFF));
      m_bytes.append(char(word >> 8));
    }
    m_pending &= (quint64(1) << m_pendingBits) - 1;
  }

  bool AtWordBoundary() const { return m_pendingBits == 0; }

  // Pads with zero bits up to the next word.
  void Align() {
    if (m_pendingBits > 0) Write(0, 16 - m_pendingBits);
  }

  // Raw bytes, only at a word boundary.
  void WriteBytes(const char* data, qsizetype size) { m_bytes.append(data, size); }

  qsizetype ByteCount() const { return m_bytes.size(); }
  QByteArray& Bytes() { return m_bytes; }

 private:
  QByteArray m_bytes;
  quint64 m_pending = 0;
  int m_pendingBits = 0;
};

}  // namespace orvex
