// Writing compiled help files: the container around the files of a help
// (header, directory with its listing and index chunks, the uncompressed
// section and the LZX-compressed section with its control data, reset table
// and span information, the name list).
#pragma once

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QList>

#include "chm/lzx_encoder.h"
#include "platform/result.h"

#include <memory>

namespace orvex {

enum class ChmSection { Uncompressed = 0, Compressed = 1 };

struct ChmWriterOptions {
  quint32 lcid = 0x409;  // the language stored in the header
  int windowBits = 16;   // LZX window of 2^windowBits bytes (15 to 21)
  int resetFrames = 2;   // the LZX state is reset every resetFrames frames of 32 KB
  int threads = 0;       // compression threads; 0 uses every core
};

struct ChmWriteStats {
  quint64 uncompressedBytes = 0;  // what the compressed section holds
  quint64 compressedBytes = 0;    // its size in the file
  quint64 fileBytes = 0;          // the whole compiled file
};

class ChmWriter {
 public:
  explicit ChmWriter(ChmWriterOptions options = {});
  ~ChmWriter();

  // Adds a file. name: as stored, '/'-separated, bytes in the help's code
  // page ("/Topic01.htm", "/images/a b.gif", "/#SYSTEM", "/$FIftiMain");
  // folders are listed by the writer itself. A name given twice keeps the
  // last content; names that differ only in the case of ASCII letters are
  // the same name to readers, so they count as given twice.
  void AddFile(const QByteArray& name, QByteArray content, ChmSection section = ChmSection::Compressed);

  // Starts compressing the compressed files added so far on
  // backgroundThreads threads of their own, while the caller makes the
  // rest; files added later follow them in the compressed section, in the
  // order added, and are compressed as they come.
  void StartCompressing(int backgroundThreads);

  // Writes the whole compiled file to out. The failure names what could not
  // be written: a name that is not stored as a file name ("/..." or
  // "::..."), options the readers do not accept, or the device.
  Result<ChmWriteStats> Write(QIODevice& out);
  const ChmWriterOptions& Options() const { return options; }

 private:
  QList<qsizetype> SortedFiles() const;  // indices in files, in the order of names
  void PlaceCompressedFiles();           // puts the compressed files not placed yet after the others
  void Place(qsizetype index);           // puts files[index] at the end of the compressed section
  struct File {
    QByteArray name;
    QByteArray content;
    ChmSection section;
  };
  ChmWriterOptions options;
  QList<File> files;
  QHash<QByteArray, qsizetype> fileIndex;        // lower-case name -> index in files
  std::unique_ptr<LzxStreamBuilder> compressor;  // once compressing started
  QHash<qsizetype, quint64> placedAt;            // index in files -> offset in the compressed section
};

}  // namespace orvex
