#include "save/cosave_records.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace korvel {
namespace {

// The least bytes of one entry of each section, as the files of each layout
// hold them: 0x01000000 has no protection byte, EspIDs are four bytes
// before 0x01020000. A field list that changes breaks one of these rows
// before it breaks a stored co-save.
TEST(CoSaveRecords, FixedEntrySizesPerLayout) {
  struct Case {
    int32_t version;
    size_t mod, string, array_header, item, name, screen, surface, text;
  };
  const Case cases[] = {
      {0x01000000, 9, 12, 12, 9, 8, 8, 37, 63},
      {0x01010000, 9, 13, 13, 9, 8, 8, 37, 63},
      {0x01020000, 6, 10, 10, 9, 8, 8, 37, 63},
      {kCoSaveVersion, 6, 10, 10, 9, 8, 8, 37, 63},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MinEntrySize(c.version, &ModFields<FixedSize, const CoSaveMod>), c.mod);
    EXPECT_EQ(MinEntrySize(c.version, &StringFields<FixedSize, const CoSaveString>), c.string);
    EXPECT_EQ(MinEntrySize(c.version, &ArrayHeaderFields<FixedSize, const CoSaveArray>),
              c.array_header);
    EXPECT_EQ(MinEntrySize(c.version, &ItemFields<FixedSize, const CoSaveItem>), c.item);
    EXPECT_EQ(MinEntrySize(c.version, &NameFields<FixedSize, const CoSaveName>), c.name);
    EXPECT_EQ(MinEntrySize(c.version, &ScreenFields<FixedSize, const CoSaveScreen>), c.screen);
    EXPECT_EQ(MinEntrySize(c.version, &HudSurfaceFields<FixedSize, const CoSaveHudSurface>),
              c.surface);
    EXPECT_EQ(MinEntrySize(c.version, &HudTextFields<FixedSize, const CoSaveHudText>), c.text);
  }
}

}  // namespace
}  // namespace korvel
