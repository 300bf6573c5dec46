// Replays the co-save reader's fuzz corpus: every file is read without
// harm, and every file that reads is written back to the same image.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "save/cosave_image.h"
#include "tools/cosave_samples.h"

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CoSaveCorpus, EveryFileReplays) {
  const fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "corpus" / "cosave";
  ASSERT_TRUE(fs::is_directory(folder)) << folder;
  std::set<int32_t> versions_read;
  size_t files = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    ++files;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = Slurp(entry.path());
    CoSaveImage image;
    // Every seed is a readable co-save: one that is not is a broken seed,
    // never something to pass over.
    if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image) != CoSaveReadStatus::kOk) {
      ADD_FAILURE() << "a seed that does not read";
      continue;
    }
    versions_read.insert(image.version);
    // The current layout of what was read reads back to the same image,
    // and writes to the same bytes again.
    std::string rewritten = EncodeCoSaveImage(image);
    CoSaveImage again;
    ASSERT_EQ(DecodeCoSaveImage(rewritten, kUnknownSaveMatch, &again), CoSaveReadStatus::kOk);
    EXPECT_EQ(EncodeCoSaveImage(again), rewritten);
  }
  EXPECT_GT(files, 0u);
  // The seeds hold a readable file of every version the reader accepts.
  for (int32_t version : samples::CoSaveVersions())
    EXPECT_EQ(versions_read.count(version), 1u) << std::hex << version;
}

}  // namespace
}  // namespace korvel
