// Conversions between numbers and text, always with "." as the decimal
// separator whatever the user's locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace korvel {

// value rounded to 7 significant digits, in fixed-point notation with
// exactly digits decimals (0..7, clamped), halves rounded away from zero;
// scientific notation when the integer part needs more than 7 digits.
std::string FloatToFixed(float value, int32_t digits);

// Exactly 8 hexadecimal digits (either case).
bool ParseFormIdText(std::string_view text, uint32_t* form_id);
// Leading blanks, optional sign, decimal digits or hexadecimal ones after
// "$", "x", "X", "0x" or "0X"; nothing after; within the signed 32-bit range.
bool ParseInteger(std::string_view text, int32_t* value);
// Optional sign, digits with an optional "." part, optional exponent,
// blanks around; nothing else; not beyond the largest double.
bool ParseFloat(std::string_view text, double* value);

}  // namespace korvel
