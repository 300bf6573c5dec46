// A short string command through the frame (preset, extraction into the
// text room, the caller's EspID, the handler) against its handler alone on
// the same arguments.
#include <benchmark/benchmark.h>

#include "bench/ratio_reporter.h"
#include "command_harness.h"
#include "fake_engine.h"
#include "core/catalogue.h"
#include "core/frame.h"
#include "objects/string_store.h"

namespace {

using namespace korvel;

const CommandEntry& SetString() {
  static const CommandEntry* entry = FindCommand("SetString");
  return *entry;
}

FakeEngine& Engine() {
  static FakeEngine engine;
  return engine;
}

// Writes "short text" into temporary string -2000.
void BM_SetStringThroughFrame(benchmark::State& state) {
  Engine();
  const std::vector<Arg> args = {I(-2000), T("short text")};
  ListExtractor extractor(args);
  double result = 0;
  for (auto _ : state) {
    RunCommand(SetString(), &result, ScriptOf(0), nullptr, &extractor);
    benchmark::DoNotOptimize(result);
  }
}

void BM_SetStringHandlerAlone(benchmark::State& state) {
  Engine();
  double result = 0;
  for (auto _ : state) {
    CommandCall call(SetString(), &result);
    call.SetCaller(ScriptOf(0), nullptr);
    call.slots()[0].i = -2000;
    call.slots()[2].i = 0;
    call.text() = "short text";
    SetString().handler(call);
    benchmark::DoNotOptimize(result);
  }
}

BENCHMARK(BM_SetStringHandlerAlone)->Repetitions(9);
BENCHMARK(BM_SetStringThroughFrame)->Repetitions(9);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunWithRatios(argc, argv,
                              {{"BM_SetStringThroughFrame", "BM_SetStringHandlerAlone"}});
}
