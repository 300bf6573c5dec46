// The value formats of the INI commands, row by row.
#include <gtest/gtest.h>

#include <cfloat>

#include "files/ini_values.h"

namespace korvel {
namespace {

TEST(IniValues, IntegersReadDecimalAndHexadecimalOnly) {
  const struct {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"31", 31},          {"  -17", -17},      {"+5", 5},         {"0x1F", 31},
      {"0X1f", 31},        {"$1F", 31},         {"x1F", 31},       {"X1f", 31},
      {"-$10", -16},       {"$FFFFFFFF", -1},   {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},               {"2147483648", std::nullopt},
      {"$100000000", std::nullopt},             {"1F", std::nullopt},
      {"12 ", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt}, {"0x", std::nullopt},
      {"$", std::nullopt}, {"1.5", std::nullopt}, {" 7", 7},        {"0", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIniInt(c.text), c.value) << c.text;
  EXPECT_EQ(IniIntText(-42), "-42");
  EXPECT_EQ(IniIntText(INT32_MIN), "-2147483648");
}

TEST(IniValues, FloatsWriteFifteenDigitsOfTheWidenedSingle) {
  const struct {
    float value;
    const char* text;
  } cases[] = {
      {0.1f, "0.100000001490116"}, {0.0f, "0"},         {-2.5f, "-2.5"},
      {1.0f, "1"},                 {100.0f, "100"},      {123456.0f, "123456"},
      {1e15f, "999999986991104"},  {1e16f, "1.00000002725642E16"},
      {1e20f, "1.00000002004088E20"}, {0.0001f, "0.0000999999974737875"},
      {1e-5f, "9.99999974737875E-6"}, {0.5f, "0.5"},     {-1e-7f, "-1.0000000116861E-7"},
  };
  for (const auto& c : cases) EXPECT_EQ(IniFloatText(c.value), c.text) << c.value;
}

TEST(IniValues, FloatsReadDecimalNumbersWithinTheSingleRange) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"0", 0.0},           {"-2.5", -2.5},           {"1e3", 1000.0},      {" 1.5E-2 ", 0.015},
      {".5", 0.5},          {"5.", 5.0},              {"+3", 3.0},          {"3.4E38", 3.4e38}, {"3.40282357E38", std::nullopt},
      {"5E39", std::nullopt}, {"-5E39", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt},
      {"1e", std::nullopt}, {"1.2.3", std::nullopt},  {"inf", std::nullopt}, {"nan", std::nullopt},
      {"0x10", std::nullopt}, {"1,5", std::nullopt},   {"1e-400", 0.0},      {".", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIniFloat(c.text), c.value) << c.text;
  // What is written reads back to the same single.
  for (float f : {0.1f, -2.5f, 1e20f, 1e-7f, FLT_MAX, -FLT_MIN, 3.14159265f})
    EXPECT_EQ(static_cast<float>(*ParseIniFloat(IniFloatText(f))), f) << f;
}

TEST(IniValues, ReferencesAreExactlyEightHexadecimalDigits) {
  EXPECT_EQ(IniRefText(0x0001A2B3), "0001A2B3");
  EXPECT_EQ(IniRefText(0), "00000000");
  EXPECT_EQ(IniRefText(0xFF00ABCD), "FF00ABCD");
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {{"0001a2b3", 0x0001A2B3u}, {"FFFFFFFF", 0xFFFFFFFFu}, {"1A2B3", std::nullopt},
               {"0001A2B3 ", std::nullopt}, {"0x01A2B3", std::nullopt}, {"0001A2BG", std::nullopt},
               {"000001A2B3", std::nullopt}, {"", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseIniRef(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace korvel
