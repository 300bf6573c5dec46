// Builds a co-save in memory, section by section, in the order the file
// holds them. The game always gets the current version; an older version
// lays the file out as that version did (for test files).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/cosave_records.h"

namespace korvel {

// The Io that appends fields to a file in a version's layout.
class FieldAppender {
 public:
  FieldAppender(std::string& out, int32_t version) : out_(out), version_(version) {}
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U32(uint32_t v);
  void F32(float v);
  void U16(uint16_t v);
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void Text(std::string_view text);
  void EspId(int32_t esp_id);
  void Protected(uint8_t is_protected);
  void Reserved(size_t n) { out_.append(n, '\0'); }

 private:
  std::string& out_;
  int32_t version_;
};

class CoSaveEncoder {
 public:
  explicit CoSaveEncoder(int32_t version = kCoSaveVersion);
  CoSaveEncoder(const CoSaveEncoder&) = delete;
  CoSaveEncoder& operator=(const CoSaveEncoder&) = delete;
  void Mods(const std::vector<CoSaveMod>& mods);
  // Strings: BeginStrings, String per entry, EndStrings back-patches the count.
  void BeginStrings();
  void String(int32_t id, int32_t owner, uint8_t is_protected, std::string_view text);
  void EndStrings();
  // One array section; items in slot order.
  void Array(int32_t id, int32_t owner, uint8_t is_protected, int32_t size,
             const std::vector<CoSaveItem>& items);
  void Names(const std::vector<CoSaveName>& names);
  void Screen(int32_t width, int32_t height);
  void HudSurfaces(const std::vector<CoSaveHudSurface>& surfaces);
  void HudTexts(const std::vector<CoSaveHudText>& texts);
  // The match value (not in versions up to 0x01040000), the length field
  // and the checksum; the finished file.
  std::string Finish(uint32_t save_match);
  // Bytes written so far.
  size_t size() const { return out_.size(); }
  // Room for the whole file, when its size is known beforehand.
  void Reserve(size_t bytes) { out_.reserve(bytes); }

 private:
  // A section of a type: its type byte, the count and each entry's fields.
  template <class Entry>
  void Section(uint8_t type, const std::vector<Entry>& entries,
               void (*fields)(FieldAppender&, const Entry&));

  std::string out_;
  int32_t version_;
  FieldAppender append_;
  size_t count_at_ = 0;
  int32_t count_ = 0;
};

}  // namespace korvel
