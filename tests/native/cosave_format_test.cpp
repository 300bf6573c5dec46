#include "save/cosave_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "save/cosave_image.h"
#include "save/crc32.h"
#include "tools/cosave_samples.h"

namespace korvel {
namespace {

uint32_t U32At(const std::string& s, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
  return v;
}

void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i));
}

// Re-signs a file after its body was changed: its last 8 bytes get the
// length and the checksum.
std::string Seal(std::string file) {
  size_t size = file.size();
  std::string trailer;
  PutU32(trailer, static_cast<uint32_t>(size - 8));
  file.replace(size - 8, 4, trailer);
  trailer.clear();
  PutU32(trailer, Crc32(file.data(), size - 4));
  file.replace(size - 4, 4, trailer);
  return file;
}

std::string WithVersion(std::string file, uint32_t version) {
  std::string v;
  PutU32(v, version);
  file.replace(10, 4, v);
  return Seal(file);
}

// A file of the current version holding the given section bytes.
std::string Sealed(const std::string& sections, uint32_t match = kUnknownSaveMatch) {
  std::string file("KorvelSave", 10);
  PutU32(file, kCoSaveVersion);
  file += sections;
  PutU32(file, match);
  file += std::string(8, '\0');
  return Seal(file);
}

CoSaveImage Read(const std::string& file, CoSaveReadStatus expected,
                 uint32_t probed = kUnknownSaveMatch) {
  CoSaveImage image;
  EXPECT_EQ(DecodeCoSaveImage(file, probed, &image), expected);
  return image;
}

TEST(CoSaveFormat, TheSixtyThreeByteExample) {
  std::string file = EncodeCoSaveImage(samples::SmallImage());
  std::string expected("KorvelSave", 10);
  PutU32(expected, 0x01050001);
  expected += std::string("\x00\x01\x00\x00\x00\x00\x00\x09\x00\x00\x00MyMod.esp", 20);
  expected += std::string("\x01\x01\x00\x00\x00\x05\x00\x00\x00\x00\x01\x02\x00\x00\x00hi", 17);
  PutU32(expected, 0x12345678);
  PutU32(expected, 55);
  PutU32(expected, 0x7217B87C);
  ASSERT_EQ(expected.size(), 63u);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(Read(file, CoSaveReadStatus::kOk, 0x12345678), samples::SmallImage());
}

TEST(CoSaveFormat, EmptyImageIsHeaderAndTrailer) {
  CoSaveImage empty;
  std::string file = EncodeCoSaveImage(empty);
  ASSERT_EQ(file.size(), 26u);
  EXPECT_EQ(U32At(file, 14), kUnknownSaveMatch);
  EXPECT_EQ(U32At(file, 18), 18u);
  EXPECT_EQ(Read(file, CoSaveReadStatus::kOk), empty);
}

TEST(CoSaveFormat, RichImageRoundTrip) {
  CoSaveImage rich = samples::RichImage();
  CoSaveImage back = Read(EncodeCoSaveImage(rich), CoSaveReadStatus::kOk, rich.save_match);
  EXPECT_EQ(back, rich);
  // Written again, the file is the same.
  EXPECT_EQ(EncodeCoSaveImage(back), EncodeCoSaveImage(rich));
}

TEST(CoSaveFormat, EntriesAreWrittenFromTheHighestIdDown) {
  CoSaveImage image;
  image.strings = {{1, 0, 0, "a"}, {7, 0, 0, "b"}, {3, 0, 0, "c"}, {7, 0, 0, "d"}};
  image.arrays = {{2, 0, 0, 1, {}}, {5, 0, 0, 1, {}}, {0, 0, 0, 1, {}}};
  image.hud_surfaces = {samples::SampleSurface(1, "s1"), samples::SampleSurface(4, "s4")};
  image.hud_texts = {samples::SampleText(2, "t2"), samples::SampleText(9, "t9")};
  CoSaveImage back = Read(EncodeCoSaveImage(image), CoSaveReadStatus::kOk);
  std::vector<std::string> strings;
  for (const auto& s : back.strings) strings.push_back(std::to_string(s.id) + s.text);
  EXPECT_EQ(strings, (std::vector<std::string>{"7b", "7d", "3c", "1a"}));  // equal ids keep order
  std::vector<int32_t> arrays, surfaces, texts;
  for (const auto& a : back.arrays) arrays.push_back(a.id);
  for (const auto& s : back.hud_surfaces) surfaces.push_back(s.id);
  for (const auto& t : back.hud_texts) texts.push_back(t.id);
  EXPECT_EQ(arrays, (std::vector<int32_t>{5, 2, 0}));
  EXPECT_EQ(surfaces, (std::vector<int32_t>{4, 1}));
  EXPECT_EQ(texts, (std::vector<int32_t>{9, 2}));
  // Ascending input is the common case: reversed, not sorted.
  CoSaveImage ascending;
  for (int32_t id = 0; id < 5; ++id) ascending.strings.push_back({id, 0, 0, "x"});
  CoSaveImage back2 = Read(EncodeCoSaveImage(ascending), CoSaveReadStatus::kOk);
  ASSERT_EQ(back2.strings.size(), 5u);
  EXPECT_EQ(back2.strings.front().id, 4);
  EXPECT_EQ(back2.strings.back().id, 0);
}

