// The texts INI values are written as and read from: integers, floats and
// form ids. Reading gives nothing for a text that is not such a value, and
// the command then takes its default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// Decimal digits, "-" for negatives.
std::string IniIntText(int32_t value);
// Optional leading spaces and sign, then decimal digits, or hexadecimal
// digits after "$", "x", "X", "0x" or "0X"; nothing else, and within 32
// bits (hexadecimal up to FFFFFFFF, taken as its two's complement).
std::optional<int32_t> ParseIniInt(std::string_view text);

// The float widened to 64 bits in general format with up to 15
// significant digits: fixed notation for exponents -5 to 14, else
// "1.5E20" / "1E-7"; 0.1f gives "0.100000001490116".
std::string IniFloatText(float value);
// A decimal number with "." and an optional exponent, spaces around it
// allowed; nothing for other text or a value that rounds to an infinite
// float.
std::optional<double> ParseIniFloat(std::string_view text);

// Exactly 8 upper-case hexadecimal digits.
std::string IniRefText(uint32_t form_id);
// Exactly 8 hexadecimal digits in either case.
std::optional<uint32_t> ParseIniRef(std::string_view text);

}  // namespace korvel
