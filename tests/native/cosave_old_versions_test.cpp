// Co-saves of the older versions the reader accepts, written out byte by
// byte: each file holds three mods, two strings, two arrays, a name
// override, the screen size, a HUD surface and a HUD text, in the layout of
// its version. Versions below 0x01020000 store EspIDs (of mods, strings and
// arrays) as i32; up to 0x01040000 the trailer is the length field and the
// CRC-32 only; from 0x01040001 a save match value comes first, which these
// versions store but never check. The CRC-32 is not part of the arrays: the
// test adds it with its own bitwise CRC, so neither the layout nor the
// checksum is taken from the code under test.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/flags.h"
#include "core/global.h"
#include "fake_engine.h"
#include "hud/hud.h"
#include "hud/screen.h"
#include "mods/esp_registry.h"
#include "names/names.h"
#include "objects/array_store.h"
#include "objects/string_store.h"
#include "save/cosave_image.h"
#include "save/cosave_io.h"
#include "save/cosave_registries.h"
#include "save/save_hook.h"
#include "save/save_header_probe.h"
#include "temp_env.h"

namespace korvel {
namespace {

// The reflected CRC-32 (polynomial 0xEDB88320), bit by bit.
uint32_t BitwiseCrc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(v >> (8 * i));
}

// The file: the bytes up to and including the length field, then the CRC.
template <size_t N>
std::string Signed(const uint8_t (&bytes)[N]) {
  std::string file(reinterpret_cast<const char*>(bytes), N);
  file.append(4, '\0');
  PutU32(file, N, BitwiseCrc32(file.substr(0, N)));
  return file;
}

// Signs a changed file again, so that the change reaches the sections.
std::string Resigned(std::string file) {
  PutU32(file, file.size() - 4, BitwiseCrc32(file.substr(0, file.size() - 4)));
  return file;
}

// The files, up to and including the length field. Integers are
// little-endian; a text is its i32 byte count and its bytes.
const uint8_t kVersion0101[] = {
    'K', 'o', 'r', 'v', 'e', 'l', 'S', 'a', 'v', 'e',  // magic
    0x00, 0x00, 0x01, 0x01,  // version 0x01010000
    0x00, 0x03, 0x00, 0x00, 0x00,  // mods: 3 of them
    0x00, 0x00, 0x00, 0x00, 0x00,  //   EspID 0 (i32), mod index 0
    0x08, 0x00, 0x00, 0x00, 'B', 'a', 's', 'e', '.', 'e', 's', 'm',  //   "Base.esm"
    0x05, 0x00, 0x00, 0x00, 0x01,  //   EspID 5 (i32), mod index 1
    0x05, 0x00, 0x00, 0x00, 'B', '.', 'E', 'S', 'P',  //   "B.ESP"
    0x04, 0x00, 0x00, 0x00, 0x02,  //   EspID 4 (i32), mod index 2
    0x05, 0x00, 0x00, 0x00, 'A', '.', 'e', 's', 'p',  //   "A.esp"
    0x01, 0x02, 0x00, 0x00, 0x00,  // strings: 2 of them
    0x06, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01,  //   id 6, owner 4 (i32), Protected
    0x02, 0x00, 0x00, 0x00, 'h', 'i',  //   "hi"
    0x02, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00,  //   id 2, owner 5 (i32), not Protected
    0x00, 0x00, 0x00, 0x00,  //   empty text
    0x02, 0x03, 0x00, 0x00, 0x00,  // array: id 3
    0x05, 0x00, 0x00, 0x00, 0x01, 0x04, 0x00, 0x00, 0x00,  //   owner 5 (i32), Protected, Size 4
    0x03, 0x00, 0x00, 0x00,  //   3 items
    0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xFF, 0xFF, 0xFF,  //   slot 0: integer -7
    0x01, 0x00, 0x00, 0x00, 0x01, 0xBC, 0x0A, 0x00, 0x02,  //   slot 1: reference 0x02000ABC
    0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0xC0, 0x3F,  //   slot 3: float 1.5
    0x02, 0x00, 0x00, 0x00, 0x00,  // array: id 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   owner 0 (i32), not Protected, Size 0
    0x00, 0x00, 0x00, 0x00,  //   no items
    0x03, 0x01, 0x00, 0x00, 0x00,  // name overrides: 1 of them
    0x0E, 0x0D, 0x00, 0x01,  //   form id 0x01000D0E
    0x05, 0x00, 0x00, 0x00, 'B', 'l', 'a', 'd', 'e',  //   "Blade"
    0x04, 0x00, 0x05, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00,  // screen: 1280 x 960
    0x05, 0x01, 0x00, 0x00, 0x00,  // HUD surfaces: 1 of them
    0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,  //   HudSID 2, EspID 4, Protected, RootID 0
    0x08, 0x00, 0x00, 0x00, 'u', 'i', '\\', 'a', '.', 'd', 'd', 's',  //   Filename "ui\\a.dds"
    0x01, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,  //   Show 1, X 10.0, Y 20.0
    0xD0, 0x07, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F,  //   L 2000, ScaleX 1.0, ScaleY 0.5
    0xDE, 0xAD, 0xBE, 0xEF,  //   reserved
    0xC8, 0x05, 0x01,  //   Opacity 200, Alignment 5, AutoScale 1
    0x06, 0x01, 0x00, 0x00, 0x00,  // HUD texts: 1 of them
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x03,  //   HudTID 1, EspID 5, not Protected, Show 3
    0x00, 0x00, 0xC8, 0x42, 0x00, 0x00, 0x48, 0x42, 0x07, 0x00,  //   X 100.0, Y 50.0, L 7
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,  //   ScaleX 1.0, ScaleY 2.0
    0x00, 0x00, 0x00, 0x00,  //   reserved
    0xFF, 0x0A, 0x00,  //   Opacity 255, Alignment 10, AutoScale 0
    0x00, 0x00, 0x96, 0x43, 0x00, 0x00, 0x20, 0x42, 0x94,  //   Width 300.0, Height 40.0, Format 148
    0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l',  //   FontName "Arial"
    0x05, 0x00, 0x00, 0x00, 'H', 'e', 'l', 'l', 'o',  //   Text "Hello"
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   FontHeight 24, FontWidth 0
    0xDC, 0x05, 0x01, 0xFF, 0x80, 0x00,  //   Weight 1500, Italic, R 255, G 128, B 0
    0x3B, 0x01, 0x00, 0x00,  // length field: its own offset, 315
};

const uint8_t kVersion0102[] = {
    'K', 'o', 'r', 'v', 'e', 'l', 'S', 'a', 'v', 'e',  // magic
    0x00, 0x00, 0x02, 0x01,  // version 0x01020000
    0x00, 0x03, 0x00, 0x00, 0x00,  // mods: 3 of them
    0x00, 0x00,  //   EspID 0, mod index 0
    0x08, 0x00, 0x00, 0x00, 'B', 'a', 's', 'e', '.', 'e', 's', 'm',  //   "Base.esm"
    0x05, 0x01,  //   EspID 5, mod index 1
    0x05, 0x00, 0x00, 0x00, 'B', '.', 'E', 'S', 'P',  //   "B.ESP"
    0x04, 0x02,  //   EspID 4, mod index 2
    0x05, 0x00, 0x00, 0x00, 'A', '.', 'e', 's', 'p',  //   "A.esp"
    0x01, 0x02, 0x00, 0x00, 0x00,  // strings: 2 of them
    0x06, 0x00, 0x00, 0x00, 0x04, 0x01,  //   id 6, owner 4, Protected
    0x02, 0x00, 0x00, 0x00, 'h', 'i',  //   "hi"
    0x02, 0x00, 0x00, 0x00, 0x05, 0x00,  //   id 2, owner 5, not Protected
    0x00, 0x00, 0x00, 0x00,  //   empty text
    0x02, 0x03, 0x00, 0x00, 0x00,  // array: id 3
    0x05, 0x01, 0x04, 0x00, 0x00, 0x00,  //   owner 5, Protected, Size 4
    0x03, 0x00, 0x00, 0x00,  //   3 items
    0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xFF, 0xFF, 0xFF,  //   slot 0: integer -7
    0x01, 0x00, 0x00, 0x00, 0x01, 0xBC, 0x0A, 0x00, 0x02,  //   slot 1: reference 0x02000ABC
    0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0xC0, 0x3F,  //   slot 3: float 1.5
    0x02, 0x00, 0x00, 0x00, 0x00,  // array: id 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   owner 0, not Protected, Size 0
    0x00, 0x00, 0x00, 0x00,  //   no items
    0x03, 0x01, 0x00, 0x00, 0x00,  // name overrides: 1 of them
    0x0E, 0x0D, 0x00, 0x01,  //   form id 0x01000D0E
    0x05, 0x00, 0x00, 0x00, 'B', 'l', 'a', 'd', 'e',  //   "Blade"
    0x04, 0x00, 0x05, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00,  // screen: 1280 x 960
    0x05, 0x01, 0x00, 0x00, 0x00,  // HUD surfaces: 1 of them
    0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,  //   HudSID 2, EspID 4, Protected, RootID 0
    0x08, 0x00, 0x00, 0x00, 'u', 'i', '\\', 'a', '.', 'd', 'd', 's',  //   Filename "ui\\a.dds"
    0x01, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,  //   Show 1, X 10.0, Y 20.0
    0xD0, 0x07, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F,  //   L 2000, ScaleX 1.0, ScaleY 0.5
    0xDE, 0xAD, 0xBE, 0xEF,  //   reserved
    0xC8, 0x05, 0x01,  //   Opacity 200, Alignment 5, AutoScale 1
    0x06, 0x01, 0x00, 0x00, 0x00,  // HUD texts: 1 of them
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x03,  //   HudTID 1, EspID 5, not Protected, Show 3
    0x00, 0x00, 0xC8, 0x42, 0x00, 0x00, 0x48, 0x42, 0x07, 0x00,  //   X 100.0, Y 50.0, L 7
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,  //   ScaleX 1.0, ScaleY 2.0
    0x00, 0x00, 0x00, 0x00,  //   reserved
    0xFF, 0x0A, 0x00,  //   Opacity 255, Alignment 10, AutoScale 0
    0x00, 0x00, 0x96, 0x43, 0x00, 0x00, 0x20, 0x42, 0x94,  //   Width 300.0, Height 40.0, Format 148
    0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l',  //   FontName "Arial"
    0x05, 0x00, 0x00, 0x00, 'H', 'e', 'l', 'l', 'o',  //   Text "Hello"
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   FontHeight 24, FontWidth 0
    0xDC, 0x05, 0x01, 0xFF, 0x80, 0x00,  //   Weight 1500, Italic, R 255, G 128, B 0
    0x26, 0x01, 0x00, 0x00,  // length field: its own offset, 294
};

const uint8_t kVersion0103[] = {
    'K', 'o', 'r', 'v', 'e', 'l', 'S', 'a', 'v', 'e',  // magic
    0x00, 0x00, 0x03, 0x01,  // version 0x01030000
    0x00, 0x03, 0x00, 0x00, 0x00,  // mods: 3 of them
    0x00, 0x00,  //   EspID 0, mod index 0
    0x08, 0x00, 0x00, 0x00, 'B', 'a', 's', 'e', '.', 'e', 's', 'm',  //   "Base.esm"
    0x05, 0x01,  //   EspID 5, mod index 1
    0x05, 0x00, 0x00, 0x00, 'B', '.', 'E', 'S', 'P',  //   "B.ESP"
    0x04, 0x02,  //   EspID 4, mod index 2
    0x05, 0x00, 0x00, 0x00, 'A', '.', 'e', 's', 'p',  //   "A.esp"
    0x01, 0x02, 0x00, 0x00, 0x00,  // strings: 2 of them
    0x06, 0x00, 0x00, 0x00, 0x04, 0x01,  //   id 6, owner 4, Protected
    0x02, 0x00, 0x00, 0x00, 'h', 'i',  //   "hi"
    0x02, 0x00, 0x00, 0x00, 0x05, 0x00,  //   id 2, owner 5, not Protected
    0x00, 0x00, 0x00, 0x00,  //   empty text
    0x02, 0x03, 0x00, 0x00, 0x00,  // array: id 3
    0x05, 0x01, 0x04, 0x00, 0x00, 0x00,  //   owner 5, Protected, Size 4
    0x03, 0x00, 0x00, 0x00,  //   3 items
    0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xFF, 0xFF, 0xFF,  //   slot 0: integer -7
    0x01, 0x00, 0x00, 0x00, 0x01, 0xBC, 0x0A, 0x00, 0x02,  //   slot 1: reference 0x02000ABC
    0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0xC0, 0x3F,  //   slot 3: float 1.5
    0x02, 0x00, 0x00, 0x00, 0x00,  // array: id 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   owner 0, not Protected, Size 0
    0x00, 0x00, 0x00, 0x00,  //   no items
    0x03, 0x01, 0x00, 0x00, 0x00,  // name overrides: 1 of them
    0x0E, 0x0D, 0x00, 0x01,  //   form id 0x01000D0E
    0x05, 0x00, 0x00, 0x00, 'B', 'l', 'a', 'd', 'e',  //   "Blade"
    0x04, 0x00, 0x05, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00,  // screen: 1280 x 960
    0x05, 0x01, 0x00, 0x00, 0x00,  // HUD surfaces: 1 of them
    0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,  //   HudSID 2, EspID 4, Protected, RootID 0
    0x08, 0x00, 0x00, 0x00, 'u', 'i', '\\', 'a', '.', 'd', 'd', 's',  //   Filename "ui\\a.dds"
    0x01, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,  //   Show 1, X 10.0, Y 20.0
    0xD0, 0x07, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F,  //   L 2000, ScaleX 1.0, ScaleY 0.5
    0xDE, 0xAD, 0xBE, 0xEF,  //   reserved
    0xC8, 0x05, 0x01,  //   Opacity 200, Alignment 5, AutoScale 1
    0x06, 0x01, 0x00, 0x00, 0x00,  // HUD texts: 1 of them
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x03,  //   HudTID 1, EspID 5, not Protected, Show 3
    0x00, 0x00, 0xC8, 0x42, 0x00, 0x00, 0x48, 0x42, 0x07, 0x00,  //   X 100.0, Y 50.0, L 7
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,  //   ScaleX 1.0, ScaleY 2.0
    0x00, 0x00, 0x00, 0x00,  //   reserved
    0xFF, 0x0A, 0x00,  //   Opacity 255, Alignment 10, AutoScale 0
    0x00, 0x00, 0x96, 0x43, 0x00, 0x00, 0x20, 0x42, 0x94,  //   Width 300.0, Height 40.0, Format 148
    0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l',  //   FontName "Arial"
    0x05, 0x00, 0x00, 0x00, 'H', 'e', 'l', 'l', 'o',  //   Text "Hello"
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   FontHeight 24, FontWidth 0
    0xDC, 0x05, 0x01, 0xFF, 0x80, 0x00,  //   Weight 1500, Italic, R 255, G 128, B 0
    0x26, 0x01, 0x00, 0x00,  // length field: its own offset, 294
};

const uint8_t kVersion0104[] = {
    'K', 'o', 'r', 'v', 'e', 'l', 'S', 'a', 'v', 'e',  // magic
    0x00, 0x00, 0x04, 0x01,  // version 0x01040000
    0x00, 0x03, 0x00, 0x00, 0x00,  // mods: 3 of them
    0x00, 0x00,  //   EspID 0, mod index 0
    0x08, 0x00, 0x00, 0x00, 'B', 'a', 's', 'e', '.', 'e', 's', 'm',  //   "Base.esm"
    0x05, 0x01,  //   EspID 5, mod index 1
    0x05, 0x00, 0x00, 0x00, 'B', '.', 'E', 'S', 'P',  //   "B.ESP"
    0x04, 0x02,  //   EspID 4, mod index 2
    0x05, 0x00, 0x00, 0x00, 'A', '.', 'e', 's', 'p',  //   "A.esp"
    0x01, 0x02, 0x00, 0x00, 0x00,  // strings: 2 of them
    0x06, 0x00, 0x00, 0x00, 0x04, 0x01,  //   id 6, owner 4, Protected
    0x02, 0x00, 0x00, 0x00, 'h', 'i',  //   "hi"
    0x02, 0x00, 0x00, 0x00, 0x05, 0x00,  //   id 2, owner 5, not Protected
    0x00, 0x00, 0x00, 0x00,  //   empty text
    0x02, 0x03, 0x00, 0x00, 0x00,  // array: id 3
    0x05, 0x01, 0x04, 0x00, 0x00, 0x00,  //   owner 5, Protected, Size 4
    0x03, 0x00, 0x00, 0x00,  //   3 items
    0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xFF, 0xFF, 0xFF,  //   slot 0: integer -7
    0x01, 0x00, 0x00, 0x00, 0x01, 0xBC, 0x0A, 0x00, 0x02,  //   slot 1: reference 0x02000ABC
    0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0xC0, 0x3F,  //   slot 3: float 1.5
    0x02, 0x00, 0x00, 0x00, 0x00,  // array: id 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   owner 0, not Protected, Size 0
    0x00, 0x00, 0x00, 0x00,  //   no items
    0x03, 0x01, 0x00, 0x00, 0x00,  // name overrides: 1 of them
    0x0E, 0x0D, 0x00, 0x01,  //   form id 0x01000D0E
    0x05, 0x00, 0x00, 0x00, 'B', 'l', 'a', 'd', 'e',  //   "Blade"
    0x04, 0x00, 0x05, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00,  // screen: 1280 x 960
    0x05, 0x01, 0x00, 0x00, 0x00,  // HUD surfaces: 1 of them
    0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,  //   HudSID 2, EspID 4, Protected, RootID 0
    0x08, 0x00, 0x00, 0x00, 'u', 'i', '\\', 'a', '.', 'd', 'd', 's',  //   Filename "ui\\a.dds"
    0x01, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,  //   Show 1, X 10.0, Y 20.0
    0xD0, 0x07, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F,  //   L 2000, ScaleX 1.0, ScaleY 0.5
    0xDE, 0xAD, 0xBE, 0xEF,  //   reserved
    0xC8, 0x05, 0x01,  //   Opacity 200, Alignment 5, AutoScale 1
    0x06, 0x01, 0x00, 0x00, 0x00,  // HUD texts: 1 of them
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x03,  //   HudTID 1, EspID 5, not Protected, Show 3
    0x00, 0x00, 0xC8, 0x42, 0x00, 0x00, 0x48, 0x42, 0x07, 0x00,  //   X 100.0, Y 50.0, L 7
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,  //   ScaleX 1.0, ScaleY 2.0
    0x00, 0x00, 0x00, 0x00,  //   reserved
    0xFF, 0x0A, 0x00,  //   Opacity 255, Alignment 10, AutoScale 0
    0x00, 0x00, 0x96, 0x43, 0x00, 0x00, 0x20, 0x42, 0x94,  //   Width 300.0, Height 40.0, Format 148
    0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l',  //   FontName "Arial"
    0x05, 0x00, 0x00, 0x00, 'H', 'e', 'l', 'l', 'o',  //   Text "Hello"
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   FontHeight 24, FontWidth 0
    0xDC, 0x05, 0x01, 0xFF, 0x80, 0x00,  //   Weight 1500, Italic, R 255, G 128, B 0
    0x26, 0x01, 0x00, 0x00,  // length field: its own offset, 294
};

const uint8_t kVersion0105[] = {
    'K', 'o', 'r', 'v', 'e', 'l', 'S', 'a', 'v', 'e',  // magic
    0x00, 0x00, 0x05, 0x01,  // version 0x01050000
    0x00, 0x03, 0x00, 0x00, 0x00,  // mods: 3 of them
    0x00, 0x00,  //   EspID 0, mod index 0
    0x08, 0x00, 0x00, 0x00, 'B', 'a', 's', 'e', '.', 'e', 's', 'm',  //   "Base.esm"
    0x05, 0x01,  //   EspID 5, mod index 1
    0x05, 0x00, 0x00, 0x00, 'B', '.', 'E', 'S', 'P',  //   "B.ESP"
    0x04, 0x02,  //   EspID 4, mod index 2
    0x05, 0x00, 0x00, 0x00, 'A', '.', 'e', 's', 'p',  //   "A.esp"
    0x01, 0x02, 0x00, 0x00, 0x00,  // strings: 2 of them
    0x06, 0x00, 0x00, 0x00, 0x04, 0x01,  //   id 6, owner 4, Protected
    0x02, 0x00, 0x00, 0x00, 'h', 'i',  //   "hi"
    0x02, 0x00, 0x00, 0x00, 0x05, 0x00,  //   id 2, owner 5, not Protected
    0x00, 0x00, 0x00, 0x00,  //   empty text
    0x02, 0x03, 0x00, 0x00, 0x00,  // array: id 3
    0x05, 0x01, 0x04, 0x00, 0x00, 0x00,  //   owner 5, Protected, Size 4
    0x03, 0x00, 0x00, 0x00,  //   3 items
    0x00, 0x00, 0x00, 0x00, 0x00, 0xF9, 0xFF, 0xFF, 0xFF,  //   slot 0: integer -7
    0x01, 0x00, 0x00, 0x00, 0x01, 0xBC, 0x0A, 0x00, 0x02,  //   slot 1: reference 0x02000ABC
    0x03, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0xC0, 0x3F,  //   slot 3: float 1.5
    0x02, 0x00, 0x00, 0x00, 0x00,  // array: id 0
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   owner 0, not Protected, Size 0
    0x00, 0x00, 0x00, 0x00,  //   no items
    0x03, 0x01, 0x00, 0x00, 0x00,  // name overrides: 1 of them
    0x0E, 0x0D, 0x00, 0x01,  //   form id 0x01000D0E
    0x05, 0x00, 0x00, 0x00, 'B', 'l', 'a', 'd', 'e',  //   "Blade"
    0x04, 0x00, 0x05, 0x00, 0x00, 0xC0, 0x03, 0x00, 0x00,  // screen: 1280 x 960
    0x05, 0x01, 0x00, 0x00, 0x00,  // HUD surfaces: 1 of them
    0x02, 0x00, 0x00, 0x00, 0x04, 0x01, 0x00,  //   HudSID 2, EspID 4, Protected, RootID 0
    0x08, 0x00, 0x00, 0x00, 'u', 'i', '\\', 'a', '.', 'd', 'd', 's',  //   Filename "ui\\a.dds"
    0x01, 0x00, 0x00, 0x20, 0x41, 0x00, 0x00, 0xA0, 0x41,  //   Show 1, X 10.0, Y 20.0
    0xD0, 0x07, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x3F,  //   L 2000, ScaleX 1.0, ScaleY 0.5
    0xDE, 0xAD, 0xBE, 0xEF,  //   reserved
    0xC8, 0x05, 0x01,  //   Opacity 200, Alignment 5, AutoScale 1
    0x06, 0x01, 0x00, 0x00, 0x00,  // HUD texts: 1 of them
    0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x03,  //   HudTID 1, EspID 5, not Protected, Show 3
    0x00, 0x00, 0xC8, 0x42, 0x00, 0x00, 0x48, 0x42, 0x07, 0x00,  //   X 100.0, Y 50.0, L 7
    0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x00, 0x40,  //   ScaleX 1.0, ScaleY 2.0
    0x00, 0x00, 0x00, 0x00,  //   reserved
    0xFF, 0x0A, 0x00,  //   Opacity 255, Alignment 10, AutoScale 0
    0x00, 0x00, 0x96, 0x43, 0x00, 0x00, 0x20, 0x42, 0x94,  //   Width 300.0, Height 40.0, Format 148
    0x05, 0x00, 0x00, 0x00, 'A', 'r', 'i', 'a', 'l',  //   FontName "Arial"
    0x05, 0x00, 0x00, 0x00, 'H', 'e', 'l', 'l', 'o',  //   Text "Hello"
    0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //   FontHeight 24, FontWidth 0
    0xDC, 0x05, 0x01, 0xFF, 0x80, 0x00,  //   Weight 1500, Italic, R 255, G 128, B 0
    0x78, 0x56, 0x34, 0x12,  // save match value 0x12345678
    0x2A, 0x01, 0x00, 0x00,  // length field: its own offset, 298
};

// The sections of the files above in file order; a damaged file keeps what
// comes before the section its damage spoils and loses the rest.
enum class Part { kMods, kStrings, kArrays, kNames, kScreen, kSurfaces, kTexts, kNothing };

struct OldVersion {
  int32_t version;
  std::string file;
  // A count raised beyond the bytes that follow it, and its section.
  size_t count_at;
  uint32_t count;
  Part spoiled;
};

std::vector<OldVersion> OldVersions() {
  return {
      {0x01010000, Signed(kVersion0101), 65, 0x7FFFFFFF, Part::kStrings},  // strings count
      {0x01020000, Signed(kVersion0102), 93, 0x00FFFFFF, Part::kArrays},   // array 3's items
      {0x01030000, Signed(kVersion0103), 140, 0x00010000, Part::kNames},   // overrides count
      {0x01040000, Signed(kVersion0104), 167, 1000, Part::kSurfaces},      // surfaces count
      {0x01050000, Signed(kVersion0105), 217, 2, Part::kTexts},            // one text too many
  };
}

// What the in-memory decoder gives for each file: the values as stored,
// before any remapping, clamping or autoscale.
CoSaveImage StoredImage(int32_t version) {
  CoSaveImage image;
  image.version = version;
  image.save_match = version > 0x01040000 ? 0x12345678u : kUnknownSaveMatch;
  image.mods = {{0, 0, "Base.esm"}, {5, 1, "B.ESP"}, {4, 2, "A.esp"}};
  image.strings = {{6, 4, 1, "hi"}, {2, 5, 0, ""}};
  image.arrays = {{3, 5, 1, 4, {{0, 0, 0xFFFFFFF9u}, {1, 1, 0x02000ABCu}, {3, 2, 0x3FC00000u}}},
                  {0, 0, 0, 0, {}}};
  image.names = {{0x01000D0Eu, "Blade"}};
  image.has_screen = true;
  image.screen_width = 1280;
  image.screen_height = 960;
  image.hud_surfaces = {{2, 4, 1, 0, "ui\\a.dds", 1, 10.0f, 20.0f, 2000, 1.0f, 0.5f, 200, 5, 1}};
  CoSaveHudText t;
  t.id = 1;
  t.esp_id = 5;
  t.show = 3;
  t.x = 100.0f;
  t.y = 50.0f;
  t.layer = 7;
  t.scale_x = 1.0f;
  t.scale_y = 2.0f;
  t.opacity = 255;
  t.alignment = 10;
  t.width = 300.0f;
  t.height = 40.0f;
  t.format = 148;
  t.font_name = "Arial";
  t.text = "Hello";
  t.font_height = 24;
  t.weight = 1500;
  t.italic = 1;
  t.r = 255;
  t.g = 128;
  image.hud_texts = {t};
  return image;
}

const char kCorrupted[] =
    "Slot.korvel could not be read (file is probably corrupted). Please try a different save.";

// The game as these files expect it: Base.esm, A.esp and B.esp loaded in
// that order (at save time B.esp came before A.esp), a form of each moved
// mod, a 640 x 480 back buffer, the HUD variant, and a game save whose
// header holds the match value 0x0BADF00D (not the one the 0x01050000 file
// stores).
class OldCoSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    GetFolders() = MakeFolders("C:\\Game\\Veldmark.exe", "C:\\Docs",
                               "C:\\Game\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel_HUD.dll");
    GetFolders().log_file = "C:\\log.txt";
    sword = engine.AddForm(0x01000ABC, "Sword");
    dagger = engine.AddForm(0x02000D0E, "Dagger");
    GetFlags().hud_variant = true;
    CreateHud();
    GetScreen() = {640, 480};
    std::string header(300, '\0');
    PutU32(header, 50, 0x0BADF00D);  // both header texts empty: the value sits at 50
    env.WriteFile(save, header);
  }
  void TearDown() override {
    ClearAllObjects();
    DestroyHud();
    GetFlags().hud_variant = false;
    GetScreen() = {};
    GetSavedScreen() = {};
    GetHudScale() = 1.0f;
  }
  // A fresh start, then the game loads the save whose co-save is file.
  void Load(const std::string& file) {
    ClearAllObjects();
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    engine.message_boxes.clear();
    sword->name = "Sword";
    dagger->name = "Dagger";
    GetSavedScreen() = {};
    GetHudScale() = 1.0f;
    ProbeSaveHeader(save);
    ASSERT_EQ(GetCoSaveState().save_match, 0x0BADF00Du);
    env.WriteFile("C:\\Slot.korvel", file);
    OnSaveLoaded(save);
  }
  // The registries hold the file's sections before `missing` and nothing
  // of that section or the ones after it.
  void ExpectRestoredBefore(Part missing) {
    EspRegistry& mods = GetMods();
    if (missing > Part::kMods) {
      EXPECT_EQ(mods.record(0).EspID, 0);
      EXPECT_EQ(mods.record(1).EspID, 4);  // A.esp, found by name
      EXPECT_EQ(mods.record(1).saved_mod_index, 2);
      EXPECT_EQ(mods.record(2).EspID, 5);  // B.esp, whose name was stored as "B.ESP"
      EXPECT_EQ(mods.record(2).saved_mod_index, 1);
    } else {
      EXPECT_EQ(mods.record(1).EspID, 1);
      EXPECT_EQ(mods.record(2).EspID, 2);
    }
    TStringIDList& strings = GetStrings();
    if (missing > Part::kStrings) {
      ASSERT_NE(strings.Get(6), nullptr);
      EXPECT_EQ(strings.Get(6)->EspID, 4);
      EXPECT_EQ(strings.Get(6)->Protected, 1);
      EXPECT_EQ(strings.Get(6)->Text, "hi");
      ASSERT_NE(strings.Get(2), nullptr);
      EXPECT_EQ(strings.Get(2)->EspID, 5);
      EXPECT_EQ(strings.Get(2)->Protected, 0);
      EXPECT_EQ(strings.Get(2)->Text, "");
      EXPECT_EQ(strings.min_used(), 2);
      EXPECT_EQ(strings.max_used(), 6);
      for (int32_t id : {3, 4, 5}) EXPECT_EQ(strings.Get(id), nullptr) << id;
    } else {
      EXPECT_TRUE(strings.empty());
    }
    TArrayIDList& arrays = GetArrays();
    if (missing > Part::kArrays) {
      ASSERT_NE(arrays.Get(3), nullptr);
      const ArrayEntry& a = *arrays.Get(3);
      EXPECT_EQ(a.EspID, 5);
      EXPECT_EQ(a.Protected, 1);
      ASSERT_EQ(a.Body.Size(), 4);
      EXPECT_EQ(a.Body.Count(), 3);
      EXPECT_EQ(a.Body.Type(0), kItemInteger);
      EXPECT_EQ(a.Body.Value(0), 0xFFFFFFF9u);
      // Stored under A.esp's index at save time (2), now at 1.
      EXPECT_EQ(a.Body.Type(1), kItemReference);
      EXPECT_EQ(a.Body.Value(1), 0x01000ABCu);
      EXPECT_FALSE(a.Body.Has(2));
      EXPECT_EQ(a.Body.Type(3), kItemFloat);
      EXPECT_EQ(a.Body.Value(3), 0x3FC00000u);
      ASSERT_NE(arrays.Get(0), nullptr);
      EXPECT_EQ(arrays.Get(0)->EspID, 0);
      EXPECT_EQ(arrays.Get(0)->Protected, 0);
      EXPECT_EQ(arrays.Get(0)->Body.Size(), 0);
      EXPECT_EQ(arrays.max_used(), 3);
    } else {
      EXPECT_TRUE(arrays.empty());
    }
    if (missing > Part::kNames) {
      // Stored under B.esp's index at save time (1), now at 2.
      ASSERT_EQ(GetNames().records().size(), 1u);
      EXPECT_EQ(GetNames().records()[0]->FormID, 0x02000D0Eu);
      EXPECT_EQ(GetNames().records()[0]->Name, "Blade");
      EXPECT_EQ(dagger->name, "Blade");
      EXPECT_EQ(sword->name, "Sword");
    } else {
      EXPECT_TRUE(GetNames().empty());
      EXPECT_EQ(dagger->name, "Dagger");
    }
    if (missing > Part::kScreen) {
      EXPECT_EQ(GetSavedScreen().width, 1280);
      EXPECT_EQ(GetSavedScreen().height, 960);
      EXPECT_EQ(GetHudScale(), 0.5f);  // the smaller of 640/1280 and 480/960
    } else {
      EXPECT_EQ(GetSavedScreen().width, 0);
      EXPECT_EQ(GetHudScale(), 1.0f);
    }
    const Hud& hud = *GetHud();
    if (missing > Part::kSurfaces) {
      ASSERT_NE(hud.surfaces().Get(2), nullptr);
      const HudSR& s = *hud.surfaces().Get(2);
      EXPECT_EQ(s.EspID, 4);
      EXPECT_EQ(s.Protected, 1);
      EXPECT_EQ(s.RootID, 0);
      EXPECT_EQ(s.Filename, "ui\\a.dds");
      EXPECT_EQ(s.Show, 1);
      // AutoScale: position and scale times the factor 0.5.
      EXPECT_EQ(s.X, 5.0f);
      EXPECT_EQ(s.Y, 10.0f);
      EXPECT_EQ(s.L, 1000);  // 2000 limited to 1..1000
      EXPECT_EQ(s.ScaleX, 0.5f);
      EXPECT_EQ(s.ScaleY, 0.25f);
      EXPECT_EQ(s.Opacity, 200);
      EXPECT_EQ(s.Alignment, 5);
      EXPECT_EQ(s.AutoScale, 1);
      EXPECT_EQ(hud.surfaces().MaxUsed(), 2);
    } else {
      EXPECT_TRUE(hud.surfaces().Empty());
    }
    if (missing > Part::kTexts) {
      ASSERT_NE(hud.texts().Get(1), nullptr);
      const HudTR& t = *hud.texts().Get(1);
      EXPECT_EQ(t.EspID, 5);
      EXPECT_EQ(t.Protected, 0);
      EXPECT_EQ(t.Show, 3);
      EXPECT_EQ(t.X, 100.0f);  // no AutoScale: as stored
      EXPECT_EQ(t.Y, 50.0f);
      EXPECT_EQ(t.L, 7);
      EXPECT_EQ(t.ScaleX, 1.0f);
      EXPECT_EQ(t.ScaleY, 2.0f);
      EXPECT_EQ(t.Opacity, 255);
      EXPECT_EQ(t.Alignment, 10);
      EXPECT_EQ(t.AutoScale, 0);
      EXPECT_EQ(t.Width, 300.0f);
      EXPECT_EQ(t.Height, 40.0f);
      EXPECT_EQ(t.Format, 148);
      EXPECT_EQ(t.FontName, "Arial");
      EXPECT_EQ(t.Text, "Hello");
      EXPECT_EQ(t.FontHeight, 24);
      EXPECT_EQ(t.FontWidth, 0);
      EXPECT_EQ(t.Weight, 1000);  // 1500 limited to 0..1000
      EXPECT_EQ(t.Italic, 1);
      EXPECT_EQ(t.R, 255);
      EXPECT_EQ(t.G, 128);
      EXPECT_EQ(t.B, 0);
      EXPECT_EQ(hud.texts().MaxUsed(), 1);
    } else {
      EXPECT_TRUE(hud.texts().Empty());
    }
  }

  TempEnv env;
  FakeEngine engine;
  FakeForm* sword = nullptr;
  FakeForm* dagger = nullptr;
  const std::string save = "C:\\Slot.ess";
};