// The sections' bytes in every version: what changes between versions is
// exactly the Protected bytes, the width of EspIDs and the match value.
TEST(CoSaveFormat, EveryAcceptedVersionReadsBack) {
  const CoSaveImage rich = samples::RichImage();
  const size_t mods = rich.mods.size(), strings = rich.strings.size(), arrays = rich.arrays.size();
  const size_t current = EncodeCoSaveImage(rich).size();
  for (int32_t version : samples::CoSaveVersions()) {
    SCOPED_TRACE(version);
    CoSaveImage image = samples::RichImage(CoSaveHasProtected(version));
    std::string file = EncodeCoSaveImage(image, version);
    EXPECT_EQ(static_cast<int32_t>(U32At(file, 10)), version);
    size_t expected = current;
    if (!CoSaveHasProtected(version)) expected -= strings + arrays;
    if (CoSaveWideEspIds(version)) expected += 3 * (mods + strings + arrays);
    if (!CoSaveHasMatch(version)) expected -= 4;
    EXPECT_EQ(file.size(), expected);
    // A probed value that differs only matters from 0x01050001 on.
    uint32_t other = image.save_match + 1;
    CoSaveImage back;
    EXPECT_EQ(DecodeCoSaveImage(file, other, &back),
              CoSaveChecksMatch(version) ? CoSaveReadStatus::kMismatch : CoSaveReadStatus::kOk);
    back = Read(file, CoSaveReadStatus::kOk, image.save_match);
    CoSaveImage want = image;
    want.version = version;
    if (!CoSaveHasMatch(version)) want.save_match = kUnknownSaveMatch;
    EXPECT_EQ(back, want);
  }
}

// An old file laid out by hand, so the old layout is not only checked
// against this writer: 0x01000000 with i32 EspIDs, no Protected byte and
// the 8-byte trailer.
TEST(CoSaveFormat, HandMadeFirstVersionFile) {
  std::string v0("KorvelSave", 10);
  PutU32(v0, 0x01000000);
  v0 += '\0';
  PutU32(v0, 1);
  PutU32(v0, 2);  // EspID as i32
  v0 += '\x05';
  PutU32(v0, 1);
  v0 += "M";
  v0 += '\1';
  PutU32(v0, 1);
  PutU32(v0, 7);  // id
  PutU32(v0, 2);  // owner as i32
  PutU32(v0, 2);
  v0 += "ok";
  v0 += '\2';
  PutU32(v0, 3);           // id
  PutU32(v0, 0xFFFFFFFF);  // owner -1
  PutU32(v0, 4);           // Size
  PutU32(v0, 1);
  PutU32(v0, 3);
  v0 += '\1';
  PutU32(v0, 0x02000010);
  v0 += std::string(8, '\0');
  CoSaveImage image = Read(Seal(v0), CoSaveReadStatus::kOk);
  EXPECT_EQ(image.version, 0x01000000);
  EXPECT_EQ(image.mods, (std::vector<CoSaveMod>{{2, 5, "M"}}));
  EXPECT_EQ(image.strings, (std::vector<CoSaveString>{{7, 2, 0, "ok"}}));
  EXPECT_EQ(image.arrays, (std::vector<CoSaveArray>{{3, -1, 0, 4, {{3, 1, 0x02000010}}}}));
}

