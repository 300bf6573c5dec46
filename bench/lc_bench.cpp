// LC's calculator on a typical 40-character expression against the same
// expression parsed once into a tree and evaluated from it (the baseline):
// the ratio is what cleaning, checking and the one-pass evaluation cost
// beyond the arithmetic itself.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "bench/ratio_reporter.h"
#include "calc/calculate.h"

namespace {

constexpr std::string_view kExpression = "(12.5+$3*4-7/2)%9p1-2*(3+$1)/0.5+$2*10";
const korvel::CalcVariables kVariables = {0, 5, 7, 3, 0, 0, 0, 0, 0, 0};

// A tree of the expression, built once by precedence climbing with the
// calculator's precedence ("p", then "*" "/", then "%", then "+" "-", all
// grouping from the left).
struct Node {
  char op = 0;  // 0: a number, 'v': a variable, else the operator
  double value = 0;
  int variable = 0;
  std::unique_ptr<Node> left, right;
};

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}
  std::unique_ptr<Node> Parse() { return Binary(4); }

 private:
  static int Level(char op) {
    switch (op) {
      case 'p': return 1;
      case '*': case '/': return 2;
      case '%': return 3;
      case '+': case '-': return 4;
      default: return 0;
    }
  }
  std::unique_ptr<Node> Binary(int level) {
    if (level == 0) return Operand();
    std::unique_ptr<Node> left = Binary(level - 1);
    while (at_ < text_.size() && Level(text_[at_]) == level) {
      auto node = std::make_unique<Node>();
      node->op = text_[at_++];
      node->left = std::move(left);
      node->right = Binary(level - 1);
      left = std::move(node);
    }
    return left;
  }
  std::unique_ptr<Node> Operand() {
    auto node = std::make_unique<Node>();
    if (text_[at_] == '(') {
      ++at_;
      node = Binary(4);
      ++at_;  // ")"
    } else if (text_[at_] == '$') {
      node->op = 'v';
      node->variable = text_[at_ + 1] - '0';
      at_ += 2;
    } else {
      size_t end = at_;
      while (end < text_.size() && ((text_[end] >= '0' && text_[end] <= '9') || text_[end] == '.')) ++end;
      node->value = std::strtod(std::string(text_.substr(at_, end - at_)).c_str(), nullptr);
      at_ = end;
    }
    return node;
  }
  std::string_view text_;
  size_t at_ = 0;
};

double Evaluate(const Node& n, const korvel::CalcVariables& v) {
  if (n.op == 0) return n.value;
  if (n.op == 'v') return v[static_cast<size_t>(n.variable)];
  double a = Evaluate(*n.left, v), b = Evaluate(*n.right, v);
  switch (n.op) {
    case '+': return a + b;
    case '-': return a - b;
    case '*': return a * b;
    case '/': return b == 0 ? a : a / b;
    case '%': return b == 0 ? a : a - std::trunc(a / b) * b;
    default: return std::pow(a, b);
  }
}

void BM_LCCalculate(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(korvel::Calculate(kExpression, kVariables, 0));
}

void BM_TreeEvaluateParsedOnce(benchmark::State& state) {
  std::unique_ptr<Node> tree = Parser(kExpression).Parse();
  double expected = korvel::Calculate(kExpression, kVariables, 0);
  if (Evaluate(*tree, kVariables) != expected) {
    state.SkipWithError("the tree gives another value than the calculator");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(Evaluate(*tree, kVariables));
}

BENCHMARK(BM_LCCalculate)->Repetitions(9);
BENCHMARK(BM_TreeEvaluateParsedOnce)->Repetitions(9);

}  // namespace

int main(int argc, char** argv) {
  return korvel::bench::RunWithRatios(argc, argv, {{"BM_LCCalculate", "BM_TreeEvaluateParsedOnce"}});
}
