// Sample co-save images shared by the tests, the seed-file maker and the
// fuzz target: every section, every item type, texts with odd bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/cosave_image.h"

namespace korvel::samples {

// Every version whose files the reader accepts, oldest first; each differs
// from the one before in layout or in how the match value is treated.
inline const std::vector<int32_t>& CoSaveVersions() {
  static const std::vector<int32_t> versions = {0x01000000, 0x01010000, 0x01020000, 0x01030000,
                                                0x01040000, 0x01040001, 0x01050000, 0x01050001};
  return versions;
}

// One mod (EspID 0, mod index 0, "MyMod.esp") and one string (id 5, owner
// 0, protected, "hi"): 63 bytes with the match value 0x12345678.
inline CoSaveImage SmallImage() {
  CoSaveImage image;
  image.save_match = 0x12345678;
  image.mods = {{0, 0, "MyMod.esp"}};
  image.strings = {{5, 0, 1, "hi"}};
  return image;
}

inline CoSaveHudSurface SampleSurface(int32_t id, std::string filename) {
  CoSaveHudSurface s;
  s.id = id;
  s.esp_id = 2;
  s.is_protected = 1;
  s.root_id = 3;
  s.filename = std::move(filename);
  s.show = 1;
  s.x = 12.5f;
  s.y = -3.25f;
  s.layer = 1000;
  s.scale_x = 0.5f;
  s.scale_y = 2.0f;
  s.opacity = 200;
  s.alignment = 4;
  s.auto_scale = 1;
  return s;
}

inline CoSaveHudText SampleText(int32_t id, std::string text) {
  CoSaveHudText t;
  t.id = id;
  t.esp_id = 1;
  t.is_protected = 0;
  t.show = 1;
  t.x = 100.0f;
  t.y = 200.0f;
  t.layer = 7;
  t.scale_x = 1.5f;
  t.scale_y = 1.25f;
  t.opacity = 255;
  t.alignment = 2;
  t.auto_scale = 0;
  t.width = 640.0f;
  t.height = 48.0f;
  t.format = 0x11;
  t.font_name = "Arial";
  t.text = std::move(text);
  t.font_height = 24;
  t.font_width = -1;
  t.weight = 700;
  t.italic = 1;
  t.r = 0x10;
  t.g = 0x80;
  t.b = 0xFF;
  return t;
}

// Every section, already in the order the writer puts them (highest id
// first), so that it reads back equal. Owners fit a byte and, when
// with_protected is false, nothing is protected (as in 0x01000000 files).
inline CoSaveImage RichImage(bool with_protected = true) {
  uint8_t p = with_protected ? 1 : 0;
  CoSaveImage image;
  image.save_match = 0x0BADF00D;
  image.mods = {{0, 0, "Veldmark.esm"}, {2, 1, "Quests Of Old.esp"}, {1, 4, "z.esp"}};
  image.strings = {{0x7FFFFF, 2, p, "last id"},
                   {40, 1, 0, std::string("nul\0inside", 10)},
                   {3, 0, p, ""},
                   {0, 2, 0, "\xFF\xFE high bytes\r\n"}};
  image.arrays = {
      {9, 2, p, 6, {{0, 0, 0xFFFFFFFF}, {1, 1, 0x01000ABC}, {2, 2, 0x3F800000}, {5, 1, 0xFF000001}}},
      {4, 0, 0, 0, {}},
      {1, 1, p, 1000, {{999, 0, 42}}},
  };
  image.names = {{0x01000ABC, "Old Sword"}, {0x00000014, ""}, {0xFF000001, "Made in play"}};
  image.has_screen = true;
  image.screen_width = 1920;
  image.screen_height = 1080;
  image.hud_surfaces = {SampleSurface(8, "Textures\\Menus\\icon.dds"), SampleSurface(1, "")};
  image.hud_texts = {SampleText(3, "Hello\nworld"), SampleText(2, "")};
  return image;
}

}  // namespace korvel::samples
