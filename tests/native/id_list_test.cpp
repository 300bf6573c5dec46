#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "fake_engine.h"
#include "objects/id_list.h"

namespace korvel {
namespace {

struct Thing {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
  int payload = 0;
};

std::unique_ptr<Thing> NewThing(int payload = 0) {
  auto t = std::make_unique<Thing>();
  t->payload = payload;
  return t;
}

class IdListTest : public ::testing::Test {
 protected:
  void SetUp() override { engine.SetMods({"Base.esm", "A.esp", "B.esp"}); }
  FakeEngine engine;
  IdList<Thing> list;
};

TEST_F(IdListTest, HandsOutTheLowestFreeId) {
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 0);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 1);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 2);
  list.Destroy(1);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 1);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 3);
  EXPECT_EQ(list.Create(7, NewThing(), false, false), -1);  // unregistered owner
  EXPECT_EQ(list.Create(-1, NewThing(), false, false), -1);
}

TEST_F(IdListTest, RefuseZeroSkipsIdZeroOnce) {
  EXPECT_EQ(list.Create(1, NewThing(), false, true), 1);
  EXPECT_TRUE(list.IsInvalid(0));
  EXPECT_EQ(list.next_free(), 0);
  EXPECT_EQ(list.Create(1, NewThing(), false, false), 0);
  EXPECT_EQ(list.Create(1, NewThing(), false, true), 2);
}

TEST_F(IdListTest, MinAndMaxFollowDestroysAcrossHoles) {
  for (int i = 0; i < 6; ++i) list.Create(0, NewThing(), false, false);
  list.Destroy(1);
  list.Destroy(0);
  EXPECT_EQ(list.min_used(), 2);
  list.Destroy(4);
  list.Destroy(5);
  EXPECT_EQ(list.max_used(), 3);
  list.Destroy(2);
  list.Destroy(3);
  EXPECT_EQ(list.min_used(), -1);
  EXPECT_EQ(list.max_used(), -2);
  EXPECT_EQ(list.next_free(), 0);
  EXPECT_TRUE(list.empty());
}

TEST_F(IdListTest, CreateAtGrowsAndRefusesTakenSlots) {
  EXPECT_EQ(list.CreateAt(0, 10, NewThing(), true), 10);
  EXPECT_EQ(list.high(), 10);
  EXPECT_EQ(list.CreateAt(0, 10, NewThing(), false), -1);
  EXPECT_EQ(list.CreateAt(0, -1, NewThing(), false), -1);
  EXPECT_EQ(list.CreateAt(9, 3, NewThing(), false), -1);
  EXPECT_EQ(list.CreateAt(0, kMaxObjectId + 1, NewThing(), false), -1);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 0);
  EXPECT_EQ(list.CreateAt(0, 1, NewThing(), false), 1);
  EXPECT_EQ(list.next_free(), 2);
  EXPECT_EQ(list.min_used(), 0);
  EXPECT_EQ(list.max_used(), 10);
}

TEST_F(IdListTest, AccessRules) {
  int32_t id = list.Create(1, NewThing(), false, false);
  int32_t prot = list.Create(1, NewThing(), true, false);
  uint32_t script_a = 0x01000D01, script_b = 0x02000D01;
  EXPECT_TRUE(list.MayAccess(script_a, prot, 0));
  EXPECT_FALSE(list.MayAccess(script_b, id, 0));
  EXPECT_TRUE(list.MayAccess(script_b, id, 1));
  EXPECT_FALSE(list.MayAccess(script_b, prot, 1));
  EXPECT_FALSE(list.MayAccess(0, id, 0));  // strings: mod index 255, no mod
  EXPECT_TRUE(list.MayAccess(0, id, 1));
  IdList<Thing> arrays(NoFormIdCaller::kAllowed);
  int32_t a = arrays.Create(1, NewThing(), true, false);
  EXPECT_TRUE(arrays.MayAccess(0, a, 0));
  EXPECT_EQ(list.SetOwner(id, 2), 2);
  EXPECT_EQ(list.SetOwner(id, 9), 2);
  EXPECT_EQ(list.SetProtected(id, 5), 1);
  EXPECT_EQ(list.SetProtected(id, -1), 1);
  EXPECT_EQ(list.SetProtected(id, 0), 0);
}

TEST_F(IdListTest, DestroyAllOfOwner) {
  int32_t a1 = list.Create(1, NewThing(), false, false);
  int32_t a2 = list.Create(1, NewThing(), true, false);
  int32_t b1 = list.Create(2, NewThing(), false, false);
  list.DestroyAllOfOwner(1, false);
  EXPECT_TRUE(list.IsInvalid(a1));
  EXPECT_FALSE(list.IsInvalid(a2));
  list.DestroyAllOfOwner(1, true);
  EXPECT_TRUE(list.IsInvalid(a2));
  EXPECT_FALSE(list.IsInvalid(b1));
}

// The list against the plain algorithm: the upward scan from the taken id.
TEST_F(IdListTest, SameIdsAsThePlainScan) {
  struct Plain {
    std::vector<bool> used{false};
    int next = 0;
    int Create() {
      int id = next;
      used[id] = true;
      int i = id;
      while (i < static_cast<int>(used.size()) && used[i]) ++i;
      if (i == static_cast<int>(used.size())) used.push_back(false);
      next = i;
      return id;
    }
    void Destroy(int id) {
      used[id] = false;
      next = std::min(next, id);
    }
  } plain;
  std::mt19937 rng(7);
  std::vector<int> live;
  for (int step = 0; step < 15000; ++step) {
    if (live.empty() || rng() % 3 != 0) {
      int expected = plain.Create();
      ASSERT_EQ(list.Create(0, NewThing(), false, false), expected) << step;
      live.push_back(expected);
    } else {
      size_t k = rng() % live.size();
      plain.Destroy(live[k]);
      list.Destroy(live[k]);
      live[k] = live.back();
      live.pop_back();
    }
    ASSERT_EQ(list.next_free(), plain.next);
  }
}

TEST_F(IdListTest, FullListAtTheLimit) {
  // Fill the list to 0x7FFFFF by creating the top object directly.
  ASSERT_EQ(list.CreateAt(0, kMaxObjectId, NewThing(), false), kMaxObjectId);
  for (int32_t i = 0; i < kMaxObjectId; ++i) list.CreateAt(0, i, NewThing(), false);
  EXPECT_EQ(list.next_free(), -1);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), -1);
  list.Destroy(4242);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), 4242);
  EXPECT_EQ(list.Create(0, NewThing(), false, false), -1);
}

TEST(FreeSlotIndex, FindsAcrossLevels) {
  FreeSlotIndex index;
  index.Resize(300000);
  for (uint32_t i = 0; i < 300000; ++i) index.SetUsed(i);
  EXPECT_EQ(index.FindFree(0), 300000u);
  index.SetFree(299999);
  EXPECT_EQ(index.FindFree(5), 299999u);
  index.SetFree(4096 * 64 + 3);
  EXPECT_EQ(index.FindFree(5), 4096u * 64 + 3);
  index.SetUsed(4096 * 64 + 3);
  index.SetUsed(299999);
  index.Resize(300001);
  EXPECT_EQ(index.FindFree(0), 300000u);
}

}  // namespace
}  // namespace korvel
