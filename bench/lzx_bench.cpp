// LZX compression of the compressed section: about 40 MB of real HTML (the
// Doxygen pages of the ICU headers) with 1, 2 and 4 threads, reporting the
// speed and the compressed size; and, when chmcmd is installed, the ratio
// of the same files against chmcmd's on the Doxygen project.
//
// ORVEX_BENCH_HTML names a folder of Doxygen HTML Help output (with
// an index.hhp that names icu.chm); without it the benchmark runs doxygen over /usr/include/unicode.
#include "chm/chm_file.h"
#include "chm/chm_writer.h"
#include "chm/lzx_encoder.h"

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>

namespace {

QString HtmlFolder() {
  static QTemporaryDir generated;
  static const QString folder = [] {
    const QString given = qEnvironmentVariable("ORVEX_BENCH_HTML");
    if (!given.isEmpty()) return given;
    QFile doxyfile(generated.filePath("Doxyfile"));
    doxyfile.open(QIODevice::WriteOnly);
    doxyfile.write("INPUT = /usr/include/unicode\nFILE_PATTERNS = *.h\nOUTPUT_DIRECTORY = " +
                   QFile::encodeName(generated.path()) +
                   "\nGENERATE_HTMLHELP = YES\nCHM_FILE = icu.chm\nGENERATE_LATEX = NO\nEXTRACT_ALL = YES\n"
                   "SEARCHENGINE = NO\nHAVE_DOT = NO\nQUIET = YES\nWARNINGS = NO\n");
    doxyfile.close();
    QProcess doxygen;
    doxygen.setWorkingDirectory(generated.path());
    doxygen.start("doxygen", {"Doxyfile"});
    doxygen.waitForFinished(-1);
    return generated.filePath("html");
  }();
  return folder;
}

// Every file of the HTML folder, by name below it.
QList<std::pair<QString, QByteArray>> HtmlFiles() {
  QList<std::pair<QString, QByteArray>> files;
  const QString folder = HtmlFolder();
  QDirIterator it(folder, {"*.html", "*.htm", "*.css", "*.js", "*.hhc", "*.hhk"}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QFile file(it.next());
    if (file.open(QIODevice::ReadOnly)) files.append({file.fileName().mid(folder.size()), file.readAll()});
  }
  std::sort(files.begin(), files.end());
  return files;
}

const QByteArray& FortyMegabytes() {
  static const QByteArray text = [] {
    QByteArray all;
    const auto files = HtmlFiles();
    while (!files.isEmpty() && all.size() < 40 * 1024 * 1024)
      for (const auto& file : files) all.append(file.second);
    all.truncate(40 * 1024 * 1024);
    return all;
  }();
  return text;
}

void BM_LzxCompress(benchmark::State& state) {
  const QByteArray& input = FortyMegabytes();
  orvex::LzxStream stream;
  for (auto _ : state) {
    stream = orvex::LzxCompress(input, {16, 2, int(state.range(0))});
    benchmark::DoNotOptimize(stream.data.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * input.size());
  state.counters["input_MB"] = double(input.size()) / (1024 * 1024);
  state.counters["ratio_percent"] = 100.0 * double(stream.data.size()) / double(input.size());
}
BENCHMARK(BM_LzxCompress)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// chmcmd's compiled file of the Doxygen project, and its files read back
// (name, content, compressed or not).
struct ChmcmdOutput {
  quint64 uncompressed = 0;
  quint64 compressed = 0;
  QList<orvex::ChmEntry> entries;
  orvex::ChmFile file;
};

bool CompileWithChmcmd(ChmcmdOutput& output) {
  QProcess chmcmd;
  chmcmd.setWorkingDirectory(HtmlFolder());
  chmcmd.start("chmcmd", {"index.hhp"});
  if (!chmcmd.waitForStarted() || !chmcmd.waitForFinished(-1)) return false;
  if (!output.file.open(QDir(HtmlFolder()).filePath("icu.chm"))) return false;
  const auto table = output.file.read(
      "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/"
      "ResetTable");
  if (!table || table->size() < 0x28) return false;
  output.uncompressed = qFromLittleEndian<quint64>(table->constData() + 0x10);
  output.compressed = qFromLittleEndian<quint64>(table->constData() + 0x18);
  output.entries = output.file.entries();
  return true;
}

// The same bytes compressed by us and by chmcmd: every file of chmcmd's
// compiled Doxygen project written again with our writer.
void BM_RatioAgainstChmcmd(benchmark::State& state) {
  ChmcmdOutput chmcmd;
  if (!CompileWithChmcmd(chmcmd)) {
    state.SkipWithError("chmcmd did not compile the Doxygen project");
    return;
  }
  QList<std::tuple<QByteArray, QByteArray, orvex::ChmSection>> files;
  for (const orvex::ChmEntry& entry : chmcmd.entries) {
    if (!entry.isFile || entry.rawPath.startsWith("::")) continue;
    const auto content = chmcmd.file.read(entry.path);
    if (content)
      files.append({entry.rawPath, *content,
                    entry.space == 1 ? orvex::ChmSection::Compressed : orvex::ChmSection::Uncompressed});
  }
  QTemporaryDir dir;
  orvex::ChmWriteStats stats;
  for (auto _ : state) {
    orvex::ChmWriter writer;
    for (const auto& [name, content, section] : files) writer.AddFile(name, content, section);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    stats = *writer.Write(out);
  }
  state.counters["section_MB"] = double(stats.uncompressedBytes) / (1024 * 1024);
  state.counters["ours_percent"] = 100.0 * double(stats.compressedBytes) / double(stats.uncompressedBytes);
  // chmcmd's stream is longer than the files it holds; both sizes are set
  // against the same bytes of files.
  state.counters["chmcmd_percent"] = 100.0 * double(chmcmd.compressed) / double(stats.uncompressedBytes);
  state.counters["chmcmd_stream_MB"] = double(chmcmd.uncompressed) / (1024 * 1024);
  state.counters["ours_over_chmcmd"] = double(stats.compressedBytes) / double(chmcmd.compressed);
}
BENCHMARK(BM_RatioAgainstChmcmd)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
