#include "objects/record_pool.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

#include "objects/string_store.h"

namespace korvel {
namespace {

using Pool = RecordPool<32, 4>;

TEST(RecordPool, BlocksAreDistinctAndReusedAfterRelease) {
  Pool pool;
  std::vector<void*> blocks;
  std::set<void*> seen;
  for (int i = 0; i < 10; ++i) {
    blocks.push_back(pool.Allocate());
    std::memset(blocks.back(), i, 32);  // a whole block is the caller's
    EXPECT_TRUE(seen.insert(blocks.back()).second) << i;
  }
  EXPECT_EQ(pool.live(), 10u);
  EXPECT_EQ(pool.chunks(), 3u);
  // A released block is the next one handed out; no new chunk is made.
  pool.Release(blocks[4]);
  EXPECT_EQ(pool.Allocate(), blocks[4]);
  EXPECT_EQ(pool.chunks(), 3u);
  for (void* b : blocks) pool.Release(b);
  EXPECT_EQ(pool.live(), 0u);
}

// Once every block is back, the pool keeps one chunk and carves it from its
// start again, in address order, whatever order the blocks came back in.
TEST(RecordPool, StartsOverInOrderWhenEmpty) {
  Pool pool;
  std::vector<void*> first;
  for (int i = 0; i < 9; ++i) first.push_back(pool.Allocate());
  for (size_t i = 0; i < first.size(); i += 2) pool.Release(first[i]);
  for (size_t i = 1; i < first.size(); i += 2) pool.Release(first[i]);
  EXPECT_EQ(pool.chunks(), 1u);
  char* a = static_cast<char*>(pool.Allocate());
  char* b = static_cast<char*>(pool.Allocate());
  EXPECT_EQ(static_cast<void*>(a), first[0]);
  EXPECT_EQ(b, a + 32);
  pool.Release(a);
  pool.Release(b);
}

// The string records come from their pool and go back to it whole, through
// clears, reloads and destroys.
TEST(RecordPool, StringRecordsSurviveCreateAndDestroyCycles) {
  for (int round = 0; round < 3; ++round) {
    std::vector<std::unique_ptr<StringR>> records;
    for (int i = 0; i < 3000; ++i) {
      records.push_back(std::make_unique<StringR>());
      records.back()->Text = std::string(static_cast<size_t>(i % 40), static_cast<char>('a' + round));
      records.back()->EspID = static_cast<uint8_t>(i);
    }
    for (int i = 0; i < 3000; i += 3) records[static_cast<size_t>(i)].reset();
    for (int i = 0; i < 3000; ++i) {
      if (!records[static_cast<size_t>(i)]) continue;
      EXPECT_EQ(records[static_cast<size_t>(i)]->EspID, static_cast<uint8_t>(i));
      EXPECT_EQ(records[static_cast<size_t>(i)]->Text.size(), static_cast<size_t>(i % 40));
    }
  }
}

}  // namespace
}  // namespace korvel
