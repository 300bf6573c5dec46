#include "calc/calculate.h"

#include <memory>
#include <optional>
#include <string>

#include "calc/calc_arith.h"
#include "calc/calc_evaluator.h"
#include "calc/calc_text.h"
#include "calc/fpu_precision.h"

namespace korvel {

double Calculate(std::string_view expression, const CalcVariables& variables,
                 int32_t rounded) noexcept {
  try {
    // Short expressions, the usual LC texts, are cleaned on the stack.
    // Long ones get room that is not filled first: its pages are touched
    // only as the cleaning writes them.
    char small[256];
    std::unique_ptr<char[]> large;
    char* buffer = small;
    if (expression.size() > sizeof small) {
      large.reset(new char[expression.size()]);
      buffer = large.get();
    }
    std::optional<size_t> length = CleanExpressionInto(expression, buffer);
    if (!length) return 0;
    std::string_view cleaned(buffer, *length);
    if (!IsWellFormed(cleaned)) return 0;
    // Stored while the guard holds: an x87 register could carry a value
    // beyond the double range out to the caller's control word.
    volatile double value = 0;
    {
      [[maybe_unused]] DoublePrecisionScope precision;
      double result = EvaluateExpression(cleaned, variables);
      value = rounded != 0 ? RoundHalfEven(result) : result;
    }
    return value;
  } catch (...) {
    // Allocation failure on a huge expression: the script gets 0.
    return 0;
  }
}

}  // namespace korvel
