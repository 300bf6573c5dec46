#include "calc/calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "calc/calc_arith.h"
#include "calc/fpu_precision.h"
#include "calc_reference.h"

namespace korvel {
namespace {

struct Case {
  const char* expression;
  double value;
};

double Calc(std::string_view expression, const CalcVariables& variables = {}, int32_t rounded = 0) {
  return Calculate(expression, variables, rounded);
}

TEST(Calculate, WorkedExamples) {
  const Case cases[] = {
      {"1 + 2 * 3", 7},  {"(1+2)*3", 9},  {"2p3p2", 64},  {"2*3p2", 18},   {"7%4*2", 7},
      {"-7%3", -1},      {"10/0", 10},    {"5%0", 5},     {"(1+2", 3},     {"-2+3", 1},
      {"2*-3", -6},      {"1--2", 3},     {"10-2-3", 5},  {"1-2*3", -5},   {"-2*3", -6},
      {"8/4/2", 1},      {"2p-1", 0.5},   {"-2p2", -4},   {"(-2)p2", 4},   {"7.5%2", 1.5},
      {"-7.5%2", -1.5},  {"7%-4", 3},     {"2p0.5", std::sqrt(2.0)},      {"(-8)p0.5", 1},
      {"(-8)p1.5", -8},  {"1+", 1},       {"2-", 2},      {"-", 0},        {"(-", 0},
      {"1*-", 0},        {"2p(-", 1},     {"((((3))))", 3}, {"2*(3+4", 14}, {"-(2+3", -5},
      {"1 2 3", 123},    {"1+2+3+4", 10}, {"9-3%2*2", 6}, {"2*3%4p2", 6},  {"100/10/5*2", 4},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Calc(c.expression), c.value) << c.expression;
}

TEST(Calculate, VariablesAndTheirDigits) {
  const CalcVariables v = {3, 4, -5, 7, 0, 0, 0, 0, 0, 2147483647};
  const Case cases[] = {
      {"$0+$1", 7},     {"$12", 2},       {"$2*$3", -35},   {"-$2", 5},
      {"$9+1", 2147483648.0},             {"$1.5", 0.5},    {"$1.", 0},
      {"$0p$1", 81},    {"($0+$1)*$3", 49},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Calc(c.expression, v), c.value) << c.expression;
}

// A number is its digits with "." as the separator; "." alone, and a number
// no double holds, count as 0.
TEST(Calculate, NumberTexts) {
  const Case cases[] = {
      {"1.", 1},    {".5", 0.5},  {".", 0},     {"0.1+0.2", 0.1 + 0.2},
      {".+1", 1},   {"1.+.5", 1.5}, {"007", 7}, {"1.5.", 0},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(Calc(c.expression), c.value) << c.expression;
  EXPECT_EQ(Calc(std::string(400, '9')), 0);
  EXPECT_EQ(Calc(std::string(400, '9') + "+1"), 1);
  EXPECT_EQ(ConvertNumber("2.5"), 2.5);
  EXPECT_EQ(ConvertNumber(""), 0);
}

TEST(Calculate, RejectedExpressionsGiveZero) {
  const char* rejected[] = {
      "1..5", "1.5.5", "2(3)", "()",  ")1(",   "*2",   "2*",   "2$1", "(1))", "1)",
      "$",    "$$1",   "2+$",  "(",   "1+(",   "(*2)", "2%%3", "p2",  "2p",   "(1)2",
      "1+)",  "($1)$2", "2/*3", "1(2", "1.2$3", "2p$",
  };
  for (const char* e : rejected) {
    EXPECT_EQ(Calc(e, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}), 0) << e;
    EXPECT_EQ(reference::Calculate(e, {9, 9, 9, 9, 9, 9, 9, 9, 9, 9}, 0), 0) << e;
  }
  // Dropped characters only: an empty expression.
  EXPECT_EQ(Calc("abc"), 0);
  EXPECT_EQ(Calc(""), 0);
  // Dropped characters do not separate the two points of a number...
  EXPECT_EQ(Calc("1. x.5"), 0);
  // ...but dropped letters do not join what the checks keep apart.
  EXPECT_EQ(Calc("1 + x2"), 3);
}

TEST(Calculate, RoundedHalvesGoToEven) {
  const Case cases[] = {
      {"7/2", 4},   {"5/2", 2},       {"-7/2", -4},     {"-5/2", -2},   {"1/3", 0},
      {"2/3", 1},   {"-0.4", 0},      {"2.5000001", 3}, {"0.5", 0},     {"1.5", 2},
      {"9007199254740993", 9007199254740992.0},
  };
  for (const Case& c : cases) EXPECT_EQ(Calc(c.expression, {}, 1), c.value) << c.expression;
  // No negative zero comes out of a rounding.
  EXPECT_FALSE(std::signbit(Calc("-0.4", {}, 1)));
  EXPECT_FALSE(std::signbit(Calc("0-0", {}, 7)));
  // Beyond the 64-bit integers a value is whole already and stays as it is,
  // rather than turning into the integer indefinite -2^63.
  EXPECT_EQ(Calc("10p20", {}, 1), 1e20);
  EXPECT_EQ(Calc("-10p20", {}, 1), -1e20);
  EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()),
            std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(RoundHalfEven(std::numeric_limits<double>::quiet_NaN())));
}

