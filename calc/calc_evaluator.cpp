#include "calc/calc_evaluator.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "calc/calc_arith.h"
#include "calc/calc_text.h"

namespace korvel {
namespace {

using namespace calc_text;

// How loosely an operator binds: a pending operation is carried out when
// an operator arrives whose level is the same or higher.
constexpr uint8_t kGroupLevel = 0;  // "(": only ")" or the end closes it
constexpr uint8_t kSumLevel = 4;

constexpr auto kBinaryLevel = [] {
  std::array<uint8_t, 256> levels{};
  for (auto& level : levels) level = kSumLevel;  // "+", "-" and what the checks refuse
  levels['p'] = 1;
  levels['*'] = levels['/'] = 2;
  levels['%'] = 3;
  return levels;
}();

// A stack whose room is fixed when it is made: inside the object for short
// expressions (no heap allocation for a typical LC text), on the heap for
// long ones. The evaluator asks for the most the expression can need; a
// push beyond the room throws (the calculator then gives 0) rather than
// write past it.
template <class T, size_t kInline>
class FixedStack {
 public:
  explicit FixedStack(size_t room) : room_(room < kInline ? kInline : room) {
    if (room > kInline) {
      heap_.reset(new T[room]);
      items_ = heap_.get();
    }
  }
  FixedStack(const FixedStack&) = delete;
  FixedStack& operator=(const FixedStack&) = delete;
  void push_back(const T& item) {
    if (size_ == room_) [[unlikely]] Overflow();
    items_[size_++] = item;
  }
  void pop_back() { --size_; }
  T& back() { return items_[size_ - 1]; }
  bool empty() const { return size_ == 0; }

 private:
  [[noreturn, gnu::noinline, gnu::cold]] static void Overflow() {
    throw std::length_error("calculator stack");
  }
  T inline_[kInline];
  std::unique_ptr<T[]> heap_;
  T* items_ = inline_;
  size_t room_;
  size_t size_ = 0;
};

struct Pending {
  char op;        // "(", a sign, or a binary operator
  bool sign;      // "+" or "-" before an operand
  uint8_t level;  // a sign takes the level of the operator it follows
};

// What the pass expects next.
enum class Expect : uint8_t {
  kOperand,        // at the start, after "(", a sign or a binary operator
  kVariableDigit,  // after "$"
  kOperator,       // after an operand or ")"
};

// Reads the run of digits and points from *at on (characters outside the
// alphabet in between are dropped); when there is one, its value replaces
// *value. Leaves *at after the run and *previous at the class of its last
// kept character; a second point in the run is refused.
inline void ReadNumber(std::string_view text, size_t* at, double* value, Class* previous,
                       unsigned* refused) {
  const size_t start = *at;
  uint64_t mantissa = 0;
  unsigned digits = 0, decimals = 0, point = 0;
  bool any = false;
  size_t i = start;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    const Class now = kClassOf[static_cast<unsigned char>(c)];
    if (now == kDigit) {
      // Past the fifteenth digit the mantissa is left to wrap: the full
      // conversion below reads such numbers.
      mantissa = mantissa * 10 + static_cast<uint64_t>(c - '0');
      ++digits;
      decimals += point;
    } else if (now == kPoint) {
      *refused |= point;
      point = 1;
    } else if (now == kDropped) {
      continue;
    } else {
      break;
    }
    any = true;
    *previous = now;
  }
  *at = i;
  if (!any) return;
  // Short numbers, the usual kind, are read as they are scanned: digits
  // below 2^53 over an exact power of ten give the correctly rounded value
  // in one division. The rest go through the full conversion.
  if (digits > 0 && digits < 16) {
    *value = ShortNumberValue(mantissa, static_cast<int>(decimals));
    return;
  }
  std::string number;
  number.reserve(i - start);
  for (size_t k = start; k < i; ++k) {
    const Class kind = kClassOf[static_cast<unsigned char>(text[k])];
    if (kind == kDigit || kind == kPoint) number.push_back(text[k]);
  }
  *value = ConvertNumber(number);
}

}  // namespace

std::optional<double> CleanCheckAndEvaluate(std::string_view expression,
                                            const CalcVariables& variables) {
  // Room for the deepest case up front: each kept character adds at most
  // one value and one pending operation, and the end one more value.
  // Untouched room costs no memory pages. Everything the loop keeps lives
  // in this frame, so the compiler can hold it in registers.
  FixedStack<double, 128> values(expression.size() + 2);
  FixedStack<Pending, 128> pending(expression.size() + 1);
  Expect expect = Expect::kOperand;
  size_t open = 0;  // parentheses open
  unsigned refused = 0;
  Class previous = kEdge;

  auto reduce_top = [&] {
    const Pending top = pending.back();
    pending.pop_back();
    const double right = values.back();
    if (top.sign) {
      values.back() = ApplySign(top.op, right);
    } else {
      values.pop_back();
      values.back() = ApplyOperator(top.op, values.back(), right);
    }
  };

  size_t i = 0;
  while (i < expression.size()) {
    const char c = expression[i];
    const Class now = kClassOf[static_cast<unsigned char>(c)];
    if (now == kDropped) {
      ++i;
      continue;
    }
    refused |= kRefusedPair[previous * kClasses + now];
    if ((now == kDigit || now == kPoint) && expect != Expect::kOperator) {
      // A number; or after "$" its digit, and any digits that follow,
      // which replace the variable.
      double value = 0;
      if (expect == Expect::kVariableDigit && now == kDigit) {
        value = variables[static_cast<size_t>(c - '0')];
        previous = kDigit;
        ++i;
      }
      ReadNumber(expression, &i, &value, &previous, &refused);
      values.push_back(value);
      expect = Expect::kOperator;
      continue;
    }
    previous = now;
    ++i;
    if (now == kOpen) ++open;
    if (now == kClose) refused |= open-- == 0;
    if (expect == Expect::kVariableDigit) {
      // Only refused texts get here ("$" needs a digit after it).
      values.push_back(0);
      expect = Expect::kOperator;
      continue;
    }
    if (expect == Expect::kOperand) {
      if (c == '+' || c == '-') {
        // A sign covers as much as the operator before it would:
        // everything up to the next "+" or "-" at the start or after "(",
        // "+" or "-".
        const bool grouped = pending.empty() || pending.back().op == '(';
        pending.push_back({c, true, grouped ? kSumLevel : pending.back().level});
        continue;
      }
      if (c == '(') {
        pending.push_back({c, false, kGroupLevel});
        continue;
      }
      if (c == '$') {
        expect = Expect::kVariableDigit;
        continue;
      }
      // Only refused texts get here: the operand that is not there counts
      // as 0, and c is read as an operator.
      values.push_back(0);
    }
    // After an operand (in refused texts, a digit or a point too).
    if (c == ')') {
      while (!pending.empty() && pending.back().op != '(') reduce_top();
      if (!pending.empty()) pending.pop_back();
      expect = Expect::kOperator;
      continue;
    }
    const uint8_t level = kBinaryLevel[static_cast<unsigned char>(c)];
    while (!pending.empty() && pending.back().op != '(' && pending.back().level <= level)
      reduce_top();
    pending.push_back({c, false, level});
    expect = Expect::kOperand;
  }
  refused |= kRefusedPair[previous * kClasses + kEdge];
  if (refused != 0) return std::nullopt;

  if (expect != Expect::kOperator) values.push_back(0);  // what a frame starts from
  while (!pending.empty()) {
    if (pending.back().op == '(')
      pending.pop_back();
    else
      reduce_top();
  }
  return values.back();
}

}  // namespace korvel
