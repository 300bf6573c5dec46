#include "objects/string_convert.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace korvel {

namespace {

// Numbers in text use "." whatever locale the process runs under: the C
// runtime is shared with the game and every other plug-in, any of which may
// call setlocale. std::to_chars and std::from_chars never look at it.

// value in scientific notation with `precision` digits after the point,
// zero-terminated ("1.234560e+00").
void Scientific(char* buffer, size_t size, double value, int precision) {
  auto end = std::to_chars(buffer, buffer + size - 1, value, std::chars_format::scientific,
                           precision).ptr;
  *end = '\0';
}

// The exponent of a number Scientific wrote.
int ExponentOf(const char* scientific) {
  const char* digits = std::strchr(scientific, 'e') + 1;
  if (*digits == '+') ++digits;
  int exponent = 0;
  std::from_chars(digits, digits + std::strlen(digits), exponent);
  return exponent;
}

// The double a checked number text names; an underflow gives a signed zero
// and an overflow an infinity, as strtod does.
double ParseDouble(const char* first, const char* last) {
  bool negative = first < last && *first == '-';
  if (first < last && *first == '+') ++first;
  double value = 0;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    const char* e = first;
    while (e < last && *e != 'e' && *e != 'E') ++e;
    bool tiny = e + 1 < last && e[1] == '-';
    double magnitude = tiny ? 0.0 : HUGE_VAL;
    return negative ? -magnitude : magnitude;
  }
  return value;
}

// Adds one to a row of decimal digits; false when it overflowed (all nines,
// now all zeros).
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return true;
    }
    digits[i] = '0';
  }
  return false;
}

}  // namespace

std::string FloatToFixed(float value, int32_t digits) {
  digits = digits < 0 ? 0 : digits > 7 ? 7 : digits;
  double v = value;
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  std::string sign = std::signbit(v) && v != 0 ? "-" : "";
  v = std::fabs(v);
  if (v == 0) return digits ? "0." + std::string(static_cast<size_t>(digits), '0') : "0";
  // Seven significant digits d0.d1...d6 and the decimal exponent.
  char buffer[64];
  Scientific(buffer, sizeof buffer, v, 6);
  std::string mantissa = std::string(1, buffer[0]) + std::string(buffer + 2, 6);
  int exponent = ExponentOf(buffer);
  // The C library rounds an exact half to even; a half goes away from zero
  // here. The value lies exactly halfway when its eight-digit form ends in 5
  // and reads back as the value itself.
  char eight[64];
  Scientific(eight, sizeof eight, v, 7);
  if (eight[8] == '5' && ParseDouble(eight, eight + std::strlen(eight)) == v) {
    mantissa = std::string(1, eight[0]) + std::string(eight + 2, 6);
    exponent = ExponentOf(eight);
    if (!IncrementDigits(mantissa)) {
      mantissa = "1000000";
      ++exponent;
    }
  }
  if (exponent >= 7) return sign + mantissa.substr(0, 1) + "." + mantissa.substr(1) + "E+" + std::to_string(exponent);
  // The value as decimal digits with the point after position `point`.
  std::string all;
  int point;
  if (exponent >= 0) {
    all = mantissa;
    point = exponent + 1;
  } else {
    all = std::string(static_cast<size_t>(-exponent - 1), '0');
    all = "0" + all + mantissa;  // "0" then the leading zeros of the fraction
    point = 1;
  }
  // Keep point + digits digits, rounding half away from zero.
  size_t keep = static_cast<size_t>(point + digits);
  if (all.size() < keep) all.append(keep - all.size(), '0');
  bool round_up = all.size() > keep && all[keep] >= '5';
  all.resize(keep);
  if (round_up && !IncrementDigits(all)) {
    all.insert(all.begin(), '1');
    ++point;
  }
  std::string integer = all.substr(0, static_cast<size_t>(point));
  while (integer.size() > 1 && integer[0] == '0') integer.erase(0, 1);
  std::string text = integer;
  if (digits) text += "." + all.substr(static_cast<size_t>(point));
  bool zero = text.find_first_not_of("0.") == std::string::npos;
  return (zero ? "" : sign) + text;
}

namespace {
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

bool ParseFormIdText(std::string_view text, uint32_t* form_id) {
  if (text.size() != 8) return false;
  uint32_t value = 0;
  for (char c : text) {
    int d = HexDigit(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<uint32_t>(d);
  }
  *form_id = value;
  return true;
}

bool ParseInteger(std::string_view text, int32_t* value) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return false;
  int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    int d = base == 16 ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (d < 0) return false;
    magnitude = magnitude * base + d;
    if (magnitude > 0x100000000LL) return false;
  }
  int64_t result = negative ? -magnitude : magnitude;
  if (result < INT32_MIN || result > INT32_MAX) return false;
  *value = static_cast<int32_t>(result);
  return true;
}

bool ParseFloat(std::string_view text, double* value) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string s(text.substr(begin, end - begin));
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t exp_digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++exp_digits;
    if (exp_digits == 0) return false;
  }
  if (i != s.size()) return false;
  // A number too large for any float ("1e400") does not parse: it would
  // give the script an infinity.
  double parsed = ParseDouble(s.data(), s.data() + s.size());
  if (std::isinf(parsed)) return false;
  *value = parsed;
  return true;
}

}  // namespace korvel
