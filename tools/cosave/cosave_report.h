// What the co-save tool tells about co-saves: the bytes each mod keeps
// (stats), what changed between two of them (diff), and one mod's objects
// taken out (prune).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "save/cosave_image.h"

namespace korvel::cosave_tool {

// What one mod keeps in a co-save, in bytes as the file holds them.
struct ModUsage {
  int32_t esp_id = -1;  // -1: name overrides of forms no listed mod defines
  std::string name;     // the mod's file name, empty when the mods section has none
  size_t strings = 0, string_bytes = 0;
  size_t arrays = 0, items = 0, array_bytes = 0;
  size_t names = 0, name_bytes = 0;
  size_t hud = 0, hud_bytes = 0;
  size_t bytes() const { return string_bytes + array_bytes + name_bytes + hud_bytes; }
};

// One object of a co-save and the bytes it takes.
struct ObjectUsage {
  std::string kind;  // "string", "array", "HUD surface", "HUD text"
  int32_t id = 0, owner = 0;
  size_t bytes = 0;
};

struct Usage {
  std::vector<ModUsage> mods;  // largest first
  std::vector<ObjectUsage> largest;  // the largest objects, largest first (at most kLargest)
  static constexpr size_t kLargest = 10;
  // Header, section heads, the mods section and the trailer, as the game
  // writes the file; with the mods' bytes it adds up to the file's size.
  size_t structure_bytes = 0;
  size_t total() const;
};

Usage MeasureUsage(const CoSaveImage& image);
std::string UsageReport(const Usage& usage, size_t file_size);

// One line per difference, per mod and object; empty when a and b hold the same.
std::vector<std::string> Differences(const CoSaveImage& a, const CoSaveImage& b);

// Removes the objects of the mod named mod_name (compared without case),
// the name overrides of forms it defines and its registry entry. false
// when no mod has that name. warnings learns of other mods' integers that
// equal the id of a removed string (they may refer to it).
bool PruneMod(CoSaveImage* image, const std::string& mod_name, std::vector<std::string>* warnings);

}  // namespace korvel::cosave_tool
