// The co-save file format: "KorvelSave", a version, sections of mods,
// strings, arrays, name overrides, screen size and HUD elements, the save
// match value, a length field and a CRC-32. Little-endian throughout;
// texts are an i32 byte count and the bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr int32_t kCoSaveVersion = 0x01050001;
inline constexpr char kCoSaveMagic[] = "KorvelSave";
inline constexpr size_t kCoSaveHeaderSize = 14;

enum CoSaveSectionType : uint8_t {
  kSectionMods = 0,
  kSectionStrings = 1,
  kSectionArray = 2,
  kSectionNames = 3,
  kSectionScreen = 4,
  kSectionHudSurfaces = 5,
  kSectionHudTexts = 6,
};

struct CoSaveMod {
  int32_t esp_id;
  uint8_t mod_index;
  std::string name;
};

struct CoSaveString {
  int32_t id;
  int32_t owner;
  uint8_t is_protected;
  std::string text;
};

struct CoSaveItem {
  int32_t index;
  uint8_t type;  // 0 integer, 1 reference (form id), 2 float bits
  uint32_t value;
};

struct CoSaveArray {
  int32_t id;
  int32_t owner;
  uint8_t is_protected;
  int32_t size;
  std::vector<CoSaveItem> items;
};

struct CoSaveName {
  uint32_t form_id;
  std::string name;
};

struct CoSaveHudSurface {
  int32_t id;
  uint8_t esp_id, is_protected, root_id;
  std::string filename;
  uint8_t show;
  float x, y;
  uint16_t layer;
  float scale_x, scale_y;
  uint8_t opacity, alignment, auto_scale;
};

struct CoSaveHudText {
  int32_t id;
  uint8_t esp_id, is_protected, show;
  float x, y;
  uint16_t layer;
  float scale_x, scale_y;
  uint8_t opacity, alignment, auto_scale;
  float width, height;
  uint8_t format;
  std::string font_name, text;
  int32_t font_height, font_width;
  uint16_t weight;
  uint8_t italic, r, g, b;
};

// Builds a co-save in memory, section by section, in the order the file
// holds them.
class CoSaveWriter {
 public:
  CoSaveWriter();
  void Mods(const std::vector<CoSaveMod>& mods);
  // Strings: BeginStrings, String per entry, EndStrings back-patches the count.
  void BeginStrings();
  void String(int32_t id, uint8_t owner, uint8_t is_protected, std::string_view text);
  void EndStrings();
  // One array section; items in slot order.
  void Array(int32_t id, uint8_t owner, uint8_t is_protected, int32_t size,
             const std::vector<CoSaveItem>& items);
  void Names(const std::vector<CoSaveName>& names);
  void Screen(int32_t width, int32_t height);
  void HudSurfaces(const std::vector<CoSaveHudSurface>& surfaces);
  void HudTexts(const std::vector<CoSaveHudText>& texts);
  // The match value, the length field and the checksum; the finished file.
  std::string Finish(uint32_t save_match);

 private:
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v);
  void Text(std::string_view text);
  std::string out_;
  size_t count_at_ = 0;
  int32_t count_ = 0;
};

// Receives what a co-save holds, in file order, as it is read.
class CoSaveSink {
 public:
  virtual ~CoSaveSink() = default;
  virtual void Mods(const std::vector<CoSaveMod>& mods) = 0;
  virtual void String(CoSaveString&& entry) = 0;
  virtual void Array(CoSaveArray&& entry) = 0;
  virtual void Names(std::vector<CoSaveName>&& names) = 0;
  virtual void Screen(int32_t width, int32_t height) = 0;
  virtual void HudSurface(CoSaveHudSurface&& entry) = 0;
  virtual void HudText(CoSaveHudText&& entry) = 0;
};

enum class CoSaveReadStatus {
  kOk,
  kCorrupted,       // wrong magic, length, checksum, section or a short read
  kUnknownVersion,  // newer than this library
  kMismatch,        // belongs to another game save
};

// Reads a co-save. probed_match is the match value of the game save being
// loaded (0xFFFFFFFF when unknown). Every count and length is checked
// against the bytes left before anything is allocated; what was handed to
// the sink before a failure stays handed.
CoSaveReadStatus ReadCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink);

}  // namespace korvel
