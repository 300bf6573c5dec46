#include <gtest/gtest.h>

#include "command_harness.h"
#include "fake_engine.h"
#include "objects/string_convert.h"
#include "objects/string_export.h"
#include "objects/string_store.h"
#include "temp_env.h"

namespace korvel {
namespace {

class Strings : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp", "B.esp"});
    ClearAllStrings();
  }
  void TearDown() override { ClearAllStrings(); }
  std::string Text(int32_t id) { return *ResolveSource(id); }
  TempEnv env;
  FakeEngine engine;
  const uint32_t a = ScriptOf(1), b = ScriptOf(2);
};

TEST_F(Strings, CreateOwnedByTheCaller) {
  EXPECT_EQ(Call("CreateString", a, {}), 0);
  EXPECT_EQ(GetStrings().Get(0)->EspID, 1);
  EXPECT_EQ(Text(0), "");
  EXPECT_EQ(Call("CreateString", 0, {}), -1);  // no form id, no EspID
  EXPECT_EQ(Call("CreateString", 0, {I(2), T("x")}), 1);
  EXPECT_EQ(Call("CreateString", a, {I(-1), T("y"), I(0), I(1)}), 2);
  EXPECT_EQ(Call("CreateString", a, {I(9)}), -1);
}

TEST_F(Strings, OwnershipProtectionAndGlobal) {
  int32_t open = static_cast<int32_t>(Call("CreateString", a, {I(-1), T("open")}));
  int32_t locked = static_cast<int32_t>(Call("CreateString", a, {I(-1), T("locked"), I(1)}));
  Call("SetString", b, {I(open), T("b0")});
  EXPECT_EQ(Text(open), "open");
  Call("SetString", b, {I(open), T("b1"), I(1)});
  EXPECT_EQ(Text(open), "b1");
  Call("SetString", b, {I(locked), T("b2"), I(1)});
  EXPECT_EQ(Text(locked), "locked");
  Call("DestroyString", b, {I(locked), I(1)});
  EXPECT_FALSE(GetStrings().IsInvalid(locked));
  // B may still read A's protected string.
  int32_t copy = static_cast<int32_t>(Call("CreateString", b, {}));
  Call("StringCat", b, {I(copy), I(locked)});
  EXPECT_EQ(Text(copy), "locked");
  // Owner and protection: only the owner changes protection.
  EXPECT_EQ(Call("StringProtect", b, {I(open), I(1)}), 0);
  EXPECT_EQ(Call("StringProtect", a, {I(open), I(1)}), 1);
  EXPECT_EQ(Call("StringEsp", b, {I(locked), I(2), I(1)}), 1);
  EXPECT_EQ(Call("StringEsp", a, {I(locked), I(2)}), 2);
  EXPECT_EQ(Call("StringEsp", a, {I(99)}), -1);
}

TEST_F(Strings, DestroyAllRemovesOwnProtectedButOnlyOthersOpen) {
  int32_t a_locked = static_cast<int32_t>(Call("CreateString", a, {I(-1), T(""), I(1)}));
  int32_t a_open = static_cast<int32_t>(Call("CreateString", a, {}));
  Call("DestroyAllStrings", b, {I(1)});
  EXPECT_TRUE(GetStrings().IsInvalid(a_open));
  EXPECT_FALSE(GetStrings().IsInvalid(a_locked));
  Call("DestroyAllStrings", a, {});
  EXPECT_TRUE(GetStrings().IsInvalid(a_locked));
}

TEST_F(Strings, TemporariesAreSharedAndBuiltInsReadOnly) {
  Call("SetString", a, {I(-2000), T("shared")});
  int32_t s = static_cast<int32_t>(Call("CreateString", b, {}));
  Call("StringCat", b, {I(s), I(-2000)});
  EXPECT_EQ(Text(s), "shared");
  Call("SetString", 0, {I(-10000), T("no")});
  EXPECT_EQ(Text(-10000), "abcdefghijklmnopqrstuvwxyz");
  ClearAllStrings();
  EXPECT_EQ(Text(-2000), "");
}

