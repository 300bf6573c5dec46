#include "hud/hud_ops.h"

#include <algorithm>
#include <cmath>

#include "hud/screen.h"

namespace korvel {
namespace {

uint16_t ClampLayer(int64_t layer) {
  return static_cast<uint16_t>(std::clamp<int64_t>(layer, kLayerMin, kLayerMax));
}

// A percentage held to 0..100; NaN counts as 0.
double ClampPercent(double p) {
  if (!(p > 0)) return 0;
  return p >= 100 ? 100 : p;
}

uint8_t Flag(int32_t value) { return value != 0 ? 1 : 0; }

// Show, Alignment and L take integers; anything else is cut to one.
int64_t Whole(double value) { return TruncToInt(value); }

// Where a new surface or text stands, from its command's arguments.
template <class Args>
HudPlacement NewPlacement(const Args& a) {
  HudPlacement p;
  p.X = a.x;
  p.Y = a.y;
  p.L = ClampLayer(a.layer);
  p.ScaleX = p.ScaleY = a.scale;
  p.Opacity = OpacityOfPercent(a.opacity);
  p.Alignment = static_cast<uint8_t>(a.alignment);
  p.AutoScale = Flag(a.autoscale);
  p.Protected = Flag(a.is_protected);
  return p;
}

// The changes shared by surfaces and texts.
template <class Record>
void ApplyField(Record& e, HudField field, double value, bool relative) {
  switch (field) {
    case HudField::kX: e.X = static_cast<float>(relative ? e.X + value : value); break;
    case HudField::kY: e.Y = static_cast<float>(relative ? e.Y + value : value); break;
    case HudField::kScaleX: e.ScaleX = static_cast<float>(relative ? e.ScaleX * value : value); break;
    case HudField::kScaleY: e.ScaleY = static_cast<float>(relative ? e.ScaleY * value : value); break;
    case HudField::kShow:
      e.Show = static_cast<uint8_t>((relative ? e.Show : 0) + Whole(value));
      break;
    case HudField::kAlignment:
      e.Alignment = static_cast<uint8_t>((relative ? e.Alignment : 0) + Whole(value));
      break;
    case HudField::kLayer: e.L = ClampLayer((relative ? e.L : 0) + Whole(value)); break;
    case HudField::kOpacity: {
      double add = 255.0 * ClampPercent(value) / 100.0;
      double sum = relative ? std::clamp(e.Opacity + add, 0.0, 255.0) : add;
      e.Opacity = static_cast<uint8_t>(std::trunc(sum));
      break;
    }
  }
}

template <class Record>
double FieldValue(const Record& e, HudField field) {
  switch (field) {
    case HudField::kX: return e.X;
    case HudField::kY: return e.Y;
    case HudField::kScaleX: return e.ScaleX;
    case HudField::kScaleY: return e.ScaleY;
    case HudField::kShow: return e.Show;
    case HudField::kAlignment: return e.Alignment;
    case HudField::kLayer: return e.L;
    case HudField::kOpacity: return PercentOfOpacity(e.Opacity);
  }
  return 0;
}

// Screen position of the near edge for right or centre alignment, 0 for
// left (top) alignment.
double AlignedEdge(bool relative, bool centred, double screen, double extent, double offset,
                   double scale) {
  if (!relative) return 0;
  return centred ? screen / 2 - (extent / 2 - offset) * scale : screen - (extent - offset) * scale;
}

// The info types surfaces and texts share (2, 3 and 17 up are their own).
template <class Record>
bool CommonInfo(const Record& e, int32_t type, double extent_x, double extent_y, double* out) {
  const ScreenSize& screen = GetScreen();
  switch (type) {
    case 4: *out = e.Show; return true;
    case 5: *out = e.X; return true;
    case 6: *out = e.Y; return true;
    case 7: *out = e.L; return true;
    case 8:
      *out = AlignedEdge(e.Alignment & kAlignHorizontalHigh, e.Alignment & kAlignHorizontalLow,
                         screen.width, extent_x, e.X, e.ScaleX);
      return true;
    case 9:
      *out = AlignedEdge(e.Alignment & kAlignVerticalHigh, e.Alignment & kAlignVerticalLow,
                         screen.height, extent_y, e.Y, e.ScaleY);
      return true;
    case 10: *out = e.ScaleX; return true;
    case 11: *out = e.ScaleY; return true;
    case 12: *out = PercentOfOpacity(e.Opacity); return true;
    case 13: *out = e.Alignment; return true;
    case 14: *out = e.AutoScale ? 1 : 0; return true;
    case 15: *out = e.EspID; return true;
    case 16: *out = e.Protected; return true;
    default: return false;
  }
}

}  // namespace

bool HudWritable(uint8_t owner, uint8_t is_protected, const HudCaller& caller) {
  if (caller.esp_id >= 0 && caller.esp_id == owner) return true;
  return is_protected == 0 && caller.global != 0;
}

int32_t NewHudS(Hud& hud, NewSurface a, int32_t caller_esp) {
  if (a.esp_id == -1) a.esp_id = caller_esp;
  HudSFields f;
  f.RootID = static_cast<uint8_t>(a.root_id);
  f.Filename = std::move(a.filename);
  f.Show = static_cast<uint8_t>(a.show);
  f.Place = NewPlacement(a);
  return hud.AddHudS(a.esp_id, f);
}

int32_t NewHudT(Hud& hud, const NewTextBox& a, int32_t caller_esp) {
  int32_t esp = a.esp_id == -1 ? caller_esp : a.esp_id;
  HudTBox b;
  b.Place = NewPlacement(a);
  b.Width = a.width == -1 ? static_cast<float>(GetScreen().width) : a.width;
  b.Height = a.height == -1 ? static_cast<float>(GetScreen().height) : a.height;
  return hud.AddHudT(esp, b);
}

double SetHudSField(Hud& hud, int32_t id, HudField field, double value, bool relative,
                    const HudCaller& caller) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s) return 0;
  if (HudWritable(s->EspID, s->Protected, caller))
    hud.ChangeSurface(id, [&](HudSR& e) { ApplyField(e, field, value, relative); },
                      field != HudField::kOpacity);
  return FieldValue(*s, field);
}

