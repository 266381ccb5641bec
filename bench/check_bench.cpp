// Check project on Doxygen's HTML Help project of the ICU headers (about 700
// pages), made once before the timing, without and with spelling. Set CHECK_BENCH_PROJECT to a project
// file to check that one instead. "Time" is the wall time of one check, "CPU" the processor time of
// all its threads together.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include <cstdio>
#include <memory>

#include "bench/icu_project.h"
#include "checks/project_check.h"
#include "spelling/project_spelling.h"

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
BENCHMARK(BM_CheckProject)->Unit(benchmark::kMillisecond)->MinTime(3)->UseRealTime()->MeasureProcessCPUTime();

// The check alone, on trees already read (what the Problems pane's thread does).
void BM_CheckReadProject(benchmark::State& state) {
  if (ProjectFile().isEmpty()) return state.SkipWithError("no project (is doxygen installed?)");
  const Result<ProjectCheckInput> input = ReadProjectCheckInput(ProjectFile());
  if (!input) return state.SkipWithError(input.Message().toStdString().c_str());
  for (auto _ : state) benchmark::DoNotOptimize(CheckProject(*input).size());
}
BENCHMARK(BM_CheckReadProject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// `orvex --check` with spelling: the project's dictionary opened and every word of every page checked.
void BM_CheckProjectWithSpelling(benchmark::State& state) {
  if (ProjectFile().isEmpty()) return state.SkipWithError("no project (is doxygen installed?)");
  size_t problems = 0;
  for (auto _ : state) {
    Result<ProjectCheckInput> input = ReadProjectCheckInput(ProjectFile());
    if (!input) return state.SkipWithError(input.Message().toStdString().c_str());
    input->spelling = ProjectSpellingSource(input->projectFile, input->projectLines);
    problems = CheckProject(*input).size();
  }
  state.counters["problems"] = double(problems);
}
BENCHMARK(BM_CheckProjectWithSpelling)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

// The Problems pane's check with the dictionary the editor has open already
// (its answers for words seen before are kept, as in the window).
void BM_CheckReadProjectWithOpenSpelling(benchmark::State& state) {
  if (ProjectFile().isEmpty()) return state.SkipWithError("no project (is doxygen installed?)");
  Result<ProjectCheckInput> input = ReadProjectCheckInput(ProjectFile());
  if (!input) return state.SkipWithError(input.Message().toStdString().c_str());
  const std::shared_ptr<const WordSpelling> spelling =
      ProjectSpelling::Open(input->projectFile, input->projectLines);
  input->spelling = [spelling] { return spelling; };
  for (auto _ : state) benchmark::DoNotOptimize(CheckProject(*input).size());
}
BENCHMARK(BM_CheckReadProjectWithOpenSpelling)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace

BENCHMARK_MAIN();
