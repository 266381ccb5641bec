#pragma once
// Compiled files read back by the real readers: chmlib and libmspack in
// this process, extract_chmLib and 7-Zip as programs.

#include <QByteArray>
#include <QMap>
#include <QString>

namespace orvex_test {

using ChmFiles = QMap<QByteArray, QByteArray>;  // stored name -> content

// Every file chmlib enumerates, each looked up by name through the index
// and read whole. A failure is recorded as a test failure.
ChmFiles ReadWithChmlib(const QString& chmPath);

// Every file libmspack lists, each found again through its name lookup and
// extracted. A failure is recorded as a test failure.
ChmFiles ReadWithMspack(const QString& chmPath);

// The files a command-line extractor writes below an empty folder, by
// name as "/" + relative path. program: "extract_chmLib" or "7z".
ChmFiles ReadWithProgram(const QString& program, const QString& chmPath);

// Only the files whose name starts with "/" (what the extractors write).
ChmFiles SlashFiles(const ChmFiles& files);

}  // namespace orvex_test
