// Replays the co-save reader's fuzz corpus: every file is read without
// harm, through small windows as well as whole, and every file that reads
// is written back to the same image.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "save/cosave_image.h"
#include "tools/cosave_samples.h"
#include "bytes_file.h"
#include "fuzz_corpus.h"

namespace korvel {
namespace {

TEST(CoSaveCorpus, EveryFileReplays) {
  const std::vector<CorpusSeed> seeds = ReadCorpus("cosave");
  std::set<int32_t> versions_read;
  for (const CorpusSeed& seed : seeds) {
    SCOPED_TRACE(seed.name);
    const std::string& bytes = seed.bytes;
    CoSaveImage image;
    // Every seed is a readable co-save: one that is not is a broken seed,
    // never something to pass over.
    if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image) != CoSaveReadStatus::kOk) {
      ADD_FAILURE() << "a seed that does not read";
      continue;
    }
    versions_read.insert(image.version);
    // Read a piece at a time, as a load reads, it gives the same.
    for (size_t window : {size_t{16}, size_t{29}, size_t{4096}})
      EXPECT_TRUE(WindowReadMatches(bytes, kUnknownSaveMatch, window)) << window;
    // The current layout of what was read reads back to the same image,
    // and writes to the same bytes again.
    std::string rewritten = EncodeCoSaveImage(image);
    CoSaveImage again;
    ASSERT_EQ(DecodeCoSaveImage(rewritten, kUnknownSaveMatch, &again), CoSaveReadStatus::kOk);
    EXPECT_EQ(EncodeCoSaveImage(again), rewritten);
  }
  EXPECT_FALSE(seeds.empty());
  // The seeds hold a readable file of every version the reader accepts.
  for (int32_t version : samples::CoSaveVersions())
    EXPECT_EQ(versions_read.count(version), 1u) << std::hex << version;
}

}  // namespace
}  // namespace korvel
