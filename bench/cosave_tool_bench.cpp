// The co-save tool's verify and stats on a co-save of about 100 MB, against
// reading the file once and computing its CRC, in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/ratio_reporter.h"
#include "save/cosave_image.h"
#include "save/crc32.h"
#include "tools/cosave/cosave_report.h"

namespace {

using namespace korvel;

// 100,000 strings of 100 bytes and 1,000 arrays of 10,000 items: about
// 10 MB of texts and 90 MB of items.
const std::string& CoSavePath() {
  static const std::string path = [] {
    CoSaveImage image;
    image.mods = {{0, 0, "Veldmark.esm"}, {1, 1, "Alpha.esp"}, {2, 2, "Beta.esp"}};
    for (int32_t id = 0; id < 100000; ++id)
      image.strings.push_back({id, 1 + id % 2, 0, std::string(100, static_cast<char>('a' + id % 26))});
    for (int32_t id = 0; id < 1000; ++id) {
      CoSaveArray array{id, 1 + id % 2, 0, 10000, {}};
      for (int32_t i = 0; i < 10000; ++i) array.items.push_back({i, 0, static_cast<uint32_t>(i * 7)});
      image.arrays.push_back(std::move(array));
    }
    std::string bytes = EncodeCoSaveImage(image);
    std::string file = (std::filesystem::temp_directory_path() / "korvel-bench-100mb.korvel").string();
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
  }();
  return path;
}

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_ReadAndCrc(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes = ReadWhole(CoSavePath());
    benchmark::DoNotOptimize(Crc32(bytes.data(), bytes.size()));
  }
}
BENCHMARK(BM_ReadAndCrc)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_Verify(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes = ReadWhole(CoSavePath());
    CoSaveImage image;
    if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image) != CoSaveReadStatus::kOk) state.SkipWithError("unsound");
  }
}
BENCHMARK(BM_Verify)->Unit(benchmark::kMillisecond)->Repetitions(5);

void BM_Stats(benchmark::State& state) {
  for (auto _ : state) {
    std::string bytes = ReadWhole(CoSavePath());
    CoSaveImage image;
    DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image);
    benchmark::DoNotOptimize(cosave_tool::UsageReport(cosave_tool::MeasureUsage(image), bytes.size()));
  }
}
BENCHMARK(BM_Stats)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv) {
  int status = korvel::bench::RunWithRatios(argc, argv, {{"BM_Verify", "BM_ReadAndCrc"}, {"BM_Stats", "BM_ReadAndCrc"}});
  std::remove(CoSavePath().c_str());
  return status;
}
