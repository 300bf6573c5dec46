#include <gtest/gtest.h>

#include "fake_engine.h"
#include "core/global.h"
#include "temp_env.h"

namespace korvel {
namespace {

TEST(ModRegistry, BuildLogsTheModListOnce) {
  TempEnv env;
  FakeEngine engine;
  GetFolders().log_file = "C:\\log.txt";
  engine.SetMods({"Veldmark.esm", "A.esp", "B.esp"});
  std::string log;
  ASSERT_TRUE(env.ReadFile("C:\\log.txt", &log));
  EXPECT_EQ(log,
            "/////  ModIndex Filename  /////\r\n00 Veldmark.esm\r\n01 A.esp\r\n02 B.esp\r\n"
            "///////////////////////////////\r\n\r\n");
  GetMods().Build();
  ASSERT_TRUE(env.ReadFile("C:\\log.txt", &log));
  EXPECT_EQ(log.find("ModIndex", 10), std::string::npos);
  EXPECT_EQ(GetMods().EspIdOfName("a.ESP"), 1);
  EXPECT_EQ(GetMods().EspIdOfName(""), -1);
}

TEST(ModRegistry, RestoreAssignsFreedIdsToNewMods) {
  TempEnv env;
  FakeEngine engine;
  engine.SetMods({"D.esp", "A.esp", "C.esp"});
  EspRegistry& mods = GetMods();
  mods.ClearForLoad();
  mods.Restore(0, 0, "A.esp");
  EXPECT_EQ(mods.Restore(1, 1, "B.esp"), -1);
  mods.Restore(2, 2, "C.esp");
  mods.AssignFree();
  EXPECT_EQ(mods.EspIdOfName("A.esp"), 0);
  EXPECT_EQ(mods.EspIdOfName("C.esp"), 2);
  EXPECT_EQ(mods.EspIdOfName("D.esp"), 1);
}

TEST(ModRegistry, DamagedEspIdsAreNeverSharedOrOutOfRange) {
  TempEnv env;
  FakeEngine engine;
  engine.SetMods({"A.esp", "B.esp", "C.esp", "D.esp"});
  engine.AddForm(0x03000ABC);
  EspRegistry& mods = GetMods();
  mods.ClearForLoad();
  mods.Restore(0, 0, "A.esp");
  mods.Restore(0, 3, "B.esp");  // already A's
  mods.Restore(255, 1, "C.esp");
  mods.Restore(-7, 2, "D.esp");
  mods.AssignFree();
  EXPECT_EQ(mods.EspIdOfName("A.esp"), 0);
  EXPECT_EQ(mods.EspIdOfName("B.esp"), 1);
  EXPECT_EQ(mods.EspIdOfName("C.esp"), 2);
  EXPECT_EQ(mods.EspIdOfName("D.esp"), 3);
  // The saved index still maps the mod's references.
  EXPECT_EQ(mods.RemapFormId(0x02000ABC), 0x03000ABCu);
}

TEST(ModRegistry, RemapFollowsTheSavedIndex) {
  TempEnv env;
  FakeEngine engine;
  engine.SetMods({"D.esp", "A.esp", "C.esp"});
  engine.AddForm(0x01000ABC);
  EspRegistry& mods = GetMods();
  mods.ClearForLoad();
  mods.Restore(0, 0, "A.esp");  // A was at index 0, now at 1
  mods.AssignFree();
  EXPECT_EQ(mods.RemapFormId(0x00000ABC), 0x01000ABCu);
  EXPECT_EQ(mods.RemapFormId(0x00000ABD), 0u);  // no such form now
  EXPECT_EQ(mods.RemapFormId(0x05000ABC), 0u);  // mod gone
  EXPECT_EQ(mods.RemapFormId(0xFF000001), 0xFF000001u);
}

}  // namespace
}  // namespace korvel
