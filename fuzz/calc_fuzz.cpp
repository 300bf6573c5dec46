// The calculator against the reference transcription of its algorithm on
// short arbitrary texts: the same bits (any NaN for any NaN) with and
// without rounding. The reference is quadratic and recursive, hence the
// cap on the length.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "calc/calculate.h"
#include "tests/native/calc_reference.h"

namespace {

// Variables with an edge or two: zero, signs, the ends of the range.
constexpr korvel::CalcVariables kVariables = {0, 1, -1, 3, -7, 10, 2147483647, -2147483647 - 1, 65536, 2};
constexpr size_t kMaxLength = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kMaxLength) return 0;
  std::string_view expression(reinterpret_cast<const char*>(data), size);
  for (int32_t rounded : {0, 1}) {
    double fast = korvel::Calculate(expression, kVariables, rounded);
    double slow = korvel::reference::Calculate(expression, kVariables, rounded);
    if (!korvel::reference::SameResult(fast, slow)) std::abort();
  }
  return 0;
}
