#include <gtest/gtest.h>

#include <cmath>

#include "fake_engine.h"
#include "core/global.h"
#include "hud/hud.h"
#include "hud/screen.h"
#include "recording_graphics.h"
#include "temp_env.h"

namespace korvel {
namespace {

using Call = RecordingGraphics::Call;

TEST(HudVisibility, ShowBitsAgainstSituations) {
  struct Case {
    uint8_t show, situation;
    bool drawn;
  } cases[] = {
      {1, 1, true},     {1, 0, true},    {1, 2, false},     {1, 4, false},   {1, 6, false},
      {0, 0, true},     {0, 1, false},   {8, 1, false},     {8, 0, false},   {8 + 2 + 4, 2, true},
      {8 + 2 + 4, 4, true}, {8 + 2 + 4, 6, true}, {8 + 2 + 4, 1, false}, {6, 6, true},
      {6, 2, true},     {2, 6, false},   {17, 17, true},    {17, 1, false},  {1, 17, false},
      {17, 16, true},   {16 + 8 + 1, 17, true}, {16 + 8 + 2, 16, false}, {255, 255 & 23, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HudVisible(c.show, c.situation), c.drawn)
        << "show " << int(c.show) << " situation " << int(c.situation);
}

TEST(HudVisibility, SituationFromEngineValues) {
  struct Case {
    uint8_t mode_flag;
    bool q0, q3;
    uint8_t sub;
    HudPass pass;
    uint8_t want;
    size_t queries;
  } cases[] = {
      {0, true, true, 1, HudPass::kFinal, 1, 0},    {0, false, false, 0, HudPass::kEarly, 17, 0},
      {1, false, false, 0, HudPass::kFinal, 2, 2},  {1, true, false, 0, HudPass::kFinal, 0, 1},
      {1, false, true, 1, HudPass::kFinal, 4, 2},   {1, false, false, 1, HudPass::kEarly, 22, 2},
  };
  for (const Case& c : cases) {
    FixedEngineView view;
    view.mode_flag = c.mode_flag;
    view.query0 = c.q0;
    view.query3 = c.q3;
    view.sub_mode = c.sub;
    EXPECT_EQ(CurrentSituation(c.pass, view), c.want);
    EXPECT_EQ(view.queries.size(), c.queries);  // the second query only after a false first
  }
}

TEST(HudFormat, BitsToDrawTextFlags) {
  EXPECT_EQ(DrawTextFlags(0), 0u);
  EXPECT_EQ(DrawTextFlags(148), 0x10u);  // word break + top + left
  EXPECT_EQ(DrawTextFlags(1), 0x20u);
  EXPECT_EQ(DrawTextFlags(2 + 64), 0x05u);
  EXPECT_EQ(DrawTextFlags(8 + 32), 0x0Au);
  EXPECT_EQ(DrawTextFlags(255), 0x3Fu);
}

TEST(HudOpacity, PercentConversions) {
  EXPECT_EQ(OpacityOfPercent(50), 127);
  EXPECT_EQ(OpacityOfPercent(150), 255);
  EXPECT_EQ(OpacityOfPercent(-3), 0);
  EXPECT_EQ(OpacityOfPercent(std::nan("")), 0);
  EXPECT_NEAR(PercentOfOpacity(127), 49.8039, 1e-4);
}

class HudRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp"});
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\k.dll");
    GetScreen() = {800, 600};
    graphics.AddImage(kImage, 40, 20);
    hud.SetGraphics(&graphics);
  }
  void TearDown() override { GetScreen() = {}; }
  int32_t Surface(HudSFields f) {
    f.Filename = "img.bmp";
    return hud.AddHudS(0, f);
  }
  std::vector<Call::Kind> Kinds() const {
    std::vector<Call::Kind> out;
    for (const Call& c : graphics.calls) out.push_back(c.kind);
    return out;
  }
  static constexpr const char* kImage = "C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\img.bmp";
  TempEnv env;
  FakeEngine engine;
  RecordingGraphics graphics;
  FixedEngineView view;
  Hud hud;
};

TEST_F(HudRenderTest, AlignmentPlacesTheScaledImage) {
  struct Case {
    uint8_t alignment;
    float x, y, scale;
    float want_x, want_y;
  } cases[] = {
      {5, 10, 20, 1, 10, 20},
      {15, 0, 0, 1, 380, 290},     // centred
      {10, 0, 0, 1, 760, 580},     // bottom-right corner in the corner
      {10, 0, 0, 2, 720, 560},     // the scaled image
      {10, 5, 0, 2, 730, 560},     // the offset scales with the image
      {6, 0, 0, 1, 760, 0},        // right, top: bit 1 without bit 2 has no effect vertically
      {1 + 12, 0, 0, 1, 0, 290},   // left, centre
      {3 + 8, 0, 0, 1, 380, 580},  // centre, bottom
  };
  for (const Case& c : cases) {
    HudSFields f;
    f.Place.Alignment = c.alignment;
    f.Place.X = c.x;
    f.Place.Y = c.y;
    f.Place.ScaleX = f.Place.ScaleY = c.scale;
    f.Place.L = 4;
    const HudSR* s = hud.surfaces().Get(Surface(f));
    EXPECT_FLOAT_EQ(s->Transform.m[3][0], c.want_x) << int(c.alignment);
    EXPECT_FLOAT_EQ(s->Transform.m[3][1], c.want_y) << int(c.alignment);
    EXPECT_FLOAT_EQ(s->Transform.m[3][2], 0.25f);
    EXPECT_FLOAT_EQ(s->Transform.m[0][0], c.scale);
  }
}

TEST_F(HudRenderTest, TextTransformUsesTheBoxAndHalfLayerDepth) {
  int32_t id = hud.AddHudT(0, {});
  hud.ChangeText(id, [](HudTR& t) {
    t.Width = 200;
    t.Height = 100;
    t.Alignment = 15;
    t.ScaleX = 2;
    t.L = 5;
  });
  const HudTR* t = hud.texts().Get(id);
  EXPECT_FLOAT_EQ(t->Transform.m[3][0], 200);  // 400 - 100 x 2
  EXPECT_FLOAT_EQ(t->Transform.m[3][1], 250);
  EXPECT_FLOAT_EQ(t->Transform.m[3][2], 1 / 5.5f);
  EXPECT_FLOAT_EQ(t->Transform.m[0][0], 1);  // scaled through font and rectangle
}

TEST_F(HudRenderTest, OneBatchSurfacesThenTextsByIdWithColours) {
  HudSFields f;
  f.Place.Opacity = 127;
  int32_t a = Surface(f);
  f.Show = 2;  // not in situation 1
  Surface(f);
  HudSFields no_image;
  hud.AddHudS(0, no_image);  // no texture: draws nothing
  int32_t t = hud.AddHudT(0, {});
  HudTBox unstyled;
  hud.AddHudT(0, unstyled);  // no font: skipped
  HudTStyle style;
  style.Text = "Hello";
  style.R = 0x12;
  style.G = 0x34;
  style.B = 0x56;
  hud.StyleHudT(t, style);
  hud.ChangeText(t, [](HudTR& x) {
    x.Width = 100.9f;
    x.Height = 50;
    x.ScaleY = 1.5f;
  });
  hud.DrawHud(HudPass::kFinal, view, false);
  using K = Call::Kind;
  EXPECT_EQ(Kinds(), (std::vector<K>{K::kBegin, K::kSampler, K::kTransform, K::kDraw, K::kTransform,
                                      K::kText, K::kEnd}));
  EXPECT_EQ(graphics.calls[3].object,
            reinterpret_cast<uintptr_t>(hud.surfaces().Get(a)->Texture));
  EXPECT_EQ(graphics.calls[3].colour, 0x7FFFFFFFu);
  const Call& text = graphics.calls[5];
  EXPECT_EQ(text.text, "Hello");
  EXPECT_EQ(text.colour, 0xFF123456u);
  EXPECT_EQ(text.flags, 0x10u);
  EXPECT_EQ(text.rect.right, 100);
  EXPECT_EQ(text.rect.bottom, 75);
}

TEST_F(HudRenderTest, SubmittedBackToFrontByLayer) {
  HudSFields f;
  f.Place.L = 6;
  int32_t high = Surface(f);
  f.Place.L = 5;
  int32_t low = Surface(f);
  HudTBox box;
  box.Place.L = 5;
  int32_t text = hud.AddHudT(0, box);
  hud.StyleHudT(text, {});
  f.Place.L = 0;  // as a co-save may hold: the lowest layer
  int32_t zero = Surface(f);
  auto drawn = [&] {
    std::vector<uintptr_t> order;
    for (const Call& c : graphics.calls)
      if (c.kind == Call::kDraw || c.kind == Call::kText) order.push_back(c.object);
    graphics.calls.clear();
    return order;
  };
  auto tex = [&](int32_t id) { return reinterpret_cast<uintptr_t>(hud.surfaces().Get(id)->Texture); };
  auto font = reinterpret_cast<uintptr_t>(hud.texts().Get(text)->Font);
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(drawn(), (std::vector<uintptr_t>{tex(zero), tex(low), font, tex(high)}));
  hud.ChangeSurface(high, [](HudSR& s) { s.L = 1; });  // a layer change reorders
  hud.DrawHud(HudPass::kFinal, view, false);
  // Layers 1 and 0 lie at the same depth: the lower id first.
  EXPECT_EQ(drawn(), (std::vector<uintptr_t>{tex(high), tex(zero), tex(low), font}));
  hud.RemoveHudS(zero);
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(drawn(), (std::vector<uintptr_t>{tex(high), tex(low), font}));
}

TEST_F(HudRenderTest, NothingDrawnWhenSuspendedGatedOrWithoutSprite) {
  Surface({});
  hud.DrawHud(HudPass::kFinal, view, true);
  view.gate = 0;
  hud.DrawHud(HudPass::kFinal, view, false);
  view.gate = 1;
  graphics.sprite = false;
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_TRUE(graphics.calls.empty());
}

TEST_F(HudRenderTest, FailedBeginSkipsAndFailedSamplerStillEnds) {
  Surface({});
  graphics.fail_begin = true;
  hud.DrawHud(HudPass::kFinal, view, false);
  using K = Call::Kind;
  EXPECT_EQ(Kinds(), std::vector<K>{K::kBegin});
  graphics.calls.clear();
  graphics.fail_begin = false;
  graphics.fail_sampler = true;
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(Kinds(), (std::vector<K>{K::kBegin, K::kSampler, K::kEnd}));
}

TEST_F(HudRenderTest, EarlyPassDrawsOnlyEarlyElements) {
  HudSFields f;
  f.Show = 17;
  Surface(f);
  f.Show = 1;
  Surface(f);
  hud.DrawHud(HudPass::kEarly, view, false);
  EXPECT_EQ(graphics.draws, 1);
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(graphics.draws, 2);
}

TEST_F(HudRenderTest, ResetReleasesAndRecreatesEverythingAndAFailedResetStaysLost) {
  Surface({});
  int32_t t = hud.AddHudT(0, {});
  hud.StyleHudT(t, {});
  for (int i = 0; i < 100; ++i) {
    hud.BeforeReset();
    hud.BeforeReset();  // twice is harmless
    EXPECT_TRUE(graphics.live_textures.empty());
    EXPECT_TRUE(graphics.live_fonts.empty());
    EXPECT_FALSE(graphics.sprite);
    hud.AfterReset();
  }
  EXPECT_EQ(graphics.live_textures.size(), 1u);
  EXPECT_EQ(graphics.live_fonts.size(), 1u);
  // A failed reset: before-reset only. Nothing draws, and commands make no
  // device objects on the lost device.
  hud.BeforeReset();
  hud.ChangeText(t, [](HudTR&) {}, true);
  Surface({});
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(graphics.draws, 0);
  EXPECT_TRUE(graphics.live_textures.empty());
  EXPECT_TRUE(graphics.live_fonts.empty());
  hud.AfterReset();
  hud.DrawHud(HudPass::kFinal, view, false);
  EXPECT_EQ(graphics.draws, 3);
}

TEST_F(HudRenderTest, ChangingXNeverTouchesTexturesOrFonts) {
  int32_t s = Surface({});
  int32_t t = hud.AddHudT(0, {});
  hud.StyleHudT(t, {});
  int loads = graphics.texture_loads, fonts = graphics.font_creations;
  for (int i = 0; i < 10000; ++i) {
    hud.ChangeSurface(s, [&](HudSR& x) { x.X = static_cast<float>(i); });
    hud.ChangeText(t, [&](HudTR& x) { x.X = static_cast<float>(i); });
  }
  EXPECT_EQ(graphics.texture_loads, loads);
  EXPECT_EQ(graphics.font_creations, fonts);
  EXPECT_FLOAT_EQ(hud.surfaces().Get(s)->Transform.m[3][0], 9999);
}

TEST_F(HudRenderTest, FontSizeFollowsScale) {
  int32_t t = hud.AddHudT(0, {});
  HudTStyle style;
  style.FontHeight = 10;
  style.FontWidth = 3;
  hud.StyleHudT(t, style);
  hud.ChangeText(t, [](HudTR& x) { x.ScaleY = 2; x.ScaleX = 1.5f; }, true);
  EXPECT_EQ(graphics.last_font.height, 20);
  EXPECT_EQ(graphics.last_font.width, 4);
}

}  // namespace
}  // namespace korvel
