// CRC-32 of a 16 MB buffer against zlib's crc32 (when zlib is found) and
// against the plain one-table loop, in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "bench/ratio_reporter.h"
#include "save/crc32.h"

#if KORVEL_HAVE_ZLIB
#include <zlib.h>
#endif

namespace {

constexpr size_t kBytes = 16u << 20;

const std::vector<unsigned char>& Buffer() {
  static const std::vector<unsigned char> buffer = [] {
    std::vector<unsigned char> b(kBytes);
    uint32_t x = 0x12345678;
    for (auto& c : b) {
      x = x * 1664525u + 1013904223u;
      c = static_cast<unsigned char>(x >> 24);
    }
    return b;
  }();
  return buffer;
}

void BM_KorvelCrc32(benchmark::State& state) {
  const auto& b = Buffer();
  for (auto _ : state) benchmark::DoNotOptimize(korvel::Crc32(b.data(), b.size()));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(b.size()));
}
BENCHMARK(BM_KorvelCrc32)->Unit(benchmark::kMillisecond)->Repetitions(7);

// The classic loop, one table step per byte: what the folded loop gains.
void BM_BytewiseCrc32(benchmark::State& state) {
  const auto& b = Buffer();
  static uint32_t table[256];
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  for (auto _ : state) {
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : b) crc = table[(crc ^ c) & 0xFF] ^ (crc >> 8);
    benchmark::DoNotOptimize(~crc);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(b.size()));
}
BENCHMARK(BM_BytewiseCrc32)->Unit(benchmark::kMillisecond)->Repetitions(7);

#if KORVEL_HAVE_ZLIB
void BM_ZlibCrc32(benchmark::State& state) {
  const auto& b = Buffer();
  for (auto _ : state)
    benchmark::DoNotOptimize(crc32(0L, b.data(), static_cast<uInt>(b.size())));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(b.size()));
}
BENCHMARK(BM_ZlibCrc32)->Unit(benchmark::kMillisecond)->Repetitions(7);
#endif

}  // namespace

int main(int argc, char** argv) {
#if KORVEL_HAVE_ZLIB
  const auto& b = Buffer();
  if (korvel::Crc32(b.data(), b.size()) != crc32(0L, b.data(), static_cast<uInt>(b.size()))) {
    std::fprintf(stderr, "the CRC-32 differs from zlib's\n");
    return 1;
  }
#endif
  return korvel::bench::RunWithRatios(argc, argv,
                                      {{"BM_KorvelCrc32", "BM_ZlibCrc32"},
                                       {"BM_KorvelCrc32", "BM_BytewiseCrc32"}});
}
