// The viewer's search: page text extraction and the topic search over many
// topics, as a large help file would give them.
#include <benchmark/benchmark.h>

#include <QList>
#include <QString>

#include "viewer/chm_pages.h"

namespace {

QString SamplePage(int n) {
  QString body;
  for (int p = 0; p < 40; ++p)
    body += QString(
                "<p>Paragraph %1 of topic %2: printers, paper &amp; ink, <b>setting up</b> the "
                "queue.</p>\n")
                .arg(p)
                .arg(n);
  return QString("<html><head><title>Topic %1</title><style>p{margin:0}</style></head><body>%2</body></html>")
      .arg(n)
      .arg(body);
}

void BM_HtmlPlainText(benchmark::State& state) {
  const QString page = SamplePage(1);
  for (auto _ : state) benchmark::DoNotOptimize(HtmlPlainText(page));
  state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_HtmlPlainText);

void BM_SearchTopics(benchmark::State& state) {
  QList<TopicText> topics;
  for (int i = 0; i < state.range(0); ++i) {
    const QString page = SamplePage(i);
    topics.append({QString("/t%1.htm").arg(i), HtmlTitle(page), HtmlPlainText(page)});
  }
  for (auto _ : state) benchmark::DoNotOptimize(SearchTopics(topics, "paper queue"));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SearchTopics)->Arg(100)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
