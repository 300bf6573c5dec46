#include "files/ini_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace korvel {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The exponent after the "e" of a number in scientific notation ("e-01").
int ExponentAfter(const char* e, const char* end) {
  const char* digits = e + 1;
  if (digits < end && *digits == '+') ++digits;
  int exponent = 0;
  std::from_chars(digits, end, exponent);
  return exponent;
}

}  // namespace

std::string IniIntText(int32_t value) { return std::to_string(value); }

std::optional<int32_t> ParseIniInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  uint64_t magnitude = 0;
  const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  for (; i < text.size(); ++i) {
    int digit = hex ? HexDigit(text[i]) : (IsDigit(text[i]) ? text[i] - '0' : -1);
    if (digit < 0) return std::nullopt;
    magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  uint32_t bits = static_cast<uint32_t>(magnitude);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

std::string IniFloatText(float single) {
  double value = single;
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";
  // 15 significant digits and the decimal exponent they give. The C
  // runtime's printf would follow whatever locale another module of the
  // game set; to_chars never looks at one.
  char digits[32];
  const char* end = std::to_chars(digits, digits + sizeof digits, std::fabs(value),
                                  std::chars_format::scientific, 14)
                        .ptr;
  std::string mantissa;
  mantissa += digits[0];
  mantissa.append(digits + 2, 14);
  int exponent = ExponentAfter(digits + 16, end);
  while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();
  std::string out = value < 0 ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += mantissa[0];
    if (mantissa.size() > 1) out += "." + mantissa.substr(1);
    out += "E" + std::to_string(exponent);
  } else if (exponent < 0) {
    out += "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + mantissa;
  } else {
    size_t whole = static_cast<size_t>(exponent) + 1;
    if (mantissa.size() <= whole) {
      out += mantissa + std::string(whole - mantissa.size(), '0');
    } else {
      out += mantissa.substr(0, whole) + "." + mantissa.substr(whole);
    }
  }
  return out;
}

std::optional<double> ParseIniFloat(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  // The shape first: sign, digits with at most one ".", at least one digit,
  // then an optional exponent with its own digits. from_chars alone would
  // also take "inf", "nan" and hexadecimal floats.
  size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  bool dot = false;
  for (; i < end && (IsDigit(text[i]) || (text[i] == '.' && !dot)); ++i) {
    if (text[i] == '.') dot = true;
    else ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) ++i;
    size_t exponent_digits = 0;
    for (; i < end && IsDigit(text[i]); ++i) ++exponent_digits;
    if (exponent_digits == 0) return std::nullopt;
  }
  if (i != end) return std::nullopt;
  std::string number(text.substr(begin, end - begin));
  if (number[0] == '+') number.erase(0, 1);
  double value = 0;
  auto r = std::from_chars(number.data(), number.data() + number.size(), value);
  if (r.ec == std::errc::result_out_of_range) {
    // Too small for a double is zero; too large is beyond the float range.
    bool tiny = number.find("e-") != std::string::npos || number.find("E-") != std::string::npos;
    return tiny ? std::optional<double>(0.0) : std::nullopt;
  }
  // Beyond the float range: what would round to an infinite float. The
  // largest float written with 15 digits lies just above FLT_MAX and still
  // reads back.
  constexpr double kRoundsToInfinity = 0x1.ffffffp+127;
  if (r.ec != std::errc() || !(std::fabs(value) < kRoundsToInfinity)) return std::nullopt;
  return value;
}

std::string IniRefText(uint32_t form_id) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(form_id));
  return text;
}

std::optional<uint32_t> ParseIniRef(std::string_view text) {
  if (text.size() != 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return value;
}

}  // namespace korvel