TEST_F(Strings, BuiltIns) {
  EXPECT_EQ(Text(-1), "");
  EXPECT_EQ(Text(-65), "A");
  EXPECT_EQ(Text(-256), std::string(1, '\0'));
  EXPECT_EQ(Text(-257), "\x01");
  EXPECT_EQ(Text(-1310), "\r\n");
  EXPECT_EQ(Text(-10003), "().!?,; ':\"");
  EXPECT_EQ(Text(-100008), "Choice0");
  EXPECT_EQ(Text(-100017), "Choice9");
  EXPECT_EQ(Text(-2000000000), "(\\__/)\r\n(='.'=)\r\n(\")_(\")");
  EXPECT_FALSE(ResolveSource(0));
  EXPECT_FALSE(ResolveSource(-258));
  EXPECT_FALSE(ResolveSource(-100022));
  env.now = {2026, 3, 4, 0, 30, 9, 7};
  env.date_separator = '.';
  EXPECT_EQ(Text(-9000), "04.03.2026");
  EXPECT_EQ(Text(-9001), "00:30:09");
  EXPECT_EQ(Text(-9010), "007");
  EXPECT_EQ(Text(-9017), "12");
  EXPECT_EQ(Text(-9018), "AM");
  env.now.hour = 15;
  EXPECT_EQ(Text(-9017), "03");
  EXPECT_EQ(Text(-9018), "PM");
  EXPECT_EQ(Text(-9013), "15");
}

TEST_F(Strings, LengthCatAndCopy) {
  int32_t s = static_cast<int32_t>(Call("CreateString", a, {I(-1), T("ab")}));
  EXPECT_EQ(Call("StringLen", a, {I(s), I(5)}), 5);
  EXPECT_EQ(Text(s), std::string("ab\0\0\0", 5));
  EXPECT_EQ(Call("StringLen", a, {I(s), I(1)}), 1);
  EXPECT_EQ(Call("StringLen", a, {I(-10002)}), 10);
  EXPECT_EQ(Call("StringLen", a, {I(-10002), I(3)}), -1);
  EXPECT_EQ(Call("StringLen", a, {I(-2001), I(3)}), 3);
  // An absurd length changes nothing.
  EXPECT_EQ(Call("StringLen", a, {I(s), I(2000000000)}), 1);
  Call("StringCat", a, {I(s), I(s), I(-65), I(-66)});
  EXPECT_EQ(Text(s), "aaAB");
  Call("StringCat", a, {I(s), I(-65), I(777)});
  EXPECT_EQ(Text(s), "aaAB");
  int32_t t = static_cast<int32_t>(Call("CreateString", a, {I(-1), T("abcdef")}));
  struct { int pos, num; const char* want; } cases[] = {
      {3, -1, "cdef"}, {3, 2, "cd"}, {0, 2, "ab"}, {9, -1, ""}, {6, 5, "f"}};
  for (auto c : cases) {
    Call("CopyString", a, {I(s), I(t), I(c.pos), I(c.num)});
    EXPECT_EQ(Text(s), c.want) << c.pos << "," << c.num;
  }
}

TEST_F(Strings, Conversions) {
  int32_t s = static_cast<int32_t>(Call("CreateString", a, {}));
  Call("IntToString", a, {I(s), I(-7)});
  EXPECT_EQ(Text(s), "-7");
  Call("FloatToString", a, {I(s), F(2.5f)});
  EXPECT_EQ(Text(s), "2.5000000");
  Call("FloatToString", a, {I(s), F(2.5f), I(2)});
  EXPECT_EQ(Text(s), "2.50");
  Call("FloatToString", a, {I(s), F(2.5f), I(0)});
  EXPECT_EQ(Text(s), "3");
  FakeForm* form = engine.AddForm(0x0001A2B3);
  Call("RefToString", a, {I(s), Ref(form)});
  EXPECT_EQ(Text(s), "0001A2B3");
  Call("SetString", a, {I(s), T("0001a2b3")});
  EXPECT_EQ(CallRef("StringToRef", a, {I(s)}), 0x0001A2B3u);
  Call("SetString", a, {I(s), T("1a2b3")});
  EXPECT_EQ(Call("StringToRef", a, {I(s)}), 0);
  struct { const char* text; double want; } ints[] = {
      {" -42", -42}, {"$FF", 255}, {"0x1F", 31}, {"12abc", 0}, {"2147483648", 0},
      {"-2147483648", -2147483648.0}, {"x10", 16}, {"", 0}, {"+5", 5}};
  for (auto c : ints) {
    Call("SetString", a, {I(s), T(c.text)});
    EXPECT_EQ(Call("StringToInt", a, {I(s)}), c.want) << c.text;
  }
  struct { const char* text; double want; } floats[] = {
      {" 1.5 ", 1.5}, {"-2e3", -2000}, {".5", 0.5}, {"1,5", 0}, {"inf", 0}, {"0x10", 0}, {"7.", 7},
      {"1e400", 0}, {"-1e400", 0}, {"1e-400", 0}, {"1e300", 1e300}, {"+1.25", 1.25},
      {"2.5e-3", 0.0025}};
  for (auto c : floats) {
    Call("SetString", a, {I(s), T(c.text)});
    EXPECT_EQ(Call("StringToFloat", a, {I(s)}), c.want) << c.text;
  }
}

