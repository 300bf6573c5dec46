// Prints each measured benchmark's time as a ratio to a baseline measured
// in the same run, so the figures do not depend on the machine's speed.
// Benchmarks that give a ratio run in repetitions; the fastest of each
// counts.

// The statistic the reporter reads for a benchmark that reports its
// aggregates only.
inline double MinimumOf(const std::vector<double>& v) {
  double least = v.empty() ? 0 : v.front();
  for (double x : v) least = x < least ? x : least;
  return least;
}
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace korvel::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  // Each pair is (measured, baseline), by benchmark name.
  explicit RatioReporter(std::vector<std::pair<std::string, std::string>> pairs)
      : pairs_(std::move(pairs)) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    // The fastest repetition of each benchmark: on a shared machine noise
    // only ever adds time. A "min" statistic, where a benchmark reports
    // aggregates only, stands for its repetitions.
    for (const Run& run : runs) {
      // The name without "/repeats:N", as the pairs give it.
      benchmark::BenchmarkName run_name = run.run_name;
      run_name.repetitions.clear();
      const std::string name = run_name.str();
      const double seconds = run.GetAdjustedRealTime();
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        auto [it, fresh] = seconds_.emplace(name, seconds);
        if (!fresh && seconds < it->second) it->second = seconds;
      }
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") seconds_[name] = seconds;
    }
    ConsoleReporter::ReportRuns(runs);
  }

  // Prints the ratios (below 1: faster than the baseline); false when a
  // pair was not measured.
  bool PrintRatios() const {
    bool all = true;
    std::printf("\n%-44s %-32s %8s\n", "measured", "baseline", "ratio");
    for (const auto& [measured, baseline] : pairs_) {
      auto m = seconds_.find(measured), b = seconds_.find(baseline);
      if (m == seconds_.end() || b == seconds_.end() || b->second <= 0) {
        std::printf("%-44s %-32s %8s\n", measured.c_str(), baseline.c_str(), "MISSING");
        all = false;
        continue;
      }
      std::printf("%-44s %-32s %8.2f\n", measured.c_str(), baseline.c_str(), m->second / b->second);
    }
    return all;
  }

 private:
  std::vector<std::pair<std::string, std::string>> pairs_;
  std::map<std::string, double> seconds_;
};

// The body of a benchmark program's main.
inline int RunWithRatios(int argc, char** argv,
                         std::vector<std::pair<std::string, std::string>> pairs) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter(std::move(pairs));
  benchmark::RunSpecifiedBenchmarks(&reporter);
  // A ratio without its baseline is a failure, never a silent gap.
  bool all = reporter.PrintRatios();
  benchmark::Shutdown();
  if (!all) std::printf("FAILED: a benchmark or its baseline was not measured\n");
  return all ? 0 : 1;
}

}  // namespace korvel::bench
