// The stand-in companion's format-string language (documented in
// docs/sim.md): printf-like placeholders, each taking the next variable.
#pragma once

#include <cstddef>

namespace standin {

// Expands format with the first count values into out (capacity bytes,
// zero-terminated). False, with out emptied, for a placeholder it cannot
// read, more placeholders than values, or a text longer than capacity - 1.
bool ExpandFormat(const char* format, const float* values, size_t count, char* out,
                  size_t capacity);

}  // namespace standin
