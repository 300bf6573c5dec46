#include <gtest/gtest.h>

#include "fake_engine.h"
#include "core/global.h"
#include "hud/hud.h"
#include "hud/screen.h"
#include "recording_graphics.h"
#include "temp_env.h"

namespace korvel {
namespace {

class HudListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\Data\\Qarn\\Plugins\\k.dll");
    hud.SetGraphics(&graphics);
  }
  void TearDown() override { GetHudScale() = 1.0f; }
  int32_t Surface(int32_t esp = 1, uint8_t prot = 1) {
    HudSFields f;
    f.Place.Protected = prot;
    return hud.AddHudS(esp, f);
  }
  TempEnv env;
  FakeEngine engine;
  RecordingGraphics graphics;
  Hud hud;
};

TEST_F(HudListTest, StartsEmptyWithIdsFromOne) {
  const THudSIDList& list = hud.surfaces();
  EXPECT_EQ(list.SlotCount(), 2u);
  EXPECT_EQ(list.High(), 1);
  EXPECT_EQ(list.NextFree(), 1);
  EXPECT_EQ(list.MinUsed(), -1);
  EXPECT_EQ(list.MaxUsed(), -2);
  EXPECT_EQ(Surface(), 1);
  hud.RemoveHudS(1);
  EXPECT_EQ(list.MinUsed(), -1);
  EXPECT_EQ(list.MaxUsed(), -2);
  EXPECT_EQ(list.SlotCount(), 3u);  // never shrinks
  EXPECT_EQ(Surface(), 1);          // the freed id comes back first
  EXPECT_EQ(Surface(), 2);
  EXPECT_EQ(Surface(7), -1);  // unregistered owner
  EXPECT_EQ(Surface(-1), -1);
}

TEST_F(HudListTest, InvalidIds) {
  Surface();
  Surface();
  hud.RemoveHudS(1);
  for (int32_t id : {0, -1, 1, 3, 0x7FFFFF}) EXPECT_TRUE(hud.surfaces().Invalid(id)) << id;
  EXPECT_FALSE(hud.surfaces().Invalid(2));
  EXPECT_EQ(hud.AddHudSAt(1, 0, {}), -1);
  EXPECT_EQ(hud.AddHudSAt(1, -5, {}), -1);
  EXPECT_EQ(hud.SetHudSEsp(0, 1), -1);
  EXPECT_EQ(hud.SetHudSProtected(5, 1), -1);
}

TEST_F(HudListTest, AddAtFarAboveHighLeavesTheGapForLaterAdds) {
  EXPECT_EQ(hud.AddHudSAt(1, 5, {}), 5);
  EXPECT_EQ(hud.surfaces().High(), 5);
  EXPECT_EQ(hud.surfaces().SlotCount(), 6u);
  EXPECT_EQ(hud.AddHudSAt(1, 5, {}), -1);  // taken
  EXPECT_EQ(hud.AddHudSAt(9, 3, {}), -1);  // unregistered owner
  for (int32_t want : {1, 2, 3, 4, 6}) EXPECT_EQ(Surface(), want);
  EXPECT_EQ(hud.AddHudSAt(1, 0x800000, {}), -1);  // beyond the limit
}

TEST_F(HudListTest, RemoveByOwnerForceAndProtection) {
  int32_t own_protected = Surface(1, 1), own_open = Surface(1, 0), other = Surface(2, 0);
  hud.RemoveEspHudS(1, false);
  EXPECT_NE(hud.surfaces().Get(own_protected), nullptr);
  EXPECT_EQ(hud.surfaces().Get(own_open), nullptr);
  EXPECT_NE(hud.surfaces().Get(other), nullptr);
  hud.RemoveEspHudS(1, true);
  EXPECT_EQ(hud.surfaces().Get(own_protected), nullptr);
  hud.RemoveEspHudS(200, true);  // not registered: nothing
  EXPECT_NE(hud.surfaces().Get(other), nullptr);
}

TEST_F(HudListTest, OwnerAndProtectionSetters) {
  int32_t id = Surface(1, 0);
  EXPECT_EQ(hud.SetHudSEsp(id, 2), 2);
  EXPECT_EQ(hud.SetHudSEsp(id, 99), 2);  // unregistered: unchanged
  EXPECT_EQ(hud.SetHudSEsp(id, -1), 2);
  EXPECT_EQ(hud.SetHudSProtected(id, 5), 1);
  EXPECT_EQ(hud.SetHudSProtected(id, -1), 1);
  EXPECT_EQ(hud.SetHudSProtected(id, 0), 0);
}

