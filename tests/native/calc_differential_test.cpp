// The calculator against the reference transcription of the algorithm,
// result bit for result bit, over many seeded random expressions.
#include <gtest/gtest.h>

#include <string>

#include "calc/calculate.h"
#include "calc_random_expressions.h"
#include "calc_reference.h"

namespace korvel {
namespace {

struct Tally {
  size_t accepted = 0, rejected = 0, mismatches = 0;
};

void Compare(const std::string& expression, const CalcVariables& v, Tally* tally) {
  std::string cleaned;
  bool accepted = reference::Clean(expression, &cleaned) && reference::Balanced(cleaned) &&
                  reference::Checked(cleaned);
  ++(accepted ? tally->accepted : tally->rejected);
  for (int32_t rounded : {0, 1}) {
    double fast = Calculate(expression, v, rounded);
    double slow = reference::Calculate(expression, v, rounded);
    if (reference::SameResult(fast, slow)) continue;
    if (++tally->mismatches <= 10)
      ADD_FAILURE() << "\"" << expression << "\" rounded " << rounded << ": " << fast
                    << " against " << slow << ", grouped " << reference::Grouped(expression);
  }
}

TEST(CalculateDifferential, GrammarExpressionsMatchTheReference) {
  reference::RandomExpressions random(20261209);
  Tally tally;
  for (int i = 0; i < 100000; ++i) {
    CalcVariables v = random.Variables();
    Compare(random.Grammar(4 + random.Below(40)), v, &tally);
  }
  EXPECT_EQ(tally.mismatches, 0u);
  // The generator must reach both sides of the checks.
  EXPECT_GT(tally.accepted, 40000u);
  EXPECT_GT(tally.rejected, 5000u);
}

TEST(CalculateDifferential, CharacterSoupMatchesTheReference) {
  reference::RandomExpressions random(7);
  Tally tally;
  for (int i = 0; i < 100000; ++i) {
    CalcVariables v = random.Variables();
    Compare(random.Soup(12), v, &tally);
  }
  EXPECT_EQ(tally.mismatches, 0u);
  EXPECT_GT(tally.accepted, 3000u);
}

}  // namespace
}  // namespace korvel
