// HudSR and HudTR: one surface (an image drawn as a textured sprite) and one
// text (a string drawn with a font). Each record owns its texture or font
// (released through the HUD's graphics, never by the record itself).
// What the render pass reads of a record comes first and together, so a
// pass touches as little memory per element as a plain array of draw calls
// would; the other fields follow in their usual order.
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
  HudMatrix Transform;
  HudTexture* Texture = nullptr;
  uint8_t Show = 0;
  uint8_t Opacity = 0;

  uint8_t EspID = 0;
  uint8_t Protected = 0;
  uint8_t RootID = 0;
  std::string Filename;
  float X = 0, Y = 0;
  uint16_t L = 0;
  float ScaleX = 0, ScaleY = 0;
  uint32_t Reserved = 0;
  uint8_t Alignment = 0;
  uint8_t AutoScale = 0;
  HudImageInfo ImageInfo;
};

struct HudTR {
  HudMatrix Transform;
  HudFont* Font = nullptr;
  // What a pass hands DrawText, made when the text changes rather than on
  // every pass: the box scaled and truncated, the flags of Format and the
  // colour with the opacity as alpha.
  HudRect DrawRect{};
  uint32_t DrawFlags = 0;
  uint32_t DrawColour = 0;
  uint8_t Show = 0;
  std::string Text;

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
  std::string FontName;
  int32_t FontHeight = 0;
  int32_t FontWidth = 0;
  uint16_t Weight = 0;
  uint8_t Italic = 0;
  uint8_t R = 0, G = 0, B = 0;
};

// Where and how an element is placed, and whether it is protected: what
// surfaces and texts share, in the order the co-save lists them.
struct HudPlacement {
  float X = 0, Y = 0;
  uint16_t L = 500;
  float ScaleX = 1, ScaleY = 1;
  uint8_t Opacity = 255;
  uint8_t Alignment = kAlignDefault;
  uint8_t AutoScale = 1;
  uint8_t Protected = 1;
};

// Copies a placement into a surface or a text record.
template <class Record>
void PlaceRecord(const HudPlacement& p, Record& r) {
  r.X = p.X;
  r.Y = p.Y;
  r.L = p.L;
  r.ScaleX = p.ScaleX;
  r.ScaleY = p.ScaleY;
  r.Opacity = p.Opacity;
  r.Alignment = p.Alignment;
  r.AutoScale = p.AutoScale;
  r.Protected = p.Protected;
}

// What AddHudS and AddHudSAt store (everything but the device objects).
struct HudSFields {
  uint8_t RootID = 0;
  std::string Filename;
  uint8_t Show = 1;
  HudPlacement Place;
};

// What AddHudT stores; the style part is set by StyleHudT.
struct HudTBox {
  HudPlacement Place;
  float Width = 0, Height = 0;
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
