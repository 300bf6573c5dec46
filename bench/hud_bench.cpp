// The HUD's render pass against a hand-written loop that issues the same
// sprite calls (so the ratio is what Korvel adds on top of the draw calls),
// and the cost of moving an element: no texture or font work.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/ratio_reporter.h"
#include "fake_engine.h"
#include "core/global.h"
#include "hud/hud_ops.h"
#include "hud/screen.h"
#include "recording_graphics.h"
#include "temp_env.h"

namespace {

using namespace korvel;

constexpr int kSurfaces = 1000;
constexpr int kTexts = 200;

// Records each sprite call into a fixed ring of the last calls, as a
// recording double does, without allocating while measured.
class RingRecorder final : public RecordingGraphics {
 public:
  struct Entry {
    HudMatrix m;
    const void* object;
    uint32_t colour;
  };
  void SetTransform(const HudMatrix& m) override { ring_[next_ & kMask].m = m; }
  void Draw(HudTexture* texture, uint32_t colour) override {
    Entry& e = ring_[next_++ & kMask];
    e.object = texture;
    e.colour = colour;
  }
  void DrawString(HudFont* font, const char* text, int32_t length, const HudRect& rect,
                  uint32_t flags, uint32_t colour) override {
    Entry& e = ring_[next_++ & kMask];
    e.object = font;
    e.colour = colour ^ flags ^ static_cast<uint32_t>(length + rect.right) ^ static_cast<uint8_t>(*text);
  }
  size_t calls() const { return next_; }

 private:
  static constexpr size_t kMask = 4095;
  Entry ring_[kMask + 1];
  size_t next_ = 0;
};

struct Scene {
  TempEnv env;
  FakeEngine engine;
  RingRecorder graphics;
  FixedEngineView view;
  Hud hud;

  Scene() {
    engine.SetMods({"Veldmark.esm"});
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs", "C:\\Game\\k.dll");
    GetScreen() = {1280, 1024};
    graphics.AddImage("C:\\Docs\\My Games\\Veldmark\\Korvel\\User Files\\i.bmp", 32, 32);
    graphics.record = false;
    hud.SetGraphics(&graphics);
    for (int i = 0; i < kSurfaces; ++i) {
      NewSurface a;
      a.filename = "i.bmp";
      a.x = static_cast<float>(i % 40) * 32;
      a.y = static_cast<float>(i / 40) * 32;
      a.layer = 1 + i % 1000;
      NewHudS(hud, a, 0);
    }
    for (int i = 0; i < kTexts; ++i) {
      int32_t id = NewHudT(hud, {}, 0);
      TextStyle style;
      style.text = "Text number " + std::to_string(i);
      style.font_name = "Arial";
      StyleText(hud, id, style, {0, 0});
    }
  }
};

void DrawHudPass(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) scene.hud.DrawHud(HudPass::kFinal, scene.view, false);
  state.counters["draws/pass"] =
      static_cast<double>(scene.graphics.calls()) / static_cast<double>(state.iterations());
}
BENCHMARK(DrawHudPass);

// The same calls on the same sprite from precomputed arrays.
void HandWrittenPass(benchmark::State& state) {
  Scene scene;
  struct Sprite {
    HudMatrix m;
    HudTexture* t;
    uint32_t c;
  };
  struct Text {
    HudMatrix m;
    HudFont* f;
    const std::string* s;
    HudRect r;
    uint32_t flags, c;
  };
  std::vector<Sprite> sprites;
  std::vector<Text> texts;
  scene.hud.surfaces().ForEach([&](int32_t, HudSR& s) {
    sprites.push_back({s.Transform, s.Texture, uint32_t{s.Opacity} << 24 | 0xFFFFFF});
  });
  scene.hud.texts().ForEach([&](int32_t, HudTR& t) {
    texts.push_back({t.Transform, t.Font, &t.Text, {0, 0, 1280, 1024}, 0x10, 0xFF000000});
  });
  // Through the interface, as the render pass calls it: the compiler must
  // not see the double's type.
  HudGraphics* sprite = &scene.graphics;
  benchmark::DoNotOptimize(sprite);
  HudGraphics& g = *sprite;
  for (auto _ : state) {
    g.Begin();
    g.SetPointMipFilter();
    for (const Sprite& s : sprites) {
      g.SetTransform(s.m);
      g.Draw(s.t, s.c);
    }
    for (const Text& t : texts) {
      g.SetTransform(t.m);
      g.DrawString(t.f, t.s->data(), static_cast<int32_t>(t.s->size()), t.r, t.flags, t.c);
    }
    g.End();
  }
}
BENCHMARK(HandWrittenPass);

// Moving a surface and a text 10,000 times; the counters must stay 0.
void MoveElements(benchmark::State& state) {
  Scene scene;
  int loads = scene.graphics.texture_loads, fonts = scene.graphics.font_creations;
  for (auto _ : state) {
    for (int i = 0; i < 10000; ++i) {
      SetHudSField(scene.hud, 1, HudField::kX, i, false, {0, 0});
      SetHudTField(scene.hud, 1, HudField::kX, i, false, {0, 0});
    }
  }
  state.counters["texture loads"] = scene.graphics.texture_loads - loads;
  state.counters["font creations"] = scene.graphics.font_creations - fonts;
}
BENCHMARK(MoveElements);

// Baseline: the two matrices alone.
void TwoMatrices(benchmark::State& state) {
  for (auto _ : state) {
    for (int i = 0; i < 10000; ++i) {
      benchmark::DoNotOptimize(ScalingTranslation(1, 1, static_cast<float>(i), 0, 0.002f));
      benchmark::DoNotOptimize(ScalingTranslation(1, 1, static_cast<float>(i), 0, 0.002f));
    }
  }
}
BENCHMARK(TwoMatrices);

}  // namespace

int main(int argc, char** argv) {
  return korvel::bench::RunWithRatios(argc, argv, {{"DrawHudPass", "HandWrittenPass"},
                                                   {"MoveElements", "TwoMatrices"}});
}
