// Replays the path-rules fuzz corpus through the fuzz target's own check:
// no seed leads outside its base folder, changes anything through a refused
// path or does unbounded work. A seed too short or too long to run is a
// broken seed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fuzz/path_rules_target.h"
#include "fuzz_corpus.h"

namespace korvel {
namespace {

using namespace korvel::fuzzing;

TEST(PathRulesCorpus, EverySeedKeepsItsPathsInside) {
  const std::vector<CorpusSeed> seeds = ReadCorpus("path");
  EXPECT_FALSE(seeds.empty());
  for (const CorpusSeed& seed : seeds) {
    const std::string& bytes = seed.bytes;
    SCOPED_TRACE(seed.name);
    ASSERT_GE(bytes.size(), kMinPathInput) << "a seed the target cannot run";
    ASSERT_LE(bytes.size(), kMaxPathInput) << "a seed the target cannot run";
    EXPECT_EQ(CheckPathRules(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), "");
  }
}

// The target's own judge: it must catch what the rules must never let
// through, or a quiet fuzz run proves nothing.
TEST(PathRulesCorpus, TheJudgeCatchesEscapes) {
  const std::string root = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\";
  const struct {
    const char* path;
    bool inside;
  } cases[] = {
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt", true},
      {"c:/docs/my games/veldmark/korvel/user files/A\\b.txt", true},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a\\..\\b.txt", true},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\..\\secret.txt", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\...\\secret.txt", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\. .\\secret.txt", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files2\\a.txt", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\CON.txt", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\lpt1", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\COM\xB9.log", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt:stream", false},
      {"C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\D:\\x", false},
      {"\\\\server\\share\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt", false},
      {"\\\\?\\C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt", false},
      {"Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt", false},
      {"D:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.txt", false},
  };
  for (const auto& c : cases) EXPECT_EQ(InsideBase(c.path, root, false), c.inside) << c.path;
  EXPECT_TRUE(InsideBase(root, root, true));
}

// The stand-in for GetFullPathNameA resolves as Windows does, so what the
// rules conclude from it holds on the real system.
TEST(PathRulesCorpus, FullPathsResolveAsWindowsDoes) {
  const struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"C:\\a\\b\\..\\c.txt", "C:\\a\\c.txt"},
      {"C:\\a\\..\\..\\..\\c.txt", "C:\\c.txt"},
      {"C:\\a\\.\\b\\", "C:\\a\\b\\"},
      {"C:\\a\\b. ", "C:\\a\\b"},
      {"C:\\a.\\b", "C:\\a\\b"},
      {"C:\\...\\b", "C:\\...\\b"},
      {"C:/a//b", "C:\\a\\b"},
      {"C:rel", "C:\\Cwd\\rel"},
      {"\\top", "C:\\top"},
      {"rel\\x", "C:\\Cwd\\rel\\x"},
      {"\\\\server\\share\\..\\x", "\\\\server\\share\\x"},
      {"\\\\?\\C:\\a\\..\\b", "\\\\?\\C:\\a\\..\\b"},
  };
  for (const auto& c : cases) {
    std::string out;
    ASSERT_TRUE(PathRulesEnv::ResolveLikeWindows(c.in, &out)) << c.in;
    EXPECT_EQ(out, c.out) << c.in;
  }
}

}  // namespace
}  // namespace korvel
