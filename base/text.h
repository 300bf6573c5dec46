// Text helpers shared by every layer.
#pragma once

#include <string_view>

namespace korvel {

// Case-insensitive comparison of 8-bit texts (ASCII letters folded).
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace korvel
