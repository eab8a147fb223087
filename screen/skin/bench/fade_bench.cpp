// One fade step over a 1024 x 576 picture against a plain copy of the same
// pixels, in the same run; prints the medians and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "fade_core.h"

namespace {

constexpr std::size_t kPixels = 1024 * 576;

std::vector<std::uint32_t> Picture() {
  std::vector<std::uint32_t> p(kPixels);
  std::uint32_t x = 12345;
  for (auto& v : p) v = (x = x * 1664525u + 1013904223u) >> 8;
  return p;
}

void Copy(benchmark::State& state) {
  const std::vector<std::uint32_t> source = Picture();
  std::vector<std::uint32_t> out(kPixels);
  for (auto _ : state) {
    std::memcpy(out.data(), source.data(), kPixels * 4);
    benchmark::ClobberMemory();
  }
}

void FadeStep(benchmark::State& state) {
  const std::vector<std::uint32_t> source = Picture();
  std::vector<std::uint32_t> out(kPixels);
  const fade::ToneTable table = fade::MakeToneTable(fade::kTargetColour, fade::kStartColour);
  int level = 0;
  for (auto _ : state) {
    fade::FadePixels(source.data(), out.data(), kPixels, level, table);
    benchmark::ClobberMemory();
    level = (level + 3) % 100;
  }
}

// The per-pixel form the fast one must equal, for comparison.
void FadeStepReference(benchmark::State& state) {
  const std::vector<std::uint32_t> source = Picture();
  std::vector<std::uint32_t> out(kPixels);
  const fade::ToneTable table = fade::MakeToneTable(fade::kTargetColour, fade::kStartColour);
  int level = 0;
  for (auto _ : state) {
    fade::FadePixelsReference(source.data(), out.data(), kPixels, level, table);
    benchmark::ClobberMemory();
    level = (level + 3) % 100;
  }
}

// Keeps the median of each benchmark's repetitions.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
        medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> medians;  // nanoseconds per iteration
};

}  // namespace

BENCHMARK(Copy)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(FadeStep)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(FadeStepReference)->Repetitions(9)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const double copy = reporter.medians["Copy"], step = reporter.medians["FadeStep"],
               reference = reporter.medians["FadeStepReference"];
  if (copy > 0) {
    std::printf("fade step 1024x576: median %.3f ms, memcpy median %.3f ms, ratio %.2f "
                "(per-pixel form %.2f)\n",
                step / 1e6, copy / 1e6, step / copy, reference / copy);
  }
  benchmark::Shutdown();
  return 0;
}
