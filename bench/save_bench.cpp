// Saving a large project: producing the contents and index file texts from
// 20,000-node trees, encoding them in the code page and writing them.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/codepage.h"
#include "platform/text_file.h"
#include "formats/sitemap/sitemap_writer.h"

namespace {

// 40 chapters of 20 sections of 24 topics: 20,040 nodes, three levels.
std::vector<ContentsNode> MakeContents() {
  std::vector<ContentsNode> forest;
  int counter = 0;
  auto make = [&counter](const QString& caption) {
    ContentsNode node;
    node.caption = caption;
    node.data = std::make_unique<TopicData>(TopicData{QStringLiteral("Big_Guide%1.htm").arg(++counter)});
    return node;
  };
  for (int c = 0; c < 40; ++c) {
    ContentsNode chapter = make(QStringLiteral("Chapter %1: Überblick & Einführung").arg(c));
    for (int s = 0; s < 20; ++s) {
      ContentsNode section = make(QStringLiteral("Section %1.%2").arg(c).arg(s));
      for (int t = 0; t < 24; ++t) section.children.push_back(make(QStringLiteral("Topic \"%1\"").arg(t)));
      chapter.children.push_back(std::move(section));
    }
    forest.push_back(std::move(chapter));
  }
  return forest;
}

// 2,000 keywords with 9 sub-entries each, in groups of three: 20,000 nodes.
std::vector<IndexNode> MakeIndex() {
  std::vector<IndexNode> forest;
  for (int k = 0; k < 2000; ++k) {
    IndexNode keyword;
    keyword.caption = QStringLiteral("keyword %1").arg(k);
    keyword.data = std::make_unique<IndexEntryData>();
    for (int s = 0; s < 9; ++s) {
      IndexNode entry;
      entry.caption = QStringLiteral("keyword %1 sub %2").arg(k).arg(s / 3);
      entry.data = std::make_unique<IndexEntryData>(
          IndexEntryData{entry.caption, QStringLiteral("Big_Guide%1.htm").arg(k * 9 + s),
                         QStringLiteral("Topic %1").arg(s)});
      keyword.children.push_back(std::move(entry));
    }
    forest.push_back(std::move(keyword));
  }
  return forest;
}

void BM_ContentsText(benchmark::State& state) {
  const auto forest = MakeContents();
  for (auto _ : state) benchmark::DoNotOptimize(ContentsFileText(forest));
}

void BM_IndexText(benchmark::State& state) {
  const auto forest = MakeIndex();
  for (auto _ : state) benchmark::DoNotOptimize(IndexFileText(forest));
}

void BM_EncodeBoth1252(benchmark::State& state) {
  const QString contents = ContentsFileText(MakeContents());
  const QString index = IndexFileText(MakeIndex());
  for (auto _ : state) {
    benchmark::DoNotOptimize(EncodeCodePage(contents, 1252));
    benchmark::DoNotOptimize(EncodeCodePage(index, 1252));
  }
  state.SetBytesProcessed(state.iterations() * (contents.size() + index.size()));
}

void BM_EncodeBoth932(benchmark::State& state) {
  const QString contents = ContentsFileText(MakeContents());
  const QString index = IndexFileText(MakeIndex());
  for (auto _ : state) {
    benchmark::DoNotOptimize(EncodeCodePage(contents, 932));
    benchmark::DoNotOptimize(EncodeCodePage(index, 932));
  }
}

// The whole save of both files: texts, encoding, atomic writes.
void BM_WriteContentsAndIndexFiles(benchmark::State& state) {
  const auto contents = MakeContents();
  const auto index = MakeIndex();
  QTemporaryDir dir;
  const QString hhc = dir.filePath(QStringLiteral("Big Guide.hhc"));
  const QString hhk = dir.filePath(QStringLiteral("Big Guide.hhk"));
  for (auto _ : state) {
    if (!WriteContentsFile(hhc, contents, 1252) || !WriteIndexFile(hhk, index, 1252))
      state.SkipWithError("the files cannot be written");
  }
}

}  // namespace

BENCHMARK(BM_ContentsText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeBoth1252)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncodeBoth932)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteContentsAndIndexFiles)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
