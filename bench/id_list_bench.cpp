// Creating an object right after a low id was freed, with 10 and with
// 1,000,000 live objects: the free-slot index must keep both the same.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/ratio_reporter.h"
#include "fake_engine.h"
#include "objects/id_list.h"

namespace {

struct Thing {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
};

void RecreateLowId(benchmark::State& state) {
  korvel::FakeEngine engine;
  engine.SetMods({"Veldmark.esm"});
  korvel::IdList<Thing> list;
  for (int64_t i = 0; i < state.range(0); ++i) list.Create(0, std::make_unique<Thing>(), false, false);
  for (auto _ : state) {
    list.Destroy(5);
    benchmark::DoNotOptimize(list.Create(0, std::make_unique<Thing>(), false, false));
  }
}
BENCHMARK(RecreateLowId)->Arg(10)->Arg(1000000);

}  // namespace

int main(int argc, char** argv) {
  return korvel::bench::RunWithRatios(argc, argv,
                                      {{"RecreateLowId/1000000", "RecreateLowId/10"}});
}
