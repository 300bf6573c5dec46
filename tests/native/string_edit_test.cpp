// The search, compare, edit and sanitize rules, first as text algorithms,
// then as commands with sources, targets, ownership and the engine's
// keyboard.
#include <gtest/gtest.h>

#include <cstdio>

#include "command_harness.h"
#include "fake_engine.h"
#include "objects/string_edit.h"
#include "objects/string_export.h"
#include "objects/string_store.h"
#include "temp_env.h"

namespace korvel {
namespace {

TEST(TextAlgorithms, CompareGivesTheFirstDifference) {
  struct Case { const char *a, *b; bool exact; int32_t want; } cases[] = {
      {"abc", "abd", false, 3}, {"abc", "ABC", false, 0}, {"abc", "ABC", true, 1},
      {"ab", "abc", false, 3},  {"", "", false, 0},       {"abc", "ab", true, 3},
      {"[", "{", false, 1},  // only a to z are upper-cased
  };
  for (const Case& c : cases)
    EXPECT_EQ(CompareTexts(c.a, c.b, c.exact), c.want) << c.a << " / " << c.b;
}

TEST(TextAlgorithms, FindPositionWindowsAndLastOccurrence) {
  struct Case { const char *sub, *text; int32_t start, end; bool ignore, last; int32_t want; }
  cases[] = {
      {"b", "abcabc", 1, -1, false, false, 2}, {"b", "abcabc", 3, -1, false, false, 5},
      {"b", "abcabc", 1, -1, false, true, 5},  {"b", "abcabc", 1, 4, false, true, 2},
      {"b", "abcabc", 0, -1, false, false, 0}, {"B", "abc", 1, -1, false, false, 0},
      {"B", "abc", 1, -1, true, false, 2},     {"aa", "aaaa", 1, -1, false, true, 3},
      {"", "abc", 1, -1, false, false, 0},     {"c", "abc", 4, -1, false, false, 0},
      {"bc", "abc", 1, 2, false, false, 0},    {"a", "abc", 1, 0, false, false, 0},
      {"b", "abcabc", 1, 2147483647, false, true, 5},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindPosition(c.sub, c.text, c.start, c.end, c.ignore, c.last), c.want)
        << c.sub << " in " << c.text << " start " << c.start << " end " << c.end;
}

TEST(TextAlgorithms, InsertReplacesLengthCharactersAtStart) {
  struct Case { int32_t start, length; bool ok; const char* want; } cases[] = {
      {3, 0, true, "abXYcdef"},  {3, 2, true, "abXYef"},     {10, 0, true, "abcdefXY"},
      {1, 100, true, "XY"},      {0, 0, false, "abcdef"},    {1, -1, false, "abcdef"},
      {2147483647, 2147483647, true, "abcdefXY"},
  };
  for (const Case& c : cases) {
    std::string text = "abcdef";
    EXPECT_EQ(InsertText(text, "XY", c.start, c.length), c.ok);
    EXPECT_EQ(text, c.want) << c.start << "," << c.length;
  }
}

TEST(TextAlgorithms, ReplaceInWindowScansOnceAndStopsAtCodeZero) {
  uint8_t upper[256];
  for (int c = 0; c < 256; ++c) upper[c] = static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
  upper[0xE9] = 0xC9;  // a locale that upper-cases e acute
  struct Case { std::string text, pattern, replacement; int32_t start, end; bool fold, all;
                std::string want; } cases[] = {
      {"aaa", "a", "b", 1, -1, false, false, "baa"},
      {"aaa", "a", "b", 1, -1, false, true, "bbb"},
      {"aaa", "a", "b", 2, -1, false, true, "abb"},
      {"aaa", "", "b", 1, -1, false, true, "aaa"},
      {"aaaa", "aa", "a", 1, -1, false, true, "aa"},  // replaced text is not rescanned
      {"abab", "a", "aa", 1, -1, false, true, "aabaab"},
      {"aXa", "x", "-", 1, -1, true, true, "a-a"},
      {"\xE9t\xE9", "\xC9", "e", 1, -1, true, true, "ete"},
      {"\xE9t\xE9", "\xC9", "e", 1, -1, false, true, "\xE9t\xE9"},
      {std::string("a\0a", 3), "a", "b", 1, -1, false, true, std::string("b\0a", 3)},
      {"aaa", std::string("a\0x", 3), "b", 1, -1, false, false, "baa"},
      {"aaaa", "a", "b", 2, 3, false, true, "abba"},
      {"aaaa", "a", "b", 3, 2, false, true, "aaaa"},
      {"aaaa", "a", "b", 9, -1, false, true, "aaaa"},
      {"abc", "c", "X", 2, 10, false, true, "abX"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_TRUE(ReplaceInWindow(text, c.pattern, c.replacement, c.start, c.end,
                                c.fold ? upper : nullptr, c.all));
    EXPECT_EQ(text, c.want) << c.text << " " << c.pattern << " " << c.start << ".." << c.end;
  }
}

TEST(TextAlgorithms, ReplaceRefusesAResultBeyondTheLimit) {
  std::string text(1 << 20, 'a');
  EXPECT_FALSE(ReplaceInText(text, "a", std::string(100, 'b'), nullptr, true));
  EXPECT_EQ(text, std::string(1 << 20, 'a'));
}

TEST(TextAlgorithms, SanitizeKeepsAllowedCharactersUpToMaxLength) {
  const std::string lower = "abcdefghijklmnopqrstuvwxyz";
  struct Case { std::string allowed; int32_t max; bool ignore; const char* want; } cases[] = {
      {lower, -1, false, "elloorld"}, {lower, -1, true, "HelloWorld"}, {lower, 3, false, "ell"},
      {"", -1, false, ""},            {lower, 0, false, ""},           {"!,", -1, false, ",!"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Sanitize("Hello, World!", c.allowed, c.max, c.ignore), c.want) << c.allowed;
}

class TextCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    ClearAllStrings();
  }
  void TearDown() override { ClearAllStrings(); }
  int32_t Make(uint32_t caller, const std::string& text, int is_protected = 0) {
    return static_cast<int32_t>(Call("CreateString", caller, {I(-1), T(text), I(is_protected)}));
  }
  std::string Text(int32_t id) { return *ResolveSource(id); }
  TempEnv env;
  FakeEngine engine;
  const uint32_t a = ScriptOf(1), b = ScriptOf(2);
};

TEST_F(TextCommands, EditsRespectOwnershipAndLeaveFailedSourcesAlone) {
  int32_t locked = Make(a, "aaa", 1);
  int32_t mine = Make(b, "aaa");
  int32_t x = Make(b, "x");
  int32_t pattern = Make(b, "a");
  Call("StringRep", b, {I(pattern), I(x), I(locked), I(1), I(-1), I(0), I(1), I(1)});
  Call("StringIns", b, {I(x), I(locked), I(1), I(0), I(1)});
  Call("SanString", b, {I(locked), I(-1), I(-1), I(0), I(1)});
  Call("IntToHex", b, {I(locked), I(255), I(4), I(1), I(1)});
  EXPECT_EQ(Text(locked), "aaa");
  Call("StringIns", b, {I(9999), I(mine)});  // an invalid source changes nothing
  EXPECT_EQ(Text(mine), "aaa");
  Call("StringIns", b, {I(mine), I(mine), I(2)});  // the source is read before the edit
  EXPECT_EQ(Text(mine), "aaaaaa");
  EXPECT_EQ(Call("StringCmp", b, {I(mine), I(9999)}), 1);
  EXPECT_EQ(Call("StringPos", b, {I(x), I(9999)}), 0);
}

TEST_F(TextCommands, IntToHexPadsAndPrefixes) {
  struct Case { int32_t value, digits, prefix; const char* want; } cases[] = {
      {255, 8, 0, "000000FF"}, {255, 2, 0, "FF"},       {255, 0, 0, "FF"},
      {255, 4, 1, "0x00FF"},   {-1, 8, 0, "FFFFFFFF"},  {-1, 3, 0, "FFFFFFFF"},
      {-1, 10, 0, "00FFFFFFFF"}, {0, 0, 0, "0"},        {0, 40, 0, "0"},
      {0, -5, 1, "0x0"},       {0, 32, 0, "00000000000000000000000000000000"},
  };
  for (const Case& c : cases) {
    Call("IntToHex", a, {I(-2000), I(c.value), I(c.digits), I(0), I(c.prefix)});
    EXPECT_EQ(Text(-2000), c.want) << c.value << " " << c.digits;
  }
}

TEST_F(TextCommands, ScanCodesBothWays) {
  int32_t s = Make(a, "q");
  EXPECT_EQ(Call("csc", a, {I(256)}), -1);
  EXPECT_EQ(Call("csc", a, {I(-1), I(0), I(s)}), -1);
  EXPECT_EQ(Text(s), "q");
  EXPECT_EQ(Call("csc", a, {I(1)}), 'b');  // the default StringID writes nothing
  EXPECT_EQ(Call("csc", a, {I(2), I(1), I(s)}), 'C');
  EXPECT_EQ(Text(s), "qC");
  EXPECT_EQ(Call("csc", a, {I(0), I(0), I(s), I(0)}), 'a');
  EXPECT_EQ(Text(s), "a");
  EXPECT_EQ(Call("csc", a, {I(99), I(0), I(s), I(1)}), 0);  // no character: code 0 appended
  EXPECT_EQ(Text(s), std::string("a\0", 2));
  int32_t t = Make(a, "xyz");
  EXPECT_EQ(Call("rcsc", a, {I(t), I(2)}), 'y' - 'a');
  EXPECT_EQ(Call("rcsc", a, {I(t), I(0)}), 0);
  EXPECT_EQ(Call("rcsc", a, {I(t), I(4)}), 0);
}

// The format-string extractor: the expanded text and the two integers, and
// whether it could read the script's arguments.
class FormatExtractor : public ArgExtractor {
 public:
  FormatExtractor(int32_t id, std::string text, bool read) : id_(id), text_(std::move(text)), read_(read) {}
  void Extract(const CommandEntry&, ArgSlot* slots, char* text, size_t capacity) override {
    slots[0].i = id_;
    slots[1].i = 0;
    std::snprintf(text, capacity, "%s", text_.c_str());
  }
  bool ArgumentsRead() const override { return read_; }

