// Expressions far longer and deeper than the calculator's own stack could
// follow one call per operator or per parenthesis, and the precision the
// x87 unit works at. Under AddressSanitizer a stack overflow fails the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "calc/calculate.h"
#include "calc/fpu_precision.h"

namespace korvel {
namespace {

constexpr size_t kLong = 500 * 1024;

std::string Repeat(std::string_view piece, size_t bytes) {
  std::string s;
  s.reserve(bytes + piece.size());
  while (s.size() < bytes) s += piece;
  return s;
}

TEST(CalculateLimits, DeepParentheses) {
  const size_t depth = kLong / 2;
  EXPECT_EQ(Calculate(std::string(depth, '(') + "7" + std::string(depth, ')'), {}, 0), 7);
  // Left open, they close at the end.
  EXPECT_EQ(Calculate(std::string(kLong, '(') + "7", {}, 0), 7);
  // Nested to the right: 1-(1-(1-(...))): 0 or 1 by the depth's parity.
  std::string nested = Repeat("1-(", kLong);
  const size_t levels = nested.size() / 3;
  EXPECT_EQ(Calculate(nested + "1" + std::string(levels, ')'), {}, 0), levels % 2 ? 0 : 1);
}

TEST(CalculateLimits, LongOperatorChains) {
  // Left to right: ((1+1)+1)+..., and a difference that only comes out
  // right when every "-" groups from the left.
  std::string sum = Repeat("1+", kLong) + "1";
  EXPECT_EQ(Calculate(sum, {}, 0), static_cast<double>(sum.size() / 2 + 1));
  std::string difference = "1000000" + Repeat("-1", kLong);
  EXPECT_EQ(Calculate(difference, {}, 0), 1000000.0 - static_cast<double>((difference.size() - 7) / 2));
  // Every level of precedence, one term after another.
  std::string mixed = Repeat("2*$0p2/4%3+", kLong) + "0";
  const size_t terms = mixed.size() / 11;
  EXPECT_EQ(Calculate(mixed, {3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0), 1.5 * static_cast<double>(terms));
  // A run of signs: each one flips the operand.
  EXPECT_EQ(Calculate(std::string(kLong, '-') + "3", {}, 0), kLong % 2 ? -3 : 3);
  EXPECT_EQ(Calculate("1" + std::string(kLong, '-') + "3", {}, 0), kLong % 2 ? -2 : 4);
  // Powers to the right of powers: 1p1p1...p1 and signs between.
  EXPECT_EQ(Calculate(Repeat("1p-", kLong) + "1", {}, 0), 1);
}

#if defined(__i386__) && (defined(__GNUC__) || defined(__clang__))

// The game's Direct3D device leaves the x87 unit at 24 bits.
TEST(CalculatePrecision, DoublePrecisionWhateverTheCallerSet) {
  const uint16_t before = ReadX87ControlWord();
  const uint16_t single = static_cast<uint16_t>(before & ~kX87PrecisionField);  // PC = 00b
  WriteX87ControlWord(single);
  // 16777217 = 2^24 + 1 has no 24-bit form; 1/3 loses 29 bits at 24.
  const double sum = Calculate("16777216+1", {}, 0);
  const double third = Calculate("1/3", {}, 0);
  const uint16_t after = ReadX87ControlWord();
  WriteX87ControlWord(before);
  EXPECT_EQ(sum, 16777217.0);
  EXPECT_EQ(third, 1.0 / 3.0);
  EXPECT_EQ(after, single);
}

#else

TEST(CalculatePrecision, DoublePrecisionWhateverTheCallerSet) {
  GTEST_SKIP() << "the x87 precision control exists on i386 builds only; "
                  "SSE2 arithmetic here is double precision already";
}

#endif

}  // namespace
}  // namespace korvel
