// Replays the calculator's fuzz corpus: every file gives the reference's
// value, with and without rounding.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "calc/calculate.h"
#include "calc_reference.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

TEST(CalcCorpus, EveryFileMatchesTheReference) {
  const fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "corpus" / "calc";
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  const CalcVariables v = {0, 1, -1, 3, -7, 10, 2147483647, -2147483647 - 1, 65536, 2};
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (int32_t rounded : {0, 1})
      EXPECT_TRUE(reference::SameResult(Calculate(text, v, rounded), reference::Calculate(text, v, rounded)))
          << entry.path().filename() << " rounded " << rounded;
  }
  EXPECT_GT(files, 0u);
}

}  // namespace
}  // namespace korvel
