#include "calc/calculate.h"

#include <optional>

#include "calc/calc_arith.h"
#include "calc/calc_evaluator.h"
#include "calc/fpu_precision.h"

namespace korvel {

double Calculate(std::string_view expression, const CalcVariables& variables,
                 int32_t rounded) noexcept {
  try {
    // Stored while the guard holds: an x87 register could carry a value
    // beyond the double range out to the caller's control word.
    volatile double value = 0;
    {
      [[maybe_unused]] DoublePrecisionScope precision;
      std::optional<double> result = CleanCheckAndEvaluate(expression, variables);
      if (result) value = rounded != 0 ? RoundHalfEven(*result) : *result;
    }
    return value;
  } catch (...) {
    // Allocation failure on a huge expression: the script gets 0.
    return 0;
  }
}

}  // namespace korvel
