// Little-endian fields and the variable-length numbers of the compiled-file
// container, appended to, put into and read from a byte array.
#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>

namespace orvex {

// Reads a field; the caller has checked that it lies inside data.
inline quint16 ReadLe16(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}

inline quint32 ReadLe32(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint32>(data.constData() + at);
}

inline quint64 ReadLe64(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint64>(data.constData() + at);
}

inline void AppendLe16(QByteArray& out, quint16 value) {
  out.append(char(value & 0xFF));
  out.append(char(value >> 8));
}

inline void AppendLe32(QByteArray& out, quint32 value) {
  for (int shift = 0; shift < 32; shift += 8) out.append(char((value >> shift) & 0xFF));
}

inline void AppendLe64(QByteArray& out, quint64 value) {
  for (int shift = 0; shift < 64; shift += 8) out.append(char((value >> shift) & 0xFF));
}

inline void PutLe16(QByteArray& out, qsizetype at, quint16 value) {
  out[at] = char(value & 0xFF);
  out[at + 1] = char(value >> 8);
}

inline void PutLe32(QByteArray& out, qsizetype at, quint32 value) {
  for (int i = 0; i < 4; ++i) out[at + i] = char((value >> (8 * i)) & 0xFF);
}

inline void PutLe64(QByteArray& out, qsizetype at, quint64 value) {
  for (int i = 0; i < 8; ++i) out[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A directory number: groups of 7 bits, most significant first, every byte
// but the last with its top bit set.
inline QByteArray EncodedNumber(quint64 value) {
  char groups[10];
  int count = 0;
  do {
    groups[count++] = char(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  QByteArray out;
  for (int i = count - 1; i >= 0; --i) out.append(char(groups[i] | (i > 0 ? 0x80 : 0)));
  return out;
}

// A GUID as stored: the first three groups little-endian, the rest as written.
inline void AppendGuid(QByteArray& out, quint32 first, quint16 second, quint16 third, quint64 rest) {
  AppendLe32(out, first);
  AppendLe16(out, second);
  AppendLe16(out, third);
  for (int shift = 56; shift >= 0; shift -= 8) out.append(char((rest >> shift) & 0xFF));
}

// A NUL-terminated UTF-16 string at `at`, which moves past the NUL; false
// when it runs past end.
inline bool ReadUtf16z(const QByteArray& data, qsizetype& at, qsizetype end, QString& text) {
  text.clear();
  while (at + 2 <= end) {
    const quint16 c = ReadLe16(data, at);
    at += 2;
    if (c == 0) return true;
    text.append(QChar(c));
  }
  return false;
}

}  // namespace orvex
