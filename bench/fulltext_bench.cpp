// The full-text search index of a large help: Doxygen's HTML of the ICU
// headers (about 700 pages), made once before the timing. Set
// FULLTEXT_BENCH_HTML to a folder of .html pages to index those instead.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "bench/icu_project.h"
#include "chm/fulltext_index.h"
#include "chm/fulltext_words.h"
#include "platform/codepage.h"

namespace {

const QList<FullTextTopic>& Topics() {
  static const QList<FullTextTopic> topics = [] {
    static std::unique_ptr<QTemporaryDir> work;
    QString folder = qEnvironmentVariable("FULLTEXT_BENCH_HTML");
    if (folder.isEmpty()) {
      work = std::make_unique<QTemporaryDir>();
      folder = GenerateIcuPages(work->path());
    }
    QList<FullTextTopic> list;
    const QStringList names = QDir(folder).entryList({"*.html"}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
      QFile page(folder + '/' + name);
      if (page.open(QIODevice::ReadOnly))
        list.append({quint32(list.size()), QString(), DecodeCodePage(page.readAll(), 1252)});
    }
    qint64 bytes = 0;
    for (const FullTextTopic& t : list) bytes += t.page.size();
    std::fprintf(stderr, "%lld pages, %lld characters of HTML from %s\n", qlonglong(list.size()),
                 qlonglong(bytes), qPrintable(folder));
    return list;
  }();
  return topics;
}

void BM_BuildFullTextIndex(benchmark::State& state) {
  const QList<FullTextTopic>& topics = Topics();
  if (topics.isEmpty()) return state.SkipWithError("no pages (is doxygen installed?)");
  qint64 bytes = 0;
  for (const FullTextTopic& t : topics) bytes += t.page.size() * 2;
  QByteArray index;
  for (auto _ : state) {
    index = BuildFullTextIndex(topics, 0x409, 1252);
    benchmark::DoNotOptimize(index.data());
  }
  state.counters["topics"] = double(topics.size());
  state.counters["index_bytes"] = double(index.size());
  state.SetBytesProcessed(state.iterations() * bytes);
}
BENCHMARK(BM_BuildFullTextIndex)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_PageWords(benchmark::State& state) {
  const QList<FullTextTopic>& topics = Topics();
  if (topics.isEmpty()) return state.SkipWithError("no pages (is doxygen installed?)");
  qint64 words = 0;
  for (auto _ : state)
    for (const FullTextTopic& t : topics) words += FullTextWords(ExtractPageText(t.page).body).size();
  state.SetItemsProcessed(words);
}
BENCHMARK(BM_PageWords)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
