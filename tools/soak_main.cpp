// The soak: a large state (100,000 strings, 1,000 arrays of 1,000 items,
// name overrides) saved and loaded over and over through the game's path
// (registries -> co-save file -> registries). Every co-save must equal the
// first, and the memory the process holds must stay flat: both measured
// after every round trip, the curve printed at a few points.
//   korvel_soak [CYCLES]      (1,000 by default); exit status 1 on a fault
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "command_harness.h"
#include "fake_engine.h"
#include "base/flags.h"
#include "core/global.h"
#include "mods/esp_registry.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_hook.h"
#include "temp_env.h"

namespace korvel {
namespace {

struct Memory {
  size_t heap;      // bytes the allocator has handed out and not taken back
  size_t resident;  // the process's resident bytes
};

Memory Measure() {
  struct mallinfo2 info = mallinfo2();
  size_t pages = 0, resident = 0;
  std::ifstream statm("/proc/self/statm");
  statm >> pages >> resident;
  return {info.uordblks + info.hblkhd, resident * static_cast<size_t>(sysconf(_SC_PAGESIZE))};
}

void Fill(FakeEngine& engine) {
  const uint32_t script = ScriptOf(1);
  for (int i = 0; i < 100000; ++i)
    Call("CreateString", script, {I(-1), T("soak string " + std::to_string(i) + " with some text")});
  std::vector<FakeForm*> forms;
  for (uint32_t f = 0; f < 200; ++f) {
    forms.push_back(engine.AddForm(0x01000000 | (0x100 + f), "Form"));
    Call("FixName", script, {Ref(forms.back()), I(static_cast<int32_t>(f))});
  }
  // Integers, floats and references to forms the game has (a reference to
  // a form that is gone reads back as 0).
  for (int a = 0; a < 1000; ++a) {
    auto id = static_cast<int32_t>(Call("CreateArray", script, {I(-1), I(1000)}));
    TypeArray& body = GetArrays().Get(id)->Body;
    for (int i = 0; i < 1000; ++i) {
      auto type = static_cast<uint8_t>(i % 3);
      uint32_t value = type == kItemReference ? forms[static_cast<size_t>(i) % forms.size()]->form_id
                                              : static_cast<uint32_t>(a * 1000 + i);
      body.SetItem(i, type, 0, value);
    }
  }
}

int Soak(int cycles, const char* keep) {
  TempEnv env;
  FakeEngine engine;
  engine.SetMods({"Base.esm", "A.esp"});
  GetFolders().log_file = "C:\\soak.log";
  const std::string save = "C:\\Soak.ess", cosave = "C:\\Soak.korvel";
  env.WriteFile(save, std::string(300, 's'));
  GetMods().Build();  // as the host's event callback does before any save
  Fill(engine);
  std::string first, now;
  Memory start{};
  int faults = 0;
  for (int cycle = 1; cycle <= cycles; ++cycle) {
    WriteCoSaveFile(save);
    env.ReadFile(cosave, &now);
    if (cycle == 1) first = now;
    if (now != first) {
      size_t at = 0;
      while (at < now.size() && at < first.size() && now[at] == first[at]) ++at;
      std::printf("cycle %d: the co-save differs from the first at byte %zu (%zu and %zu bytes)\n",
                  cycle, at, first.size(), now.size());
      ++faults;
      break;
    }
    std::string().swap(now);
    OnSaveLoaded(save);
    if (GetFlags().data_reset || !engine.message_boxes.empty()) {
      std::printf("cycle %d: the load failed\n", cycle);
      ++faults;
    }
    Memory m = Measure();
    if (cycle == 1) {
      start = m;
      std::printf("co-save %zu bytes\n", first.size());
    }
    if (cycle == 1 || cycle == 10 || cycle == 100 || cycle % 250 == 0 || cycle == cycles)
      std::printf("cycle %5d: heap %8.2f MiB  resident %8.2f MiB\n", cycle, m.heap / 1048576.0,
                  m.resident / 1048576.0);
    if (m.heap > start.heap + (1u << 20)) {
      std::printf("cycle %d: the heap grew by %zu bytes\n", cycle, m.heap - start.heap);
      ++faults;
      break;
    }
  }
  if (keep) std::ofstream(keep, std::ios::binary).write(first.data(), static_cast<std::streamsize>(first.size()));
  std::printf("%s\n", faults == 0 ? "soak: flat and identical" : "soak: FAILED");
  return faults == 0 ? 0 : 1;
}

}  // namespace
}  // namespace korvel

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);  // the curve shows as it goes
  int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  // A second argument keeps the co-save of the first cycle in that file.
  return korvel::Soak(cycles > 0 ? cycles : 1000, argc > 2 ? argv[2] : nullptr);
}
