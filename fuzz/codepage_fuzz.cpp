// Code pages: any bytes decode and encode back to the very same bytes.
#include <cstdlib>

#include "fuzz_input.h"
#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int codePage = orvex_fuzz::CodePageOf(data[0]);
  const QByteArray bytes = orvex_fuzz::Bytes(data + 1, size - 1);
  const QString text = DecodeCodePage(bytes, codePage);
  if (EncodeCodePage(text, codePage) != bytes) std::abort();
  // Any text encodes; what a code page cannot hold becomes a reference.
  EncodeCodePage(QString::fromUtf8(bytes), codePage);
  return 0;
}
