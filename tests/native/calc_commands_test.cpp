// LC and StrLC through the frame: the literal text, a string's text, the
// variables and the rounding flag.
#include <gtest/gtest.h>

#include "command_harness.h"
#include "fake_engine.h"
#include "objects/string_store.h"
#include "temp_env.h"

namespace korvel {
namespace {

class CalcCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.SetMods({"Base.esm", "A.esp"});
    ClearAllStrings();
  }
  void TearDown() override { ClearAllStrings(); }
  TempEnv env;
  FakeEngine engine;
  const uint32_t a = ScriptOf(1);
};

TEST_F(CalcCommands, LiteralAndStringExpressions) {
  const struct {
    int32_t rounded;
    const char* expression;
    std::vector<int32_t> variables;
    double value;
  } cases[] = {
      {0, "1 + 2 * 3", {}, 7},      {0, "$0+$1", {3, 4}, 7},  {0, "$9*2", {0, 0, 0, 0, 0, 0, 0, 0, 0, 21}, 42},
      {1, "7/2", {}, 4},            {0, "7/2", {}, 3.5},      {1, "-7/2", {}, -4},
      {0, "2*-(2+2", {}, -8},       {0, "2$1", {}, 0},        {0, "abc", {}, 0},
  };
  for (const auto& c : cases) {
    std::vector<Arg> lc = {I(c.rounded), T(c.expression)};
    int32_t id = CreateString(1, c.expression, false, false);
    std::vector<Arg> str = {I(c.rounded), I(id)};
    for (int32_t v : c.variables) lc.push_back(I(v)), str.push_back(I(v));
    EXPECT_EQ(Call("LC", a, lc), c.value) << c.expression;
    EXPECT_EQ(Call("StrLC", a, str), c.value) << c.expression;
  }
  // A StringID that names no string leaves the preset; built-ins count.
  EXPECT_EQ(Call("StrLC", a, {I(0), I(999)}), 0);
  EXPECT_EQ(Call("StrLC", a, {I(0), I(-10002)}), 123456789);  // "0123456789"
}

TEST_F(CalcCommands, StrLCTakesExpressionsBeyondTheTextBuffer) {
  std::string expression;
  for (int i = 0; i < 100000; ++i) expression += "1+";
  expression += "1";
  int32_t id = CreateString(1, expression, false, false);
  EXPECT_EQ(Call("StrLC", a, {I(0), I(id)}), 100001);
}

}  // namespace
}  // namespace korvel
