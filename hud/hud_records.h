// HudSR and HudTR: one surface (an image drawn as a textured sprite) and one
// text (a string drawn with a font). Fields in their declaration order;
// each record owns its texture or font (released through the HUD's
// graphics, never by the record itself).
#pragma once

#include <cstdint>
#include <string>

#include "hud/hud_graphics.h"

namespace korvel {

// Show bits: the situations an element is drawn in, how they match, and
// the pass.
inline constexpr uint8_t kShowSituation1 = 1;
inline constexpr uint8_t kShowSituation2 = 2;
inline constexpr uint8_t kShowSituation4 = 4;
inline constexpr uint8_t kShowMatchAny = 8;
inline constexpr uint8_t kShowEarlyPass = 16;

// Alignment bits: bit 2 (8 vertically) makes the position relative to the
// right (bottom) edge, or to the centre when bit 1 (4) is set too.
inline constexpr uint8_t kAlignHorizontalLow = 1;
inline constexpr uint8_t kAlignHorizontalHigh = 2;
inline constexpr uint8_t kAlignVerticalLow = 4;
inline constexpr uint8_t kAlignVerticalHigh = 8;
inline constexpr uint8_t kAlignDefault = 5;  // left, top

inline constexpr uint16_t kLayerMin = 1;
inline constexpr uint16_t kLayerMax = 1000;

struct HudSR {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
  uint8_t RootID = 0;
  std::string Filename;
  uint8_t Show = 0;
  float X = 0, Y = 0;
  uint16_t L = 0;
  float ScaleX = 0, ScaleY = 0;
  uint32_t Reserved = 0;
  uint8_t Opacity = 0;
  uint8_t Alignment = 0;
  uint8_t AutoScale = 0;
  HudTexture* Texture = nullptr;
  HudImageInfo ImageInfo;
  HudMatrix Transform;
};

struct HudTR {
  uint8_t EspID = 0;
  uint8_t Protected = 0;
  float X = 0, Y = 0;
  float Width = 0, Height = 0;
  uint16_t L = 0;
  uint8_t Format = 0;
  float ScaleX = 0, ScaleY = 0;
  uint8_t Opacity = 0;
  uint8_t Alignment = 0;
  uint8_t AutoScale = 0;
  uint32_t Reserved = 0;
  HudFont* Font = nullptr;
  HudMatrix Transform;
  uint8_t Show = 0;
  std::string FontName;
  std::string Text;
  int32_t FontHeight = 0;
  int32_t FontWidth = 0;
  uint16_t Weight = 0;
  uint8_t Italic = 0;
  uint8_t R = 0, G = 0, B = 0;
};

// What AddHudS and AddHudSAt store (everything but the device objects).
struct HudSFields {
  uint8_t RootID = 0;
  std::string Filename;
  uint8_t Show = 1;
  float X = 0, Y = 0;
  uint16_t L = 500;
  float ScaleX = 1, ScaleY = 1;
  uint8_t Opacity = 255;
  uint8_t Alignment = kAlignDefault;
  uint8_t AutoScale = 1;
  uint8_t Protected = 1;
};

// What AddHudT stores; the style part is set by StyleHudT.
struct HudTBox {
  float X = 0, Y = 0;
  float Width = 0, Height = 0;
  uint16_t L = 500;
  float ScaleX = 1, ScaleY = 1;
  uint8_t Opacity = 255;
  uint8_t Alignment = kAlignDefault;
  uint8_t AutoScale = 1;
  uint8_t Protected = 1;
};

struct HudTStyle {
  std::string Text;
  std::string FontName;
  uint8_t Show = 1;
  int32_t FontHeight = 8;
  int32_t FontWidth = 0;
  uint16_t Weight = 0;
  uint8_t Italic = 0;
  uint8_t R = 0, G = 0, B = 0;
  uint8_t Format = 148;
};

}  // namespace korvel
