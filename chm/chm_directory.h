// The directory of a compiled file: the ITSP header, the listing chunks
// (PMGL) with every name and where its content lies, and the index chunks
// (PMGI) above them, as readers look names up.
#pragma once

#include <QByteArray>
#include <QList>

namespace orvex {

struct ChmDirectoryEntry {
  QByteArray name;  // "/", "/a.htm", "/images/", "::DataSpace/NameList"
  quint32 section = 0;
  quint64 offset = 0;
  quint64 length = 0;
};

// The order of names in the directory: byte by byte, ASCII letters compared
// without case (readers walk the index chunks with this comparison).
int CompareChmNames(const QByteArray& a, const QByteArray& b);

// The directory for entries sorted with CompareChmNames: the header followed
// by chunkSize-byte chunks.
QByteArray BuildChmDirectory(const QList<ChmDirectoryEntry>& sortedEntries, quint32 lcid);

constexpr int kChmDirectoryHeaderSize = 0x54;
constexpr int kChmChunkSize = 0x1000;

}  // namespace orvex
