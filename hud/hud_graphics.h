// What the HUD asks of the graphics device: textures, fonts and one sprite
// batch. The game build implements it over Direct3D 9 and D3DX9
// (hud_graphics_d3d9.cpp); native tests and benchmarks record the calls.
// Every device object the HUD holds is made and released here, so one
// place owns them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace korvel {

// Opaque device objects: an IDirect3DTexture9 and an ID3DXFont in the game.
struct HudTexture;
struct HudFont;

// A row-major 4x4 matrix as D3DX lays it out (row vectors, translation in
// the last row).
struct HudMatrix {
  float m[4][4] = {};
};

// The parts of an image file's description the HUD uses; zero until an
// image file was read.
struct HudImageInfo {
  uint32_t Width = 0;
  uint32_t Height = 0;
};

struct HudFontRequest {
  int32_t height;
  int32_t width;
  uint32_t weight;
  bool italic;
  const std::string* face;
};

struct HudRect {
  int32_t left, top, right, bottom;
};

class HudGraphics {
 public:
  virtual ~HudGraphics() = default;

  // Loads an image file as a texture with magenta as colour key; null when
  // there is no device or the file cannot be read.
  virtual HudTexture* LoadTexture(const std::string& path) = 0;
  // The file's image size; false (info untouched) when it cannot be read.
  virtual bool ReadImageInfo(const std::string& path, HudImageInfo* info) = 0;
  virtual void ReleaseTexture(HudTexture* texture) = 0;
  // Null when there is no device or the font cannot be made.
  virtual HudFont* MakeFont(const HudFontRequest& request) = 0;
  virtual void ReleaseFont(HudFont* font) = 0;

  // Scaling (sx, sy, 1) then translation (tx, ty, tz), with no centres and
  // no rotation.
  virtual HudMatrix Transformation(float sx, float sy, float tx, float ty, float tz);

  // The sprite batch. HasSprite is false while the device is lost or before
  // the game made its device.
  virtual bool HasSprite() = 0;
  virtual bool Begin() = 0;             // alpha blending, back-to-front depth sort
  virtual bool SetPointMipFilter() = 0;  // sampler 0
  virtual void SetTransform(const HudMatrix& transform) = 0;
  virtual void Draw(HudTexture* texture, uint32_t colour) = 0;
  virtual void DrawString(HudFont* font, const char* text, int32_t length, const HudRect& rect,
                        uint32_t flags, uint32_t colour) = 0;
  virtual void End() = 0;

  // Device loss: the sprite goes before a reset and comes back after one.
  virtual void ReleaseSprite() = 0;
  virtual void RecreateSprite() = 0;
};

}  // namespace korvel
