// Array bodies against plain vectors: store and load per call, search over
// a million slots, and the bytes a slot costs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench/ratio_reporter.h"
#include "objects/array_body.h"

namespace {

constexpr int32_t kSlots = 1000000;

// One store as SetInArray makes it and one load as GetInArray makes it,
// against a plain vector; ClobberMemory keeps each access a real one.
void BodyStore(benchmark::State& state) {
  korvel::TypeArray a;
  a.SetSize(1024);
  uint32_t i = 0;
  for (auto _ : state) {
    a.SetItem(static_cast<int32_t>(i & 1023), korvel::kItemInteger, 0, i);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BodyStore);

void VectorStore(benchmark::State& state) {
  std::vector<int32_t> v(1024);
  uint32_t i = 0;
  for (auto _ : state) {
    v[i & 1023] = static_cast<int32_t>(i);
    ++i;
    benchmark::ClobberMemory();
  }
}
BENCHMARK(VectorStore);

void BodyLoad(benchmark::State& state) {
  korvel::TypeArray a;
  a.SetSize(1024);
  for (int32_t k = 0; k < 1024; ++k) a.SetItem(k, korvel::kItemInteger, 0, static_cast<uint32_t>(k));
  uint32_t i = 0;
  for (auto _ : state) {
    int32_t index = static_cast<int32_t>(i++ & 1023);
    uint32_t value = a.Has(index) && a.Type(index) == korvel::kItemInteger ? a.Value(index) : 0;
    benchmark::DoNotOptimize(value);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BodyLoad);

void VectorLoad(benchmark::State& state) {
  std::vector<int32_t> v(1024, 1);
  uint32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(v[i++ & 1023]);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(VectorLoad);

void BodyFind(benchmark::State& state) {
  korvel::TypeArray a;
  a.SetSize(kSlots);
  for (int32_t i = 0; i < kSlots; ++i) a.SetItem(i, korvel::kItemInteger, 0, static_cast<uint32_t>(i));
  for (auto _ : state) benchmark::DoNotOptimize(a.Find(korvel::kItemInteger, kSlots - 1, 0, kSlots - 1));
}
BENCHMARK(BodyFind);

void StdFind(benchmark::State& state) {
  std::vector<int32_t> v(kSlots);
  for (int32_t i = 0; i < kSlots; ++i) v[static_cast<size_t>(i)] = i;
  for (auto _ : state) benchmark::DoNotOptimize(std::find(v.begin(), v.end(), kSlots - 1));
}
BENCHMARK(StdFind);

// Bytes per slot of a dense and of a 1 %-dense array of a million slots.
// The rows hold one type byte and one 32-bit value a slot whether the
// slot is used or not, on a 32-bit target as here.
void Memory(benchmark::State& state) {
  for (auto _ : state) {
    korvel::TypeArray dense, sparse;
    dense.SetSize(kSlots);
    sparse.SetSize(kSlots);
    for (int32_t i = 0; i < kSlots; ++i) dense.SetItem(i, korvel::kItemInteger, 0, 1);
    for (int32_t i = 0; i < kSlots; i += 100) sparse.SetItem(i, korvel::kItemInteger, 0, 1);
    state.counters["dense_bytes_per_used_slot"] =
        static_cast<double>(dense.MemoryBytes()) / dense.Count();
    state.counters["sparse_bytes_per_slot"] = static_cast<double>(sparse.MemoryBytes()) / kSlots;
    state.counters["sparse_bytes_per_used_slot"] =
        static_cast<double>(sparse.MemoryBytes()) / sparse.Count();
  }
}
BENCHMARK(Memory)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  return korvel::bench::RunWithRatios(argc, argv, {{"BodyStore", "VectorStore"},
                                                   {"BodyLoad", "VectorLoad"},
                                                   {"BodyFind", "StdFind"}});
}
