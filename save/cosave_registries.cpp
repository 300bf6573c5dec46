#include "save/cosave_registries.h"

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "base/engine.h"
#include "base/flags.h"
#include "hud/hud.h"
#include "hud/screen.h"
#include "mods/esp_registry.h"
#include "names/names.h"
#include "objects/array_store.h"
#include "objects/string_store.h"

namespace korvel {
namespace {

// Asks for the cache line at p (null asks nothing); no effect on results.
inline void Prefetch(const void* p) {
  if (p) __builtin_prefetch(p);
}

// An array as stored: created at its id, then filled as its items are
// read, without growing past its stored size; references follow the
// current load order.
class ArrayRestorer {
 public:
  bool Begin(const CoSaveArray& a) {
    body_ = nullptr;
    if (CreateArrayAt(a.owner, a.id, a.size, a.is_protected != 0) < 0) return false;
    body_ = &GetArrays().Get(a.id)->Body;
    return true;
  }
  void Items(const CoSaveItem* items, size_t count) {
    EspRegistry& mods = GetMods();
    for (size_t i = 0; i < count; ++i) {
      const CoSaveItem& item = items[i];
      if (item.type > kItemFloat) continue;
      uint32_t value = item.type == kItemReference ? mods.RemapFormId(item.value) : item.value;
      body_->SetItem(item.index, item.type, 0, value);
    }
  }
  void End() { body_ = nullptr; }

