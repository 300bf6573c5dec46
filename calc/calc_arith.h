// The calculator's arithmetic: numbers, the operators and the rounding.
// Every operation is named here once, so that however an expression is
// taken apart, the same operands give the same bits.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

namespace korvel {

// A run of digits with at most one "." ("12", "1.", ".5"); "." alone, and
// a number beyond the largest double, count as 0. Always "." as the
// decimal separator, whatever the process locale.
double ConvertNumber(std::string_view digits);

// 10^0 to 10^15, each exact in a double.
extern const double kExactPowersOfTen[16];

// The value of at most 15 digits read as the integer mantissa, with
// after_point of them after the point (none: -1 or 0). The mantissa and
// the power of ten are exact, so one division rounds correctly, as the
// full conversion does.
inline double ShortNumberValue(uint64_t mantissa, int after_point) {
  return after_point > 0 ? static_cast<double>(mantissa) / kExactPowersOfTen[after_point]
                         : static_cast<double>(mantissa);
}

// left op right for "+", "-", "*", "/", "%" and "p". Dividing by 0, and
// the remainder by 0, give left. The remainder has the sign of left. A
// negative base with a fractional exponent is raised to the exponent cut
// toward zero.
inline double ApplyOperator(char op, double left, double right) {
  switch (op) {
    case '+':
      return right + left;
    case '-':
      return left - right;
    case '*':
      return right * left;
    case '/':
      return right == 0 ? left : left / right;
    case '%':
      // The quotient is cut toward zero as a 64-bit integer would be; a
      // quotient beyond that range is cut as a double instead of turning
      // into the hardware's "integer indefinite" and a meaningless result.
      return right == 0 ? left : left - std::trunc(left / right) * right;
    case 'p':
      if (left < 0 && std::isfinite(right) && right != std::trunc(right))
        return std::pow(left, std::trunc(right));
      return std::pow(left, right);
    default:
      return left;
  }
}

// A sign before its operand: "-" gives 0 - operand, "+" operand + 0 (so a
// negative zero comes out positive either way).
inline double ApplySign(char sign, double operand) {
  return sign == '-' ? 0.0 - operand : operand + 0.0;
}

// The nearest integer, halves to the even one; 0 is never negative. A
// value beyond the 64-bit integers (and infinities, NaN) is left as it is.
double RoundHalfEven(double value);

}  // namespace korvel