double SetHudTField(Hud& hud, int32_t id, HudField field, double value, bool relative,
                    const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (!t) return 0;
  bool scale = field == HudField::kScaleX || field == HudField::kScaleY;
  if (HudWritable(t->EspID, t->Protected, caller))
    hud.ChangeText(id, [&](HudTR& e) { ApplyField(e, field, value, relative); }, scale,
                   field != HudField::kOpacity);
  return FieldValue(*t, field);
}

int32_t AutoScaleHudS(Hud& hud, int32_t id, int32_t value, const HudCaller& caller) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s) return 0;
  if (value >= 0 && HudWritable(s->EspID, s->Protected, caller))
    hud.ChangeSurface(id, [&](HudSR& e) { e.AutoScale = Flag(value); }, false);
  return s->AutoScale ? 1 : 0;
}

int32_t AutoScaleHudT(Hud& hud, int32_t id, int32_t value, const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (!t) return 0;
  if (value >= 0 && HudWritable(t->EspID, t->Protected, caller))
    hud.ChangeText(id, [&](HudTR& e) { e.AutoScale = Flag(value); }, false, false);
  return t->AutoScale ? 1 : 0;
}

int32_t EspHudS(Hud& hud, int32_t id, int32_t esp_id, const HudCaller& caller) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s) return -1;
  return hud.SetHudSEsp(id, HudWritable(s->EspID, s->Protected, caller) ? esp_id : -1);
}

int32_t EspHudT(Hud& hud, int32_t id, int32_t esp_id, const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (!t) return -1;
  return hud.SetHudTEsp(id, HudWritable(t->EspID, t->Protected, caller) ? esp_id : -1);
}

int32_t ProtectHudS(Hud& hud, int32_t id, int32_t value, int32_t caller_esp) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s) return -1;
  bool owner = HudWritable(s->EspID, s->Protected, {caller_esp, 0});
  return hud.SetHudSProtected(id, owner ? value : -1);
}

