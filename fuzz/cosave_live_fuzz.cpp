// The reader that fills the game's registries against arbitrary bytes: the
// input as it is and re-signed (length and checksum made right, so
// mutations reach the sections), read into the live mod, string, array and
// name registries the way a load does. Ids up to the limit and large sizes
// come from the input; the registries must keep their invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fake_engine.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_registries.h"
#include "save/crc32.h"

namespace {

using namespace korvel;

template <class List>
void CheckWhole(List& list) {
  if (list.empty()) {
    if (list.min_used() != -1 || list.max_used() != -2) std::abort();
    return;
  }
  if (!list.Get(list.min_used()) || !list.Get(list.max_used())) std::abort();
  if (list.next_free() >= 0 && !list.IsInvalid(list.next_free())) std::abort();
}

void Load(std::string_view bytes) {
  ClearAllObjects();
  (void)RestoreRegistries(bytes, kUnknownSaveMatch);
  CheckWhole(GetStrings());
  CheckWhole(GetArrays());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static FakeEngine* engine = [] {
    auto* e = new FakeEngine;
    e->SetMods({"Veldmark.esm", "A.esp", "B.esp"});
    e->AddForm(0x01000ABC, "Sword");
    GetMods().Build();
    return e;
  }();
  (void)engine;
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Load(bytes);
  if (size >= 14 + 8) {
    std::string sealed(bytes);
    auto put = [&](size_t at, uint32_t v) {
      for (int i = 0; i < 4; ++i) sealed[at + i] = static_cast<char>(v >> (8 * i));
    };
    put(size - 8, static_cast<uint32_t>(size - 8));
    put(size - 4, Crc32(sealed.data(), size - 4));
    Load(sealed);
  }
  return 0;
}
