#include <gtest/gtest.h>

#include "command_harness.h"
#include "fake_engine.h"
#include "objects/string_store.h"
#include "names/names.h"

namespace korvel {
namespace {

class Names : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp"});
    ClearAllStrings();
    sword = engine.AddForm(0x01000ABC, "Iron Sword");
    ref = engine.AddForm(0x01000F00, "Guard");
    ref->base = sword;
  }
  void TearDown() override {
    GetNames().ClearAll();
    ClearAllStrings();
  }
  int32_t Str(const std::string& text) {
    return static_cast<int32_t>(Call("CreateString", script, {I(-1), T(text)}));
  }
  FakeEngine engine;
  FakeForm* sword;
  FakeForm* ref;
  const uint32_t script = ScriptOf(1);
};

TEST_F(Names, SecondOverrideThenResetRestoresTheFirstFormerName) {
  Call("FixName", script, {Ref(sword), I(Str("A"))});
  Call("FixName", script, {Ref(sword), I(Str("B"))});
  EXPECT_EQ(sword->name, "B");
  EXPECT_EQ(Call("HasFixedName", script, {Ref(sword)}), 1);
  Call("ResetName", script, {Ref(sword)});
  EXPECT_EQ(sword->name, "Iron Sword");
  EXPECT_EQ(Call("HasFixedName", script, {Ref(sword)}), 0);
  EXPECT_TRUE(GetNames().empty());
}

TEST_F(Names, UnrecordedNamesStayOutOfTheRegister) {
  Call("FixName", script, {Ref(sword), I(Str("Fixed"))});
  Call("StringSetName", script, {Ref(sword), I(Str("Shown"))});
  EXPECT_EQ(sword->name, "Shown");
  EXPECT_EQ(GetNames().records().size(), 1u);
  EXPECT_EQ(GetNames().records()[0]->Name, "Fixed");
  Call("ResetName", script, {Ref(sword)});
  EXPECT_EQ(sword->name, "Iron Sword");
  Call("StringSetNameEx", script, {I(Str("Only shown")), Ref(sword)});
  EXPECT_TRUE(GetNames().empty());
  // An invalid StringID does nothing.
  Call("FixName", script, {Ref(sword), I(777)});
  EXPECT_TRUE(GetNames().empty());
}

TEST_F(Names, CallingReferenceWhenNoObjectIsGiven) {
  Call("FixNameEx", script, {}, ref);
  EXPECT_EQ(ref->name, "");
  EXPECT_EQ(Call("HasFixedName", script, {}, ref), 1);
  Call("ResetName", script, {}, ref);
  EXPECT_EQ(ref->name, "Guard");
  int32_t target = Str("");
  Call("StringGetNameEx", script, {I(target), I(0), Ref(sword)});
  EXPECT_EQ(*ResolveSource(target), "Iron Sword");
  Call("StringGetName", script, {Ref(sword), I(-2001)});
  EXPECT_EQ(*ResolveSource(-2001), "Iron Sword");
}

TEST_F(Names, ClearAllPutsFormerNamesBack) {
  Call("FixName", script, {Ref(sword), I(Str("X"))});
  Call("FixName", script, {Ref(ref), I(Str("Y"))});
  GetNames().ClearAll();
  EXPECT_EQ(sword->name, "Iron Sword");
  EXPECT_EQ(ref->name, "Guard");
  EXPECT_TRUE(GetNames().empty());
}

TEST_F(Names, SpecialCommandReplacesEndings) {
  Call("FixName", script, {Ref(sword), I(Str("Blade [x]"))});
  Call("FixName", script, {Ref(ref), I(Str("Guard [x]"))});
  // Arg 1 names the sword: its own record and the reference whose base it is.
  Call("KrvlSpcl", script, {I(1), I(0x01000ABC), I(-100005), I(-100002)});
  EXPECT_EQ(sword->name, "Blade [Done]");
  EXPECT_EQ(ref->name, "Guard [Done]");
  EXPECT_EQ(GetNames().records()[1]->Name, "Guard [Done]");
  // No match of the ending: unchanged; an empty ending appends.
  Call("KrvlSpcl", script, {I(1), I(0x01000ABC), I(-100005), I(-65)});
  EXPECT_EQ(sword->name, "Blade [Done]");
  Call("KrvlSpcl", script, {I(1), I(0x01000F00), I(-1), I(-33)});
  EXPECT_EQ(ref->name, "Guard [Done]!");
  EXPECT_EQ(sword->name, "Blade [Done]");
  // Only sub-command 1 exists.
  Call("KrvlSpcl", script, {I(2), I(0x01000F00), I(-1), I(-33)});
  EXPECT_EQ(ref->name, "Guard [Done]!");
}

TEST_F(Names, SpecialCommandStopsOnBadArgumentsAndSkipsGoneForms) {
  Call("FixName", script, {Ref(sword), I(Str("Blade [x]"))});
  Call("FixName", script, {Ref(ref), I(Str("Guard [x]"))});
  int32_t old_end = Str(" [x]"), new_end = Str(" [y]");
  Call("KrvlSpcl", script, {I(1), I(0), I(old_end), I(new_end)});
  Call("KrvlSpcl", script, {I(1), I(0x01000ABC), I(777), I(new_end)});
  Call("KrvlSpcl", script, {I(1), I(0x01000ABC), I(old_end), I(778)});
  EXPECT_EQ(sword->name, "Blade [x]");
  EXPECT_EQ(ref->name, "Guard [x]");
  // The sword's own record no longer resolves: only the reference's changes.
  engine.HideForm(0x01000ABC);
  EXPECT_EQ(Call("KrvlSpcl", script, {I(1), I(0x01000ABC), I(old_end), I(new_end)}), 0);
  EXPECT_EQ(sword->name, "Blade [x]");
  EXPECT_EQ(GetNames().records()[0]->Name, "Blade [x]");
  EXPECT_EQ(ref->name, "Guard [y]");
}

}  // namespace
}  // namespace korvel
