#include <gtest/gtest.h>

#include "command_harness.h"
#include "fake_engine.h"
#include "host/flags.h"
#include "host/global.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_io.h"
#include "save/save_hook.h"
#include "script/names.h"
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
    WriteCoSave(save);
    EXPECT_FALSE(env.FileExists("C:\\Slot.korvel")) << written;
    ASSERT_FALSE(engine.message_boxes.empty());
    EXPECT_EQ(engine.message_boxes.back(), "Slot.ess could not be saved !");
    EXPECT_EQ(engine.last_box_buttons, std::vector<std::string>{"Ok"});
  }
  env.fail_after_bytes = -1;
  std::string contents;
  ASSERT_TRUE(env.ReadFile(save, &contents));
  EXPECT_EQ(contents, std::string(300, 's'));
  WriteCoSave(save);
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
  WriteCoSave(save);
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
  Call("CreateString", ScriptOf(1), {});
  OnSaveLoaded(save);
  EXPECT_TRUE(GetFlags().data_reset);
  EXPECT_FALSE(SomethingToSave());
  EXPECT_TRUE(engine.message_boxes.empty());
}

}  // namespace
}  // namespace korvel
