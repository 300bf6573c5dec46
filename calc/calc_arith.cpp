#include "calc/calc_arith.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace korvel {

double ConvertNumber(std::string_view digits) {
  double value = 0;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end) return 0;
  return value;
}

double ApplyOperator(char op, double left, double right) {
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

double ApplySign(char sign, double operand) {
  return sign == '-' ? 0.0 - operand : operand + 0.0;
}

double RoundHalfEven(double value) {
  // 2^63: from here on every double is an integer already, and one that
  // no 64-bit integer holds.
  constexpr double kIntegerLimit = 9223372036854775808.0;
  if (!(std::fabs(value) < kIntegerLimit)) return value;
  double below = std::floor(value);
  double fraction = value - below;  // exact
  double rounded = below;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0)) rounded = below + 1;
  return rounded == 0 ? 0.0 : rounded;
}

}  // namespace korvel
