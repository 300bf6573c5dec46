// A whole co-save as plain data: exactly what the file holds, apart from
// the live registries. Tools, tests and the fuzz target work on it; the
// game's own save and load stream the registries through CoSaveEncoder and
// a CoSaveSink instead.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/cosave_decoder.h"
#include "save/cosave_records.h"

namespace korvel {

struct CoSaveImage {
  int32_t version = kCoSaveVersion;       // of the file read
  uint32_t save_match = kUnknownSaveMatch;  // stored; unknown in files without one
  // The mod registry's assignments, in registry order. A file with an
  // empty mods section and one without any read alike (no mods).
  std::vector<CoSaveMod> mods;
  std::vector<CoSaveString> strings;
  std::vector<CoSaveArray> arrays;
  std::vector<CoSaveName> names;  // in list order
  // The back buffer's size when saved; the last screen section read wins.
  bool has_screen = false;
  int32_t screen_width = 0, screen_height = 0;
  std::vector<CoSaveHudSurface> hud_surfaces;
  std::vector<CoSaveHudText> hud_texts;

  bool operator==(const CoSaveImage&) const = default;
};

// The file of an image: sections in file order (mods, strings, one section
// per array, name overrides, screen, HUD surfaces, HUD texts), each present
// only when it has something to hold; strings, arrays and HUD elements
// from the highest id down to the lowest (entries of the same id keep
// their order), then image.save_match, the length field and the CRC-32.
// The version is the current one; an older version gives that version's
// layout, for making test files (its own values are cut to the older
// field widths: Protected is dropped by 0x01000000, the match value up to
// 0x01040000).
std::string EncodeCoSaveImage(const CoSaveImage& image, int32_t version = kCoSaveVersion);

// Reads a co-save into *out (which is reset first). probed_match is the
// match value of the game save being loaded, kUnknownSaveMatch when it is
// not known. On a failure *out keeps what was read before it, as the live
// registries would.
CoSaveReadStatus DecodeCoSaveImage(std::string_view bytes, uint32_t probed_match,
                                   CoSaveImage* out, CoSaveReadError* error = nullptr);
// The same from a source; version and save_match keep their defaults
// (they are the header's and trailer's, which only the bytes' overload
// copies).
CoSaveReadStatus DecodeCoSaveImage(CoSaveSource& source, uint32_t probed_match, CoSaveImage* out,
                                   CoSaveReadError* error = nullptr);

}  // namespace korvel
