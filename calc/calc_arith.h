// The calculator's arithmetic: numbers, the operators and the rounding.
// Every operation is named here once, so that however an expression is
// taken apart, the same operands give the same bits.
#pragma once

#include <string_view>

namespace korvel {

// A run of digits with at most one "." ("12", "1.", ".5"); "." alone, and
// a number beyond the largest double, count as 0. Always "." as the
// decimal separator, whatever the process locale.
double ConvertNumber(std::string_view digits);

// left op right for "+", "-", "*", "/", "%" and "p". Dividing by 0, and
// the remainder by 0, give left. The remainder has the sign of left. A
// negative base with a fractional exponent is raised to the exponent cut
// toward zero.
double ApplyOperator(char op, double left, double right);

// A sign before its operand: "-" gives 0 - operand, "+" operand + 0 (so a
// negative zero comes out positive either way).
double ApplySign(char sign, double operand);

// The nearest integer, halves to the even one; 0 is never negative. A
// value beyond the 64-bit integers (and infinities, NaN) is left as it is.
double RoundHalfEven(double value);

}  // namespace korvel
