// The co-save file format: "KorvelSave", a version, sections of mods,
// strings, arrays, name overrides, screen size and HUD elements, the save
// match value, a length field and a CRC-32. Little-endian throughout;
// texts are an i32 byte count and the bytes. The fields of each section are
// listed once, in cosave_records.h.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The trailer: the save match value (from 0x01040001), the length field
// (the bytes before it) and the CRC-32 of everything before the checksum.
inline constexpr size_t kCoSaveMatchSize = 4;
inline constexpr size_t kCoSaveLengthSize = 4;
inline constexpr size_t kCoSaveChecksumSize = 4;

}  // namespace korvel
