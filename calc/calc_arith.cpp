#include "calc/calc_arith.h"

#include <charconv>
#include <cstdint>
#include <cmath>
#include <system_error>

namespace korvel {

const double kExactPowersOfTen[16] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

namespace {

// Digits with at most one "." whose digits, read as one integer, stay below
// 2^53 and have at most 22 after the point: that integer and the power of
// ten are exact, so one division gives the correctly rounded value, the
// same as the full conversion. False for every other text.
bool ConvertShortNumber(std::string_view digits, double* value) {
  uint64_t mantissa = 0;
  int after_point = -1;
  size_t count = 0;
  for (char c : digits) {
    if (c == '.') {
      if (after_point >= 0) return false;
      after_point = 0;
      continue;
    }
    if (c < '0' || c > '9' || ++count > 15) return false;
    mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
    if (after_point >= 0) ++after_point;
  }
  if (count == 0) return false;
  *value = ShortNumberValue(mantissa, after_point);
  return true;
}

}  // namespace

double ConvertNumber(std::string_view digits) {
  double value = 0;
  // Most numbers in scripts are short; the full conversion is for the rest.
  if (ConvertShortNumber(digits, &value)) return value;
  const char* end = digits.data() + digits.size();
  auto [stop, error] = std::from_chars(digits.data(), end, value, std::chars_format::fixed);
  if (error != std::errc() || stop != end) return 0;
  return value;
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
