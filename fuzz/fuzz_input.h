// Turning a fuzzer's bytes into the inputs of the readers: text in a code
// page, lines, and several parts cut at a separator byte.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace orvex_fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size) {
  return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// The input cut at each 0xFF byte into at most `count` parts (missing ones
// empty).
inline QList<QByteArray> Parts(const QByteArray& bytes, int count) {
  QList<QByteArray> parts = bytes.split('\xff');
  while (parts.size() > count) parts[count - 1] += '\xff' + parts.takeAt(count);
  while (parts.size() < count) parts.append(QByteArray());
  return parts;
}

// One of the supported code pages, picked by a byte.
inline int CodePageOf(uint8_t pick) {
  static constexpr int kPages[] = {1252, 1250, 1251, 1253, 1254, 1255, 1256, 1257,
                                   1258, 874,  932,  936,  949,  950,  437,  850};
  return kPages[pick % (sizeof kPages / sizeof kPages[0])];
}

}  // namespace orvex_fuzz
