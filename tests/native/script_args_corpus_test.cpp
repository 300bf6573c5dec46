// Replays the script-arguments fuzz corpus through the fuzz target's own
// checks: every seed runs at least one command, and none writes beside its
// result, changes another mod's protected object or breaks a registry. A
// seed that runs no command is a broken seed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "fuzz/script_args_target.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;
using namespace korvel::fuzzing;

TEST(ScriptArgsCorpus, EverySeedRunsAndKeepsTheRules) {
  const fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "corpus" / "script";
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  size_t files = 0, calls = 0;
  std::set<uint16_t> commands;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SCOPED_TRACE(entry.path().filename().string());
    ASSERT_LE(bytes.size(), kMaxScriptInput) << "a seed the target cannot run";
    size_t ran = 0;
    EXPECT_EQ(CheckScriptArgs(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &ran), "");
    EXPECT_GT(ran, 0u) << "a seed that runs no command";
    calls += ran;
    if (bytes.size() >= 2) commands.insert(static_cast<uint16_t>((uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8) % kCommandCount));
  }
  EXPECT_GT(files, 0u);
  // The seeds start every command but Halt at least once.
  EXPECT_GE(commands.size(), kCommandCount - 1);
  std::printf("script corpus: %zu seeds, %zu calls\n", files, calls);
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
