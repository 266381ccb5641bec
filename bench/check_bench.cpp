// Check project on Doxygen's HTML Help project of the ICU headers (about 700
// pages), made once before the timing. Set CHECK_BENCH_PROJECT to a project
// file to check that one instead.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "bench/icu_project.h"
#include "checks/project_check.h"

namespace {

const QString& ProjectFile() {
  static const QString path = [] {
    QString project = qEnvironmentVariable("CHECK_BENCH_PROJECT");
    if (project.isEmpty()) {
      static std::unique_ptr<QTemporaryDir> work = std::make_unique<QTemporaryDir>();
      const QString pages = GenerateIcuPages(work->path());
      if (!pages.isEmpty()) project = pages + "/index.hhp";
    }
    return project;
  }();
  return path;
}

// The whole check as `orvex --check` runs it: the project's files read, every page read and checked.
void BM_CheckProject(benchmark::State& state) {
  if (ProjectFile().isEmpty()) return state.SkipWithError("no project (is doxygen installed?)");
  size_t problems = 0;
  for (auto _ : state) {
    const Result<ProjectCheckInput> input = ReadProjectCheckInput(ProjectFile());
    if (!input) return state.SkipWithError(input.Message().toStdString().c_str());
    problems = CheckProject(*input).size();
  }
  state.counters["problems"] = double(problems);
}
BENCHMARK(BM_CheckProject)->Unit(benchmark::kMillisecond)->MinTime(3);

// The check alone, on trees already read (what the Problems pane's thread does).
void BM_CheckReadProject(benchmark::State& state) {
  if (ProjectFile().isEmpty()) return state.SkipWithError("no project (is doxygen installed?)");
  const Result<ProjectCheckInput> input = ReadProjectCheckInput(ProjectFile());
  if (!input) return state.SkipWithError(input.Message().toStdString().c_str());
  for (auto _ : state) benchmark::DoNotOptimize(CheckProject(*input).size());
}
BENCHMARK(BM_CheckReadProject)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
