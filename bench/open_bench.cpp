// Reading the contents and index files of a large project, as opening does.
// The readers must stay linear in the file size: 20,000 items of each file
// are meant to read in well under half a second.
#include "formats/sitemap/sitemap_reader.h"

#include <benchmark/benchmark.h>

#include <QLocale>
#include <QString>

namespace {

// A contents file in the program's own form: groups of ten topics under a
// heading, every third group nested one level deeper.
QString ContentsText(int items) {
  QString text = QStringLiteral(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
      "<!-- Sitemap 1.0 -->\r\n</HEAD><BODY>\r\n<UL>\r\n");
  text.reserve(items * 140);
  for (int i = 0; i < items; ++i) {
    if (i % 10 == 0) {
      if (i > 0) text += QStringLiteral("</UL>\r\n");
      text += QStringLiteral(
                  "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                  "<param name=\"Name\" value=\"Chapter %1\">\r\n</OBJECT>\r\n<UL>\r\n")
                  .arg(i / 10);
    }
    text += QStringLiteral(
                "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                "<param name=\"Name\" value=\"Topic &amp; number %1\">\r\n"
                "<param name=\"Local\" value=\"Help%1.htm\">\r\n</OBJECT>\r\n")
                .arg(i);
  }
  text += QStringLiteral("</UL>\r\n</UL>\r\n</BODY></HTML>\r\n");
  return text;
}

// An index file: keywords in scrambled order, every fifth with two topics
// and every seventh a keyword over two sub-entries.
QString IndexText(int items) {
  QString text = QStringLiteral("<HTML><BODY>\r\n<UL>\r\n\r\n");
  text.reserve(items * 180);
  for (int i = 0; i < items; ++i) {
    const int key = (i * 7919) % items;
    text += QStringLiteral(
                "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                "<param name=\"Keyword\" value=\"keyword %1\">\r\n")
                .arg(key);
    if (i % 7 == 0) {
      text += QStringLiteral(
                  "<param name=\"See Also\" value=\"keyword %1\">\r\n</OBJECT>\r\n<UL>\r\n"
                  "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"sub b\">\r\n"
                  "<param name=\"Local\" value=\"b%1.htm\">\r\n</OBJECT>\r\n"
                  "<LI> <OBJECT type=\"text/sitemap\">\r\n<param name=\"Keyword\" value=\"Sub a\">\r\n"
                  "<param name=\"Local\" value=\"a%1.htm\">\r\n</OBJECT>\r\n</UL>\r\n")
                  .arg(key);
      continue;
    }
    text += QStringLiteral(
                "<param name=\"Name\" value=\"Topic %1\">\r\n"
                "<param name=\"Local\" value=\"Help%1.htm\">\r\n")
                .arg(key);
    if (i % 5 == 0)
      text += QStringLiteral(
                  "<param name=\"Name\" value=\"Other %1\">\r\n"
                  "<param name=\"Local\" value=\"Other%1.htm\">\r\n")
                  .arg(key);
    text += QStringLiteral("</OBJECT>\r\n");
  }
  text += QStringLiteral("</UL>\r\n</BODY></HTML>\r\n");
  return text;
}

void BM_ReadContentsFile(benchmark::State& state) {
  const QString text = ContentsText(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(ReadContentsFile(text));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
  state.SetComplexityN(state.range(0));
}

void BM_ReadIndexFile(benchmark::State& state) {
  const QString text = IndexText(static_cast<int>(state.range(0)));
  const QLocale locale(QLocale::English);
  for (auto _ : state) benchmark::DoNotOptimize(ReadIndexFile(text, locale));
  state.SetBytesProcessed(state.iterations() * text.size() * 2);
  state.SetComplexityN(state.range(0));
}

// Both files of one project, as opening reads them.
void BM_ReadBothFiles(benchmark::State& state) {
  const QString contents = ContentsText(static_cast<int>(state.range(0)));
  const QString index = IndexText(static_cast<int>(state.range(0)));
  const QLocale locale(QLocale::English);
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadContentsFile(contents));
    benchmark::DoNotOptimize(ReadIndexFile(index, locale));
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_ReadContentsFile)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(BM_ReadIndexFile)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_ReadBothFiles)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity();

BENCHMARK_MAIN();
