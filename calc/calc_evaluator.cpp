#include "calc/calc_evaluator.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "calc/calc_arith.h"

namespace korvel {
namespace {

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

// How loosely an operator binds: a pending operation is carried out when
// an operator arrives whose level is the same or higher.
constexpr uint8_t kGroupLevel = 0;  // "(": only ")" or the end closes it
constexpr uint8_t kSumLevel = 4;

uint8_t BinaryLevel(char op) {
  switch (op) {
    case 'p':
      return 1;
    case '*':
    case '/':
      return 2;
    case '%':
      return 3;
    default:
      return kSumLevel;
  }
}

struct Pending {
  char op;        // "(", a sign, or a binary operator
  bool sign;      // "+" or "-" before an operand
  uint8_t level;  // a sign takes the level of the operator it follows
};

class Evaluator {
 public:
  Evaluator(std::string_view text, const CalcVariables& variables)
      : text_(text), variables_(variables) {
    // Room for the deepest case up front: growing by copies would move
    // the stacks several times on a long expression. Operands are at least
    // a character apart; untouched room costs no memory pages.
    values_.reserve(text.size() / 2 + 2);
    pending_.reserve(text.size() + 1);
  }

  double Run() {
    bool want_operand = true;
    size_t i = 0;
    while (i < text_.size()) {
      char c = text_[i];
      if (want_operand) {
        if (c == '+' || c == '-') {
          pending_.push_back({c, true, SignLevel()});
          ++i;
        } else if (c == '(') {
          pending_.push_back({c, false, kGroupLevel});
          ++i;
        } else if (c == '$' || IsNumberChar(c)) {
          i = ReadOperand(i);
          want_operand = false;
        } else {
          // Only text that failed the checks gets here: the operand that
          // is not there counts as 0, and c is read again as an operator.
          values_.push_back(0);
          want_operand = false;
        }
      } else if (c == ')') {
        CloseGroup();
        ++i;
      } else {
        uint8_t level = BinaryLevel(c);
        CarryOut(level);
        pending_.push_back({c, false, level});
        want_operand = true;
        ++i;
      }
    }
    if (want_operand) values_.push_back(0);  // what a frame starts from
    while (!pending_.empty()) {
      if (pending_.back().op == '(')
        pending_.pop_back();
      else
        ReduceTop();
    }
    return values_.back();
  }

 private:
  // A sign covers as much as the operator before it would: everything up
  // to the next "+" or "-" at the start or after "(", "+" or "-".
  uint8_t SignLevel() const {
    if (pending_.empty() || pending_.back().op == '(') return kSumLevel;
    return pending_.back().level;
  }

  // "$d" (followed by more digits their number replaces the variable) or
  // a number; the index after it.
  size_t ReadOperand(size_t i) {
    double value = 0;
    bool variable = text_[i] == '$';
    if (variable) {
      if (i + 1 < text_.size() && text_[i + 1] >= '0' && text_[i + 1] <= '9')
        value = variables_[text_[i + 1] - '0'];
      i = std::min(i + 2, text_.size());
    }
    size_t start = i;
    while (i < text_.size() && IsNumberChar(text_[i])) ++i;
    if (i > start || !variable) value = ConvertNumber(text_.substr(start, i - start));
    values_.push_back(value);
    return i;
  }

  void CarryOut(uint8_t level) {
    while (!pending_.empty() && pending_.back().op != '(' && pending_.back().level <= level)
      ReduceTop();
  }

  void CloseGroup() {
    while (!pending_.empty() && pending_.back().op != '(') ReduceTop();
    if (!pending_.empty()) pending_.pop_back();
  }

  void ReduceTop() {
    Pending top = pending_.back();
    pending_.pop_back();
    double right = values_.back();
    values_.pop_back();
    if (top.sign) {
      values_.push_back(ApplySign(top.op, right));
    } else {
      values_.back() = ApplyOperator(top.op, values_.back(), right);
    }
  }

  std::string_view text_;
  const CalcVariables& variables_;
  std::vector<double> values_;
  std::vector<Pending> pending_;
};

}  // namespace

double EvaluateExpression(std::string_view cleaned, const CalcVariables& variables) {
  return Evaluator(cleaned, variables).Run();
}

}  // namespace korvel