// A sign gives 0 - operand, so the zeros of a result keep the sign the
// algorithm gives them.
TEST(Calculate, SignedZeros) {
  struct ZeroCase {
    const char* expression;
    bool negative;
  } cases[] = {
      {"-0", false}, {"0*-1", true},  {"-1*0", false}, {"(-1)*0", true},
      {"+0", false}, {"-2*(-0)", false}, {"2*-.", false}, {"-1%1", false},
  };
  for (const ZeroCase& c : cases) {
    double value = Calc(c.expression);
    EXPECT_EQ(value, 0) << c.expression;
    EXPECT_EQ(std::signbit(value), c.negative) << c.expression;
    EXPECT_TRUE(reference::SameResult(value, reference::Calculate(c.expression, {}, 0))) << c.expression;
  }
}

// The remainder's quotient is cut toward zero; beyond the 64-bit integers it
// is cut as a double, so a huge left operand keeps a meaningful result.
TEST(Calculate, RemainderOfHugeQuotients) {
  EXPECT_EQ(Calc("10p20%3"), 1e20 - std::trunc(1e20 / 3) * 3);
  EXPECT_EQ(Calc("-10p20%3"), 0.0 - (1e20 - std::trunc(1e20 / 3) * 3));
  EXPECT_EQ(Calc("1%(10p300)"), 1);
}

// As written, grouping enters an unclosed group and closes it after its
// first operand, so a sign before or inside the group, and an operator
// before it, bind to that operand alone. The calculator closes unclosed
// parentheses at the end instead: the same value as with them written out.
TEST(Calculate, UnclosedParenthesesCloseAtTheEnd) {
  const char* pairs[][2] = {
      {"2*-(2+2", "2*-(2+2)"},     {"5*(-2p(2", "5*(-2p(2))"}, {"2p(-2p2", "2p(-2p2)"},
      {"-(-2p(2", "-(-2p(2))"},    {"2*(-2*.", "2*(-2*.)"},   {"((1+2", "((1+2))"},
      {"3-(4-(5-(6", "3-(4-(5-(6)))"},
  };
  for (const auto& [unclosed, closed] : pairs) {
    EXPECT_TRUE(reference::SameResult(Calc(unclosed), Calc(closed))) << unclosed;
    EXPECT_TRUE(reference::SameResult(Calc(closed), reference::Calculate(closed, {}, 0))) << closed;
  }
  EXPECT_EQ(Calc("2*-(2+2"), -8);
  EXPECT_EQ(reference::Calculate("2*-(2+2", {}, 0, reference::Unclosed::kAsWritten), 0);
  EXPECT_EQ(Calc("5*(-2p(2"), -20);
  EXPECT_EQ(reference::Calculate("5*(-2p(2", {}, 0, reference::Unclosed::kAsWritten), 20);
}

// Overflow is left to the arithmetic: no trap, an infinity.
TEST(Calculate, OverflowGivesInfinity) {
  EXPECT_EQ(Calc("10p400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(Calc("-10p401"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(Calc("10p-400"), 0);
}

}  // namespace
}  // namespace korvel
