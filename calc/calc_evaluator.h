// Cleans, checks and works out an expression in one left-to-right pass
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

#include <optional>
#include <string_view>

#include "calc/calculate.h"

namespace korvel {

// Cleans expression (characters outside the calculator's alphabet are
// dropped), checks it and works it out, all in one pass; nothing when it
// is rejected: one number holds two decimal points, more parentheses are
// closed than opened (unclosed ones are allowed), or a character has
// neighbours it may not have. Precedence, highest first: "p"; "*" and
// "/"; "%"; "+" and "-"; every binary operator groups from the left. A
// sign at the start of the text, after "(" or after "+" or "-" covers
// everything up to the next "+", "-" or the end of its group; a sign
// after a higher operator covers what that operator's right operand
// would: "-2*3" is -(2*3), "2*-3*4" is (2*(-3))*4. Unclosed parentheses
// close at the end. Throws std::bad_alloc when a long expression's stacks
// find no memory.
std::optional<double> CleanCheckAndEvaluate(std::string_view expression,
                                            const CalcVariables& variables);

}  // namespace korvel
