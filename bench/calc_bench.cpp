// The calculator's time per byte on a 1 MB expression against 1 KB and
// 100 KB ones of the same shape, in the same run: each measurement works
// through 1 MB, the smaller ones in 1,024 and 10 calls, so a ratio near 1
// means linear time. Two shapes: a flat chain of every operator, and
// parentheses nested to the right (the depth that would have been
// recursion; its stacks outgrow the caches, the 1 KB case's do not).
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>

#include "bench/ratio_reporter.h"
#include "calc/calculate.h"

namespace {

constexpr size_t kSmall = 1024;
constexpr size_t kLarge = kSmall * kSmall;
constexpr size_t kMedium = kLarge / 10;
const korvel::CalcVariables kVariables = {0, 0, 0, 3, 0, 0, 0, 0, 0, 0};

std::string Chain(size_t bytes) {
  std::string s;
  while (s.size() + 21 < bytes) s += "(-12.5+$3*4-7/2)%9p1-";
  s.append(bytes - s.size(), '1');
  return s;
}

std::string Nested(size_t bytes) {
  std::string s;
  size_t depth = 0;
  while (s.size() + 2 * (depth + 1) + 4 < bytes) s += "2*(1+", ++depth;
  s += '1';
  s.append(depth, ')');
  s.append(bytes - s.size(), ' ');
  return s;
}

void Measure(benchmark::State& state, const std::string& expression, size_t calls) {
  for (auto _ : state)
    for (size_t i = 0; i < calls; ++i)
      benchmark::DoNotOptimize(korvel::Calculate(expression, kVariables, 0));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * calls * expression.size()));
}

void BM_Chain1KBx1024(benchmark::State& state) { Measure(state, Chain(kSmall), kLarge / kSmall); }
void BM_Chain100KBx10(benchmark::State& state) { Measure(state, Chain(kMedium), 10); }
void BM_Chain1MB(benchmark::State& state) { Measure(state, Chain(kLarge), 1); }
void BM_Nested1KBx1024(benchmark::State& state) { Measure(state, Nested(kSmall), kLarge / kSmall); }
void BM_Nested100KBx10(benchmark::State& state) { Measure(state, Nested(kMedium), 10); }
void BM_Nested1MB(benchmark::State& state) { Measure(state, Nested(kLarge), 1); }
BENCHMARK(BM_Chain1KBx1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chain100KBx10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chain1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nested1KBx1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nested100KBx10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nested1MB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return korvel::bench::RunWithRatios(argc, argv,
                                      {{"BM_Chain1MB", "BM_Chain1KBx1024"},
                                       {"BM_Chain1MB", "BM_Chain100KBx10"},
                                       {"BM_Nested1MB", "BM_Nested1KBx1024"},
                                       {"BM_Nested1MB", "BM_Nested100KBx10"}});
}
