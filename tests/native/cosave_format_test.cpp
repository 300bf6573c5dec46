#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "save/cosave_format.h"
#include "save/crc32.h"

namespace korvel {
namespace {

// Records what a reader hands over, as text lines.
struct Recorder : CoSaveSink {
  std::vector<std::string> lines;
  void Mods(const std::vector<CoSaveMod>& mods) override {
    for (const auto& m : mods)
      lines.push_back("mod " + std::to_string(m.esp_id) + " " + std::to_string(m.mod_index) + " " + m.name);
  }
  void String(CoSaveString&& s) override {
    lines.push_back("string " + std::to_string(s.id) + " " + std::to_string(s.owner) + " " +
                    std::to_string(s.is_protected) + " " + s.text);
  }
  void Array(CoSaveArray&& a) override {
    std::string line = "array " + std::to_string(a.id) + " " + std::to_string(a.owner) + " " +
                       std::to_string(a.is_protected) + " " + std::to_string(a.size);
    for (const auto& i : a.items)
      line += " " + std::to_string(i.index) + ":" + std::to_string(i.type) + ":" + std::to_string(i.value);
    lines.push_back(line);
  }
  void Names(std::vector<CoSaveName>&& names) override {
    for (const auto& n : names) lines.push_back("name " + std::to_string(n.form_id) + " " + n.name);
  }
  void Screen(int32_t w, int32_t h) override {
    lines.push_back("screen " + std::to_string(w) + "x" + std::to_string(h));
  }
  void HudSurface(CoSaveHudSurface&& s) override { lines.push_back("hudS " + s.filename); }
  void HudText(CoSaveHudText&& t) override { lines.push_back("hudT " + t.font_name + " " + t.text); }
};

std::string Example() {
  CoSaveWriter w;
  w.Mods({{0, 0, "MyMod.esp"}});
  w.BeginStrings();
  w.String(5, 0, 1, "hi");
  w.EndStrings();
  return w.Finish(0x12345678);
}

uint32_t U32At(const std::string& s, size_t at) {
  uint32_t v;
  std::memcpy(&v, s.data() + at, 4);
  return v;
}

TEST(CoSave, TheSixtyThreeByteExample) {
  std::string file = Example();
  ASSERT_EQ(file.size(), 63u);
  EXPECT_EQ(file.substr(0, 10), "KorvelSave");
  EXPECT_EQ(U32At(file, 10), 0x01050001u);
  EXPECT_EQ(file[14], 0);   // mods section: 20 bytes
  EXPECT_EQ(file[34], 1);   // strings section: 17 bytes
  EXPECT_EQ(U32At(file, 51), 0x12345678u);
  EXPECT_EQ(U32At(file, 55), 55u);
  EXPECT_EQ(U32At(file, 59), 0x7217B87Cu);
  Recorder r;
  EXPECT_EQ(ReadCoSave(file, 0x12345678, r), CoSaveReadStatus::kOk);
  EXPECT_EQ(r.lines, (std::vector<std::string>{"mod 0 0 MyMod.esp", "string 5 0 1 hi"}));
}

TEST(CoSave, RoundTripOfEverySection) {
  CoSaveWriter w;
  w.Mods({{0, 0, "A.esm"}, {3, 1, "B.esp"}});
  w.BeginStrings();
  w.String(9, 3, 0, std::string("a\0b", 3));
  w.String(2, 0, 1, "");
  w.EndStrings();
  w.Array(4, 3, 1, 10, {{0, 0, 7}, {9, 2, 0x3DCCCCCD}});
  w.Array(1, 0, 0, 0, {});
  w.Names({{0x01000ABC, "Sword"}});
  w.Screen(1280, 1024);
  CoSaveHudSurface s{};
  s.filename = "a.dds";
  w.HudSurfaces({s});
  CoSaveHudText t{};
  t.font_name = "Arial";
  t.text = "Hi";
  w.HudTexts({t});
  std::string file = w.Finish(0xFFFFFFFF);
  Recorder r;
  ASSERT_EQ(ReadCoSave(file, 1, r), CoSaveReadStatus::kOk);
  EXPECT_EQ(r.lines, (std::vector<std::string>{
                         "mod 0 0 A.esm", "mod 3 1 B.esp", std::string("string 9 3 0 a\0b", 16),
                         "string 2 0 1 ", "array 4 3 1 10 0:0:7 9:2:1036831949", "array 1 0 0 0",
                         "name 16779964 Sword", "screen 1280x1024", "hudS a.dds", "hudT Arial Hi"}));
}

// Re-signs a file after its body was changed.
std::string Seal(std::string body_and_trailer) {
  size_t size = body_and_trailer.size();
  uint32_t length = static_cast<uint32_t>(size - 8);
  std::memcpy(&body_and_trailer[size - 8], &length, 4);
  uint32_t crc = Crc32(body_and_trailer.data(), size - 4);
  std::memcpy(&body_and_trailer[size - 4], &crc, 4);
  return body_and_trailer;
}

std::string WithVersion(std::string file, uint32_t version) {
  std::memcpy(&file[10], &version, 4);
  return Seal(file);
}

TEST(CoSave, OldVersions) {
  // 0x01000000: i32 EspIDs, no Protected byte, 8-byte trailer.
  std::string v0("KorvelSave", 10);
  auto put32 = [](std::string& s, uint32_t v) { s.append(reinterpret_cast<char*>(&v), 4); };
  put32(v0, 0x01000000);
  v0 += '\0';
  put32(v0, 1);
  put32(v0, 2);  // EspID as i32
  v0 += '\x05';
  put32(v0, 1);
  v0 += "M";
  v0 += '\1';
  put32(v0, 1);
  put32(v0, 7);  // id
  put32(v0, 2);  // owner as i32
  put32(v0, 2);
  v0 += "ok";
  v0 += std::string(8, '\0');
  Recorder r;
  ASSERT_EQ(ReadCoSave(Seal(v0), 0, r), CoSaveReadStatus::kOk);
  EXPECT_EQ(r.lines, (std::vector<std::string>{"mod 2 5 M", "string 7 2 0 ok"}));
  // 0x01040000 ends with the 8-byte trailer; current files read as that
  // version would take the match value for section data.
  std::string current = Example();
  std::string v104 = current.substr(0, current.size() - 12) + std::string(8, '\0');
  Recorder r2;
  EXPECT_EQ(ReadCoSave(WithVersion(v104, 0x01040000), 0, r2), CoSaveReadStatus::kOk);
  EXPECT_EQ(r2.lines.size(), 2u);
  // Up to 0x01050000 the match value is ignored.
  Recorder r3;
  EXPECT_EQ(ReadCoSave(WithVersion(current, 0x01050000), 0x1111, r3), CoSaveReadStatus::kOk);
}

TEST(CoSave, MatchValueAndVersionChecks) {
  std::string file = Example();
  Recorder r;
  EXPECT_EQ(ReadCoSave(file, 0x1111, r), CoSaveReadStatus::kMismatch);
  EXPECT_TRUE(r.lines.empty());
  EXPECT_EQ(ReadCoSave(file, 0xFFFFFFFF, r), CoSaveReadStatus::kOk);
  CoSaveWriter unknown_match;
  std::string any = unknown_match.Finish(0xFFFFFFFF);
  EXPECT_EQ(ReadCoSave(any, 0x1111, r), CoSaveReadStatus::kOk);
  EXPECT_EQ(ReadCoSave(WithVersion(file, 0x01060000), 0, r), CoSaveReadStatus::kUnknownVersion);
  EXPECT_EQ(ReadCoSave(WithVersion(file, 0x01050002), 0, r), CoSaveReadStatus::kUnknownVersion);
}

TEST(CoSave, EveryTruncationAndByteFlipIsRefused) {
  CoSaveWriter w;
  w.Mods({{0, 0, "A.esm"}});
  w.BeginStrings();
  w.String(1, 0, 0, "text");
  w.EndStrings();
  w.Array(2, 0, 0, 3, {{1, 0, 5}});
  w.Names({{1, "n"}});
  std::string file = w.Finish(0x42);
  for (size_t cut = 0; cut < file.size(); ++cut) {
    Recorder r;
    EXPECT_NE(ReadCoSave(file.substr(0, cut), 0x42, r), CoSaveReadStatus::kOk) << cut;
  }
  for (size_t at = 0; at < file.size(); ++at) {
    for (int bit = 0; bit < 8; ++bit) {
      std::string flipped = file;
      flipped[at] = static_cast<char>(flipped[at] ^ (1 << bit));
      Recorder r;
      CoSaveReadStatus status = ReadCoSave(flipped, 0x42, r);
      EXPECT_NE(status, CoSaveReadStatus::kOk) << at << ":" << bit;
    }
  }
}

TEST(CoSave, HostileCountsFailWithoutAllocating) {
  // A well-sealed file whose counts claim far more than it holds.
  for (uint8_t type : {0, 1, 3, 5, 6}) {
    std::string body("KorvelSave", 10);
    uint32_t version = 0x01050001, huge = 0x7FFFFFFF;
    body.append(reinterpret_cast<char*>(&version), 4);
    body += static_cast<char>(type);
    body.append(reinterpret_cast<char*>(&huge), 4);
    body += std::string(12, '\0');
    Recorder r;
    EXPECT_EQ(ReadCoSave(Seal(body), 0, r), CoSaveReadStatus::kCorrupted) << int(type);
  }
  std::string body("KorvelSave", 10);
  uint32_t version = 0x01050001;
  body.append(reinterpret_cast<char*>(&version), 4);
  body += '\x07';  // no such section
  body += std::string(12, '\0');
  Recorder r;
  EXPECT_EQ(ReadCoSave(Seal(body), 0, r), CoSaveReadStatus::kCorrupted);
}

TEST(Crc32, MatchesTheStandardValues) {
  EXPECT_EQ(Crc32("", 0), 0u);
  EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
  std::string big(1000, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  uint32_t whole = Crc32(big.data(), big.size());
  // Any split gives the same value as one pass, byte by byte or folded.
  for (size_t split : {size_t{1}, size_t{3}, size_t{8}, size_t{517}}) {
    uint32_t crc = Crc32Update(0xFFFFFFFF, big.data(), split);
    crc = Crc32Update(crc, big.data() + split, big.size() - split);
    EXPECT_EQ(~crc, whole);
  }
}

}  // namespace
}  // namespace korvel
