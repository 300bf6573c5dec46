// Works out a cleaned and checked expression in one left-to-right pass
// with two explicit stacks: time and memory linear in the text, and no
// recursion however deep the parentheses or long the operator chains.
//
// The calculator's defining algorithm wraps every binary operator and every
// sign in parentheses, pass by pass in order of precedence, then evaluates
// the wrapped text right-recursively; each wrapped pair is one operation
// carried out on the two values it encloses. The stacks here carry out the
// same operations on the same operands, so every result has the same bits;
// the tests compare the two on random expressions.
#pragma once

#include <string_view>

#include "calc/calculate.h"

namespace korvel {

// The value of an expression that CleanExpression and IsWellFormed have
// accepted. Precedence, highest first: "p"; "*" and "/"; "%"; "+" and
// "-"; every binary operator groups from the left. A sign at the start of
// the text, after "(" or after "+" or "-" covers everything up to the next
// "+", "-" or the end of its group; a sign after a higher operator covers
// what that operator's right operand would: "-2*3" is -(2*3), "2*-3*4" is
// (2*(-3))*4. Unclosed parentheses close at the end; an operand missing at
// the end ("1+", "2*-") counts as 0. Throws std::bad_alloc when the stacks
// cannot grow.
double EvaluateExpression(std::string_view cleaned, const CalcVariables& variables);

}  // namespace korvel
