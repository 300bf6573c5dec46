#include <gtest/gtest.h>

#include "fake_engine.h"
#include "core/global.h"
#include "hud/hud_ops.h"
#include "hud/screen.h"
#include "recording_graphics.h"
#include "temp_env.h"

namespace korvel {
namespace {

class HudOpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\k.dll");
    GetScreen() = {1280, 1024};
    hud.SetGraphics(&graphics);
  }
  void TearDown() override { GetScreen() = {}; }
  const HudSR& S(int32_t id) { return *hud.surfaces().Get(id); }
  const HudTR& T(int32_t id) { return *hud.texts().Get(id); }
  TempEnv env;
  FakeEngine engine;
  RecordingGraphics graphics;
  Hud hud;
  HudCaller owner{1, 0};
};

TEST_F(HudOpsTest, NewHudSDefaultsAndClamps) {
  const HudSR& d = S(NewHudS(hud, {}, 1));
  EXPECT_EQ(d.Show, 1);
  EXPECT_EQ(d.L, 500);
  EXPECT_EQ(d.Opacity, 255);
  EXPECT_EQ(d.Alignment, 5);
  EXPECT_EQ(d.AutoScale, 1);
  EXPECT_EQ(d.Protected, 1);
  EXPECT_EQ(d.EspID, 1);
  EXPECT_FLOAT_EQ(d.ScaleY, 1);
  struct Case {
    int32_t layer;
    float opacity;
    uint16_t want_layer;
    uint8_t want_opacity;
  } cases[] = {{0, 150, 1, 255}, {5000, -3, 1000, 0}, {7, 50, 7, 127}};
  for (const Case& c : cases) {
    NewSurface a;
    a.layer = c.layer;
    a.opacity = c.opacity;
    const HudSR& s = S(NewHudS(hud, a, 1));
    EXPECT_EQ(s.L, c.want_layer);
    EXPECT_EQ(s.Opacity, c.want_opacity);
  }
  EXPECT_EQ(NewHudS(hud, {}, -1), -1);  // a script without a mod owns nothing
}

TEST_F(HudOpsTest, SetterFamily) {
  struct Case {
    HudField field;
    double start, value;
    bool relative;
    double stored;  // the field afterwards
    double result;
  } cases[] = {
      {HudField::kShow, 1, 300, false, 44, 44},
      {HudField::kShow, 10, 250, true, 4, 4},
      {HudField::kLayer, 500, -999, true, 1, 1},
      {HudField::kOpacity, 255, 50, false, 127, 127 * 100.0 / 255},
      {HudField::kOpacity, 200, 50, true, 255, 100},
      {HudField::kOpacity, 200, -20, true, 200, 200 * 100.0 / 255},
      {HudField::kAlignment, 5, 251, true, 0, 0},
      {HudField::kX, 3, 2.5, true, 5.5, 5.5},
      {HudField::kScaleY, 1, 2, true, 2, 2},
  };
  for (const Case& c : cases) {
    int32_t id = NewHudS(hud, {}, 1);
    hud.ChangeSurface(id, [&](HudSR& e) {
      e.Show = static_cast<uint8_t>(c.start);
      e.L = static_cast<uint16_t>(c.start);
      e.Opacity = static_cast<uint8_t>(c.start);
      e.Alignment = static_cast<uint8_t>(c.start);
      e.X = static_cast<float>(c.start);
      e.ScaleY = static_cast<float>(c.start);
      e.ScaleX = 3;
    });
    double result = SetHudSField(hud, id, c.field, c.value, c.relative, owner);
    EXPECT_NEAR(result, c.result, 1e-9) << int(c.field);
    const HudSR& s = S(id);
    double stored = c.field == HudField::kShow        ? s.Show
                    : c.field == HudField::kLayer     ? s.L
                    : c.field == HudField::kOpacity   ? s.Opacity
                    : c.field == HudField::kAlignment ? s.Alignment
                    : c.field == HudField::kX         ? s.X
                                                      : s.ScaleY;
    EXPECT_DOUBLE_EQ(stored, c.stored) << int(c.field);
  }
  EXPECT_EQ(SetHudSField(hud, 999, HudField::kX, 1, false, owner), 0);
}

