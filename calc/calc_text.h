// The checks an expression passes before it is worked out: cleaning, the
// balance of parentheses and the neighbours of every character.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The expression with every character outside the calculator's alphabet
// dropped; nothing when one number holds two decimal points.
std::optional<std::string> CleanExpression(std::string_view expression);

// Whether a cleaned expression never closes more parentheses than it has
// opened (unclosed ones are allowed) and every character has neighbours
// it may have.
bool IsWellFormed(std::string_view cleaned);

}  // namespace korvel