TEST(OldCoSaveBytes, TheTestsOwnCrcIsTheStandardOne) {
  EXPECT_EQ(BitwiseCrc32("123456789"), 0xCBF43926u);
}

// The in-memory decoder (the co-save tool's) reads every field as stored.
TEST(OldCoSaveBytes, EachOlderVersionDecodesToItsStoredValues) {
  for (const OldVersion& v : OldVersions()) {
    SCOPED_TRACE(::testing::Message() << std::hex << v.version);
    CoSaveImage image;
    // A match value that differs from the stored one is no reason to refuse
    // these versions.
    ASSERT_EQ(DecodeCoSaveImage(v.file, 0x0BADF00D, &image), CoSaveReadStatus::kOk);
    EXPECT_EQ(image, StoredImage(v.version));
  }
}

// The reader the game uses fills the registries: objects at their ids with
// their owners (through the restored EspIDs), references and overrides
// moved to the current load order, HUD elements limited and autoscaled.
// The writer then stores the same content in the current version.
TEST_F(OldCoSaves, EachOlderVersionLoadsAndIsWrittenBackInTheCurrentVersion) {
  for (const OldVersion& v : OldVersions()) {
    SCOPED_TRACE(::testing::Message() << std::hex << v.version);
    Load(v.file);
    EXPECT_TRUE(engine.message_boxes.empty());
    EXPECT_FALSE(GetFlags().data_reset);
    ExpectRestoredBefore(Part::kNothing);

    WriteCoSaveFile(save);
    std::string written;
    ASSERT_TRUE(env.ReadFile("C:\\Slot.korvel", &written));
    CoSaveImage again;
    ASSERT_EQ(DecodeCoSaveImage(written, 0x0BADF00D, &again), CoSaveReadStatus::kOk);
    // What legitimately changes: the version and the match value of the
    // save just written, every mod's index and name as loaded now, the
    // remapped reference and override, the HUD elements as they are now
    // (limited, autoscaled) and the screen they are on.
    CoSaveImage want = StoredImage(v.version);
    want.version = kCoSaveVersion;
    want.save_match = 0x0BADF00D;
    want.mods = {{0, 0, "Base.esm"}, {4, 1, "A.esp"}, {5, 2, "B.esp"}};
    want.arrays[0].items[1].value = 0x01000ABC;
    want.names[0].form_id = 0x02000D0E;
    want.screen_width = 640;
    want.screen_height = 480;
    CoSaveHudSurface& s = want.hud_surfaces[0];
    s.x = 5.0f;
    s.y = 10.0f;
    s.layer = 1000;
    s.scale_x = 0.5f;
    s.scale_y = 0.25f;
    want.hud_texts[0].weight = 1000;
    EXPECT_EQ(again, want);
  }
}