int32_t ProtectHudT(Hud& hud, int32_t id, int32_t value, int32_t caller_esp) {
  const HudTR* t = hud.texts().Get(id);
  if (!t) return -1;
  bool owner = HudWritable(t->EspID, t->Protected, {caller_esp, 0});
  return hud.SetHudTProtected(id, owner ? value : -1);
}

void DeleteHudS(Hud& hud, int32_t id, const HudCaller& caller) {
  const HudSR* s = hud.surfaces().Get(id);
  if (s && HudWritable(s->EspID, s->Protected, caller)) hud.RemoveHudS(id);
}

void DeleteHudT(Hud& hud, int32_t id, const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (t && HudWritable(t->EspID, t->Protected, caller)) hud.RemoveHudT(id);
}

void DeleteAllHudS(Hud& hud, int32_t esp_id, int32_t caller_esp) {
  if (esp_id == -1) esp_id = caller_esp;
  hud.RemoveEspHudS(esp_id, esp_id == caller_esp);
}

void DeleteAllHudT(Hud& hud, int32_t esp_id, int32_t caller_esp) {
  if (esp_id == -1) esp_id = caller_esp;
  hud.RemoveEspHudT(esp_id, esp_id == caller_esp);
}

void TextureHudS(Hud& hud, int32_t id, const std::string& filename, int32_t root_id,
                 const HudCaller& caller) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s || !HudWritable(s->EspID, s->Protected, caller)) return;
  // The new image replaces the old texture and its size the transform's.
  hud.ChangeSurface(id, [&](HudSR& e) {
    e.Filename = filename;
    e.RootID = static_cast<uint8_t>(root_id);
    hud.LoadHudSTexture(e);
  }, false);
}

void StyleText(Hud& hud, int32_t id, const TextStyle& a, const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (!t || !HudWritable(t->EspID, t->Protected, caller)) return;
  HudTStyle style;
  style.Format = static_cast<uint8_t>(a.format);
  style.Text = a.text;
  style.FontName = a.font_name;
  style.Show = static_cast<uint8_t>(a.show);
  style.FontHeight = a.height;
  style.FontWidth = a.width;
  style.Weight = static_cast<uint16_t>(std::clamp(a.weight, 0, 1000));
  style.Italic = Flag(a.italic);
  style.R = static_cast<uint8_t>(a.r);
  style.G = static_cast<uint8_t>(a.g);
  style.B = static_cast<uint8_t>(a.b);
  hud.StyleHudT(id, style);
}

void ReplaceText(Hud& hud, int32_t id, const std::string& text, const HudCaller& caller) {
  const HudTR* t = hud.texts().Get(id);
  if (!t || !HudWritable(t->EspID, t->Protected, caller)) return;
  // The font stays; the new text shows at the next pass.
  hud.ChangeText(id, [&](HudTR& e) { e.Text = text; }, false, false);
}

double HudSInfo(const Hud& hud, int32_t id, int32_t type) {
  const HudSR* s = hud.surfaces().Get(id);
  if (!s) return 0;
  double w = s->ImageInfo.Width, h = s->ImageInfo.Height, out = 0;
  switch (type) {
    case 0: return w;
    case 1: return h;
    case 2: return w * s->ScaleX;
    case 3: return h * s->ScaleY;
    default: return CommonInfo(*s, type, w, h, &out) ? out : 0;
  }
}

double HudTInfo(const Hud& hud, int32_t id, int32_t type) {
  const HudTR* t = hud.texts().Get(id);
  if (!t) return 0;
  double out = 0;
  switch (type) {
    case 0: return t->Width;
    case 1: return t->Height;
    case 2: return static_cast<double>(t->Width) * t->ScaleX;
    case 3: return static_cast<double>(t->Height) * t->ScaleY;
    case 17: return t->FontHeight;
    case 18: return t->FontWidth;
    case 19: return t->Weight;
    case 20: return t->Italic ? 1 : 0;
    case 21: return t->R;
    case 22: return t->G;
    case 23: return t->B;
    case 24: return t->Format;
    default: return CommonInfo(*t, type, t->Width, t->Height, &out) ? out : 0;
  }
}

}  // namespace korvel
