// The co-save on the game's path: registries -> file through the Env, and
// file -> registries, for 100,000 strings and for 1,000 arrays of 1,000
// items, each against writing or reading the same bytes with one call (the
// test Env's ReadFile: the file's size, then one read of that many bytes).
// The checksum of the same bytes, which every load computes before it
// decodes anything, is set against the same read, as the least a load of
// a sound co-save can cost, and so is making the 100,000 strings again
// with no file at all (the old ones released, each new one a record and
// its text at its id), the least the registries' side of a load can cost.
// And the extra memory of a save and of a load,
// counted by this program's operator new: the most held at once, less what
// was held before a save or what a load leaves in the registries, for
// these states and for a co-save of about 100 MB.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "bench/ratio_reporter.h"
#include "command_harness.h"
#include "fake_engine.h"
#include "base/flags.h"
#include "core/global.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/crc32.h"
#include "save/save_hook.h"
#include "temp_env.h"

// The replacements below pair malloc with free themselves; GCC cannot see
// that through the inlined library code.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

// Counted only while a save's memory is measured, so the timed runs pay
// nothing for the counting: live_bytes is what is held beyond the bytes
// held when the count began.
bool counting = false;
long long live_bytes = 0, peak_bytes = 0;

}  // namespace

void* operator new(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (!p) throw std::bad_alloc();
  if (counting) {
    live_bytes += static_cast<long long>(malloc_usable_size(p));
    if (live_bytes > peak_bytes) peak_bytes = live_bytes;
  }
  return p;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept {
  if (p && counting) live_bytes -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using namespace korvel;

const std::string kSave = "C:\\Bench.ess", kCoSave = "C:\\Bench.korvel";

struct World {
  TempEnv env;
  FakeEngine engine;
  World() {
    engine.SetMods({"Veldmark.esm"});
    GetFolders().log_file = "C:\\bench.log";
    env.WriteFile(kSave, std::string(300, 's'));
  }
};

World& GetWorld() {
  static World world;
  return world;
}

// Fills the registries with one of the bench states.
void Fill(int which) {
  ClearAllObjects();
  const uint32_t script = ScriptOf(0);
  if (which == 0) {
    for (int32_t id = 0; id < 100000; ++id)
      Call("CreateString", script, {I(-1), T("string number " + std::to_string(id) + " of the bench")});
    return;
  }
  int arrays = which == 1 ? 1000 : 12, items = which == 1 ? 1000 : 1000000;
  for (int a = 0; a < arrays; ++a) {
    auto id = static_cast<int32_t>(Call("CreateArray", script, {I(-1), I(items)}));
    TypeArray& body = GetArrays().Get(id)->Body;
    for (int i = 0; i < items; ++i)
      body.SetItem(i, static_cast<uint8_t>(i % 3), 0, static_cast<uint32_t>(a * 1000 + i));
  }
}

// The co-save of a state, as the game path writes it.
const std::string& File(int which) {
  static std::string files[2];
  if (files[which].empty()) {
    GetWorld();
    Fill(which);
    WriteCoSaveFile(kSave);
    GetWorld().env.ReadFile(kCoSave, &files[which]);
  }
  return files[which];
}

void Bytes(benchmark::State& state, int which) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(File(which).size()));
}

void Write(benchmark::State& state, int which) {
  File(which);
  Fill(which);
  for (auto _ : state) WriteCoSaveFile(kSave);
  Bytes(state, which);
}

void Read(benchmark::State& state, int which) {
  File(which);
  Fill(which);
  WriteCoSaveFile(kSave);
  for (auto _ : state) {
    OnSaveLoaded(kSave);
    if (GetFlags().data_reset) state.SkipWithError("the co-save does not read back");
  }
  Bytes(state, which);
}

// Baselines: the same bytes written to a file, or read from one, in one call.
// The registries hold the same state as for the measured side, so the heap
// the file's bytes come from is alike too: with an empty one, glibc hands
// the pages of a large read back to the system after each run and the
// next run pays for taking them again.
void WriteOnce(benchmark::State& state, int which) {
  const std::string& file = File(which);
  Fill(which);
  for (auto _ : state) GetWorld().env.WriteFile("C:\\Once.korvel", file);
  Bytes(state, which);
}

void ReadOnce(benchmark::State& state, int which) {
  const std::string& file = File(which);
  Fill(which);
  GetWorld().env.WriteFile("C:\\Once.korvel", file);
  for (auto _ : state) {
    // A new string each time, as the reader's.
    std::string back;
    GetWorld().env.ReadFile("C:\\Once.korvel", &back);
    benchmark::DoNotOptimize(back.data());
  }
  Bytes(state, which);
}

