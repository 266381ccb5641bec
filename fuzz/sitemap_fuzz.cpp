// The contents and index readers on any text; what they read is written and
// read again, and must come back the same.
#include <cstdlib>

#include "fuzz_input.h"
#include "formats/sitemap/sitemap_reader.h"
#include "platform/codepage.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

QString Dump(const std::vector<ContentsNode>& level) {
  QString out;
  for (const ContentsNode& n : level)
    out += n.caption + u'|' + (n.data ? n.data->fileName : QString()) + u'{' + Dump(n.children) + u'}';
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = DecodeCodePage(orvex_fuzz::Bytes(data, size), 1252);
  const std::vector<ContentsNode> contents = ReadContentsFile(text);
  const std::vector<ContentsNode> again = ReadContentsFile(ContentsFileText(contents));
  if (Dump(again) != Dump(contents)) std::abort();
  const std::vector<IndexNode> index = ReadIndexFile(text, QLocale::c());
  ReadIndexFile(IndexFileText(index), QLocale::c());
  return 0;
}
