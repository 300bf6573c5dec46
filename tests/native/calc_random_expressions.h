// Seeded random expressions for comparing the calculator with the
// reference: raw character soup, and expressions built from the grammar
// with unary signs, variables, unclosed parentheses and mutations, so that
// both accepted and rejected forms come up often.
#pragma once

#include <array>
#include <iterator>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace korvel::reference {

class RandomExpressions {
 public:
  explicit RandomExpressions(uint32_t seed) : random_(seed) {}

  std::string Soup(size_t max_length) {
    static constexpr std::string_view kChars = "0123456789.$()+-*/%p.()+-$ xa\t";
    std::string s(Below(max_length + 1), ' ');
    for (char& c : s) c = kChars[Below(kChars.size())];
    return s;
  }

  std::string Grammar(size_t max_length) {
    std::string s;
    int open = 0;
    while (s.size() < max_length) {
      while (Below(4) == 0) s += "+-"[Below(2)];
      if (Below(4) == 0) {
        s += '(';
        ++open;
        continue;
      }
      s += Operand();
      while (open > 0 && Below(3) == 0) {
        s += ')';
        --open;
      }
      if (Below(8) == 0) break;
      s += "+-*/%p"[Below(6)];
    }
    // Most groups close; some stay open to the end.
    while (open > 0 && Below(3) != 0) {
      s += ')';
      --open;
    }
    if (!s.empty() && Below(6) == 0) s[Below(s.size())] = "0.$()+-*/%p "[Below(12)];
    if (Below(10) == 0) s.insert(Below(s.size() + 1), 1, "+-.("[Below(4)]);
    return s;
  }

  std::array<int32_t, 10> Variables() {
    static constexpr int32_t kSpecial[] = {0, 1, -1, 2, -2, 10, INT32_MAX, INT32_MIN};
    std::array<int32_t, 10> v;
    for (int32_t& x : v)
      x = Below(2) ? kSpecial[Below(std::size(kSpecial))] : static_cast<int32_t>(random_());
    return v;
  }

  size_t Below(size_t n) { return static_cast<size_t>(random_() % n); }

 private:
  std::string Operand() {
    static constexpr const char* kNumbers[] = {"0", "1", "2", "3", "7", "12", "0.5", ".5",
                                               "1.", ".", "2.25", "1000000", "0.1", "65536"};
    switch (Below(5)) {
      case 0:
        return std::string("$") + static_cast<char>('0' + Below(10));
      case 1:
        return std::string("$") + static_cast<char>('0' + Below(10)) + kNumbers[Below(std::size(kNumbers))];
      default:
        return kNumbers[Below(std::size(kNumbers))];
    }
  }

  std::mt19937 random_;
};

}  // namespace korvel::reference
