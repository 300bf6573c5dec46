#include <gtest/gtest.h>

#include <functional>

#include "command_harness.h"
#include "fake_engine.h"
#include "base/flags.h"
#include "core/global.h"
#include "hud/screen.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_encoder.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_header_probe.h"
#include "save/save_hook.h"
#include "names/names.h"
#include "temp_env.h"

namespace korvel {
namespace {

class CoSaveFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp"});
    GetFolders().log_file = "C:\\log.txt";
    ClearAllObjects();
    env.WriteFile(save, std::string(300, 's'));
  }
  void TearDown() override { ClearAllObjects(); }
  TempEnv env;
  FakeEngine engine;
  const std::string save = "C:\\Slot.ess";
};

TEST_F(CoSaveFiles, AFailedWriteLeavesNoCoSaveAndTheSaveUntouched) {
  Call("CreateString", ScriptOf(1), {I(-1), T("keep me")});
  for (std::streamsize written : {std::streamsize{0}, std::streamsize{10}, std::streamsize{40}}) {
    env.fail_after_bytes = written;
    WriteCoSaveFile(save);
    EXPECT_FALSE(env.FileExists("C:\\Slot.korvel")) << written;
    ASSERT_FALSE(engine.message_boxes.empty());
    EXPECT_EQ(engine.message_boxes.back(), "Slot.ess could not be saved !");
    EXPECT_EQ(engine.last_box_buttons, std::vector<std::string>{"Ok"});
  }
  env.fail_after_bytes = -1;
  std::string contents;
  ASSERT_TRUE(env.ReadFile(save, &contents));
  EXPECT_EQ(contents, std::string(300, 's'));
  WriteCoSaveFile(save);
  EXPECT_TRUE(env.FileExists("C:\\Slot.korvel"));
}

TEST_F(CoSaveFiles, RoundTripThroughTheFile) {
  FakeForm* sword = engine.AddForm(0x01000ABC, "Sword");
  uint32_t a = ScriptOf(1);
  Call("CreateString", a, {I(-1), T("s0")});
  int32_t arr = static_cast<int32_t>(Call("CreateArray", a, {I(-1), I(4), I(1)}));
  Call("SetRefInArray", a, {I(arr), I(3), Ref(sword)});
  Call("FixName", a, {Ref(sword), I(0)});
  EXPECT_TRUE(SomethingToSave());
  WriteCoSaveFile(save);
  OnSaveLoaded(save);
  EXPECT_FALSE(GetFlags().data_reset);
  EXPECT_EQ(*ResolveSource(0), "s0");
  EXPECT_EQ(CallRef("GetInArray", a, {I(arr), I(3)}), 0x01000ABCu);
  EXPECT_EQ(Call("ArrayProtect", a, {I(arr)}), 1);
  EXPECT_EQ(sword->name, "s0");
  OnResetPoint();
  EXPECT_FALSE(SomethingToSave());
  EXPECT_EQ(sword->name, "Sword");
  EXPECT_TRUE(GetFlags().hud_suspended);
  std::string log;
  env.ReadFile("C:\\log.txt", &log);
  EXPECT_NE(log.find("Opening stream\r\nClosing stream\r\n"), std::string::npos);
}

TEST_F(CoSaveFiles, MissingCoSaveLeavesTheDataReset) {
  // A load that reads its co-save clears the flag first, so the check
  // below sees it come back.
  Call("CreateString", ScriptOf(1), {I(-1), T("x")});
  WriteCoSaveFile(save);
  OnSaveLoaded(save);
  ASSERT_FALSE(GetFlags().data_reset);
  env.RemoveFile("C:\\Slot.korvel");
  Call("CreateString", ScriptOf(1), {});
  OnSaveLoaded(save);
  EXPECT_TRUE(GetFlags().data_reset);
  EXPECT_FALSE(SomethingToSave());
  EXPECT_TRUE(engine.message_boxes.empty());
}

