// The render pass of the HUD, its transforms, and the device objects of
// each element: textures, fonts, and their loss and recreation around a
// device reset.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "files/paths.h"
#include "hud/hud.h"
#include "hud/screen.h"

namespace korvel {
namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

constexpr uint8_t kSituationBits = kShowSituation1 | kShowSituation2 | kShowSituation4;

struct FormatFlag {
  uint8_t bit;
  uint32_t flag;
};
// Format bits and the ID3DXFont::DrawText flags they stand for (left and
// top are the flags' zero values).
constexpr FormatFlag kFormatFlags[] = {
    {1, 0x20},    // DT_SINGLELINE
    {2, 0x01},    // DT_CENTER
    {4, 0x00},    // DT_LEFT
    {8, 0x02},    // DT_RIGHT
    {16, 0x00},   // DT_TOP
    {32, 0x08},   // DT_BOTTOM
    {64, 0x04},   // DT_VCENTER
    {128, 0x10},  // DT_WORDBREAK
};

// Screen position of an element's near edge along one axis: absolute, or
// relative to the far edge or to the centre, the offset scaled with the
// element. extent is the element's unscaled size.
long double AlignedPosition(bool relative, bool centred, long double screen, long double extent,
                            long double offset, long double scale) {
  if (!relative) return offset;
  if (centred) return screen / 2 - (extent / 2 - offset) * scale;
  return screen - (extent - offset) * scale;
}

}  // namespace

// A layer read from a co-save may be 0; depth stays finite.
float SurfaceDepth(uint16_t layer) { return 1.0f / static_cast<float>(layer ? layer : 1); }
float TextDepth(uint16_t layer) { return 1.0f / (static_cast<float>(layer) + 0.5f); }

