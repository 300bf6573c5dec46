// Replays the calculator's fuzz corpus: every file gives the reference's
// value, with and without rounding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/calculate.h"
#include "calc_reference.h"
#include "fuzz_corpus.h"

namespace korvel {
namespace {

TEST(CalcCorpus, EveryFileMatchesTheReference) {
  const CalcVariables v = {0, 1, -1, 3, -7, 10, 2147483647, -2147483647 - 1, 65536, 2};
  const std::vector<CorpusSeed> seeds = ReadCorpus("calc");
  EXPECT_FALSE(seeds.empty());
  for (const CorpusSeed& seed : seeds) {
    const std::string& text = seed.bytes;
    for (int32_t rounded : {0, 1})
      EXPECT_TRUE(reference::SameResult(Calculate(text, v, rounded), reference::Calculate(text, v, rounded)))
          << seed.name << " rounded " << rounded;
  }
}

}  // namespace
}  // namespace korvel
