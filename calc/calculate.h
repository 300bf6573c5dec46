// StrCalc: the expression calculator behind LC and StrLC.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace korvel {

// The integers a script hands in for "$0" to "$9".
using CalcVariables = std::array<int32_t, 10>;

// The value of expression, "$0".."$9" standing for variables[0..9], rounded
// to the nearest integer (halves to even) when rounded is non-zero.
// Parentheses left open close at the end of the text. An expression that
// is rejected, or that cannot be worked on for want of memory, gives 0.
// Time and memory grow linearly with the expression and the stack does not
// grow with it. The x87 unit works in double precision
// meanwhile; the caller's control word is back when this returns.
double Calculate(std::string_view expression, const CalcVariables& variables,
                 int32_t rounded) noexcept;

}  // namespace korvel