 private:
  TypeArray* body_ = nullptr;
};

void RestoreNames(std::vector<CoSaveName>&& names) {
  Engine& engine = GetEngine();
  for (const CoSaveName& n : names) {
    uint32_t form_id = GetMods().RemapFormId(n.form_id);
    if (form_id == 0) continue;
    // An override that finds no memory is dropped; the others follow.
    try {
      if (void* form = engine.LookupForm(form_id)) GetNames().SetOverride(form, form, n.name);
    } catch (const std::bad_alloc&) {
    }
  }
}

void GatherMods(CoSaveEncoder& encoder) {
  EspRegistry& mods = GetMods();
  if (mods.last_position() < 0) return;
  std::vector<CoSaveMod> list;
  for (int i = 0; i <= mods.last_position(); ++i) {
    const EspR& r = mods.record(i);
    list.push_back({static_cast<uint8_t>(r.EspID), r.current_mod_index, r.name});
  }
  encoder.Mods(list);
}

// How many ids ahead the walk over the strings asks for the records and,
// half as far, for their texts: each string is two loads from wherever the
// heap put it, and waiting for them one by one is most of a large save.
constexpr int32_t kRecordsAhead = 16;
constexpr int32_t kTextsAhead = kRecordsAhead / 2;

void GatherStrings(CoSaveEncoder& encoder) {
  TStringIDList& strings = GetStrings();
  if (strings.empty()) return;
  // Counted first (a walk over slots, no copies), so the section's count is
  // written before its entries and never patched afterwards.
  const int32_t lowest = strings.min_used(), highest = strings.max_used();
  int32_t count = 0;
  for (int32_t id = highest; id >= lowest; --id)
    if (strings.Get(id)) ++count;
  encoder.BeginStrings(count);
  for (int32_t id = highest; id >= lowest; --id) {
    if (id - kRecordsAhead >= lowest) Prefetch(strings.Get(id - kRecordsAhead));
    if (id - kTextsAhead >= lowest)
      if (const StringR* ahead = strings.Get(id - kTextsAhead)) Prefetch(ahead->Text.data());
    if (const StringR* s = strings.Get(id)) encoder.String(id, s->EspID, s->Protected, s->Text);
  }
}

// Items go from the array body to the file without a copy in between.
void GatherArrays(CoSaveEncoder& encoder) {
  TArrayIDList& arrays = GetArrays();
  if (arrays.empty()) return;
  for (int32_t id = arrays.max_used(); id >= arrays.min_used(); --id) {
    const ArrayEntry* entry = arrays.Get(id);
    if (!entry) continue;
    const TypeArray& body = entry->Body;
    encoder.BeginArray(id, entry->EspID, entry->Protected, body.Size(), body.Count());
    encoder.Items(body.TypeRow(), body.ValueRow(), body.Size(), kItemEmpty);
  }
}

void GatherNameOverrides(CoSaveEncoder& encoder) {
  const auto& records = GetNames().records();
  if (records.empty()) return;
  std::vector<CoSaveName> names;
  for (const auto& r : records) names.push_back({r->FormID, r->Name});
  encoder.Names(names);
}

// The HUD of the HUD variant; null in the plain variant.
Hud* ActiveHud() { return GetFlags().hud_variant ? GetHud() : nullptr; }

// The screen and the HUD elements, each list from its highest used id
// down, when the HUD variant has any element.
void GatherHud(CoSaveEncoder& encoder) {
  Hud* hud = ActiveHud();
  if (!hud || (hud->surfaces().Empty() && hud->texts().Empty())) return;
  std::lock_guard<std::recursive_mutex> hold(hud->lock());
  encoder.Screen(GetScreen().width, GetScreen().height);
  std::vector<CoSaveHudSurface> surfaces;
  hud->surfaces().ForEach([&](int32_t id, const HudSR& s) {
    surfaces.push_back({id, s.EspID, s.Protected, s.RootID, s.Filename, s.Show, s.X, s.Y, s.L,
                        s.ScaleX, s.ScaleY, s.Opacity, s.Alignment, s.AutoScale});
  });
  std::reverse(surfaces.begin(), surfaces.end());
  if (!surfaces.empty()) encoder.HudSurfaces(surfaces);
  std::vector<CoSaveHudText> texts;
  hud->texts().ForEach([&](int32_t id, const HudTR& t) {
    CoSaveHudText e;
    e.id = id;
    e.esp_id = t.EspID;
    e.is_protected = t.Protected;
    e.show = t.Show;
    e.x = t.X;
    e.y = t.Y;
    e.layer = t.L;
    e.scale_x = t.ScaleX;
    e.scale_y = t.ScaleY;
    e.opacity = t.Opacity;
    e.alignment = t.Alignment;
    e.auto_scale = t.AutoScale;
    e.width = t.Width;
    e.height = t.Height;
    e.format = t.Format;
    e.font_name = t.FontName;
    e.text = t.Text;
    e.font_height = t.FontHeight;
    e.font_width = t.FontWidth;
    e.weight = t.Weight;
    e.italic = t.Italic;
    e.r = t.R;
    e.g = t.G;
    e.b = t.B;
    texts.push_back(std::move(e));
  });
  std::reverse(texts.begin(), texts.end());
  if (!texts.empty()) encoder.HudTexts(texts);
}

// Where a saved surface or text stands, as stored.
template <class Element>
HudPlacement PlacementOf(const Element& e) {
  HudPlacement p;
  p.X = e.x;
  p.Y = e.y;
  p.L = e.layer;
  p.ScaleX = e.scale_x;
  p.ScaleY = e.scale_y;
  p.Opacity = e.opacity;
  p.Alignment = e.alignment;
  p.AutoScale = e.auto_scale;
  p.Protected = e.is_protected;
  return p;
}

void RestoreHudSurface(CoSaveHudSurface&& e) {
  Hud* hud = ActiveHud();
  if (!hud) return;
  HudSFields f;
  f.RootID = e.root_id;
  f.Filename = std::move(e.filename);
  f.Show = e.show;
  f.Place = PlacementOf(e);
  f.Place.L = std::clamp<uint16_t>(e.layer, kLayerMin, kLayerMax);
  hud->AddHudSAt(e.esp_id, e.id, std::move(f));
}

void RestoreHudText(CoSaveHudText&& e) {
  Hud* hud = ActiveHud();
  if (!hud) return;
  HudTBox b;
  b.Place = PlacementOf(e);
  b.Width = e.width;
  b.Height = e.height;
  HudTStyle style;
  style.Text = std::move(e.text);
  style.FontName = std::move(e.font_name);
  style.Show = e.show;
  style.FontHeight = e.font_height;
  style.FontWidth = e.font_width;
  style.Weight = std::min<uint16_t>(e.weight, 1000);
  style.Italic = e.italic;
  style.R = e.r;
  style.G = e.g;
  style.B = e.b;
  style.Format = e.format;
  hud->AddHudTAt(e.esp_id, e.id, b, std::move(style));
}

// Applies what a co-save holds to the registries as it is decoded.
class RegistryRestorer final : public CoSaveSink {
 public:
  void Mods(const std::vector<CoSaveMod>& mods) override {
    EspRegistry& registry = GetMods();
    registry.ClearForLoad();
    for (const CoSaveMod& m : mods) registry.Restore(m.esp_id, m.mod_index, m.name);
    registry.AssignFree();
  }
  void String(CoSaveString&& s) override {
    auto entry = std::make_unique<StringR>();
    entry->Text = std::move(s.text);
    GetStrings().CreateAt(s.owner, s.id, std::move(entry), s.is_protected != 0);
  }
  bool BeginArray(const CoSaveArray& header, int32_t) override { return array_.Begin(header); }
  void ArrayItems(const CoSaveItem* items, size_t count) override { array_.Items(items, count); }
  void EndArray() override { array_.End(); }
  // Arrays come through the three calls above, never whole.
  void Array(CoSaveArray&&) override {}
  void Names(std::vector<CoSaveName>&& names) override { RestoreNames(std::move(names)); }
  void Screen(int32_t width, int32_t height) override {
    GetSavedScreen() = {width, height};
    if (width != 0 && height != 0) {
      const ScreenSize& now = GetScreen();
      float by_width = static_cast<float>(now.width) / static_cast<float>(width);
      float by_height = static_cast<float>(now.height) / static_cast<float>(height);
      GetHudScale() = by_width < by_height ? by_width : by_height;
    }
  }
  // HUD elements are always read, so the stream stays in step; only the
  // HUD variant makes them.
  void HudSurface(CoSaveHudSurface&& e) override { RestoreHudSurface(std::move(e)); }
  void HudText(CoSaveHudText&& e) override { RestoreHudText(std::move(e)); }

 private:
  ArrayRestorer array_;
};

}  // namespace

void GatherRegistries(CoSaveEncoder& encoder) {
  GatherMods(encoder);
  GatherStrings(encoder);
  GatherArrays(encoder);
  GatherNameOverrides(encoder);
  GatherHud(encoder);
}

CoSaveReadStatus RestoreRegistries(CoSaveSource& source, uint32_t probed_match) {
  RegistryRestorer restorer;
  return DecodeCoSave(source, probed_match, restorer);
}

CoSaveReadStatus RestoreRegistries(std::string_view file, uint32_t probed_match) {
  CoSaveMemorySource source(file);
  return RestoreRegistries(source, probed_match);
}

bool SomethingToSave() {
  Hud* hud = ActiveHud();
  return !GetStrings().empty() || HasArrays() || HasNameOverrides() ||
         (hud && (!hud->surfaces().Empty() || !hud->texts().Empty()));
}

void ClearAllObjects() {
  ClearAllStrings();
  ClearAllArrays();
  ClearNameOverrides();
  if (Hud* hud = ActiveHud()) {
    hud->ClearHudS();
    hud->ClearHudT();
  }
}

}  // namespace korvel
