#include <gtest/gtest.h>

#include <cstring>

#include "command_harness.h"
#include "fake_engine.h"
#include "objects/array_store.h"

namespace korvel {
namespace {

std::string Show(const TypeArray& a) {
  std::string out;
  for (int32_t i = 0; i < a.Size(); ++i)
    out += a.Has(i) ? std::to_string(a.Value(i)) : std::string("_");
  return out;
}

TEST(TypeArray, GrowsByBlocksUpToTheLimit) {
  TypeArray a;
  a.SetItem(0, kItemInteger, 0, 1);
  EXPECT_EQ(a.Size(), 0);
  a.SetItem(0, kItemInteger, 1, 1);
  EXPECT_EQ(a.Size(), 1);
  EXPECT_EQ(a.Count(), 1);
  TypeArray b;
  b.SetItem(25, kItemInteger, 10, 7);
  EXPECT_EQ(b.Size(), 30);
  EXPECT_EQ(b.Count(), 1);
  TypeArray c;
  c.SetItem(kMaxArraySize - 1, kItemInteger, 1000, 7);
  EXPECT_EQ(c.Size(), kMaxArraySize);
  c.SetItem(kMaxArraySize, kItemInteger, 1000, 7);
  EXPECT_EQ(c.Size(), kMaxArraySize);
  EXPECT_EQ(c.Count(), 1);
  EXPECT_FALSE(c.InsertGap(0));
  c.SetSize(kMaxArraySize + 1);
  c.SetSize(-1);
  EXPECT_EQ(c.Size(), kMaxArraySize);
  c.SetSize(0);
  EXPECT_EQ(c.Count(), 0);
}

TEST(TypeArray, GapsAndPacking) {
  TypeArray a;
  for (int i = 0; i < 3; ++i) a.SetItem(i, kItemInteger, 1, static_cast<uint32_t>(i + 1));
  ASSERT_TRUE(a.InsertGap(2));
  EXPECT_EQ(Show(a), "12_3");
  a.SetItem(2, kItemInteger, 0, 9);
  EXPECT_EQ(Show(a), "1293");
  a.RemoveItem(1);
  EXPECT_EQ(a.Count(), 3);
  a.RemoveItem(1);  // already empty
  EXPECT_EQ(a.Count(), 3);
  a.RemoveGap(1);
  EXPECT_EQ(Show(a), "193");
  EXPECT_TRUE(a.InsertGap(7));  // beyond the end: one more empty slot
  EXPECT_EQ(Show(a), "193_");
  a.RemoveGap(0);  // the slot with an item goes too, and Count follows
  EXPECT_EQ(Show(a), "93_");
  EXPECT_EQ(a.Count(), 2);
  TypeArray p;
  p.SetItem(1, kItemInteger, 4, 5);
  p.SetItem(3, kItemInteger, 0, 6);
  p.Pack();
  EXPECT_EQ(Show(p), "56");
  EXPECT_EQ(p.Count(), 2);
}

TEST(TypeArray, FindAndFirstBounds) {
  TypeArray a;
  a.SetSize(5);
  a.SetItem(3, kItemInteger, 0, 5);
  a.SetItem(1, kItemFloat, 0, 0x40A00000);  // 5.0f
  EXPECT_EQ(a.Find(kItemInteger, 5, 0, 100), 3);
  EXPECT_EQ(a.Find(kItemFloat, 0x40A00000, 0, 4), 1);
  EXPECT_EQ(a.Find(kItemInteger, 5, 4, 3), -1);
  EXPECT_EQ(a.Find(kItemInteger, 5, 5, 9), -1);
  EXPECT_EQ(a.Find(kItemInteger, 5, -1, 9), -1);
  EXPECT_EQ(a.Find(kItemFloat, 0x80000000, 0, 4), -1);  // -0.0 is not 0.0
  EXPECT_EQ(a.First(true, 0, 9), 1);
  EXPECT_EQ(a.First(false, 1, 9), 2);
  EXPECT_EQ(a.First(true, 4, 4), -1);
}

class ArrayCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    ClearAllArrays();
  }
  void TearDown() override { ClearAllArrays(); }
  FakeEngine engine;
  const uint32_t a = ScriptOf(1), b = ScriptOf(2);
};