TEST_F(HudListTest, ClearReleasesEveryDeviceObject) {
  graphics.AddImage("C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\a.bmp", 4, 4);
  HudSFields f;
  f.Filename = "a.bmp";
  hud.AddHudS(1, f);
  hud.AddHudS(1, f);
  int32_t t = hud.AddHudT(1, {});
  hud.StyleHudT(t, {});
  EXPECT_EQ(graphics.live_textures.size(), 2u);
  EXPECT_EQ(graphics.live_fonts.size(), 1u);
  hud.ClearHudS();
  hud.ClearHudT();
  EXPECT_TRUE(graphics.live_textures.empty());
  EXPECT_TRUE(graphics.live_fonts.empty());
  EXPECT_EQ(hud.surfaces().SlotCount(), 2u);
  EXPECT_EQ(hud.texts().NextFree(), 1);
}

TEST_F(HudListTest, NewTextHasNoFontAndShowZeroUntilStyled) {
  int32_t id = hud.AddHudT(1, {});
  const HudTR* t = hud.texts().Get(id);
  EXPECT_EQ(t->Show, 0);
  EXPECT_EQ(t->Font, nullptr);
  EXPECT_EQ(graphics.font_creations, 0);
  HudTStyle style;
  style.Text = "hi";
  style.FontName = "Arial";
  hud.StyleHudT(id, style);
  EXPECT_NE(t->Font, nullptr);
  EXPECT_EQ(t->Show, 1);
  EXPECT_EQ(t->Format, 148);
  EXPECT_EQ(graphics.last_font_face, "Arial");
}

TEST_F(HudListTest, AutoscaleAppliesOnRecreationOnly) {
  GetHudScale() = 0.5f;
  HudTBox box;
  box.Place.X = 100;
  box.Width = 300;
  box.Place.ScaleY = 2;
  HudTStyle style;
  style.FontHeight = 25;
  style.FontWidth = -7;
  EXPECT_EQ(hud.AddHudTAt(1, 3, box, style), 3);
  const HudTR* t = hud.texts().Get(3);
  EXPECT_EQ(t->FontHeight, 12);
  EXPECT_EQ(t->FontWidth, -3);  // toward zero
  EXPECT_FLOAT_EQ(t->X, 50);
  EXPECT_FLOAT_EQ(t->Width, 150);
  EXPECT_FLOAT_EQ(t->ScaleY, 1);
  EXPECT_EQ(graphics.last_font.height, 12);  // 12 x ScaleY 1

  box.Place.AutoScale = 0;
  EXPECT_EQ(hud.AddHudTAt(1, 4, box, style), 4);
  EXPECT_EQ(hud.texts().Get(4)->FontHeight, 25);

  HudSFields f;
  f.Place.X = 10;
  f.Place.ScaleX = 3;
  EXPECT_EQ(hud.AddHudSAt(1, 2, f), 2);
  EXPECT_FLOAT_EQ(hud.surfaces().Get(2)->X, 5);
  EXPECT_FLOAT_EQ(hud.surfaces().Get(2)->ScaleX, 1.5f);
  EXPECT_EQ(Surface(), 1);  // AddHudS never scales
  EXPECT_FLOAT_EQ(hud.surfaces().Get(1)->ScaleX, 1);
}

TEST_F(HudListTest, TextureComesFromTheRootAndNeverFromOutsideIt) {
  graphics.AddImage("C:\\Game\\Data\\pic.bmp", 8, 6);
  HudSFields f;
  f.RootID = 1;
  f.Filename = "pic.bmp";
  const HudSR* s = hud.surfaces().Get(hud.AddHudS(1, f));
  EXPECT_NE(s->Texture, nullptr);
  EXPECT_EQ(s->ImageInfo.Width, 8u);
  f.RootID = 0;
  f.Filename = "..\\..\\..\\Game\\Data\\pic.bmp";
  s = hud.surfaces().Get(hud.AddHudS(1, f));
  EXPECT_EQ(s->Texture, nullptr);
  EXPECT_EQ(s->ImageInfo.Width, 0u);
}

}  // namespace
}  // namespace korvel
