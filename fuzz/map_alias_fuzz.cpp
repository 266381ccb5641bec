// The map and alias readers: context numbers looked up, added and removed
// on any map and alias lines.
#include "fuzz_input.h"
#include "model/context_numbers.h"
#include "platform/codepage.h"
#include "platform/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QList<QByteArray> parts = orvex_fuzz::Parts(orvex_fuzz::Bytes(data, size), 3);
  QStringList mapLines = SplitLines(DecodeCodePage(parts[0], 1252));
  QStringList aliasLines = SplitLines(DecodeCodePage(parts[1], 1252));
  const QString fileName = DecodeCodePage(parts[2], 1252);
  ContextNumberOf(fileName, aliasLines, mapLines);
  AddContextEntries(fileName, QStringLiteral("P"), mapLines, aliasLines);
  RemoveContextEntries(fileName, mapLines, aliasLines);
  for (const QString& alias : aliasLines) ContextNumberOf(alias.section(u'=', 1), aliasLines, mapLines);
  return 0;
}
