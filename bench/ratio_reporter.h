// Prints each measured benchmark's time as a ratio to a baseline measured
// in the same run, so the figures do not depend on the machine's speed.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <set>
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
    // The quickest of a benchmark's repetitions: on a shared machine the
    // others only add what other work took. An aggregate named "min", when
    // there is one, stands instead. Names lose their "/repeats:N", so a
    // pair matches however often each side ran.
    for (const Run& run : runs) {
      benchmark::BenchmarkName name = run.run_name;
      name.repetitions.clear();
      const std::string key = name.str();
      if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !minimums_.count(key)) {
        auto known = seconds_.find(key);
        double seconds = run.GetAdjustedRealTime();
        if (known == seconds_.end() || seconds < known->second) seconds_[key] = seconds;
      }
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
        minimums_.insert(key);
        seconds_[key] = run.GetAdjustedRealTime();
      }
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
  std::set<std::string> minimums_;
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
