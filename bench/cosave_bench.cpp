// Co-save write and read of 100,000 strings and of 1,000 arrays of 1,000
// items, each against copying the same number of bytes in one call.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ratio_reporter.h"
#include "save/cosave_image.h"

namespace {

using korvel::CoSaveImage;

CoSaveImage StringsImage() {
  CoSaveImage image;
  image.mods.push_back({0, 0, "Veldmark.esm"});
  image.strings.reserve(100000);
  for (int32_t id = 0; id < 100000; ++id)
    image.strings.push_back({id, id % 3, static_cast<uint8_t>(id & 1),
                             "string number " + std::to_string(id) + " of the bench"});
  return image;
}

CoSaveImage ArraysImage() {
  CoSaveImage image;
  image.mods.push_back({0, 0, "Veldmark.esm"});
  image.arrays.reserve(1000);
  for (int32_t id = 0; id < 1000; ++id) {
    korvel::CoSaveArray a{id, 0, 0, 1000, {}};
    a.items.reserve(1000);
    for (int32_t i = 0; i < 1000; ++i)
      a.items.push_back({i, static_cast<uint8_t>(i % 3), static_cast<uint32_t>(id * 1000 + i)});
    image.arrays.push_back(std::move(a));
  }
  return image;
}

const CoSaveImage& Image(int which) {
  static const CoSaveImage strings = StringsImage(), arrays = ArraysImage();
  return which == 0 ? strings : arrays;
}

const std::string& File(int which) {
  static const std::string strings = korvel::EncodeCoSaveImage(Image(0)),
                           arrays = korvel::EncodeCoSaveImage(Image(1));
  return which == 0 ? strings : arrays;
}

void Write(benchmark::State& state, int which) {
  const CoSaveImage& image = Image(which);
  for (auto _ : state) benchmark::DoNotOptimize(korvel::EncodeCoSaveImage(image));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(File(which).size()));
}

void Read(benchmark::State& state, int which) {
  const std::string& file = File(which);
  CoSaveImage image;
  for (auto _ : state) {
    if (korvel::DecodeCoSaveImage(file, korvel::kUnknownSaveMatch, &image) != korvel::CoSaveReadStatus::kOk)
      state.SkipWithError("the bench file does not read back");
    benchmark::DoNotOptimize(image.strings.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}

// The baseline: one copy of the file's bytes into fresh memory.
void Copy(benchmark::State& state, int which) {
  const std::string& file = File(which);
  for (auto _ : state) {
    std::string copy(file.size(), '\0');
    std::memcpy(copy.data(), file.data(), file.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.size()));
}

void BM_WriteStrings(benchmark::State& s) { Write(s, 0); }
void BM_ReadStrings(benchmark::State& s) { Read(s, 0); }
void BM_CopyStrings(benchmark::State& s) { Copy(s, 0); }
void BM_WriteArrays(benchmark::State& s) { Write(s, 1); }
void BM_ReadArrays(benchmark::State& s) { Read(s, 1); }
void BM_CopyArrays(benchmark::State& s) { Copy(s, 1); }
BENCHMARK(BM_CopyStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadStrings)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyArrays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteArrays)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadArrays)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::printf("file sizes: strings %zu bytes, arrays %zu bytes\n", File(0).size(), File(1).size());
  return korvel::bench::RunWithRatios(argc, argv,
                                      {{"BM_WriteStrings", "BM_CopyStrings"},
                                       {"BM_ReadStrings", "BM_CopyStrings"},
                                       {"BM_WriteArrays", "BM_CopyArrays"},
                                       {"BM_ReadArrays", "BM_CopyArrays"}});
}
