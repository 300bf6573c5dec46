// StrLC through the command frame on strings of 1 KB, 100 KB and 1 MB of
// the same shape: time and peak heap memory of one call each. Time ratios
// come from the reporter (all in one unit; linear growth gives about 100
// and 1,024, the target for 1 MB is at most 1,500); the peak-memory ratios
// are printed after them.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include "bench/ratio_reporter.h"
#include "command_harness.h"
#include "objects/string_store.h"

namespace {

// Heap use of the process, counted by the replaced operator new/delete.
std::atomic<size_t> current_bytes{0}, peak_bytes{0};

void* Allocate(size_t size) {
  // The size sits in front of the block so that delete can count it.
  void* raw = std::malloc(size + 16);
  if (!raw) throw std::bad_alloc();
  *static_cast<size_t*>(raw) = size;
  size_t now = current_bytes += size;
  size_t peak = peak_bytes.load();
  while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
  }
  return static_cast<char*>(raw) + 16;
}

void Release(void* p) {
  if (!p) return;
  void* raw = static_cast<char*>(p) - 16;
  current_bytes -= *static_cast<size_t*>(raw);
  std::free(raw);
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }

namespace {

std::map<std::string, size_t> peaks;  // by benchmark name

std::string Expression(size_t bytes) {
  std::string s;
  while (s.size() + 21 < bytes) s += "(-12.5+$3*4-7/2)%9p1-";
  s.append(bytes - s.size(), '1');
  return s;
}

void MeasureStrLC(benchmark::State& state, const char* name, size_t bytes) {
  korvel::ClearAllStrings();
  // A temporary string: it needs no owning mod.
  const int32_t id = korvel::kFirstTemporary;
  korvel::Temporary(id) = Expression(bytes);
  std::vector<korvel::Arg> args = {korvel::I(0), korvel::I(id), korvel::I(0), korvel::I(0),
                                   korvel::I(0), korvel::I(3)};
  size_t peak = 0;
  for (auto _ : state) {
    size_t before = current_bytes.load();
    peak_bytes = before;
    benchmark::DoNotOptimize(korvel::Call("StrLC", 0, args));
    peak = std::max(peak, peak_bytes.load() - before);
  }
  if (korvel::Call("StrLC", 0, args) == 0) state.SkipWithError("the expression gave 0");
  peaks[name] = peak;
  state.counters["peak_bytes"] = static_cast<double>(peak);
  korvel::ClearAllStrings();
}

void BM_StrLC1KB(benchmark::State& s) { MeasureStrLC(s, "1KB", 1024); }
void BM_StrLC100KB(benchmark::State& s) { MeasureStrLC(s, "100KB", 100 * 1024); }
void BM_StrLC1MB(benchmark::State& s) { MeasureStrLC(s, "1MB", 1024 * 1024); }
BENCHMARK(BM_StrLC1KB)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_StrLC100KB)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_StrLC1MB)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  int status = korvel::bench::RunWithRatios(
      argc, argv, {{"BM_StrLC1MB", "BM_StrLC1KB"}, {"BM_StrLC100KB", "BM_StrLC1KB"}});
  if (peaks.count("1KB") && peaks["1KB"] > 0) {
    for (const char* size : {"100KB", "1MB"})
      if (peaks.count(size))
        std::printf("peak memory %-6s / 1KB %8.2f\n", size,
                    static_cast<double>(peaks[size]) / static_cast<double>(peaks["1KB"]));
  }
  return status;
}
