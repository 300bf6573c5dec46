// Replays the script-arguments fuzz corpus through the fuzz target's own
// checks: every seed runs at least one command, and none writes beside its
// result, changes another mod's protected object or breaks a registry. A
// seed that runs no command is a broken seed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fuzz/script_args_target.h"
#include "fuzz_corpus.h"

namespace korvel {
namespace {

using namespace korvel::fuzzing;

TEST(ScriptArgsCorpus, EverySeedRunsAndKeepsTheRules) {
  const std::vector<CorpusSeed> seeds = ReadCorpus("script");
  size_t calls = 0;
  std::set<uint16_t> commands;
  for (const CorpusSeed& seed : seeds) {
    const std::string& bytes = seed.bytes;
    SCOPED_TRACE(seed.name);
    ASSERT_LE(bytes.size(), kMaxScriptInput) << "a seed the target cannot run";
    size_t ran = 0;
    EXPECT_EQ(CheckScriptArgs(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &ran), "");
    EXPECT_GT(ran, 0u) << "a seed that runs no command";
    calls += ran;
    if (bytes.size() >= 2) commands.insert(static_cast<uint16_t>((uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8) % kCommandCount));
  }
  EXPECT_FALSE(seeds.empty());
  // The seeds start every command but Halt at least once.
  EXPECT_GE(commands.size(), kCommandCount - 1);
  std::printf("script corpus: %zu seeds, %zu calls\n", seeds.size(), calls);
}

// The target's checks must be able to fail, or a quiet run proves nothing:
// all four of another mod's protected objects are guarded against a
// script of the own mod, none against their owner's, and a change made
// behind the commands' back is seen.
TEST(ScriptArgsCorpus, TheChecksSeeAChangedForeignObject) {
  ScriptArgsWorld& world = GetScriptArgsWorld();
  ASSERT_TRUE(world.Build());
  bool guarded[ScriptArgsWorld::kKinds];
  const std::string by_owner = ScriptArgsWorld::Guarded(ScriptArgsWorld::kTheirs, guarded);
  EXPECT_EQ(by_owner, "-|-|-|-|");
  const std::string before = ScriptArgsWorld::Guarded(ScriptArgsWorld::kMine, guarded);
  for (bool g : guarded) EXPECT_TRUE(g);
  GetStrings().Get(kForeignId)->Text = "changed";
  EXPECT_NE(ScriptArgsWorld::Recheck(guarded), before);
  ASSERT_TRUE(world.Build());
  EXPECT_EQ(ScriptArgsWorld::Recheck(guarded), before);
  EXPECT_EQ(CheckRegistries(), "");
}

}  // namespace
}  // namespace korvel