// A co-save made by hand, matching the save the fixture wrote.
std::string HandMade(const std::function<void(CoSaveEncoder&)>& body) {
  return EncodeCoSaveToString(kCoSaveVersion, GetCoSaveState().save_match, body);
}

TEST_F(CoSaveFiles, ObjectsOfGoneModsAreDroppedAndLaterSectionsStillRead) {
  FakeForm* sword = engine.AddForm(0x01000ABC, "Sword");
  ProbeSaveHeader(save);
  env.WriteFile("C:\\Slot.korvel", HandMade([](CoSaveEncoder& w) {
    w.Mods({{0, 0, "Base.esm"}, {7, 1, "Gone.esp"}, {1, 2, "A.esp"}});
    w.BeginStrings(2);
    w.String(5, 7, 0, "orphan");
    w.String(2, 1, 1, "kept");
    w.Array(3, 7, 0, 2, {{0, kItemInteger, 9}});
    w.Array(1, 1, 0, 3, {{0, kItemReference, 0x01000001}, {2, kItemReference, 0x02000ABC}});
    w.Names({{0x02000ABC, "Blade"}});
  }));
  OnSaveLoaded(save);
  EXPECT_FALSE(GetFlags().data_reset);
  EXPECT_TRUE(engine.message_boxes.empty());
  EXPECT_FALSE(ResolveSource(5).has_value());
  ASSERT_TRUE(ResolveSource(2).has_value());
  EXPECT_EQ(*ResolveSource(2), "kept");
  uint32_t a = ScriptOf(1);
  EXPECT_EQ(Call("ArraySize", a, {I(3), I(-1)}), -1);
  EXPECT_EQ(Call("ArraySize", a, {I(1), I(-1)}), 3);
  // Gone.esp's reference is gone; A.esp's moved from index 2 to 1.
  EXPECT_EQ(CallRef("GetInArray", a, {I(1), I(0)}), 0u);
  EXPECT_EQ(CallRef("GetInArray", a, {I(1), I(2)}), 0x01000ABCu);
  EXPECT_EQ(sword->name, "Blade");
}

TEST_F(CoSaveFiles, ScreenSectionSetsTheHudScaleOnlyWithBothSides) {
  GetScreen() = {640, 512};
  GetHudScale() = 1.0f;
  ProbeSaveHeader(save);
  env.WriteFile("C:\\Slot.korvel", HandMade([](CoSaveEncoder& w) { w.Screen(1280, 800); }));
  OnSaveLoaded(save);
  EXPECT_FALSE(GetFlags().data_reset);
  EXPECT_FLOAT_EQ(GetHudScale(), 0.5f);  // the smaller of 640/1280 and 512/800
  env.WriteFile("C:\\Slot.korvel", HandMade([](CoSaveEncoder& w) { w.Screen(0, 600); }));
  OnSaveLoaded(save);
  EXPECT_FLOAT_EQ(GetHudScale(), 0.5f);
  EXPECT_EQ(Call("ScreenInfo", ScriptOf(1), {I(2)}), 0);
  EXPECT_EQ(Call("ScreenInfo", ScriptOf(1), {I(3)}), 600);
  GetScreen() = {};
  GetHudScale() = 1.0f;
}

TEST_F(CoSaveFiles, AnUnopenableCoSaveIsCorruptedAndNotLoggedAsOpened) {
  Call("CreateString", ScriptOf(1), {I(-1), T("x")});
  WriteCoSaveFile(save);
  env.fail_reads = true;
  OnSaveLoaded(save);
  env.fail_reads = false;
  EXPECT_TRUE(GetFlags().data_reset);
  ASSERT_EQ(engine.message_boxes.size(), 1u);
  EXPECT_NE(engine.message_boxes[0].find("Slot.korvel"), std::string::npos);
  std::string log;
  env.ReadFile("C:\\log.txt", &log);
  EXPECT_EQ(log.find("Opening stream"), std::string::npos);
  EXPECT_EQ(log.find("Closing stream"), std::string::npos);
}

}  // namespace
}  // namespace korvel
