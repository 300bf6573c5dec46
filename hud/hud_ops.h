// What the HUD commands do, on values already taken from their arguments:
// the handlers (hud_commands.cpp) only extract, resolve strings and write
// the result. Every change happens under the HUD lock; reads for results
// take none.
#pragma once

#include <cstdint>
#include <string>

#include "hud/hud.h"

namespace korvel {

// The fields the setter family changes.
enum class HudField : uint8_t { kX, kY, kScaleX, kScaleY, kShow, kAlignment, kLayer, kOpacity };

// Who calls: the caller's EspID (-1 for none) and the Global argument.
struct HudCaller {
  int32_t esp_id;
  int32_t global;
};

// The access rule: the caller owns the element, or it is unprotected and
// Global is non-zero.
bool HudWritable(uint8_t owner, uint8_t is_protected, const HudCaller& caller);

struct NewSurface {
  std::string filename;
  int32_t root_id = 0, show = 1;
  float x = 0, y = 0;
  int32_t layer = 500;
  float scale = 1, opacity = 100;
  int32_t alignment = kAlignDefault, autoscale = 1, is_protected = 1, esp_id = -1;
};
struct NewTextBox {
  float x = 0, y = 0, width = -1, height = -1;
  int32_t layer = 500;
  float scale = 1, opacity = 100;
  int32_t alignment = kAlignDefault, autoscale = 1, is_protected = 1, esp_id = -1;
};
struct TextStyle {
  std::string text, font_name;
  int32_t show = 1, height = 8, width = 0, weight = 0, italic = 0, r = 0, g = 0, b = 0,
          format = 148;
};

// An omitted EspID (-1) is the caller's.
int32_t NewHudS(Hud& hud, NewSurface args, int32_t caller_esp);
int32_t NewHudT(Hud& hud, const NewTextBox& args, int32_t caller_esp);

// The setter family: the field after the call (Opacity as a percentage),
// or 0 for an invalid id.
double SetHudSField(Hud& hud, int32_t id, HudField field, double value, bool relative,
                    const HudCaller& caller);
double SetHudTField(Hud& hud, int32_t id, HudField field, double value, bool relative,
                    const HudCaller& caller);

// AutoScale: a negative value only asks. 1 or 0; 0 for an invalid id.
int32_t AutoScaleHudS(Hud& hud, int32_t id, int32_t value, const HudCaller& caller);
int32_t AutoScaleHudT(Hud& hud, int32_t id, int32_t value, const HudCaller& caller);
// EspID and Protected (checked with Global 0); -1 for an invalid id.
int32_t EspHudS(Hud& hud, int32_t id, int32_t esp_id, const HudCaller& caller);
int32_t EspHudT(Hud& hud, int32_t id, int32_t esp_id, const HudCaller& caller);
int32_t ProtectHudS(Hud& hud, int32_t id, int32_t value, int32_t caller_esp);
int32_t ProtectHudT(Hud& hud, int32_t id, int32_t value, int32_t caller_esp);

void DeleteHudS(Hud& hud, int32_t id, const HudCaller& caller);
void DeleteHudT(Hud& hud, int32_t id, const HudCaller& caller);
// An omitted EspID (-1) is the caller's; a mod removes all its own
// elements and only the unprotected ones of another mod.
void DeleteAllHudS(Hud& hud, int32_t esp_id, int32_t caller_esp);
void DeleteAllHudT(Hud& hud, int32_t esp_id, int32_t caller_esp);

void TextureHudS(Hud& hud, int32_t id, const std::string& filename, int32_t root_id,
                 const HudCaller& caller);
void StyleText(Hud& hud, int32_t id, const TextStyle& args, const HudCaller& caller);
void ReplaceText(Hud& hud, int32_t id, const std::string& text, const HudCaller& caller);

// HudsInfo and HudTInfo: 0 for an invalid id or an unknown InfoType.
double HudSInfo(const Hud& hud, int32_t id, int32_t info_type);
double HudTInfo(const Hud& hud, int32_t id, int32_t info_type);

}  // namespace korvel
