// The HUD lists: creation, removal and ownership of surfaces and texts.
#include "hud/hud.h"

#include "hud/screen.h"
#include "base/owners.h"

namespace korvel {
namespace {

std::unique_ptr<Hud> the_hud;

bool OwnerRegistered(int32_t esp_id) { return GetOwners().IsOwner(esp_id); }

using Guard = std::lock_guard<std::recursive_mutex>;

// An autoscaled element read from a co-save: its position and scale
// follow the screen it is shown on.
void ScalePlacement(HudPlacement& p, float autoscale) {
  p.X *= autoscale;
  p.Y *= autoscale;
  p.ScaleX *= autoscale;
  p.ScaleY *= autoscale;
}

}  // namespace

Hud* GetHud() { return the_hud.get(); }

Hud& CreateHud() {
  if (!the_hud) the_hud = std::make_unique<Hud>();
  return *the_hud;
}

void DestroyHud() { the_hud.reset(); }

Hud::Hud() = default;

Hud::~Hud() {
  ClearHudS();
  ClearHudT();
}

void Hud::SetGraphics(HudGraphics* graphics) {
  Guard hold(lock_);
  graphics_ = graphics;
}

void Hud::DeviceChanged() {
  Guard hold(lock_);
  device_lost_ = false;
  surfaces_.ForEach([&](int32_t, HudSR& s) { LoadHudSTexture(s); });
  texts_.ForEach([&](int32_t, HudTR& t) { CreateHudTFont(t); });
}

void Hud::ReleaseSurfaceObjects(HudSR& surface) {
  if (surface.Texture && graphics_) graphics_->ReleaseTexture(surface.Texture);
  surface.Texture = nullptr;
}

void Hud::ReleaseTextObjects(HudTR& text) {
  if (text.Font && graphics_) graphics_->ReleaseFont(text.Font);
  text.Font = nullptr;
}

int32_t Hud::AddHudS(int32_t esp_id, const HudSFields& f) {
  Guard hold(lock_);
  if (!OwnerRegistered(esp_id) || surfaces_.NextFree() == -1) return -1;
  auto record = std::make_unique<HudSR>();
  HudSR& s = *record;
  s.EspID = static_cast<uint8_t>(esp_id);
  s.RootID = f.RootID;
  s.Filename = f.Filename;
  s.Show = f.Show;
  PlaceRecord(f.Place, s);
  LoadHudSTexture(s);
  int32_t id = surfaces_.Add(std::move(record));
  order_dirty_ = true;
  return id;
}

int32_t Hud::AddHudSAt(int32_t esp_id, int32_t id, HudSFields f) {
  Guard hold(lock_);
  if (!OwnerRegistered(esp_id) || id < 1) return -1;
  if (id <= surfaces_.High() && surfaces_.Slot(id)) return -1;
  if (f.Place.AutoScale) ScalePlacement(f.Place, GetHudScale());
  auto record = std::make_unique<HudSR>();
  HudSR* s = record.get();
  if (surfaces_.AddAt(id, std::move(record)) == -1) return -1;
  order_dirty_ = true;
  s->EspID = static_cast<uint8_t>(esp_id);
  s->RootID = f.RootID;
  s->Filename = std::move(f.Filename);
  s->Show = f.Show;
  PlaceRecord(f.Place, *s);
  LoadHudSTexture(*s);
  return id;
}

void Hud::RemoveHudS(int32_t id) {
  Guard hold(lock_);
  if (std::unique_ptr<HudSR> gone = surfaces_.Remove(id)) {
    ReleaseSurfaceObjects(*gone);
    order_dirty_ = true;
  }
}

void Hud::RemoveEspHudS(int32_t esp_id, bool force) {
  if (!OwnerRegistered(esp_id)) return;
  Guard hold(lock_);
  int32_t first = surfaces_.MinUsed(), last = surfaces_.MaxUsed();
  for (int32_t id = std::max(first, 1); id <= last; ++id) {
    HudSR* s = surfaces_.Get(id);
    if (s && s->EspID == esp_id && (s->Protected == 0 || force)) RemoveHudS(id);
  }
}

void Hud::ClearHudS() {
  Guard hold(lock_);
  surfaces_.ForEach([&](int32_t, HudSR& s) { ReleaseSurfaceObjects(s); });
  surfaces_.Reset();
  order_dirty_ = true;
}

int32_t Hud::SetHudSEsp(int32_t id, int32_t esp_id) {
  HudSR* s = surfaces_.Get(id);
  if (!s) return -1;
  if (esp_id >= 0 && OwnerRegistered(esp_id)) s->EspID = static_cast<uint8_t>(esp_id);
  return s->EspID;
}

int32_t Hud::SetHudSProtected(int32_t id, int32_t value) {
  HudSR* s = surfaces_.Get(id);
  if (!s) return -1;
  if (value >= 1) s->Protected = 1;
  if (value == 0) s->Protected = 0;
  return s->Protected;
}

int32_t Hud::AddHudT(int32_t esp_id, const HudTBox& b) {
  Guard hold(lock_);
  if (!OwnerRegistered(esp_id) || texts_.NextFree() == -1) return -1;
  auto record = std::make_unique<HudTR>();
  HudTR& t = *record;
  t.EspID = static_cast<uint8_t>(esp_id);
  PlaceRecord(b.Place, t);
  t.Width = b.Width;
  t.Height = b.Height;
  // No font and no transform yet: the text is drawn once StyleHudT gave it
  // a font.
  order_dirty_ = true;
  return texts_.Add(std::move(record));
}

int32_t Hud::AddHudTAt(int32_t esp_id, int32_t id, HudTBox b, HudTStyle style) {
  Guard hold(lock_);
  if (!OwnerRegistered(esp_id) || id < 1) return -1;
  if (id <= texts_.High() && texts_.Slot(id)) return -1;
  if (b.Place.AutoScale) {
    const float autoscale = GetHudScale();
    ScalePlacement(b.Place, autoscale);
    b.Width *= autoscale;
    b.Height *= autoscale;
    style.FontHeight = TruncToInt(static_cast<double>(style.FontHeight) * autoscale);
    style.FontWidth = TruncToInt(static_cast<double>(style.FontWidth) * autoscale);
  }
  auto record = std::make_unique<HudTR>();
  HudTR* t = record.get();
  if (texts_.AddAt(id, std::move(record)) == -1) return -1;
  order_dirty_ = true;
  t->EspID = static_cast<uint8_t>(esp_id);
  PlaceRecord(b.Place, *t);
  t->Width = b.Width;
  t->Height = b.Height;
  StyleHudT(id, style);
  return id;
}

void Hud::StyleHudT(int32_t id, const HudTStyle& style) {
  Guard hold(lock_);
  HudTR* t = texts_.Get(id);
  if (!t) return;
  t->Format = style.Format;
  ReleaseTextObjects(*t);
  t->Show = style.Show;
  t->FontName = style.FontName;
  t->Text = style.Text;
  t->FontHeight = style.FontHeight;
  t->FontWidth = style.FontWidth;
  t->Weight = style.Weight;
  t->Italic = style.Italic;
  t->R = style.R;
  t->G = style.G;
  t->B = style.B;
  CreateHudTFont(*t);
}

void Hud::RemoveHudT(int32_t id) {
  Guard hold(lock_);
  if (std::unique_ptr<HudTR> gone = texts_.Remove(id)) {
    ReleaseTextObjects(*gone);
    order_dirty_ = true;
  }
}

void Hud::RemoveEspHudT(int32_t esp_id, bool force) {
  if (!OwnerRegistered(esp_id)) return;
  Guard hold(lock_);
  int32_t first = texts_.MinUsed(), last = texts_.MaxUsed();
  for (int32_t id = std::max(first, 1); id <= last; ++id) {
    HudTR* t = texts_.Get(id);
    if (t && t->EspID == esp_id && (t->Protected == 0 || force)) RemoveHudT(id);
  }
}

void Hud::ClearHudT() {
  Guard hold(lock_);
  texts_.ForEach([&](int32_t, HudTR& t) { ReleaseTextObjects(t); });
  texts_.Reset();
  order_dirty_ = true;
}

int32_t Hud::SetHudTEsp(int32_t id, int32_t esp_id) {
  HudTR* t = texts_.Get(id);
  if (!t) return -1;
  if (esp_id >= 0 && OwnerRegistered(esp_id)) t->EspID = static_cast<uint8_t>(esp_id);
  return t->EspID;
}

int32_t Hud::SetHudTProtected(int32_t id, int32_t value) {
  HudTR* t = texts_.Get(id);
  if (!t) return -1;
  if (value >= 1) t->Protected = 1;
  if (value == 0) t->Protected = 0;
  return t->Protected;
}

}  // namespace korvel
