// The compiled-file reader: any file is checked first and, when it passes,
// every entry, #SYSTEM and the context map are read through chmlib.
#include <QFile>
#include <QTemporaryDir>

#include "chm/chm_file.h"
#include "chm/chm_validator.h"
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
  chm.systemInfo();
  chm.contextMap();
  return 0;
}