TEST(CoSaveFormat, MatchValueRules) {
  struct Case {
    int32_t version;
    uint32_t stored, probed;
    CoSaveReadStatus expected;
  } cases[] = {
      {0x01050001, 0x1234, 0x1234, CoSaveReadStatus::kOk},
      {0x01050001, 0x1234, 0x1235, CoSaveReadStatus::kMismatch},
      {0x01050001, kUnknownSaveMatch, 0x1235, CoSaveReadStatus::kOk},
      {0x01050001, 0x1234, kUnknownSaveMatch, CoSaveReadStatus::kOk},
      {0x01050001, 0, 0x1235, CoSaveReadStatus::kMismatch},
      {0x01050000, 0x1234, 0x1235, CoSaveReadStatus::kOk},
      {0x01040001, 0x1234, 0x1235, CoSaveReadStatus::kOk},
  };
  for (const Case& c : cases) {
    CoSaveImage image = samples::SmallImage();
    image.save_match = c.stored;
    CoSaveImage back;
    EXPECT_EQ(DecodeCoSaveImage(EncodeCoSaveImage(image, c.version), c.probed, &back), c.expected)
        << std::hex << c.version << " " << c.stored << " " << c.probed;
    // A refused file restores nothing.
    if (c.expected != CoSaveReadStatus::kOk) {
      EXPECT_TRUE(back.strings.empty() && back.mods.empty());
    }
  }
}

TEST(CoSaveFormat, VersionRules) {
  std::string file = EncodeCoSaveImage(samples::SmallImage());
  struct Case {
    uint32_t version;
    CoSaveReadStatus expected;
  } cases[] = {
      {0x01050002, CoSaveReadStatus::kUnknownVersion},
      {0x01060000, CoSaveReadStatus::kUnknownVersion},
      {0x7FFFFFFF, CoSaveReadStatus::kUnknownVersion},
      // A signed compare: these are old, and read with i32 EspIDs, which
      // this file does not hold.
      {0x80000000, CoSaveReadStatus::kCorrupted},
      {0x00000001, CoSaveReadStatus::kCorrupted},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeCoSaveImage(WithVersion(file, c.version), 0x12345678, &*std::make_unique<CoSaveImage>()),
              c.expected)
        << std::hex << c.version;
  // The version is judged before the trailer: a newer file with a broken
  // checksum still gets the version message.
  std::string newer = WithVersion(file, 0x01060000);
  newer.back() ^= 1;
  Read(newer, CoSaveReadStatus::kUnknownVersion);
  // Wrong magic, case included.
  std::string magic = file;
  magic[0] = 'k';
  Read(Seal(magic), CoSaveReadStatus::kCorrupted);
}

// Every cut and every flipped bit of a sample file is refused with the
// corrupted-file message, or the version message when the flip made the
// version newer; nothing crashes.
TEST(CoSaveFormat, EveryTruncationAndBitFlipIsRefused) {
  CoSaveImage image = samples::RichImage();
  const std::string file = EncodeCoSaveImage(image);
  for (size_t cut = 0; cut < file.size(); ++cut) {
    CoSaveImage back;
    EXPECT_EQ(DecodeCoSaveImage(file.substr(0, cut), image.save_match, &back), CoSaveReadStatus::kCorrupted)
        << cut;
  }
  for (size_t at = 0; at < file.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string flipped = file;
      flipped[at] = static_cast<char>(flipped[at] ^ (1 << bit));
      bool newer = static_cast<int32_t>(U32At(flipped, 10)) > kCoSaveVersion;
      CoSaveImage back;
      EXPECT_EQ(DecodeCoSaveImage(flipped, image.save_match, &back),
                newer ? CoSaveReadStatus::kUnknownVersion : CoSaveReadStatus::kCorrupted)
          << at << ":" << bit;
    }
  }
}