int32_t TruncToInt(double value) {
  if (std::isnan(value)) return 0;
  double t = std::trunc(value);
  if (t <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  if (t >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(t);
}

uint8_t OpacityOfPercent(double percent) {
  if (!(percent > 0)) percent = 0;  // NaN too
  if (percent >= 100) percent = 100;
  return static_cast<uint8_t>(std::trunc(255.0 * percent / 100.0));
}

double PercentOfOpacity(uint8_t opacity) { return opacity * 100.0 / 255.0; }

uint32_t DrawTextFlags(uint8_t format) {
  uint32_t flags = 0;
  for (const FormatFlag& f : kFormatFlags)
    if (format & f.bit) flags |= f.flag;
  return flags;
}

uint8_t CurrentSituation(HudPass pass, HudEngineView& engine) {
  uint8_t m = 0;
  if (engine.ModeFlag() == 0) {
    m = kShowSituation1;
  } else {
    if (!engine.ModeQuery(0) && !engine.ModeQuery(3)) m |= kShowSituation2;
    if (engine.SubModeFlag() != 0) m |= kShowSituation4;
  }
  if (pass == HudPass::kEarly) m |= kShowEarlyPass;
  return m;
}

bool HudVisible(uint8_t show, uint8_t situation) {
  if ((show & kShowEarlyPass) != (situation & kShowEarlyPass)) return false;
  if (show & kShowMatchAny) return (show & kSituationBits & situation) != 0;
  return (situation & ~show) == 0;
}

HudMatrix ScalingTranslation(float sx, float sy, float tx, float ty, float tz) {
  HudMatrix out;
  out.m[0][0] = sx;
  out.m[1][1] = sy;
  out.m[2][2] = 1;
  out.m[3][0] = tx;
  out.m[3][1] = ty;
  out.m[3][2] = tz;
  out.m[3][3] = 1;
  return out;
}

HudMatrix HudGraphics::Transformation(float sx, float sy, float tx, float ty, float tz) {
  return ScalingTranslation(sx, sy, tx, ty, tz);
}

HudMatrix Hud::Transformation(float sx, float sy, float tx, float ty, float tz) {
  return graphics_ ? graphics_->Transformation(sx, sy, tx, ty, tz)
                   : ScalingTranslation(sx, sy, tx, ty, tz);
}

void Hud::UpdateHudSTransform(HudSR& s) {
  const ScreenSize& screen = GetScreen();
  uint8_t a = s.Alignment;
  long double px = AlignedPosition(a & kAlignHorizontalHigh, a & kAlignHorizontalLow, screen.width,
                                   s.ImageInfo.Width, s.X, s.ScaleX);
  long double py = AlignedPosition(a & kAlignVerticalHigh, a & kAlignVerticalLow, screen.height,
                                   s.ImageInfo.Height, s.Y, s.ScaleY);
  s.Transform = Transformation(s.ScaleX, s.ScaleY, static_cast<float>(px),
                                          static_cast<float>(py), SurfaceDepth(s.L));
}

void Hud::UpdateHudTTransform(HudTR& t) {
  const ScreenSize& screen = GetScreen();
  uint8_t a = t.Alignment;
  long double px = AlignedPosition(a & kAlignHorizontalHigh, a & kAlignHorizontalLow, screen.width,
                                   t.Width, t.X, t.ScaleX);
  long double py = AlignedPosition(a & kAlignVerticalHigh, a & kAlignVerticalLow, screen.height,
                                   t.Height, t.Y, t.ScaleY);
  // Texts are scaled through their font and rectangle, not the matrix.
  t.Transform = Transformation(1, 1, static_cast<float>(px), static_cast<float>(py),
                                          TextDepth(t.L));
  PrepareTextDraw(t);
}

void Hud::PrepareTextDraw(HudTR& t) {
  t.DrawRect = {0, 0, TruncToInt(static_cast<double>(t.Width) * t.ScaleX),
                TruncToInt(static_cast<double>(t.Height) * t.ScaleY)};
  t.DrawFlags = DrawTextFlags(t.Format);
  t.DrawColour = static_cast<uint32_t>(t.Opacity) << 24 | static_cast<uint32_t>(t.R) << 16 |
                 static_cast<uint32_t>(t.G) << 8 | t.B;
}

void Hud::LoadHudSTexture(HudSR& s) {
  ReleaseSurfaceObjects(s);
  // A path that leaves its root is treated as a missing file.
  std::optional<std::string> path = ResolveUserPath(s.Filename, s.RootID);
  if (path && graphics_) {
    // No device object is made on a lost device: it would make the next
    // reset fail. The reset recreates every texture.
    if (!device_lost_) s.Texture = graphics_->LoadTexture(*path);
    graphics_->ReadImageInfo(*path, &s.ImageInfo);
  }
  UpdateHudSTransform(s);
}

void Hud::CreateHudTFont(HudTR& t) {
  ReleaseTextObjects(t);
  if (graphics_ && !device_lost_) {
    HudFontRequest request{TruncToInt(static_cast<double>(t.FontHeight) * t.ScaleY),
                           TruncToInt(static_cast<double>(t.FontWidth) * t.ScaleX), t.Weight,
                           t.Italic >= 1, &t.FontName};
    t.Font = graphics_->MakeFont(request);
  }
  UpdateHudTTransform(t);
}

void Hud::DrawHud(HudPass pass, HudEngineView& engine, bool suspended) {
  if (suspended || !graphics_ || !graphics_->HasSprite() || engine.DrawGate() == 0) return;
  uint8_t situation = CurrentSituation(pass, engine);
  Guard hold(lock_);
  HudGraphics& g = *graphics_;
  if (!g.HasSprite() || !g.Begin()) return;
  // The batch ends on every way out once it began.
  struct EndBatch {
    HudGraphics& g;
    ~EndBatch() { g.End(); }
  } end_batch{g};
  try {
    if (!g.SetPointMipFilter()) return;
    // Visibility depends on the low five Show bits only: one table per pass.
    bool visible[32];
    for (uint8_t show = 0; show < 32; ++show) visible[show] = HudVisible(show, situation);
    if (order_dirty_) RebuildOrder();
    // The lists do not change while the lock is held: reach the records
    // through their slots directly.
    const std::unique_ptr<HudSR>* surfaces = surfaces_.Slots();
    const std::unique_ptr<HudTR>* texts = texts_.Slots();
    for (const DrawRef& ref : order_) {
      if (!ref.text) {
        const HudSR* s = surfaces[ref.id].get();
        if (!s || !s->Texture || !visible[s->Show & 31]) continue;
        g.SetTransform(s->Transform);
        g.Draw(s->Texture, static_cast<uint32_t>(s->Opacity) << 24 | 0xFFFFFFu);
      } else {
        const HudTR* t = texts[ref.id].get();
        if (!t || !t->Font || !visible[t->Show & 31]) continue;
        g.SetTransform(t->Transform);
        int32_t length =
            t->Text.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(t->Text.size());
        g.DrawString(t->Font, t->Text.data(), length, t->DrawRect, t->DrawFlags, t->DrawColour);
      }
    }
  } catch (...) {
  }
}

void Hud::RebuildOrder() {
  order_.clear();
  surfaces_.ForEach([&](int32_t id, HudSR& s) { order_.push_back({SurfaceDepth(s.L), false, id}); });
  texts_.ForEach([&](int32_t id, HudTR& t) { order_.push_back({TextDepth(t.L), true, id}); });
  std::stable_sort(order_.begin(), order_.end(),
                   [](const DrawRef& a, const DrawRef& b) { return a.depth > b.depth; });
  order_dirty_ = false;
}

void Hud::BeforeReset() {
  Guard hold(lock_);
  if (device_lost_) return;
  device_lost_ = true;
  if (graphics_) graphics_->ReleaseSprite();
  surfaces_.ForEach([&](int32_t, HudSR& s) { ReleaseSurfaceObjects(s); });
  texts_.ForEach([&](int32_t, HudTR& t) { ReleaseTextObjects(t); });
}

void Hud::AfterReset() {
  Guard hold(lock_);
  device_lost_ = false;
  if (graphics_) graphics_->RecreateSprite();
  surfaces_.ForEach([&](int32_t, HudSR& s) { LoadHudSTexture(s); });
  texts_.ForEach([&](int32_t, HudTR& t) { CreateHudTFont(t); });
}

}  // namespace korvel
