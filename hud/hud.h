// The HUD: the surface and text lists, the HUD lock and the state of the
// render pass (the graphics behind the game's device, the device-lost
// flag). Exists in the HUD variant only; the plain variant never sets it up.
//
// Every list change and every field change happens under the HUD lock,
// which is re-entrant and which the render pass holds for its whole batch.
// Commands may read fields without it: only commands and the co-save change
// elements, the render pass and the reset handlers only release and
// recreate device objects.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "hud/hud_graphics.h"
#include "hud/hud_id_list.h"
#include "hud/hud_records.h"

namespace korvel {

using THudSIDList = HudIdList<HudSR>;
using THudTIDList = HudIdList<HudTR>;

// The engine values a drawing pass reads, fresh on every pass.
class HudEngineView {
 public:
  virtual ~HudEngineView() = default;
  virtual uint8_t DrawGate() = 0;
  virtual uint8_t ModeFlag() = 0;
  virtual bool ModeQuery(uint32_t mode) = 0;
  virtual uint8_t SubModeFlag() = 0;
};

enum class HudPass : uint8_t { kEarly = 0, kFinal = 1 };

class Hud {
 public:
  Hud();
  ~Hud();

  std::recursive_mutex& lock() { return lock_; }
  const THudSIDList& surfaces() const { return surfaces_; }
  const THudTIDList& texts() const { return texts_; }

  // The device's graphics; null before the game made its device (textures
  // and fonts then fail and elements exist without them). Not owned.
  void SetGraphics(HudGraphics* graphics);
  // The game made a (new) device: every element's device objects are made
  // again on it.
  void DeviceChanged();
  HudGraphics* graphics() const { return graphics_; }

  // List operations. esp_id must be a registered EspID (else -1).
  int32_t AddHudS(int32_t esp_id, const HudSFields& fields);
  // The co-save reader's creation at a given id; an element with AutoScale
  // is multiplied by the autoscale factor (GetHudScale) first.
  int32_t AddHudSAt(int32_t esp_id, int32_t id, HudSFields fields);
  void RemoveHudS(int32_t id);
  void RemoveEspHudS(int32_t esp_id, bool force);
  void ClearHudS();
  int32_t SetHudSEsp(int32_t id, int32_t esp_id);
  int32_t SetHudSProtected(int32_t id, int32_t value);

  int32_t AddHudT(int32_t esp_id, const HudTBox& box);
  int32_t AddHudTAt(int32_t esp_id, int32_t id, HudTBox box, HudTStyle style);
  void StyleHudT(int32_t id, const HudTStyle& style);
  void RemoveHudT(int32_t id);
  void RemoveEspHudT(int32_t esp_id, bool force);
  void ClearHudT();
  int32_t SetHudTEsp(int32_t id, int32_t esp_id);
  int32_t SetHudTProtected(int32_t id, int32_t value);

  // Under the lock: changes the element through fn, then recomputes what
  // the change needs. Does nothing for an invalid id.
  template <class Fn>
  void ChangeSurface(int32_t id, Fn&& fn, bool retransform = true);
  template <class Fn>
  void ChangeText(int32_t id, Fn&& fn, bool refont = false, bool retransform = true);

  // Device objects and transforms of one element (callers hold the lock).
  void LoadHudSTexture(HudSR& surface);
  void UpdateHudSTransform(HudSR& surface);
  void CreateHudTFont(HudTR& text);
  void UpdateHudTTransform(HudTR& text);
  // The text's DrawRect, DrawFlags and DrawColour from its fields.
  static void PrepareTextDraw(HudTR& text);

  // The render pass and device loss.
  void DrawHud(HudPass pass, HudEngineView& engine, bool suspended);
  void BeforeReset();
  void AfterReset();
  bool device_lost() const { return device_lost_; }

 private:
  HudMatrix Transformation(float sx, float sy, float tx, float ty, float tz);
  void ReleaseSurfaceObjects(HudSR& surface);
  void ReleaseTextObjects(HudTR& text);

  // Elements in the order a pass submits them: back to front by depth,
  // surfaces before texts at equal depth, each kind by ascending id. The
  // sprite's own depth sort then has nothing left to do, and a sprite that
  // does not sort still layers the elements right. Made again only after an
  // element came, went or changed its layer.
  struct DrawRef {
    float depth;
    bool text;
    int32_t id;
  };
  void RebuildOrder();

  std::recursive_mutex lock_;
  THudSIDList surfaces_;
  THudTIDList texts_;
  std::vector<DrawRef> order_;
  bool order_dirty_ = true;
  HudGraphics* graphics_ = nullptr;
  bool device_lost_ = false;
};

// The process's HUD: null in the plain variant (and before the query).
Hud* GetHud();
// Sets up the HUD of the HUD variant (idempotent).
Hud& CreateHud();
// Tests and the end of the process.
void DestroyHud();

// The situation bits a pass is drawn under (16 added in the early pass).
uint8_t CurrentSituation(HudPass pass, HudEngineView& engine);
// Whether an element with show bits s is drawn in a pass with situation m.
bool HudVisible(uint8_t show, uint8_t situation);
// ID3DXFont::DrawText flags of the Format bits.
uint32_t DrawTextFlags(uint8_t format);
// Opacity percent (clamped to 0..100, NaN as 0) to the stored 0..255 value.
uint8_t OpacityOfPercent(double percent);
double PercentOfOpacity(uint8_t opacity);
// The depths a pass sorts by: 1/L for a surface (a layer of 0 counts as 1)
// and 1/(L + 0.5) for a text.
float SurfaceDepth(uint16_t layer);
float TextDepth(uint16_t layer);
// The matrix of a scaling followed by a translation (no centres, no
// rotation), as D3DXMatrixTransformation makes it.
HudMatrix ScalingTranslation(float sx, float sy, float tx, float ty, float tz);
// Truncation toward zero, saturated to the int32 range (NaN gives 0).
int32_t TruncToInt(double value);

template <class Fn>
void Hud::ChangeSurface(int32_t id, Fn&& fn, bool retransform) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  HudSR* surface = surfaces_.Get(id);
  if (!surface) return;
  uint16_t layer = surface->L;
  fn(*surface);
  if (surface->L != layer) order_dirty_ = true;
  if (retransform) UpdateHudSTransform(*surface);
}

template <class Fn>
void Hud::ChangeText(int32_t id, Fn&& fn, bool refont, bool retransform) {
  std::lock_guard<std::recursive_mutex> hold(lock_);
  HudTR* text = texts_.Get(id);
  if (!text) return;
  uint16_t layer = text->L;
  fn(*text);
  if (text->L != layer) order_dirty_ = true;
  if (refont) CreateHudTFont(*text);
  else if (retransform) UpdateHudTTransform(*text);
  else PrepareTextDraw(*text);
}

}  // namespace korvel