TEST_F(HudOpsTest, ProtectionAgainstOtherMods) {
  int32_t id = NewHudS(hud, {}, 1);  // protected, owned by 1
  HudCaller other{2, 1};
  EXPECT_FLOAT_EQ(SetHudSField(hud, id, HudField::kX, 40, false, other), 0);
  EXPECT_EQ(S(id).X, 0);
  EXPECT_EQ(EspHudS(hud, id, 2, other), 1);
  EXPECT_EQ(ProtectHudS(hud, id, 0, 2), 1);
  DeleteHudS(hud, id, other);
  EXPECT_NE(hud.surfaces().Get(id), nullptr);
  EXPECT_EQ(ProtectHudS(hud, id, 0, 1), 0);  // the owner may
  EXPECT_FLOAT_EQ(SetHudSField(hud, id, HudField::kX, 40, false, other), 40);  // now with Global
  EXPECT_FLOAT_EQ(SetHudSField(hud, id, HudField::kX, 41, false, {2, 0}), 40);  // not without
  EXPECT_EQ(ProtectHudS(hud, id, 1, 2), 0);  // Protect checks with Global 0
  EXPECT_EQ(EspHudS(hud, id, 2, other), 2);
  EXPECT_EQ(AutoScaleHudS(hud, id, -1, owner), 1);
}

TEST_F(HudOpsTest, DeleteAllOfAnotherModTakesOnlyUnprotected) {
  NewSurface open;
  open.is_protected = 0;
  int32_t a = NewHudS(hud, open, 2), b = NewHudS(hud, {}, 2), own = NewHudS(hud, {}, 1);
  DeleteAllHudS(hud, 2, 1);
  EXPECT_EQ(hud.surfaces().Get(a), nullptr);
  EXPECT_NE(hud.surfaces().Get(b), nullptr);
  DeleteAllHudS(hud, -1, 1);
  EXPECT_EQ(hud.surfaces().Get(own), nullptr);
}

TEST_F(HudOpsTest, SurfaceInfo) {
  graphics.AddImage("C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\i.bmp", 64, 32);
  NewSurface a;
  a.filename = "i.bmp";
  a.x = 10;
  a.scale = 2;
  a.opacity = 50;
  int32_t left = NewHudS(hud, a, 1);
  a.alignment = 10;
  int32_t corner = NewHudS(hud, a, 1);
  struct Case {
    int32_t id, type;
    double want;
  } cases[] = {{left, 0, 64},   {left, 1, 32},      {left, 2, 128},          {left, 5, 10},
               {left, 8, 0},    {corner, 8, 1280 - (64 - 10) * 2.0},        {corner, 9, 1024 - 64},
               {left, 12, 127 * 100.0 / 255}, {left, 15, 1}, {left, 17, 0}, {0, 0, 0}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(HudSInfo(hud, c.id, c.type), c.want) << c.type;
}

TEST_F(HudOpsTest, NewHudTAndStyle) {
  int32_t id = NewHudT(hud, {}, 1);
  EXPECT_FLOAT_EQ(T(id).Width, 1280);
  EXPECT_FLOAT_EQ(T(id).Height, 1024);
  EXPECT_EQ(T(id).Font, nullptr);
  NewTextBox keep;
  keep.width = -2;
  EXPECT_FLOAT_EQ(T(NewHudT(hud, keep, 1)).Width, -2);
  TextStyle style;
  style.weight = 5000;
  style.r = 300;
  StyleText(hud, id, style, owner);
  EXPECT_EQ(T(id).Weight, 1000);
  EXPECT_EQ(T(id).R, 44);
  EXPECT_EQ(HudTInfo(hud, id, 24), 148);
  style.weight = -5;
  StyleText(hud, id, style, owner);
  EXPECT_EQ(T(id).Weight, 0);
  style.text = "changed";
  StyleText(hud, id, style, {2, 1});  // another mod's protected text
  EXPECT_EQ(T(id).Text, "");
  ReplaceText(hud, id, "now", owner);
  EXPECT_EQ(T(id).Text, "now");
  int fonts = graphics.font_creations;
  hud.ChangeText(id, [](HudTR& t) { t.FontHeight = 10; }, false, false);
  SetHudTField(hud, id, HudField::kScaleY, 2, false, owner);
  EXPECT_EQ(graphics.font_creations, fonts + 1);
  EXPECT_EQ(graphics.last_font.height, 20);
}

}  // namespace
}  // namespace korvel