// The checksum of the file's bytes, held in memory.
void Checksum(benchmark::State& state, int which) {
  const std::string& file = File(which);
  for (auto _ : state) benchmark::DoNotOptimize(Crc32(file.data(), file.size()));
  Bytes(state, which);
}

// The strings of the bench state released and made again at their ids,
// their texts copied from memory: a load without the file.
void BM_RemakeStrings(benchmark::State& state) {
  File(0);
  Fill(0);
  std::vector<std::pair<int32_t, std::string>> texts;
  const TStringIDList& strings = GetStrings();
  for (int32_t id = strings.min_used(); id <= strings.max_used(); ++id)
    if (const StringR* s = strings.Get(id)) texts.emplace_back(id, s->Text);
  for (auto _ : state) {
    ClearAllObjects();
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
      auto entry = std::make_unique<StringR>();
      entry->Text.assign(it->second);
      GetStrings().CreateAt(0, it->first, std::move(entry), false);
    }
  }
  Bytes(state, 0);
}

void BM_WriteStrings(benchmark::State& s) { Write(s, 0); }
void BM_ReadStrings(benchmark::State& s) { Read(s, 0); }
void BM_WriteStringsOnce(benchmark::State& s) { WriteOnce(s, 0); }
void BM_ReadStringsOnce(benchmark::State& s) { ReadOnce(s, 0); }
void BM_WriteArrays(benchmark::State& s) { Write(s, 1); }
void BM_ReadArrays(benchmark::State& s) { Read(s, 1); }
void BM_WriteArraysOnce(benchmark::State& s) { WriteOnce(s, 1); }
void BM_ReadArraysOnce(benchmark::State& s) { ReadOnce(s, 1); }
void BM_ChecksumStrings(benchmark::State& s) { Checksum(s, 0); }
void BM_ChecksumArrays(benchmark::State& s) { Checksum(s, 1); }
BENCHMARK(BM_WriteStringsOnce)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_WriteStrings)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReadStringsOnce)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReadStrings)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_WriteArraysOnce)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_WriteArrays)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReadArraysOnce)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ReadArrays)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_RemakeStrings)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ChecksumStrings)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ChecksumArrays)->Unit(benchmark::kMillisecond)->Repetitions(5);

// The most a save holds at once beyond what the registries hold.
size_t SaveExtraBytes(int which) {
  Fill(which);
  GetWorld().env.RemoveFile(kCoSave);
  live_bytes = peak_bytes = 0;
  counting = true;
  WriteCoSaveFile(kSave);
  counting = false;
  const auto extra = static_cast<size_t>(peak_bytes);
  std::printf("extra memory of a save of a %.1f MB co-save: %zu bytes (%.3f MiB)\n",
              static_cast<double>(GetWorld().env.FileSize(kCoSave)) / 1e6, extra,
              static_cast<double>(extra) / 1048576.0);
  return extra;
}

// The most a load holds at once beyond what it leaves in the registries.
size_t LoadExtraBytes(int which) {
  Fill(which);
  WriteCoSaveFile(kSave);
  ClearAllObjects();
  live_bytes = peak_bytes = 0;
  counting = true;
  OnSaveLoaded(kSave);
  counting = false;
  const auto extra = static_cast<size_t>(peak_bytes - live_bytes);
  std::printf("extra memory of a load of a %.1f MB co-save: %zu bytes (%.3f MiB)%s\n",
              static_cast<double>(GetWorld().env.FileSize(kCoSave)) / 1e6, extra,
              static_cast<double>(extra) / 1048576.0,
              GetFlags().data_reset ? " -- FAILED: it did not read back" : "");
  return GetFlags().data_reset ? SIZE_MAX : extra;
}

}  // namespace

int main(int argc, char** argv) {
  std::printf("file sizes: strings %zu bytes, arrays %zu bytes\n", File(0).size(), File(1).size());
  bool small = true;
  for (int which : {0, 1, 2}) small = SaveExtraBytes(which) < (1u << 20) && small;
  for (int which : {0, 1, 2}) small = LoadExtraBytes(which) < (1u << 20) && small;
  ClearAllObjects();
  int status = bench::RunWithRatios(argc, argv,
                                    {{"BM_WriteStrings", "BM_WriteStringsOnce"},
                                     {"BM_ReadStrings", "BM_ReadStringsOnce"},
                                     {"BM_WriteArrays", "BM_WriteArraysOnce"},
                                     {"BM_ReadArrays", "BM_ReadArraysOnce"},
                                     {"BM_ChecksumStrings", "BM_ReadStringsOnce"},
                                     {"BM_RemakeStrings", "BM_ReadStringsOnce"},
                                     {"BM_ChecksumArrays", "BM_ReadArraysOnce"}});
  if (!small) std::printf("FAILED: a save or a load needed 1 MiB or more beyond the registries\n");
  return small ? status : 1;
}
