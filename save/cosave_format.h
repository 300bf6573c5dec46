// The co-save file format: "KorvelSave", a version, sections of mods,
// strings, arrays, name overrides, screen size and HUD elements, the save
// match value, a length field and a CRC-32. Little-endian throughout;
// texts are an i32 byte count and the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr int32_t kCoSaveVersion = 0x01050001;
inline constexpr char kCoSaveMagic[] = "KorvelSave";
inline constexpr size_t kCoSaveHeaderSize = 14;
// A save match value that is not known; it never counts as a mismatch.
inline constexpr uint32_t kUnknownSaveMatch = 0xFFFFFFFFu;

// Layout differences of older files: 0x01000000 has no Protected bytes,
// below 0x01020000 EspIDs are i32, up to 0x01040000 the trailer is the
// length and checksum only (no save match value).
inline constexpr bool CoSaveHasProtected(int32_t version) { return version != 0x01000000; }
inline constexpr bool CoSaveWideEspIds(int32_t version) { return version < 0x01020000; }
inline constexpr bool CoSaveHasMatch(int32_t version) { return version > 0x01040000; }
// From 0x01040001 to 0x01050000 the match value is stored but not checked.
inline constexpr bool CoSaveChecksMatch(int32_t version) { return version > 0x01050000; }

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
  int32_t esp_id = 0;
  uint8_t mod_index = 0;
  std::string name;
  bool operator==(const CoSaveMod&) const = default;
};

struct CoSaveString {
  int32_t id = 0;
  int32_t owner = 0;
  uint8_t is_protected = 0;
  std::string text;
  bool operator==(const CoSaveString&) const = default;
};

struct CoSaveItem {
  int32_t index = 0;
  uint8_t type = 0;  // 0 integer, 1 reference (form id), 2 float bits
  uint32_t value = 0;
  bool operator==(const CoSaveItem&) const = default;
};

struct CoSaveArray {
  int32_t id = 0;
  int32_t owner = 0;
  uint8_t is_protected = 0;
  int32_t size = 0;
  std::vector<CoSaveItem> items;  // used slots in slot order
  bool operator==(const CoSaveArray&) const = default;
};

struct CoSaveName {
  uint32_t form_id = 0;
  std::string name;
  bool operator==(const CoSaveName&) const = default;
};

// The fields of a HUD surface record as stored; the 4 reserved bytes
// between the scale and the opacity are not kept.
struct CoSaveHudSurface {
  int32_t id = 0;
  uint8_t esp_id = 0, is_protected = 0, root_id = 0;
  std::string filename;
  uint8_t show = 0;
  float x = 0, y = 0;
  uint16_t layer = 0;  // L
  float scale_x = 0, scale_y = 0;
  uint8_t opacity = 0, alignment = 0, auto_scale = 0;
  bool operator==(const CoSaveHudSurface&) const = default;
};

struct CoSaveHudText {
  int32_t id = 0;
  uint8_t esp_id = 0, is_protected = 0, show = 0;
  float x = 0, y = 0;
  uint16_t layer = 0;  // L
  float scale_x = 0, scale_y = 0;
  uint8_t opacity = 0, alignment = 0, auto_scale = 0;
  float width = 0, height = 0;
  uint8_t format = 0;
  std::string font_name, text;
  int32_t font_height = 0, font_width = 0;
  uint16_t weight = 0;
  uint8_t italic = 0, r = 0, g = 0, b = 0;
  bool operator==(const CoSaveHudText&) const = default;
};

// Builds a co-save in memory, section by section, in the order the file
// holds them. The game always gets the current version; an older version
// lays the file out as that version did (for test files).
class CoSaveWriter {
 public:
  explicit CoSaveWriter(int32_t version = kCoSaveVersion);
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
  void U8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v);
  void Text(std::string_view text);
  void EspId(int32_t esp_id);  // an owner or a mod's EspID
  void Protected(uint8_t is_protected);
  std::string out_;
  int32_t version_;
  size_t count_at_ = 0;
  int32_t count_ = 0;
};

// Receives what a co-save holds, in file order, as it is read.
class CoSaveSink {
 public:
  virtual ~CoSaveSink() = default;
  virtual void Mods(const std::vector<CoSaveMod>& mods) = 0;
  // Before the entries of a strings section: how many follow (already
  // checked against the bytes left).
  virtual void StringCount(int32_t /*count*/) {}
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
// loaded (0xFFFFFFFF when unknown). The version is judged first, then the
// length field and checksum, then the match value, then the sections up to
// the data end (a section may not run into the trailer). Every count and
// length is checked against the bytes left before anything is allocated
// or looped over; what was handed to the sink before a failure stays
// handed.
CoSaveReadStatus ReadCoSave(std::string_view file, uint32_t probed_match, CoSaveSink& sink);

// The messages shown to the player; file names are given without folder.
// Of the read messages only the mismatch has a button label ("OK"); the
// failed write has "Ok".
std::string CoSaveCorruptedMessage(std::string_view cosave_name);
std::string CoSaveUnknownVersionMessage(std::string_view cosave_name);
std::string CoSaveMismatchMessage(std::string_view cosave_name, std::string_view save_name);
std::string CoSaveWriteFailedMessage(std::string_view save_name);

// The message a read with the given status shows, with its button label
// ("" for none); an empty text for kOk. Whether a mismatch is shown again
// is the caller's (it is shown once per run).
struct CoSaveNotice {
  std::string text;
  std::string button;
};
CoSaveNotice CoSaveReadNotice(CoSaveReadStatus status, std::string_view cosave_name,
                              std::string_view save_name);

// The game save's header: the save match value sits behind two
// byte-counted fields, at 42 a u8 length and its bytes, 2 bytes, a second
// u8 length and its bytes, 4 bytes, then the u32. The first
// kSaveHeaderProbeBytes bytes of the save always cover it.
inline constexpr size_t kSaveHeaderProbeBytes = 42 + 1 + 255 + 2 + 1 + 255 + 4 + 4;
// The save match value in the first bytes of a game save; kUnknownSaveMatch
// when they are too short to hold it.
uint32_t ProbeSaveMatch(std::string_view save_header);

}  // namespace korvel
