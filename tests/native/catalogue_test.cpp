#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/catalogue.h"
#include "core/global.h"

namespace korvel {
namespace {

TEST(Catalogue, CountsParametersByType) {
  int by_type[5] = {};
  for (const CommandEntry& entry : kCatalogue)
    for (size_t i = 0; i < entry.param_count; ++i) ++by_type[static_cast<int>(entry.params[i].type)];
  EXPECT_EQ(by_type[0], 5);
  EXPECT_EQ(by_type[1], 407);
  EXPECT_EQ(by_type[2], 45);
  EXPECT_EQ(by_type[3], 8);
  EXPECT_EQ(by_type[4], 8);
}

TEST(Catalogue, OpcodesFollowTheFourBlocks) {
  size_t index = 0;
  for (const OpcodeBlock& block : kOpcodeBlocks) {
    ASSERT_EQ(block.first, index);
    for (size_t i = 0; i < block.count; ++i, ++index)
      EXPECT_EQ(kCatalogue[index].opcode, block.base + i) << kCatalogue[index].name;
  }
  EXPECT_EQ(index, kCommandCount);
  EXPECT_EQ(FindCommandByOpcode(0x23ED), nullptr);
  EXPECT_STREQ(FindCommandByOpcode(0x23FF)->name, "KrvlSpcl");
  EXPECT_STREQ(FindCommandByOpcode(0x233E)->alias, "DupArray");
  EXPECT_EQ(FindCommand("duparray"), FindCommand("CopyArray"));
}

TEST(Catalogue, NamesAreUniqueAndTablesWellFormed) {
  std::set<std::string> names;
  for (const CommandEntry& entry : kCatalogue) {
    EXPECT_TRUE(names.insert(entry.name).second) << entry.name;
    if (entry.alias[0]) {
      EXPECT_TRUE(names.insert(entry.alias).second) << entry.alias;
    }
    EXPECT_LE(entry.param_count, kMaxParams);
    EXPECT_NE(entry.handler, nullptr);
    bool optional_seen = false;
    for (size_t i = 0; i < entry.param_count; ++i) {
      if (entry.params[i].optional) optional_seen = true;
      else EXPECT_FALSE(optional_seen) << entry.name << " has a required parameter after an optional one";
    }
    bool has_text = false;
    for (size_t i = 0; i < entry.param_count; ++i) has_text |= entry.params[i].type == ParamType::kString;
    EXPECT_EQ(has_text, entry.text_buffer > 0) << entry.name;
    // No name or help text reaches its log column.
    EXPECT_LT(std::string(entry.name).size(), 19u);
    EXPECT_LT(std::string(entry.help).size(), 70u);
  }
}

TEST(Catalogue, EveryOptionalEspIdTakesTheCaller) {
  int with_role = 0;
  for (const CommandEntry& entry : kCatalogue) {
    for (size_t i = 0; i < entry.param_count; ++i) {
      const ParamEntry& p = entry.params[i];
      bool esp_id = std::string(p.name) == "EspID";
      EXPECT_EQ(p.role == ParamRole::kCallerEspId, esp_id) << entry.name;
      if (p.role == ParamRole::kCallerEspId) {
        ++with_role;
        EXPECT_EQ(p.type, ParamType::kInteger) << entry.name;
        EXPECT_TRUE(p.optional) << entry.name;
        EXPECT_EQ(p.preset, -1) << entry.name;
      }
    }
  }
  EXPECT_EQ(with_role, 14);
}

TEST(Catalogue, ExtractorChoice) {
  int companion = 0;
  for (const CommandEntry& entry : kCatalogue) {
    bool has_form = false;
    for (size_t i = 0; i < entry.param_count; ++i)
      has_form |= entry.params[i].type == ParamType::kBaseObject ||
                  entry.params[i].type == ParamType::kReference;
    if (has_form) {
      EXPECT_EQ(entry.extractor, Extractor::kCompanion) << entry.name;
    }
    if (entry.extractor == Extractor::kCompanion) ++companion;
  }
  EXPECT_EQ(companion, 17);  // 16 with form parameters, and IniKeyExists
  EXPECT_EQ(FindCommand("IniKeyExists")->extractor, Extractor::kCompanion);
  EXPECT_EQ(FindCommand("FmtString")->extractor, Extractor::kFormatString);
  EXPECT_EQ(FindCommand("Halt")->extractor, Extractor::kNone);
}

TEST(LogLine, PadsNameAndHelpToTheirColumns) {
  std::string line = CommandLogLine("GetEsp", "Get EspID.", 0x2330);
  EXPECT_EQ(line, "GetEsp" + std::string(13, ' ') + "Get EspID." + std::string(60, ' ') + "2330h  9008");
  std::string longest = CommandLogLine("IsKorvelDataReset", "x", 0x23EC);
  EXPECT_EQ(longest.substr(17, 2), "  ");
  EXPECT_EQ(longest.find("23ECh"), 89u);
  // A name or help text that fills its field is written whole with nothing
  // after it.
  EXPECT_EQ(CommandLogLine("ABCDEFGHIJKLMNOPQRSTU", "Help", 1).substr(0, 25),
            "ABCDEFGHIJKLMNOPQRSTUHelp");
  EXPECT_EQ(CommandLogLine("ABCDEFGHIJKLMNOPQRS", "Help", 1).substr(0, 23), "ABCDEFGHIJKLMNOPQRSHelp");
  std::string help(72, 'h');
  EXPECT_EQ(CommandLogLine("Name", help.c_str(), 0x2330), "Name" + std::string(15, ' ') + help + "2330h  9008");
}

TEST(Folders, DerivedFromTheThreePaths) {
  Folders f = MakeFolders("C:\\Games\\Veldmark\\Veldmark.exe", "C:\\Users\\p\\Documents",
                          "C:\\Games\\Veldmark\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.dll");
  EXPECT_EQ(f.game, "C:\\Games\\Veldmark\\");
  EXPECT_EQ(f.data, "C:\\Games\\Veldmark\\Data\\");
  EXPECT_EQ(f.user_root, "C:\\Users\\p\\Documents\\My Games\\Veldmark\\Korvel\\User Files\\");
  EXPECT_EQ(f.library_name, "Qarn_Tovi_Korvel.dll");
  EXPECT_EQ(f.log_file, "C:\\Games\\Veldmark\\Data\\Qarn\\Plugins\\Qarn_Tovi_Korvel.log");
  EXPECT_EQ(MakeFolders("x.exe", "", "k.dll").documents, "\\");
}

}  // namespace
}  // namespace korvel