TEST_F(ArrayCommands, CopySizesAndCompare) {
  int32_t src = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(5)}));
  for (int i = 0; i < 5; ++i) Call("SetInArray", a, {I(src), I(i), I(i * 10)});
  int32_t two = static_cast<int32_t>(Call("CopyArray", b, {I(src), I(2)}));
  EXPECT_EQ(Call("ArraySize", b, {I(two)}), 2);
  EXPECT_EQ(Call("ArrayCount", b, {I(two)}), 2);
  EXPECT_EQ(GetArrays().Get(two)->EspID, 2);  // the copy belongs to the caller
  int32_t ten = static_cast<int32_t>(Call("CopyArray", b, {I(src), I(10)}));
  EXPECT_EQ(Call("ArraySize", b, {I(ten)}), 10);
  EXPECT_EQ(Call("GetTypeInArray", b, {I(ten), I(7)}), -1);
  EXPECT_EQ(Call("CopyArray", 0, {I(src)}), -1);
  int32_t same = static_cast<int32_t>(Call("CopyArray", a, {I(src)}));
  EXPECT_EQ(Call("ArrayCmp", a, {I(src), I(same)}), 1);
  EXPECT_EQ(Call("ArrayCmp", a, {I(src), I(ten)}), 0);
  Call("SetFloatInArray", a, {I(same), I(0), F(0.0f)});
  Call("SetInArray", a, {I(src), I(0), I(0)});
  EXPECT_EQ(Call("ArrayCmp", a, {I(src), I(same)}), 0);  // int 0 against float 0.0
  EXPECT_EQ(Call("ArrayCmp", a, {I(99), I(src), I(1)}), -1);
  EXPECT_EQ(Call("ArrayCmp", a, {I(src), I(99), I(1)}), -2);
  EXPECT_EQ(Call("ArrayCmp", a, {I(98), I(99), I(1)}), -3);
  EXPECT_EQ(Call("ArrayCmp", a, {I(98), I(99)}), 0);
}

TEST_F(ArrayCommands, ProtectionAndTheDestroyResult) {
  int32_t mine = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(1), I(1)}));
  int32_t open = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(1)}));
  Call("SetInArray", b, {I(mine), I(0), I(5), I(0), I(1)});
  EXPECT_EQ(Call("GetInArray", b, {I(mine), I(0)}), 0);
  Call("SetInArray", b, {I(open), I(0), I(5), I(0), I(1)});
  EXPECT_EQ(Call("GetInArray", b, {I(open), I(0)}), 5);
  EXPECT_EQ(Call("DestroyArray", b, {I(mine), I(1)}), mine);
  EXPECT_EQ(Call("DestroyArray", a, {I(mine)}), -1);
  EXPECT_EQ(Call("DestroyArray", a, {I(mine)}), -1);
  // A caller without form id may change any array.
  Call("SetInArray", 0, {I(open), I(0), I(6)});
  EXPECT_EQ(Call("GetInArray", 0, {I(open), I(0)}), 6);
  EXPECT_EQ(Call("ArrayProtect", b, {I(open), I(1)}), 0);
  EXPECT_EQ(Call("ArrayProtect", a, {I(open), I(1)}), 1);
}

TEST_F(ArrayCommands, ValuesKeepTheirBits) {
  FakeForm* sword = engine.AddForm(0x01000ABC);
  int32_t id = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(0)}));
  Call("SetFloatInArray", a, {I(id), I(0), F(0.1f), I(4)});
  Call("SetRefInArray", a, {I(id), I(1), Ref(sword)});
  Call("SetInArray", a, {I(id), I(2), I(-3)});
  EXPECT_EQ(Call("GetInArray", a, {I(id), I(0)}), static_cast<double>(0.1f));
  EXPECT_EQ(Call("FindFloatInArray", a, {I(id), F(0.1f)}), 0);
  EXPECT_EQ(CallRef("GetInArray", a, {I(id), I(1)}), 0x01000ABCu);
  double slot = Call("GetInArray", a, {I(id), I(1)});
  uint32_t high;
  std::memcpy(&high, reinterpret_cast<char*>(&slot) + 4, 4);
  EXPECT_EQ(high, 0u);
  EXPECT_EQ(Call("FindRefInArray", a, {I(id), Ref(sword)}), 1);
  EXPECT_EQ(Call("GetInArray", a, {I(id), I(2)}), -3);
  EXPECT_EQ(Call("GetTypeInArray", a, {I(id), I(0)}), 2);
  EXPECT_EQ(Call("GetTypeInArray", a, {I(id), I(1)}), 1);
  EXPECT_EQ(Call("FirstInArray", a, {I(id)}), 3);
  EXPECT_EQ(Call("FirstInArray", a, {I(id), I(1), I(1)}), 1);
  // Insert shifts the rest up.
  Call("SetInArray", a, {I(id), I(0), I(42), I(0), I(0), I(1)});
  EXPECT_EQ(Call("GetInArray", a, {I(id), I(0)}), 42);
  EXPECT_EQ(Call("ArraySize", a, {I(id)}), 5);
  Call("RemInArray", a, {I(id), I(0), I(0), I(1)});
  EXPECT_EQ(Call("ArraySize", a, {I(id)}), 4);
  EXPECT_EQ(Call("GetTypeInArray", a, {I(id), I(0)}), 2);
}

TEST_F(ArrayCommands, DestroyAll) {
  int32_t locked = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(0), I(1)}));
  int32_t open = static_cast<int32_t>(Call("CreateArray", a, {}));
  Call("DestroyAllArrays", b, {I(1)});
  EXPECT_TRUE(GetArrays().IsInvalid(open));
  EXPECT_FALSE(GetArrays().IsInvalid(locked));
  Call("DestroyAllArrays", a, {});
  EXPECT_TRUE(GetArrays().IsInvalid(locked));
}

}  // namespace
}  // namespace korvel
