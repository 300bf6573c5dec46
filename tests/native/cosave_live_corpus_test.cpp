// Replays the co-save corpus through the reader that fills the game's
// registries, as the live fuzz target does: every seed, and damaged copies
// of it (cut short, one byte changed, then re-signed so the damage reaches
// the sections). The registries keep their invariants, and a seed as it is
// loads without a failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_engine.h"
#include "fuzz_corpus.h"
#include "registry_checks.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_registries.h"
#include "save/crc32.h"

namespace korvel {
namespace {

std::string Sealed(std::string bytes) {
  if (bytes.size() < 22) return bytes;
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (8 * i));
  };
  put(bytes.size() - 8, static_cast<uint32_t>(bytes.size() - 8));
  put(bytes.size() - 4, Crc32(bytes.data(), bytes.size() - 4));
  return bytes;
}

TEST(CoSaveLiveCorpus, DamagedSeedsLeaveTheRegistriesWhole) {
  FakeEngine engine;
  engine.SetMods({"Veldmark.esm", "A.esp", "B.esp"});
  engine.AddForm(0x01000ABC, "Sword");
  GetMods().Build();
  size_t loads = 0;
  for (const CorpusSeed& corpus_seed : ReadCorpus("cosave")) {
    const std::string& seed = corpus_seed.bytes;
    const std::string& name = corpus_seed.name;
    ClearAllObjects();
    EXPECT_EQ(RestoreRegistries(seed, kUnknownSaveMatch), CoSaveReadStatus::kOk) << name;
    std::vector<std::string> damaged;
    // A few places each: a damaged id or size may ask for the largest
    // registry there is, which takes a while under the sanitizers; the
    // fuzz target covers the rest.
    size_t step = seed.size() / 3 + 1;
    for (size_t at = 7; at < seed.size(); at += step) {
      damaged.push_back(Sealed(seed.substr(0, at)));
      std::string flipped = seed;
      flipped[at] = static_cast<char>(flipped[at] ^ 0x5A);
      damaged.push_back(Sealed(flipped));
    }
    for (size_t i = 0; i < damaged.size(); ++i) {
      ClearAllObjects();
      (void)RestoreRegistries(damaged[i], kUnknownSaveMatch);
      const std::string where = name + " copy " + std::to_string(i);
      ExpectWhole(GetStrings(), where);
      ExpectWhole(GetArrays(), where);
      ++loads;
    }
  }
  ClearAllObjects();
  EXPECT_GT(loads, 40u);
}

}  // namespace
}  // namespace korvel