TEST(FloatToFixed, RoundsToSevenSignificantDigits) {
  EXPECT_EQ(FloatToFixed(0.1f, 7), "0.1000000");
  EXPECT_EQ(FloatToFixed(1.0f / 3, 7), "0.3333333");
  EXPECT_EQ(FloatToFixed(123.456789f, 7), "123.4568000");
  EXPECT_EQ(FloatToFixed(-0.5f, 0), "-1");
  EXPECT_EQ(FloatToFixed(0.0004f, 2), "0.00");
  EXPECT_EQ(FloatToFixed(-0.0004f, 2), "0.00");
  EXPECT_EQ(FloatToFixed(9999999.0f, 0), "9999999");
  EXPECT_EQ(FloatToFixed(12345678.0f, 2), "1.234568E+7");
  EXPECT_EQ(FloatToFixed(99.99999f, 1), "100.0");
  EXPECT_EQ(FloatToFixed(3.0f, -4), "3");
  EXPECT_EQ(FloatToFixed(3.0f, 12), "3.0000000");
  // An exact half in the eighth digit goes away from zero, like every other
  // rounding here.
  EXPECT_EQ(FloatToFixed(123456.25f, 1), "123456.3");
  EXPECT_EQ(FloatToFixed(-123456.25f, 2), "-123456.30");
  EXPECT_EQ(FloatToFixed(1234568.5f, 0), "1234569");
  EXPECT_EQ(FloatToFixed(12345685.0f, 0), "1.234569E+7");
  EXPECT_EQ(FloatToFixed(2.25f, 1), "2.3");
  // Not a half: the eight-digit form only rounds to 5.
  EXPECT_EQ(FloatToFixed(123456.24f, 1), "123456.2");
}

TEST_F(Strings, ExportedGetString) {
  int32_t s = static_cast<int32_t>(Call("CreateString", a, {I(-1), T("hi")}));
  int32_t length = -1;
  const char* text = ExportedGetString(s, &length);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(length, 2);
  EXPECT_STREQ(text, "hi");
  EXPECT_EQ(ExportedGetString(s, nullptr), nullptr);
  EXPECT_EQ(ExportedGetString(-2000, &length), nullptr);
  EXPECT_EQ(ExportedGetString(-65, &length), nullptr);
  EXPECT_EQ(ExportedCreateString("a\0b", 3, 0x02000001, 0, 0), s + 1);
  EXPECT_EQ(Text(s + 1), std::string("a\0b", 3));
  EXPECT_EQ(ExportedCreateString("x", 1, 0, 0, 0), -1);
  EXPECT_EQ(ExportedCreateString("x", 1, 0x09000001, 0, 0), -1);
}

TEST_F(Strings, ModCommands) {
  FakeForm* sword = engine.AddForm(0x01000ABC);
  EXPECT_EQ(Call("GetEsp", a, {}), 1);
  EXPECT_EQ(Call("GetEsp", a, {T("b.ESP")}), 2);
  EXPECT_EQ(Call("GetEsp", 0, {}), -1);
  Call("SetString", a, {I(-2000), T("BASE.esm")});
  EXPECT_EQ(Call("GetEsp", a, {T(""), I(-2000)}), 0);
  EXPECT_EQ(Call("GetEsp", a, {T(""), I(4444)}), -1);
  EXPECT_EQ(CallRef("ModRefEsp", a, {Ref(sword), I(2)}), 0x02000ABCu);
  EXPECT_EQ(CallRef("ModRefEsp", b, {Ref(sword)}), 0x02000ABCu);
  EXPECT_EQ(CallRef("ModRefEsp", b, {Ref(sword), I(40)}), 0x01000ABCu);
  EXPECT_EQ(Call("GetRefEsp", a, {Ref(sword)}), 1);
  FakeForm* made = engine.AddForm(0xFF000001);
  EXPECT_EQ(Call("GetRefEsp", a, {Ref(made)}), -1);
  int32_t s = static_cast<int32_t>(Call("CreateString", a, {}));
  Call("EspToString", a, {I(s), I(2)});
  EXPECT_EQ(Text(s), "b.esp");
  Call("EspToString", a, {I(-2005), I(2), I(0), I(1)});
  EXPECT_EQ(Text(-2005), "B.esp");
}

}  // namespace
}  // namespace korvel
