// The compiled-file reader: any file is checked first and, when it passes,
// every entry, #SYSTEM, the context map, the window types and the binary
// index are read.
#include <QFile>
#include <QTemporaryDir>

#include "chm/binary_index_reader.h"
#include "chm/chm_file.h"
#include "chm/chm_validator.h"
#include "chm/windows_reader.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("f.chm"));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    f.write(orvex_fuzz::Bytes(data, size));
  }
  orvex::ChmFile chm;
  if (!chm.open(path).Ok()) return 0;
  for (const orvex::ChmEntry& entry : chm.entries()) {
    if (entry.length > 16 * 1024 * 1024) continue;
    chm.readInPieces(entry, [](const QByteArray&) { return true; });
  }
  const orvex::ChmSystemInfo system = chm.systemInfo();
  chm.contextMap();
  // The structures the decompiler reads back into a project.
  const auto read = [&chm](const char* name) {
    return chm.read(QLatin1String(name), 16 * 1024 * 1024).value_or(QByteArray());
  };
  orvex::ParseWindowsFile(read("/#WINDOWS"), read("/#STRINGS"), system.codePage);
  const QList<orvex::ChmIndexKeyword> keywords =
      orvex::ReadBinaryIndex(read("/$WWKeywordLinks/BTree"),
                             {read("/#TOPICS"), read("/#URLTBL"), read("/#URLSTR")}, system.codePage);
  int added = 0;
  orvex::WithMissingKeywords(QStringLiteral("<UL></UL>"), keywords, &added);
  return 0;
}