// Files whose trailer is right but whose sections lie: every count and
// length is checked against the bytes left, before anything is allocated.
TEST(CoSaveFormat, LyingSectionsAreCorrupted) {
  auto i32 = [](uint32_t v) {
    std::string s;
    PutU32(s, v);
    return s;
  };
  const std::string huge = i32(0x7FFFFFFF), negative = i32(0xFFFFFFFF), pad(24, '\0');
  struct Case {
    const char* what;
    std::string sections;
  } cases[] = {
      {"mods count", std::string(1, '\0') + huge + pad},
      {"mods count negative", std::string(1, '\0') + negative + pad},
      {"mod name length", std::string(1, '\0') + i32(1) + std::string(2, '\0') + huge},
      {"strings count", "\x01" + huge + pad},
      {"string text length", "\x01" + i32(1) + i32(1) + std::string(2, '\0') + huge + pad},
      {"string text negative", "\x01" + i32(1) + i32(1) + std::string(2, '\0') + negative + pad},
      {"array item count", "\x02" + i32(1) + std::string(2, '\0') + i32(10) + huge + pad},
      {"array item count negative", "\x02" + i32(1) + std::string(2, '\0') + i32(10) + negative},
      {"array items short", "\x02" + i32(1) + std::string(2, '\0') + i32(10) + i32(3) + pad},
      {"names count", "\x03" + huge + pad},
      {"name length", "\x03" + i32(1) + i32(5) + huge},
      {"screen short", "\x04" + i32(640)},
      {"surfaces count", "\x05" + huge + pad},
      {"surface filename", "\x05" + i32(1) + i32(1) + std::string(3, '\0') + huge + pad + pad},
      {"texts count", "\x06" + huge + pad},
      {"unknown section 7", "\x07" + pad},
      {"unknown section 255", "\xFF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Read(Sealed(c.sections), CoSaveReadStatus::kCorrupted);
  }
}

// What was read before a failure stays read, as with the live registries;
// a section may not run into the trailer.
TEST(CoSaveFormat, FailureKeepsWhatWasReadBefore) {
  CoSaveImage good = samples::SmallImage();
  std::string file = EncodeCoSaveImage(good);
  std::string sections = file.substr(14, file.size() - 26);
  CoSaveImage back = Read(Sealed(sections + "\x07"), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(back.mods, good.mods);
  EXPECT_EQ(back.strings, good.strings);
  // A screen section whose height would be the match value.
  Read(Sealed(sections + "\x04" + std::string(4, '\0')), CoSaveReadStatus::kCorrupted);
}

TEST(CoSaveFormat, ScreenSections) {
  auto screen = [](uint32_t w, uint32_t h) {
    std::string s("\x04", 1);
    PutU32(s, w);
    PutU32(s, h);
    return s;
  };
  CoSaveImage none = Read(Sealed(""), CoSaveReadStatus::kOk);
  EXPECT_FALSE(none.has_screen);
  CoSaveImage last = Read(Sealed(screen(800, 600) + screen(0, 1024)), CoSaveReadStatus::kOk);
  EXPECT_TRUE(last.has_screen);
  EXPECT_EQ(last.screen_width, 0);
  EXPECT_EQ(last.screen_height, 1024);
}

// The streaming reader hands entries over in file order.
struct Recorder : CoSaveSink {
  std::vector<std::string> lines;
  void Mods(const std::vector<CoSaveMod>& mods) override {
    lines.push_back("mods " + std::to_string(mods.size()));
  }
  void StringCount(int32_t count) override { lines.push_back("count " + std::to_string(count)); }
  void String(CoSaveString&& s) override { lines.push_back("string " + std::to_string(s.id)); }
  void Array(CoSaveArray&& a) override { lines.push_back("array " + std::to_string(a.id)); }
  void Names(std::vector<CoSaveName>&& names) override {
    lines.push_back("names " + std::to_string(names.size()));
  }
  void Screen(int32_t w, int32_t h) override {
    lines.push_back("screen " + std::to_string(w) + "x" + std::to_string(h));
  }
  void HudSurface(CoSaveHudSurface&& s) override { lines.push_back("surface " + std::to_string(s.id)); }
  void HudText(CoSaveHudText&& t) override { lines.push_back("text " + std::to_string(t.id)); }
};

TEST(CoSaveFormat, SinkSeesSectionsInFileOrder) {
  CoSaveImage rich = samples::RichImage();
  Recorder r;
  ASSERT_EQ(DecodeCoSave(EncodeCoSaveImage(rich), rich.save_match, r), CoSaveReadStatus::kOk);
  EXPECT_EQ(r.lines, (std::vector<std::string>{
                         "mods 3", "count 4", "string 8388607", "string 40", "string 3", "string 0",
                         "array 9", "array 4", "array 1", "names 3", "screen 1920x1080",
                         "surface 8", "surface 1", "text 3", "text 2"}));
}


}  // namespace
}  // namespace korvel
