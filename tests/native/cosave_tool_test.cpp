// The co-save tool: JSON that keeps every byte, sizes that add up to the
// file, damage named with its offset, pruning and comparing, and the verbs
// as a person runs them.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/le_bytes.h"
#include "save/cosave_format.h"
#include "save/cosave_image.h"
#include "save/crc32.h"
#include "tools/cosave/cosave_json.h"
#include "tools/cosave/cosave_report.h"
#include "tools/cosave_samples.h"

namespace korvel::cosave_tool {
namespace {

namespace fs = std::filesystem;
using samples::CoSaveVersions;
using samples::RichImage;
using samples::SampleSurface;
using samples::SampleText;

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Spill(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// What the JSON of an image gives back, through its text.
CoSaveImage ThroughJson(const CoSaveImage& image) {
  Json json = Json::parse(ImageToJson(image).dump());
  CoSaveImage back;
  std::string why;
  EXPECT_TRUE(JsonToImage(json, &back, &why)) << why;
  return back;
}

TEST(CoSaveJson, EveryCorpusFileComesBackWhole) {
  const fs::path folder = fs::path(KORVEL_SOURCE_DIR) / "fuzz" / "corpus" / "cosave";
  size_t read = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = Slurp(entry.path());
    CoSaveImage image;
    if (DecodeCoSaveImage(bytes, kUnknownSaveMatch, &image) != CoSaveReadStatus::kOk) continue;
    ++read;
    CoSaveImage back = ThroughJson(image);
    EXPECT_EQ(back, image);
    // build writes the current version: a current file comes back byte for
    // byte, an older one as the game would write it at its next save.
    if (image.version == kCoSaveVersion) {
      EXPECT_EQ(EncodeCoSaveImage(back), bytes);
    }
    CoSaveImage rewritten;
    ASSERT_EQ(DecodeCoSaveImage(EncodeCoSaveImage(back), kUnknownSaveMatch, &rewritten), CoSaveReadStatus::kOk);
    rewritten.version = image.version;
    EXPECT_EQ(rewritten, image);
  }
  EXPECT_GE(read, 9u);
}

TEST(CoSaveJson, OddValuesSurvive) {
  CoSaveImage image = RichImage();
  std::string all_bytes;
  for (int b = 1; b < 256; ++b) all_bytes += static_cast<char>(b);
  all_bytes += '\0';
  image.strings.push_back({77, 1, 1, all_bytes});
  image.hud_surfaces.push_back(SampleSurface(9, "odd"));
  image.hud_surfaces.back().x = std::numeric_limits<float>::quiet_NaN();
  image.hud_surfaces.back().y = -std::numeric_limits<float>::infinity();
  image.hud_surfaces.back().scale_x = 1e-45f;  // the smallest subnormal
  image.arrays.push_back({5, 2, 0, 4, {{0, 2, 0x7FC00001u}, {1, 2, 0x3DCCCCCDu}, {2, 1, 0xFF000ABCu}, {3, 9, 7}}});
  CoSaveImage back = ThroughJson(image);
  EXPECT_EQ(EncodeCoSaveImage(back), EncodeCoSaveImage(image));
  EXPECT_EQ(back.strings.back().text, all_bytes);
}

TEST(CoSaveJson, RefusesWhatItCannotHold) {
  Json good = ImageToJson(RichImage());
  struct Case {
    const char* name;
    void (*spoil)(Json&);
    const char* why;
  };
  const Case cases[] = {
      {"missing section", [](Json& j) { j.erase("strings"); }, "strings: missing \"strings\""},
      {"owner beyond i32", [](Json& j) { j["strings"][0]["owner"] = 1LL << 40; }, "strings: \"owner\" is out of range"},
      {"text outside the code page", [](Json& j) { j["strings"][0]["text"] = "\xE4\xB8\xAD"; },
       "strings: \"text\" is not a text of Windows-1252 characters"},
      {"bad form id", [](Json& j) { j["names"][0]["form_id"] = "12"; }, "names: \"form_id\" is not 0x and 8 hex digits"},
      {"unknown item type", [](Json& j) { j["arrays"][0]["items"][0]["type"] = "list"; },
       "arrays: item \"type\" is not int, ref or float"},
      {"float beyond a float", [](Json& j) { j["hud_surfaces"][0]["x"] = 1e300; }, "hud_surfaces: \"x\" is beyond a float"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Json j = good;
    c.spoil(j);
    CoSaveImage image;
    std::string why;
    EXPECT_FALSE(JsonToImage(j, &image, &why));
    EXPECT_EQ(why, c.why);
  }
}

TEST(CoSaveJson, Cp1252KeepsEveryByte) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  std::string utf8 = Cp1252ToUtf8(bytes);
  EXPECT_NE(utf8.find("\xE2\x82\xAC"), std::string::npos);  // 0x80 is the euro sign
  std::string back;
  ASSERT_TRUE(Utf8ToCp1252(utf8, &back));
  EXPECT_EQ(back, bytes);
}

TEST(CoSaveStats, BytesAddUpToTheFileInEveryVersion) {
  for (int32_t version : CoSaveVersions()) {
    SCOPED_TRACE(version);
    CoSaveImage image = RichImage(version != 0x01000000);
    const std::string file = EncodeCoSaveImage(image, version);
    CoSaveImage read;
    ASSERT_EQ(DecodeCoSaveImage(file, kUnknownSaveMatch, &read), CoSaveReadStatus::kOk);
    Usage usage = MeasureUsage(read);
    EXPECT_EQ(usage.total(), file.size());
    for (size_t i = 1; i < usage.mods.size(); ++i) EXPECT_GE(usage.mods[i - 1].bytes(), usage.mods[i].bytes());
  }
}

TEST(CoSaveVerify, DamageIsNamedWithItsOffset) {
  const std::string good = EncodeCoSaveImage(RichImage());
  CoSaveImage image;
  CoSaveReadError error;
  auto check = [&](const std::string& file) {
    error = {};
    return DecodeCoSaveImage(file, kUnknownSaveMatch, &image, &error);
  };
  std::string flipped = good;
  flipped[40] ^= 0x20;
  EXPECT_EQ(check(flipped), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(error.offset, good.size() - 4);
  EXPECT_EQ(error.what.rfind("checksum 0x", 0), 0u) << error.what;

  EXPECT_EQ(check(good.substr(0, good.size() - 3)), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(error.what.rfind("length field", 0), 0u) << error.what;
  EXPECT_EQ(check(good.substr(0, 9)), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(error.what, "shorter than the header");
  EXPECT_EQ(check("NotASave!!" + good.substr(10)), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(error.offset, 0u);

  // A strings count larger than the bytes left, with length and checksum
  // made to fit: the count's own offset is named.
  CoSaveImage modsless = RichImage();
  modsless.mods.clear();
  std::string file = EncodeCoSaveImage(modsless);
  ASSERT_EQ(static_cast<uint8_t>(file[kCoSaveHeaderSize]), kSectionStrings);
  StoreU32(file.data() + kCoSaveHeaderSize + 1, 0x00FFFFFF);
  StoreU32(file.data() + file.size() - 4, Crc32(file.data(), file.size() - 4));
  EXPECT_EQ(check(file), CoSaveReadStatus::kCorrupted);
  EXPECT_EQ(error.offset, kCoSaveHeaderSize + 1);
  EXPECT_EQ(error.what, "section of type 1 at offset 14 runs past the data or holds a bad count");
}

TEST(CoSavePrune, TakesOutOneModAndWarnsOfIdsOthersHold) {
  CoSaveImage image;
  image.mods = {{0, 0, "Veldmark.esm"}, {1, 1, "Alpha.esp"}, {2, 2, "Beta.esp"}};
  image.strings = {{3, 1, 1, "alpha's protected text"}, {2, 2, 0, "beta's"}, {1, 1, 0, "alpha's"}};
  image.arrays = {{4, 2, 0, 3, {{0, 0, 3}, {1, 0, 99}}}, {2, 1, 0, 1, {{0, 0, 3}}}};
  image.names = {{0x01000ABC, "Alpha's sword"}, {0x02000ABC, "Beta's shield"}};
  image.hud_texts = {SampleText(1, "alpha")};
  image.hud_texts[0].esp_id = 1;
  std::vector<std::string> warnings;
  ASSERT_TRUE(PruneMod(&image, "ALPHA.ESP", &warnings));
  EXPECT_EQ(image.mods, (std::vector<CoSaveMod>{{0, 0, "Veldmark.esm"}, {2, 2, "Beta.esp"}}));
  EXPECT_EQ(image.strings, (std::vector<CoSaveString>{{2, 2, 0, "beta's"}}));
  ASSERT_EQ(image.arrays.size(), 1u);
  EXPECT_EQ(image.arrays[0].id, 4);
  EXPECT_EQ(image.names, (std::vector<CoSaveName>{{0x02000ABC, "Beta's shield"}}));
  EXPECT_TRUE(image.hud_texts.empty());
  EXPECT_EQ(warnings, (std::vector<std::string>{
                          "array 4 of Beta.esp (EspID 2) holds 3 at 0, the id of a removed string"}));
  EXPECT_FALSE(PruneMod(&image, "Gamma.esp", &warnings));
}

TEST(CoSaveDiff, NamesWhatChangedPerModAndObject) {
  CoSaveImage a = RichImage();
  CoSaveImage b = a;
  EXPECT_TRUE(Differences(a, b).empty());
  b.strings[0].text += "!";
  b.strings.push_back({500, 1, 0, "new"});
  b.arrays[0].items.pop_back();
  b.mods.push_back({9, 9, "Late.esp"});
  std::vector<std::string> lines = Differences(a, b);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "+ mod Late.esp (EspID 9)");
  EXPECT_NE(lines[1].find("string " + std::to_string(a.strings[0].id) + " of"), std::string::npos);
  EXPECT_NE(lines[1].find(": text ("), std::string::npos);
  EXPECT_EQ(lines[2].rfind("+ string 500 of ", 0), 0u);
  EXPECT_NE(lines[3].find("1 items removed"), std::string::npos);
}

// The verbs as a person runs them: exit status, output and files.
struct ToolRun {
  int status;
  std::string out;
};

ToolRun Tool(const std::string& args) {
  std::string command = std::string(KORVEL_COSAVE_TOOL) + " " + args + " 2>&1";
  ToolRun run{-1, ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(CoSaveToolVerbs, WorkOnFilesAndRefuseDamage) {
  const fs::path folder = fs::temp_directory_path() / ("korvel-cosave-tool-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const fs::path save = folder / "Quick.korvel";
  CoSaveImage image = RichImage();
  image.mods = {{0, 0, "Veldmark.esm"}, {1, 1, "Alpha.esp"}};
  const std::string bytes = EncodeCoSaveImage(image);
  Spill(save, bytes);
  std::string damaged = bytes;
  damaged[20] ^= 1;
  Spill(folder / "Damaged.korvel", damaged);

  ToolRun verify = Tool("verify " + save.string() + " " + (folder / "Damaged.korvel").string());
  EXPECT_EQ(verify.status, 1);
  EXPECT_NE(verify.out.find("Quick.korvel: sound"), std::string::npos) << verify.out;
  EXPECT_NE(verify.out.find("Damaged.korvel: damaged at offset " + std::to_string(bytes.size() - 4)),
            std::string::npos) << verify.out;

  ToolRun dump = Tool("dump " + save.string() + " > " + (folder / "q.json").string());
  EXPECT_EQ(dump.status, 0) << dump.out;
  ToolRun build = Tool("build " + (folder / "q.json").string() + " " + (folder / "Rebuilt.korvel").string());
  EXPECT_EQ(build.status, 0) << build.out;
  EXPECT_EQ(Slurp(folder / "Rebuilt.korvel"), bytes);
  EXPECT_EQ(Tool("dump " + (folder / "Damaged.korvel").string()).status, 2);
  Spill(folder / "bad.json", "{\"version\": 1}");
  ToolRun bad_build = Tool("build " + (folder / "bad.json").string() + " " + (folder / "Never.korvel").string());
  EXPECT_EQ(bad_build.status, 2);
  EXPECT_FALSE(fs::exists(folder / "Never.korvel"));

  ToolRun stats = Tool("stats " + save.string());
  EXPECT_EQ(stats.status, 0);
  EXPECT_NE(stats.out.find("total"), std::string::npos);
  EXPECT_NE(stats.out.find(std::to_string(bytes.size())), std::string::npos) << stats.out;

  EXPECT_EQ(Tool("diff " + save.string() + " " + (folder / "Rebuilt.korvel").string()).status, 0);
  ToolRun prune = Tool("prune " + save.string() + " --mod alpha.esp");
  EXPECT_EQ(prune.status, 0) << prune.out;
  EXPECT_EQ(Slurp(folder / "Quick.korvel.bak"), bytes);
  ToolRun after = Tool("verify " + save.string());
  EXPECT_EQ(after.status, 0) << after.out;
  EXPECT_EQ(Tool("diff " + (folder / "Quick.korvel.bak").string() + " " + save.string()).status, 1);
  EXPECT_EQ(Tool("prune " + save.string() + " --mod Nobody.esp").status, 2);
  EXPECT_EQ(Tool("frobnicate").status, 2);
  fs::remove_all(folder);
}

}  // namespace
}  // namespace korvel::cosave_tool
