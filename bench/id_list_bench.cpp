// Creating an object right after a low id was freed, with 10 and with
// 1,000,000 live objects: the free-slot index must keep both the same.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench/ratio_reporter.h"
#include "host/engine.h"
#include "mods/esp_registry.h"
#include "objects/id_list.h"

namespace {

struct Thing {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
};

// One mod, so that EspID 0 is registered.
class OneMod : public korvel::Engine {
 public:
  uint32_t FormId(const void*) override { return 0; }
  uint32_t FormFlags(const void*) override { return 0; }
  void* LookupForm(uint32_t) override { return nullptr; }
  void ShowMessage(const std::string&) override {}
  void ConsolePrint(const std::string&) override {}
  void MessageBoxWithButtons(const std::string&, uint32_t, const std::vector<std::string>&) override {}
  void NoticeBox(const std::string&, const std::string&) override {}
  uint32_t ScanCodeToChar(uint32_t, bool) override { return 0; }
  uint32_t CharToScanCode(uint8_t) override { return 0; }
  uint32_t ActiveModCount() override { return 1; }
  std::string ActiveModName(uint32_t) override { return "Veldmark.esm"; }
  std::string GetName(void*, void*) override { return {}; }
  void SetName(void*, void*, const std::string&) override {}
  void* GetBaseObject(void*) override { return nullptr; }
  bool CloseMenu(uint16_t) override { return false; }
  void RunScriptLine(const std::string&) override {}
};

void RecreateLowId(benchmark::State& state) {
  static OneMod engine;
  korvel::SetEngine(&engine);
  korvel::GetMods().Build();
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