 private:
  int32_t id_;
  std::string text_;
  bool read_;
};

TEST_F(TextCommands, FmtStringWritesOnlyWhatTheCompanionCouldRead) {
  const CommandEntry* entry = FindCommand("FmtString");
  ASSERT_NE(entry, nullptr);
  double result = 5;
  FormatExtractor unread(-2000, "half", false);
  RunCommand(*entry, &result, 0, nullptr, &unread);
  EXPECT_EQ(Text(-2000), "");
  EXPECT_EQ(result, 0);
  FormatExtractor read(-2000, std::string(20000, 'x'), true);
  RunCommand(*entry, &result, 0, nullptr, &read);  // a script without a form id
  EXPECT_EQ(Text(-2000), std::string(16384, 'x'));
  int32_t locked = Make(a, "keep", 1);
  FormatExtractor other(locked, "changed", true);
  RunCommand(*entry, &result, b, nullptr, &other);
  EXPECT_EQ(Text(locked), "keep");
}

TEST_F(TextCommands, WithoutTheSiblingNyxaCommandsKeepTheirPresets) {
  int32_t s = Make(a, "keep");
  EXPECT_EQ(Call("ToNyxa", a, {I(s)}), -1);
  EXPECT_EQ(Call("FromNyxa", a, {I(s), I(1)}), 0);
  EXPECT_EQ(Text(s), "keep");
}

TEST_F(TextCommands, ExportedCreateStringRefusesANegativeLength) {
  EXPECT_EQ(ExportedCreateString("abc", -1, 0x01000001, 0, 0), -1);
  EXPECT_EQ(ExportedCreateString("abc", INT32_MIN, 0x01000001, 0, 0), -1);
  EXPECT_TRUE(GetStrings().IsInvalid(0));
}

}  // namespace
}  // namespace korvel