// A file whose CRC-32 is one bit off is refused before anything is read: the
// registries stay cleared and the mods keep their EspIDs. A count beyond the
// bytes that follow it stops the read at its section: what came before stays
// restored, nothing of that section or later is. Both leave the data-reset
// flag set and tell the player once, without a button.
TEST_F(OldCoSaves, DamagedOlderFilesAreRefusedKeepingWhatCameBefore) {
  int bit = 0;
  for (const OldVersion& v : OldVersions()) {
    SCOPED_TRACE(::testing::Message() << std::hex << v.version);
    std::string crc_off = v.file;
    crc_off[crc_off.size() - 4 + bit / 8] ^= static_cast<char>(1 << (bit % 8));
    bit += 7;
    CoSaveImage image;
    EXPECT_EQ(DecodeCoSaveImage(crc_off, 0x0BADF00D, &image), CoSaveReadStatus::kCorrupted);
    EXPECT_EQ(image.mods.size() + image.strings.size() + image.arrays.size(), 0u);
    Load(crc_off);
    EXPECT_TRUE(GetFlags().data_reset);
    EXPECT_EQ(engine.message_boxes, std::vector<std::string>{kCorrupted});
    EXPECT_TRUE(engine.last_box_buttons.empty());
    ExpectRestoredBefore(Part::kMods);

    std::string counted = v.file;
    PutU32(counted, v.count_at, v.count);
    counted = Resigned(counted);
    EXPECT_EQ(DecodeCoSaveImage(counted, 0x0BADF00D, &image), CoSaveReadStatus::kCorrupted);
    Load(counted);
    EXPECT_TRUE(GetFlags().data_reset);
    EXPECT_EQ(engine.message_boxes, std::vector<std::string>{kCorrupted});
    ExpectRestoredBefore(v.spoiled);
  }
}

// In the plain variant the HUD sections are read past and nothing is made
// of them; the screen size is still taken, and the read still succeeds.
TEST_F(OldCoSaves, PlainVariantReadsPastTheHudSections) {
  GetFlags().hud_variant = false;
  for (const OldVersion& v : OldVersions()) {
    SCOPED_TRACE(::testing::Message() << std::hex << v.version);
    Load(v.file);
    EXPECT_FALSE(GetFlags().data_reset);
    EXPECT_TRUE(engine.message_boxes.empty());
    ExpectRestoredBefore(Part::kSurfaces);
  }
}

}  // namespace
}  // namespace korvel
